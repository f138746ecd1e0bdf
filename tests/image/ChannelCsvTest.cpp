#include <gtest/gtest.h>

#include <algorithm>

#include "tones/ToneTable.h"
#include "editor/CellRules.h"
#include "csv/ChannelCsv.h"
#include "image/ChannelTable.h"
#include "support/LanguageScope.h"
#include "support/RandomImage.h"

using namespace std::string_literals;

TEST(ChannelCsv, ExportThenImportIsTheIdentity) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const RadioImage image = RandomValidImage(seed);
        RadioImage back = image;
        const CsvImport result = ImportChannelsCsv(ExportChannelsCsv(image), back, false);
        ASSERT_TRUE(result.problems.empty()) << result.problems.front().reason;
        ASSERT_EQ(back, image) << seed;
    }
}

TEST(ChannelCsv, HeaderAndColumnsByName) {
    const std::string csv = ExportChannelsCsv(RandomValidImage(3));
    EXPECT_EQ(
        csv.rfind(
            "\xEF\xBB\xBF频道,接收频率,发射频率,接收信令,发射信令,宽/窄,扫描添加,发射功率,可选信令,PTTID,繁忙锁定\r\n",
            0),
        0u);
    // Columns in another order, quoted fields, no BOM.
    RadioImage image = NewDocumentImage();
    const std::string reordered =
        "繁忙锁定,PTTID,可选信令,发射功率,扫描添加,宽/窄,发射信令,接收信令,发射频率,接收频率,频道\n"
        "载波,开,DTMF,高,是,宽,D023N,67.0,145.125,\"145.12500\",1\n";
    const CsvImport result = ImportChannelsCsv(reordered, image, false);
    ASSERT_TRUE(result.problems.empty()) << result.problems.front().reason;
    EXPECT_EQ(result.channels, 1);
    const ChannelTexts t = DecodeChannelRecord(RecordAt(image, 1));
    EXPECT_EQ(t, (ChannelTexts{"145.12500", "145.12500", "67.0", "D023N", "宽", "是", "高", "DTMF", "开", "载波"}));
}

TEST(ChannelCsv, BadLinesAreReportedWithTheirNumbersAndChangeNothing) {
    const RadioImage before = RandomValidImage(5);
    RadioImage image = before;
    const std::string csv =
        "频道,接收频率,发射频率,接收信令,发射信令,宽/窄,扫描添加,发射功率,可选信令,PTTID,繁忙锁定\n"
        "1,145.125,145.125,OFF,OFF,宽,是,高,DTMF,开,关闭\n"
        "2,145.1234,145.125,OFF,OFF,宽,是,高,DTMF,开,关闭\n"
        "300,145.125,145.125,OFF,OFF,宽,是,高,DTMF,开,关闭\n"
        "4,146,146,D023X,OFF,宽,是,高,DTMF,开,关闭\n"
        "5,146,146,OFF,OFF,中,是,高,DTMF,开,关闭\n"
        "1,146,146,OFF,OFF,宽,是,高,DTMF,开,关闭\n";
    CsvImport result = ImportChannelsCsv(csv, image, false);
    ASSERT_EQ(result.problems.size(), 5u);
    const int lines[] = {3, 4, 5, 6, 7};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(result.problems[static_cast<std::size_t>(i)].line, lines[i]);
    EXPECT_NE(result.problems[0].reason.find("6.25K"), std::string::npos);
    EXPECT_EQ(image, before);
    result = ImportChannelsCsv(csv, image, true);
    EXPECT_EQ(result.channels, 1);
    EXPECT_EQ(DecodeChannelRecord(RecordAt(image, 1))[0], "145.12500");
    EXPECT_EQ(RecordAt(image, 2), RecordAt(before, 2));  // its line was refused
    RadioImage untouched = before;
    EXPECT_EQ(ImportChannelsCsv("频道,接收频率\n", untouched, true).problems.size(), 9u);  // missing columns
    EXPECT_EQ(untouched, before);
    // A column named twice: which one is meant is open, in either layout.
    const std::string twice[] = {
        "频道,接收频率,发射频率,接收信令,发射信令,宽/窄,扫描添加,发射功率,可选信令,PTTID,繁忙锁定,接收频率\n"
        "1,145.125,145.125,OFF,OFF,宽,是,高,DTMF,开,关闭,146\n",
        "Location,Frequency,Duplex,Frequency\n1,146.52,,147\n"};
    for (const std::string& file : twice) {
        result = ImportChannelsCsv(file, untouched, true);
        ASSERT_EQ(result.problems.size(), 1u);
        EXPECT_EQ(result.problems[0].line, 1);
        EXPECT_EQ(result.problems[0].reason, file[0] == 'L' ? "列“Frequency”出现了两次" : "列“接收频率”出现了两次");
        EXPECT_EQ(untouched, before);
    }
}

TEST(ChannelCsv, ARefusalQuotesTheTextAsTheFileHasIt) {
    RadioImage image = NewDocumentImage();
    const std::string header =
        "频道,接收频率,发射频率,接收信令,发射信令,宽/窄,扫描添加,发射功率,可选信令,PTTID,繁忙锁定\n";
    const CsvImport result = ImportChannelsCsv(header +
                                                   "1,abc,146,OFF,OFF,宽,是,高,DTMF,开,关闭\n"
                                                   "2,146,146, 88.6x ,OFF,宽,是,高,DTMF,开,关闭\n",
                                               image, false);
    ASSERT_EQ(result.problems.size(), 2u);
    EXPECT_EQ(result.problems[0].reason, "接收频率“abc”：输入数据错误，请按正确的格式及大小重新输入");
    EXPECT_EQ(result.problems[1].reason, "接收信令“88.6x”不是信令代码");
    EXPECT_EQ(CsvRefusedQuestion(result),
              "以下 2 行被拒绝：\n第 2 行: 接收频率“abc”：输入数据错误，请按正确的格式及大小重新输入\n"
              "第 3 行: 接收信令“88.6x”不是信令代码\n\n是否只导入有效的行？");
    const LanguageScope english(Lang::En);
    RadioImage again = NewDocumentImage();
    const CsvImport inEnglish = ImportChannelsCsv(header + "2,146,146,OFF,OFF,中,是,高,DTMF,开,关闭\n", again, false);
    ASSERT_EQ(inEnglish.problems.size(), 1u);
    EXPECT_EQ(inEnglish.problems[0].reason, "W/N \"中\" is not one of the choices");
}

// A line with fewer fields than the header is refused, in whatever order the
// columns come: what it holds may belong to other columns, and a field it
// lacks would empty the channel's value.
TEST(ChannelCsv, ALineCutShortIsRefused) {
    const RadioImage before = RandomValidImage(9);
    const std::string orders[] = {
        "频道,接收频率,发射频率,接收信令,发射信令,宽/窄,扫描添加,发射功率,可选信令,PTTID,繁忙锁定\n"
        "4,152.125,158.125,88.5,88.5,宽,否,高,DTMF,开\n",
        "频道,接收频率,接收信令,发射信令,宽/窄,扫描添加,发射功率,可选信令,PTTID,繁忙锁定,发射频率\n"
        "4,152.125,88.5,88.5,宽,否,高,DTMF,开,关闭\n"};
    for (const std::string& csv : orders) {
        RadioImage image = before;
        const CsvImport result = ImportChannelsCsv(csv, image, {.applyValidLines = true, .merge = true});
        ASSERT_EQ(result.problems.size(), 1u);
        EXPECT_EQ(result.problems[0].line, 2);
        EXPECT_EQ(result.problems[0].reason, "只有 10 个字段，标题行有 11 个");
        EXPECT_EQ(image, before);
    }
}

// What a spreadsheet writing decimal commas saves: columns between
// semicolons. The refusal says so, not that every column is missing.
TEST(ChannelCsv, AFileOfSemicolonsIsRefusedForThem) {
    RadioImage image = RandomValidImage(4);
    const RadioImage before = image;
    std::string csv = ExportChannelsCsv(image);
    std::replace(csv.begin(), csv.end(), ',', ';');
    const CsvImport result = ImportChannelsCsv(csv, image, {.applyValidLines = true});
    ASSERT_EQ(result.problems.size(), 1u);
    EXPECT_TRUE(result.refusedWhole);
    EXPECT_EQ(result.problems[0].line, 1);
    EXPECT_EQ(result.problems[0].reason, "文件中的列用分号分隔：请在表格软件中把它另存为以逗号分隔的 CSV 文件");
    EXPECT_EQ(image, before);
}

TEST(ChannelCsv, AFileThatIsNoTextIsRefusedWithItsLine) {
    RadioImage image = NewDocumentImage();
    const std::string header =
        "频道,接收频率,发射频率,接收信令,发射信令,宽/窄,扫描添加,发射功率,可选信令,PTTID,繁忙锁定\n";
    CsvImport result = ImportChannelsCsv(header + "1,146,146,\"OFF,OFF,宽,是,高,DTMF,开,关闭\n", image, true);
    ASSERT_EQ(result.problems.size(), 1u);
    EXPECT_EQ(result.problems[0].line, 2);
    EXPECT_EQ(result.problems[0].reason, "引号没有结束");
    result = ImportChannelsCsv(header + "1,146\0,146\n"s, image, true);
    ASSERT_EQ(result.problems.size(), 1u);
    EXPECT_EQ(result.problems[0].line, 2);
    EXPECT_EQ(image, NewDocumentImage());
}

// A list exported under one language imports under the other to the same bytes.
TEST(ChannelCsv, EitherLanguagesFileImportsUnderTheOther) {
    for (Lang written : {Lang::Zh, Lang::En}) {
        const Lang reading = written == Lang::Zh ? Lang::En : Lang::Zh;
        for (unsigned seed = 1; seed <= 5; ++seed) {
            const RadioImage image = RandomValidImage(seed);
            std::string csv;
            {
                const LanguageScope language(written);
                csv = ExportChannelsCsv(image);
            }
            const LanguageScope language(reading);
            RadioImage back = image;
            const CsvImport result = ImportChannelsCsv(csv, back, false);
            ASSERT_TRUE(result.problems.empty()) << result.problems.front().reason;
            EXPECT_EQ(back, image) << seed;
        }
    }
    const LanguageScope english(Lang::En);
    EXPECT_EQ(ExportChannelsCsv(NewDocumentImage())
                  .rfind("\xEF\xBB\xBF"
                         "CH,RX freq,TX freq,RX tone,TX tone,W/N,Scan add,Power,Signalling,PTT ID,Busy lockout\r\n",
                         0),
              0u);
    RadioImage image = NewDocumentImage();
    const CsvImport missing = ImportChannelsCsv("CH,RX freq\n1,145.125\n", image, false);
    ASSERT_FALSE(missing.problems.empty());
    EXPECT_EQ(missing.problems.front().reason, "The column \"TX freq\" is missing");
}
