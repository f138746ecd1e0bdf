// The report rendered to a real PDF and read back with pdftotext.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "image/ChannelCodec.h"
#include "image/SinFile.h"
#include "print/ReportLayout.h"
#include "res/Language.h"
#include "support/LanguageScope.h"
#include "support/SimProcess.h"

namespace fs = std::filesystem;

struct ReportTexts {
    const char* lang;
    std::vector<const char*> shown;  // titles, labels, captions and values
};

class ReportPdfLanguage : public testing::TestWithParam<ReportTexts> {};

TEST_P(ReportPdfLanguage, FivePagesWithTheLabelsAndChannels) {
    const fs::path dir = fs::temp_directory_path() / ("report-pdf-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string pdf = (dir / "report.pdf").string();
    std::string log;
    // As under cron: no runtime folder, and not a word from the toolkit about it.
    ASSERT_EQ(RunCommand("env -u XDG_RUNTIME_DIR " + std::string(OSTRELTZ_CLI) + " --lang " + GetParam().lang +
                             " print " + OSTRELTZ_SAMPLE + " --pdf " + pdf,
                         &log),
              0)
        << log;
    EXPECT_EQ(log, "");
    ASSERT_EQ(RunCommand("pdfinfo " + pdf, &log), 0) << log;
    EXPECT_NE(log.find("Pages:           5"), std::string::npos) << log;
    ASSERT_EQ(RunCommand("pdftotext -layout " + pdf + " -", &log), 0);
    for (const char* text : GetParam().shown) EXPECT_NE(log.find(text), std::string::npos) << text;
    fs::remove_all(dir);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    BothLanguages, ReportPdfLanguage,
    testing::Values(
        ReportTexts{"zh",
                    {"整机设置", "功能设置:", "机型:", "OST - 101", "136 - 174MHz", "报警音提示: 打开", "发射时间(s):60",
                     "频道设置:", "接收频率", "第二页", "第三页", "第四页", "第五页", "145.52000", "D754I", "队列同步",
                     "128"}},
        ReportTexts{"en",
                    {"Radio settings", "Functions:", "Model:", "OST - 101", "136 - 174MHz", "Alarm tone: On",
                     "TX timer (s): 60", "Channel settings:", "RX freq", "TX tone", "Busy lockout", "Page 2", "Page 3",
                     "Page 4", "Page 5", "145.52000", "D754I", "Sequential", "Wide", "Narrow", "High", "128",
                     "Off\n"}}),  // no ligature: "Off" is found
    [](const testing::TestParamInfo<ReportTexts>& info) { return std::string(info.param.lang); });
// clang-format on

namespace {

struct PdfWord {
    double xMin, yMin, xMax, yMax;
    std::string text;
};

// The words of `pdftotext -bbox` output, and the page width.
std::vector<PdfWord> ParseBbox(const std::string& html, double* pageWidth) {
    std::vector<PdfWord> words;
    const std::regex page(R"re(<page width="([0-9.]+)")re");
    std::smatch m;
    if (std::regex_search(html, m, page)) *pageWidth = std::stod(m[1]);
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator(); ++it)
        words.push_back({std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4]), (*it)[5]});
    return words;
}

}  // namespace

// In either language: captions of several words are found by their first.
class ReportPdfColumns : public testing::TestWithParam<Lang> {};

TEST_P(ReportPdfColumns, EachCaptionStandsOverItsColumnInsideThePage) {
    const LanguageScope language(GetParam());
    const fs::path dir = fs::temp_directory_path() / ("report-bbox-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    // Every channel in use, so that every column of every page has values.
    RadioImage image = NewDocumentImage();
    for (int n = 1; n <= kChannelCount; ++n) {
        ChannelRecord record;
        record.fill(0xFF);
        EncodeChannelRecord({"145.12500", "146.02500", "67.0", "D023N", "宽", "是", "高", "DTMF", "开", "QT/DQT"},
                            record);
        std::copy(record.begin(), record.end(), image.begin() + static_cast<std::ptrdiff_t>(ChannelOffset(n)));
    }
    const std::string sin = (dir / "full.sin").string(), pdf = (dir / "report.pdf").string();
    ASSERT_FALSE(SaveSinFile(sin, image));
    std::string log;
    ASSERT_EQ(RunCommand(
                  std::string(OSTRELTZ_CLI) + " --lang " + LanguageCode(GetParam()) + " print " + sin + " --pdf " + pdf,
                  &log),
              0)
        << log;
    std::vector<std::string> captions;
    for (const std::string& caption : ChannelCaptions()) captions.push_back(caption.substr(0, caption.find(' ')));
    for (int page = 1; page <= kReportPages; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        const std::string p = std::to_string(page);
        ASSERT_EQ(RunCommand("pdftotext -bbox -f " + p + " -l " + p + " " + pdf + " -", &log), 0);
        double width = 0;
        const std::vector<PdfWord> words = ParseBbox(log, &width);
        ASSERT_GT(width, 0);
        // The caption line: the channel number's caption and the words on its height.
        const auto first =
            std::find_if(words.begin(), words.end(), [&](const PdfWord& w) { return w.text == captions[0]; });
        ASSERT_NE(first, words.end());
        const double captionY = first->yMin;
        // Words of one line: each font's box around the same baseline.
        const double middle = (first->yMin + first->yMax) / 2, half = (first->yMax - first->yMin) / 2;
        for (const std::string& caption : captions) {
            SCOPED_TRACE(caption);
            const auto it = std::find_if(words.begin(), words.end(), [&](const PdfWord& w) {
                return w.text == caption && std::abs((w.yMin + w.yMax) / 2 - middle) < half;
            });
            ASSERT_NE(it, words.end());
            EXPECT_GE(it->xMin, 0);
            EXPECT_LE(it->xMax, width);
            // Some channel line below has a value starting at the caption's x.
            EXPECT_TRUE(std::any_of(words.begin(), words.end(), [&](const PdfWord& w) {
                return w.yMin > captionY + 1 && std::abs(w.xMin - it->xMin) < 0.5;
            }));
        }
    }
    fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ReportPdfColumns, testing::Values(Lang::Zh, Lang::En),
                         [](const testing::TestParamInfo<Lang>& info) {
                             return std::string(LanguageCode(info.param));
                         });

namespace {

// A page rendered in grey at two pixels per point.
struct GreyPage {
    int width = 0, height = 0;
    std::string pixels;
    bool Ink(int x, int y) const {
        return static_cast<unsigned char>(pixels[static_cast<std::size_t>(y * width + x)]) < 128;
    }
    // The middle, in pixels, between the highest and the lowest inked row
    // inside the word's box.
    double InkMiddle(const PdfWord& w) const {
        int top = -1, bottom = -1;
        for (int y = static_cast<int>(w.yMin * 2); y < std::min(height, static_cast<int>(w.yMax * 2) + 2); ++y)
            for (int x = static_cast<int>(w.xMin * 2); x < static_cast<int>(w.xMax * 2); ++x)
                if (Ink(x, y)) {
                    if (top < 0) top = y;
                    bottom = y;
                    break;
                }
        return (top + bottom) / 2.0;
    }
};

GreyPage RenderFirstPage(const std::string& pdf, const std::string& stem) {
    GreyPage page;
    if (RunCommand("pdftoppm -f 1 -l 1 -r 144 -gray -singlefile " + pdf + " " + stem) != 0) return page;
    std::ifstream in(stem + ".pgm", std::ios::binary);
    std::string magic;
    int depth = 0;
    in >> magic >> page.width >> page.height >> depth;
    in.get();
    page.pixels.assign(std::istreambuf_iterator<char>(in), {});
    if (magic != "P5" || page.pixels.size() < static_cast<std::size_t>(page.width) * page.height) page.width = 0;
    return page;
}

}  // namespace

// The cells of one channel line stand on one baseline, whether their glyphs
// come from the report's font ("DTMF") or from the Chinese one (开).
TEST(ReportPdf, LatinAndChineseCellsOfALineLineUp) {
    const fs::path dir = fs::temp_directory_path() / ("report-baseline-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string pdf = (dir / "report.pdf").string();
    std::string log;
    ASSERT_EQ(RunCommand(std::string(OSTRELTZ_CLI) + " --lang zh print " + OSTRELTZ_SAMPLE + " --pdf " + pdf, &log), 0)
        << log;
    ASSERT_EQ(RunCommand("pdftotext -bbox -f 1 -l 1 " + pdf + " -", &log), 0);
    double width = 0;
    const std::vector<PdfWord> words = ParseBbox(log, &width);
    const GreyPage page = RenderFirstPage(pdf, (dir / "page").string());
    ASSERT_GT(page.width, 0);
    int lines = 0;
    for (const PdfWord& latin : words) {
        if (latin.text != "DTMF") continue;
        // The PTT ID cell of the same channel: the 开 right of it nearest in height.
        const PdfWord* chinese = nullptr;
        for (const PdfWord& w : words)
            if (w.text == "开" && w.xMin > latin.xMax &&
                (!chinese || std::abs(w.yMin - latin.yMin) < std::abs(chinese->yMin - latin.yMin)))
                chinese = &w;
        ASSERT_NE(chinese, nullptr);
        const double lineHeight = (latin.yMax - latin.yMin) * 2;
        EXPECT_LE(std::abs(page.InkMiddle(latin) - page.InkMiddle(*chinese)), 0.05 * lineHeight)
            << "DTMF at " << latin.yMin;
        ++lines;
    }
    EXPECT_EQ(lines, 2);  // channels 2 and 5
    fs::remove_all(dir);
}
