// What an import keeps: every byte the file does not change, in either
// layout, for images of any bytes.
#include <gtest/gtest.h>

#include <random>

#include "editor/CellRules.h"
#include "csv/ChannelCsv.h"
#include "image/ChannelTable.h"
#include "csv/CsvImportFlow.h"
#include "support/LanguageScope.h"
#include "support/RandomImage.h"

namespace {

const std::string kOwnHeader =
    "频道,接收频率,发射频率,接收信令,发射信令,宽/窄,扫描添加,发射功率,可选信令,PTTID,繁忙锁定\n";
const std::string kChirpHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,"
    "TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";

void PutRecord(RadioImage& image, int channel, const ChannelRecord& record) {
    std::copy(record.begin(), record.end(), image.begin() + static_cast<std::ptrdiff_t>(ChannelOffset(channel)));
}

// The channels of `a` and `b` that differ.
std::vector<int> Differing(const RadioImage& a, const RadioImage& b) {
    std::vector<int> channels;
    for (int n = 1; n <= kChannelCount; ++n)
        if (RecordAt(a, n) != RecordAt(b, n)) channels.push_back(n);
    return channels;
}

// Records the texts show oddly or not at all: tone words outside the table
// ("D05N", "D0102I", "826.2", "1666.5"), frequencies with digits above 9 and
// outside 67-521 MHz, values of the lists without a text.
RadioImage OddImage(unsigned seed) {
    RadioImage image = RandomImage(seed);
    const ChannelRecord odd[] = {
        {0x00, 0x25, 0x51, 0x14, 0x00, 0x25, 0x51, 0x14, 0x05, 0x80, 0xA2, 0xC0, 0x01, 0xFE, 0xFF, 0x12},
        {0x00, 0x25, 0x51, 0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0x62, 0x7C, 0xFF, 0xFF, 0x03, 0x06, 0x00, 0x00},
        {0x99, 0x99, 0x99, 0x01, 0x00, 0x00, 0xAA, 0xFA, 0xFF, 0xFF, 0x65, 0xFF, 0x04, 0xC7, 0x02, 0x34},
        {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x25, 0x51, 0x44, 0x05, 0x80, 0x05, 0x80, 0x02, 0x3D, 0xFF, 0xFF},
        {0x00, 0x25, 0x51, 0x14, 0x00, 0x50, 0x51, 0x14, 0x23, 0xC0, 0x23, 0x80, 0x00, 0x00, 0x01, 0x00},
    };
    for (std::size_t i = 0; i < std::size(odd); ++i) PutRecord(image, static_cast<int>(i) * 7 + 1, odd[i]);
    return image;
}

}  // namespace

TEST(CsvKeeping, ExportThenImportIntoTheSameImageKeepsEveryByte) {
    for (CsvLayout layout : {CsvLayout::Own, CsvLayout::Chirp})
        for (Lang lang : {Lang::Zh, Lang::En}) {
            const LanguageScope language(lang);
            for (unsigned seed = 1; seed <= 40; ++seed) {
                const RadioImage image = seed % 2 ? RandomImage(seed) : OddImage(seed);
                RadioImage back = image;
                const CsvImport result = ImportChannelsCsv(ExportChannelsCsv(image, layout), back, CsvImportOptions{});
                ASSERT_TRUE(result.problems.empty())
                    << seed << ": line " << result.problems.front().line << " " << result.problems.front().reason;
                ASSERT_TRUE(result.applied);
                EXPECT_EQ(result.unnamedInUse, 0);
                EXPECT_EQ(Differing(back, image), std::vector<int>{}) << static_cast<int>(layout) << " " << seed;
            }
        }
}

// A spreadsheet saves the tone 67.0 as 67: both layouts read it back as the
// same tone, and the channel keeps its bytes.
TEST(CsvKeeping, TonesASpreadsheetWroteAsWholeNumbersReadBackTheSame) {
    PlainChannelTable table;
    table.SetCellText(1, col::kRxFreq, "145.12500");
    table.SetCellText(1, col::kTxFreq, "145.12500");
    table.SetCellText(1, col::kRxTone, "67.0");
    table.SetCellText(1, col::kTxTone, "100.0");
    for (int column = col::kWidth; column <= col::kBusy; ++column)
        table.SetCellText(1, column, ListEntries(column).back());
    RadioImage image = NewDocumentImage();
    UpdateImageFromGrid(table, image);
    for (CsvLayout layout : {CsvLayout::Own, CsvLayout::Chirp}) {
        std::string csv = ExportChannelsCsv(image, layout);
        for (const auto& [written, saved] : {std::pair{"67.0", "67"}, std::pair{"100.0", "100"}})
            for (std::size_t at = csv.find(written); at != std::string::npos; at = csv.find(written, at))
                csv.replace(at, std::string(written).size(), saved);
        ASSERT_EQ(csv.find("67.0"), std::string::npos) << csv;
        RadioImage back = image;
        const CsvImport kept = ImportChannelsCsv(csv, back, CsvImportOptions{});
        ASSERT_TRUE(kept.problems.empty()) << static_cast<int>(layout) << ": " << kept.problems.front().reason;
        EXPECT_EQ(Differing(back, image), std::vector<int>{}) << static_cast<int>(layout);
        RadioImage fresh = NewDocumentImage();
        ASSERT_TRUE(ImportChannelsCsv(csv, fresh, CsvImportOptions{}).problems.empty());
        const ChannelTexts texts = DecodeChannelRecord(RecordAt(fresh, 1));
        EXPECT_EQ(texts[col::kRxTone - 1], "67.0") << static_cast<int>(layout);
        EXPECT_EQ(texts[col::kTxTone - 1], "100.0") << static_cast<int>(layout);
    }
}

TEST(CsvKeeping, WordsWithoutATableTextAreWrittenAsTheGridShowsThem) {
    const RadioImage image = OddImage(3);
    const std::string own = ExportChannelsCsv(image);
    EXPECT_NE(own.find("\r\n1,145.12500,145.12500,D05N,D0102I,"), std::string::npos) << own;
    EXPECT_NE(own.find("\r\n8,145.12500,,826.2,OFF,"), std::string::npos) << own;
    const std::string chirp = ExportChannelsCsv(image, CsvLayout::Chirp);
    EXPECT_NE(chirp.find("\r\n22,,,split,445.125000,"), std::string::npos) << chirp;
    EXPECT_NE(chirp.find(",DTCS,88.5,88.5,05,NN,05,"), std::string::npos) << chirp;
}

// A code outside the tone table that the file gives a channel (a word a
// radio held, or a spreadsheet's slip such as 88.6) is taken as this
// program's own layout wrote it, and the summary names it to be checked;
// where the channel already holds it, nothing is said.
TEST(CsvKeeping, TonesOutsideTheTableAreTakenAndNamedInTheSummary) {
    const RadioImage odd = OddImage(3);
    RadioImage same = odd;
    EXPECT_TRUE(ImportChannelsCsv(ExportChannelsCsv(odd), same, CsvImportOptions{}).offTable.empty());

    RadioImage fresh = NewDocumentImage();
    const CsvImport both =
        ImportChannelsCsv(kOwnHeader + "12,145.5,145.5,88.6,D05N,宽,是,高,无,关,关闭\n", fresh, CsvImportOptions{});
    ASSERT_TRUE(both.problems.empty()) << both.problems.front().reason;
    EXPECT_EQ(both.offTable, (std::vector<std::pair<int, std::string>>{{12, "88.6 / D05N"}}));

    const std::string csv = kOwnHeader + "10,250,250,88.6,D023N,宽,是,高,无,关,关闭\n";
    for (Lang lang : {Lang::Zh, Lang::En}) {
        const LanguageScope language(lang);
        RadioImage image = NewDocumentImage();
        const CsvImport result = ImportChannelsCsv(csv, image, CsvImportOptions{});
        ASSERT_TRUE(result.applied);
        EXPECT_EQ(DecodeChannelRecord(RecordAt(image, 10))[col::kRxTone - 1], "88.6");
        EXPECT_EQ(CsvImportSummary(result),
                  lang == Lang::Zh
                      ? "已导入 1 个频道。\n以下 1 个频道的信令代码不在信令表中，已照文件写入，请核对：\n频道 10: 88.6"
                      : "1 channel imported.\nThis channel has a tone code outside the tone table, written "
                        "as the file gives it; please check:\nChannel 10: 88.6");
    }
}

TEST(CsvKeeping, MergingAFileThatNamesOneChannelChangesOnlyThatChannel) {
    std::mt19937 rng(5);
    for (unsigned seed = 1; seed <= 30; ++seed) {
        const RadioImage image = seed % 2 ? RandomImage(seed) : RandomValidImage(seed);
        const int channel = 1 + static_cast<int>(rng() % kChannelCount);
        const std::string frequency = UnitsToFrequencyText(43000000 + 625 * static_cast<std::uint32_t>(rng() % 3000));
        const std::string own =
            kOwnHeader + std::to_string(channel) + "," + frequency + "," + frequency + ",OFF,OFF,宽,是,高,无,关,关闭\n";
        const std::string chirp = kChirpHeader + std::to_string(channel) + ",," + frequency +
                                  ",,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n";
        for (const std::string& csv : {own, chirp}) {
            RadioImage back = image;
            const CsvImport result = ImportChannelsCsv(csv, back, CsvImportOptions{false, false, true});
            ASSERT_TRUE(result.problems.empty()) << result.problems.front().reason;
            EXPECT_TRUE(result.merged);
            const std::vector<int> changed = Differing(back, image);
            ASSERT_LE(changed.size(), 1u) << seed;
            for (int n : changed) EXPECT_EQ(n, channel);
            EXPECT_EQ(DecodeChannelRecord(RecordAt(back, channel))[0], frequency);
            // The CHIRP line says nothing of optional signalling, PTT ID and busy lockout.
            if (csv == chirp && ChannelInUse(RecordAt(image, channel))) {
                EXPECT_EQ(RecordAt(back, channel)[12], RecordAt(image, channel)[12]);
                EXPECT_EQ(RecordAt(back, channel)[14] & 1, RecordAt(image, channel)[14] & 1);
                EXPECT_EQ(RecordAt(back, channel)[13] & 7, RecordAt(image, channel)[13] & 7);
            }
        }
    }
}

TEST(CsvKeeping, AFileWithoutChannelLinesChangesNothing) {
    const RadioImage before = RandomValidImage(9);
    const std::string files[] = {
        kOwnHeader,
        "\xEF\xBB\xBF" + kOwnHeader + ",,,,,,,,,,\n",
        "# exported by a spreadsheet\n" + kChirpHeader,
        kChirpHeader + "1,,,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n",
    };
    for (const std::string& csv : files)
        for (bool applyValid : {false, true}) {
            RadioImage image = before;
            const CsvImport result = ImportChannelsCsv(csv, image, CsvImportOptions{applyValid, false, false});
            EXPECT_TRUE(result.refusedWhole) << csv;
            EXPECT_FALSE(result.applied);
            ASSERT_EQ(result.problems.size(), 1u) << csv;
            EXPECT_EQ(result.problems[0].reason, "文件中只有标题行，没有频道");
            EXPECT_EQ(image, before);
        }
    RadioImage image = before;
    const CsvImport none = ImportChannelsCsv(kOwnHeader + "1,abc,,OFF,OFF,宽,是,高,无,关,关闭\n", image, true);
    EXPECT_TRUE(none.refusedWhole);
    EXPECT_EQ(image, before);
    EXPECT_EQ(CsvRefusedFileText(none),
              "第 2 行: 接收频率“abc”：输入数据错误，请按正确的格式及大小重新输入\n"
              "没有导入任何频道，没有做任何修改。");
}

TEST(CsvKeeping, ARefusedLineLeavesItsChannelAndTheSummarySaysWhatWasEmptied) {
    RadioImage image = NewDocumentImage();
    image[0x80A] = 0xEE + 5;  // 430 - 450MHz
    PlainChannelTable table;
    UpdateGridFromImage(image, table);
    for (int n = 1; n <= 5; ++n) {
        table.SetCellText(n, col::kRxFreq, "435.00000");
        for (int c = col::kRxTone; c <= col::kBusy; ++c) table.SetCellText(n, c, NewChannelDefault(c));
    }
    UpdateImageFromGrid(table, image);
    const RadioImage before = image;
    const std::string csv = kOwnHeader +
                            "1,146.94,146.34,OFF,88.5,窄,是,高,无,关,关闭\n"
                            "2,435.5,,OFF,OFF,宽,是,高,无,关,关闭\n"
                            "3,435.5,,OFF,OFF,中,是,高,无,关,关闭\n"
                            "9,147.5,,OFF,OFF,宽,是,高,无,关,关闭\n";
    CsvImport result = ImportChannelsCsv(csv, image, CsvImportOptions{});
    EXPECT_FALSE(result.applied);
    EXPECT_EQ(image, before);
    EXPECT_EQ(result.unnamedInUse, 2);  // channels 4 and 5; 3 is named by the refused line
    result = ImportChannelsCsv(csv, image, CsvImportOptions{true, false, false});
    ASSERT_TRUE(result.applied);
    EXPECT_EQ(RecordAt(image, 3), RecordAt(before, 3));
    EXPECT_FALSE(ChannelInUse(RecordAt(image, 4)));
    EXPECT_FALSE(ChannelInUse(RecordAt(image, 5)));
    EXPECT_EQ(CsvImportSummary(result),
              "已导入 3 个频道。\n文件中没有的 2 个使用中的频道已清空。\n以下 2 个频道超出频率范围!\n"
              "频道 1: 146.94000 / 146.34000\n频道 9: 147.50000");

    image = before;
    result = ImportChannelsCsv(csv, image, CsvImportOptions{true, false, true});
    EXPECT_EQ(RecordAt(image, 4), RecordAt(before, 4));
    {
        const LanguageScope english(Lang::En);
        EXPECT_EQ(CsvImportSummary(result),
                  "3 channels imported.\n2 channels in use that the file does not name were kept as they were.\n"
                  "These 2 channels lie outside the band!\nChannel 1: 146.94000 / 146.34000\nChannel 9: 147.50000");
    }
}

TEST(CsvKeeping, TheWindowAsksBeforeRefusedLinesAndBeforeEmptying) {
    RadioImage target = RandomValidImage(4);
    target[0x80A] = 0xEE + 1;  // 136 - 174MHz
    const std::string csv = kOwnHeader +
                            "1,146.94,146.34,OFF,88.5,窄,是,高,无,关,关闭\n"
                            "2,146.9412,,OFF,OFF,宽,是,高,无,关,关闭\n";
    int inUse = 0;
    for (int n = 3; n <= kChannelCount; ++n) inUse += ChannelInUse(RecordAt(target, n)) ? 1 : 0;
    ASSERT_GT(inUse, 0);

    CsvImportFlow keep(csv, target, false);
    ASSERT_TRUE(keep.Question());
    EXPECT_EQ(keep.Question()->buttons, Buttons::OkCancel);
    keep.Reply(Answer::Ok);
    ASSERT_TRUE(keep.Question());
    EXPECT_EQ(keep.Question()->buttons, Buttons::EmptyKeepCancel);
    EXPECT_EQ(keep.Question()->text,
              "文件中没有的 " + std::to_string(inUse) + " 个使用中的频道将被清空。\n清空这些频道，还是保留它们？");
    keep.Reply(Answer::Keep);
    EXPECT_FALSE(keep.Question());
    ASSERT_TRUE(keep.Applied());
    EXPECT_EQ(Differing(keep.Image(), target), std::vector<int>{1});
    EXPECT_EQ(keep.Message(), "已导入 1 个频道。\n文件中没有的 " + std::to_string(inUse) + " 个使用中的频道保持不变。");

    CsvImportFlow empty(csv, target, false);
    empty.Reply(Answer::Ok);
    empty.Reply(Answer::Ok);
    ASSERT_TRUE(empty.Applied());
    for (int n = 3; n <= kChannelCount; ++n) EXPECT_FALSE(ChannelInUse(RecordAt(empty.Image(), n))) << n;
    EXPECT_EQ(RecordAt(empty.Image(), 2), RecordAt(target, 2));

    CsvImportFlow cancelled(csv, target, false);
    cancelled.Reply(Answer::Ok);
    cancelled.Reply(Answer::Cancel);
    EXPECT_TRUE(cancelled.Cancelled());
    EXPECT_FALSE(cancelled.Applied());
    EXPECT_EQ(cancelled.Message(), "");

    CsvImportFlow refused(kOwnHeader, target, false);
    EXPECT_FALSE(refused.Question());
    EXPECT_TRUE(refused.Refused());
    EXPECT_EQ(refused.Message(), "第 1 行: 文件中只有标题行，没有频道\n没有导入任何频道，没有做任何修改。");
}
