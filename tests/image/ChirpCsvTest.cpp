#include <gtest/gtest.h>

#include <random>

#include "tones/ToneTable.h"
#include "editor/CellRules.h"
#include "csv/ChannelCsv.h"
#include "image/ChannelTable.h"
#include "support/RandomImage.h"

namespace {

const std::string kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,"
    "TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";

// A club's list as a directory site hands it out: 0-based, names and
// comments, every tone mode, a receive-only weather channel, an airband
// channel and three channels far past the others.
const std::string kClubList =
    kHeader +
    "0,W1ABC,146.940000,-,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,50W,Hilltop,,,,\n"
    "1,K1XYZ,147.315000,+,0.600000,TSQL,88.5,123.0,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n"
    "2,N1DCS,444.100000,+,5.000000,DTCS,88.5,88.5,023,NR,023,Tone->Tone,NFM,12.50,S,Low,\"Club, UHF\",,,,\n"
    "3,CALL,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,National simplex,,,,\n"
    "4,XBAND,145.200000,split,439.300000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,Mid,,,,,\n"
    "5,WX1,162.550000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,25.00,,1.0W,,,,,\n"
    "6,AIR,121.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,AM,25.00,,High,Guard,,,,\n"
    "7,TT,145.310000,-,0.600000,Cross,67.0,71.9,023,NN,023,Tone->Tone,FM,5.00,,H,,,,,\n"
    "8,TD,442.500000,+,5.000000,Cross,77.0,88.5,023,NR,754,Tone->DTCS,NFM,12.50,,L,,,,,\n"
    "9,DT,443.000000,+,5.000000,Cross,88.5,82.5,025,NN,023,DTCS->Tone,FM,12.50,P,4W,,,,,\n"
    "10,DX,145.450000,-,0.600000,Cross,88.5,88.5,026,RN,023,DTCS->,FM,5.00,,0.5W,,,,,\n"
    "11,XT,145.470000,-,0.600000,Cross,88.5,94.8,023,NN,023,->Tone,FM,5.00,,3.9W,,,,,\n"
    "12,XD,145.490000,-,0.600000,Cross,88.5,88.5,023,NN,031,->DTCS,FM,5.00,,Low,,,,,\n"
    "172,DD,438.450000,-,7.600000,Cross,88.5,88.5,032,RR,036,DTCS->DTCS,NFM,12.50,,High,,,,,\n"
    "173,HIGH1,146.610000,-,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n"
    "174,HIGH2,146.670000,-,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n";

ChannelTexts Channel(const RadioImage& image, int n) { return DecodeChannelRecord(RecordAt(image, n)); }

// The rest of a channel the layout cannot say: a new channel's defaults.
ChannelTexts Texts(const std::string& rx, const std::string& tx, const std::string& rxTone, const std::string& txTone,
                   const std::string& width, const std::string& scan, const std::string& power) {
    return {rx, tx, rxTone, txTone, width, scan, power, "DTMF", "开", "关闭"};
}

// The club list's channels in file order, the airband row left out.
const std::vector<ChannelTexts> kClubChannels = {
    Texts("146.94000", "146.34000", "OFF", "100.0", "宽", "是", "高"),
    Texts("147.31500", "147.91500", "123.0", "123.0", "宽", "是", "高"),
    Texts("444.10000", "449.10000", "D023I", "D023N", "窄", "否", "低"),
    Texts("146.52000", "146.52000", "OFF", "OFF", "宽", "是", "高"),
    Texts("145.20000", "439.30000", "OFF", "OFF", "宽", "是", "低"),
    Texts("162.55000", "", "OFF", "OFF", "宽", "是", "低"),
    Texts("145.31000", "144.71000", "71.9", "67.0", "宽", "是", "高"),
    Texts("442.50000", "447.50000", "D754I", "77.0", "窄", "是", "低"),
    Texts("443.00000", "448.00000", "82.5", "D025N", "宽", "是", "高"),
    Texts("145.45000", "144.85000", "OFF", "D026I", "宽", "是", "低"),
    Texts("145.47000", "144.87000", "94.8", "OFF", "宽", "是", "低"),
    Texts("145.49000", "144.89000", "D031N", "OFF", "宽", "是", "低"),
    Texts("438.45000", "430.85000", "D036I", "D032I", "窄", "是", "高"),
    Texts("146.61000", "146.01000", "OFF", "OFF", "宽", "是", "高"),
    Texts("146.67000", "146.07000", "OFF", "OFF", "宽", "是", "高"),
};

// `expected` as it reads into channel `n` of `target`: a channel in use keeps
// what the list says nothing of (optional signalling, PTT ID, busy lockout,
// and power when `withPower`).
ChannelTexts Into(ChannelTexts expected, const RadioImage& target, int n, bool withPower = true) {
    const ChannelRecord record = RecordAt(target, n);
    if (!ChannelInUse(record)) return expected;
    const ChannelTexts own = DecodeChannelRecord(record);
    for (int c = withPower ? col::kSignal : col::kPower; c <= col::kBusy; ++c)
        expected[static_cast<std::size_t>(c - 1)] = own[static_cast<std::size_t>(c - 1)];
    return expected;
}

std::vector<int> LinesOf(const CsvImport& result) {
    std::vector<int> lines;
    for (const CsvProblem& p : result.problems) lines.push_back(p.line);
    return lines;
}

}  // namespace

TEST(ChirpCsv, ZeroBasedListWithGapsKeepsItsNumbersAndRefusesWhatDoesNotFit) {
    const RadioImage before = RandomValidImage(7);
    RadioImage image = before;
    CsvImport result = ImportChannelsCsv(kClubList, image, CsvImportOptions{});
    EXPECT_EQ(result.layout, CsvLayout::Chirp);
    // The airband line, and Locations 172-174 (channels 173-175).
    ASSERT_EQ(LinesOf(result), (std::vector<int>{8, 15, 16, 17}));
    EXPECT_EQ(result.problems[0].reason, "Mode“AM”：本机只能收发 FM 和 NFM");
    EXPECT_EQ(result.problems[1].reason, "Location“172”对应频道 173，不在 1 到 128 之内");
    EXPECT_EQ(image, before);

    result = ImportChannelsCsv(kClubList, image, CsvImportOptions{true, false});
    EXPECT_EQ(result.channels, 12);
    EXPECT_EQ(result.droppedNames, 12);
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(Channel(image, n), Into(kClubChannels[static_cast<std::size_t>(n - 1)], before, n)) << n;
    EXPECT_EQ(RecordAt(image, 7), RecordAt(before, 7));  // the airband line's channel stays as it was
    for (int n = 8; n <= 13; ++n)
        EXPECT_EQ(Channel(image, n), Into(kClubChannels[static_cast<std::size_t>(n - 2)], before, n)) << n;
    for (int n = 14; n <= kChannelCount; ++n) EXPECT_FALSE(ChannelInUse(RecordAt(image, n))) << n;
}

TEST(ChirpCsv, RenumberFillsChannelsInFileOrder) {
    RadioImage image = NewDocumentImage();
    CsvImport result = ImportChannelsCsv(kClubList, image, CsvImportOptions{false, true});
    ASSERT_EQ(LinesOf(result), (std::vector<int>{8}));  // only the airband line
    result = ImportChannelsCsv(kClubList, image, CsvImportOptions{true, true});
    EXPECT_EQ(result.channels, 15);
    for (int n = 1; n <= 15; ++n) EXPECT_EQ(Channel(image, n), kClubChannels[static_cast<std::size_t>(n - 1)]) << n;
    EXPECT_FALSE(ChannelInUse(RecordAt(image, 16)));

    // A directory of more than 128 repeaters: the lines past the 128th are listed.
    std::string big = kHeader;
    for (int i = 0; i < 130; ++i)
        big += std::to_string(1000 + i) + ",R" + std::to_string(i) + "," +
               UnitsToFrequencyText(43000000 + 2500 * static_cast<unsigned>(i)) +
               ",+,5.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,12.50,,High,,,,,\n";
    result = ImportChannelsCsv(big, image, CsvImportOptions{false, true});
    ASSERT_EQ(LinesOf(result), (std::vector<int>{130, 131}));
    EXPECT_EQ(result.problems[0].reason, "频道已排满 128 个，这一行没有位置");
}

TEST(ChirpCsv, OneBasedOlderListWithoutTheNewerColumns) {
    // Older files lack RxDtcsCode, CrossMode, Power and the D-STAR columns;
    // this one also comes with a byte-order mark, CR LF and the columns moved.
    const std::string list =
        "\xEF\xBB\xBFLocation,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,"
        "Skip,Comment\r\n"
        "1,,145.500000,,0.000000,,88.5,88.5,023,NN,FM,12.50,,\r\n"
        "2,Link,439.975000,-,7.600000,DTCS,88.5,88.5,754,RN,NFM,12.50,S,\r\n"
        "5,,145.612500,-,0.600000,Tone,88.5,88.5,023,NN,FM,12.50,,\r\n"
        "9,,145.700000,-,0.600000,Cross,110.9,114.8,023,NN,FM,12.50,,\r\n";
    const RadioImage before = RandomValidImage(11);
    RadioImage image = before;
    const CsvImport result = ImportChannelsCsv(list, image, CsvImportOptions{});
    ASSERT_TRUE(result.problems.empty()) << result.problems.front().reason;
    EXPECT_EQ(result.channels, 4);
    EXPECT_EQ(result.droppedNames, 1);
    // Without a Power column a channel in use keeps its power.
    EXPECT_EQ(Channel(image, 1),
              Into(Texts("145.50000", "145.50000", "OFF", "OFF", "宽", "是", "高"), before, 1, false));
    EXPECT_EQ(Channel(image, 2),
              Into(Texts("439.97500", "432.37500", "D754N", "D754I", "窄", "否", "高"), before, 2, false));
    EXPECT_EQ(Channel(image, 5),
              Into(Texts("145.61250", "145.01250", "OFF", "88.5", "宽", "是", "高"), before, 5, false));
    EXPECT_EQ(Channel(image, 9),
              Into(Texts("145.70000", "145.10000", "114.8", "110.9", "宽", "是", "高"), before, 9, false));
    for (int n : {3, 4, 6, 7, 8, 10, 128}) EXPECT_FALSE(ChannelInUse(RecordAt(image, n))) << n;
}

TEST(ChirpCsv, EveryValueIsCheckedAsTypingChecksIt) {
    auto line = [](const std::string& location, const std::string& fields) {
        return location + "," + fields + ",Tone->Tone,FM,5.00,,High,,,,,\n";
    };
    const std::string list =
        kHeader + line("1", ",146.520000,,0.000000,,88.5,88.5,023,NN,023") +                   // 2: fine
        line("2", ",146.523000,,0.000000,,88.5,88.5,023,NN,023") +                             // 3: not on a step
        line("3", ",600.000000,,0.000000,,88.5,88.5,023,NN,023") +                             // 4: out of range
        line("4", ",146.520000,+-,0.600000,,88.5,88.5,023,NN,023") +                           // 5
        line("5", ",146.520000,+,six,,88.5,88.5,023,NN,023") +                                 // 6
        line("6", ",70.000000,-,5.000000,,88.5,88.5,023,NN,023") +                             // 7: below 67 MHz
        line("7", ",146.520000,-,200.000000,,88.5,88.5,023,NN,023") +                          // 8
        line("8", ",146.520000,,0.000000,Tone,69.4,88.5,023,NN,023") +                         // 9: not a table tone
        line("9", ",146.520000,,0.000000,DTCS,88.5,88.5,999,NN,023") +                         // 10
        line("10", ",146.520000,,0.000000,DTCS,88.5,88.5,023,NX,023") +                        // 11
        line("11", ",146.520000,,0.000000,DCS,88.5,88.5,023,NN,023") +                         // 12
        line("abc", ",146.520000,,0.000000,,88.5,88.5,023,NN,023") +                           // 13
        line("1", ",146.520000,,0.000000,,88.5,88.5,023,NN,023") +                             // 14: duplicate
        "12,,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,DV,5.00,,High,,,,,\n"       // 15
        "13,,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,X,High,,,,,\n"      // 16
        "14,,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,Max,,,,,\n"        // 17
        "15,,146.520000,,0.000000,Cross,88.5,88.5,023,NN,023,Tone=>DTCS,FM,5.00,,High,,,,,\n"  // 18
        "17,,146.520000,split,,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n";         // 19
    RadioImage image = NewDocumentImage();
    const CsvImport result = ImportChannelsCsv(list, image, CsvImportOptions{});
    const std::vector<std::string> reasons = {
        "接收频率“146.523000”：输入数据错误，请按6.25K或 5k的倍数重新输入",
        "接收频率“600.000000”：输入数据错误，请按正确的格式及大小重新输入",
        "Duplex“+-”应为空、+、-、split 或 off",
        "Offset“six”不是以 MHz 为单位的频率",
        "发射频率“65.00000”：输入数据错误，请按正确的格式及大小重新输入",
        "Offset“200.000000”大于接收频率",
        "发射信令“69.4”不是信令代码",
        "接收信令“D999N”不是信令代码",
        "DtcsPolarity“NX”应为两个字母 N 或 R",
        "Tone“DCS”应为空、Tone、TSQL、DTCS 或 Cross",
        "Location“abc”不是频道号",
        "频道 1 重复",
        "Mode“DV”：本机只能收发 FM 和 NFM",
        "Skip“X”应为空、P 或 S",
        "Power“Max”应为 High、Low 或瓦数",
        "CrossMode“Tone=>DTCS”不是可识别的组合",
        "Duplex 为 split 时 Offset 应为发射频率",
    };
    ASSERT_EQ(result.problems.size(), reasons.size());
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        EXPECT_EQ(result.problems[i].line, static_cast<int>(i) + 3);
        EXPECT_EQ(result.problems[i].reason, reasons[i]);
    }
    EXPECT_EQ(image, NewDocumentImage());
}

namespace {

// A full table of channels the layout can carry: some receive-only, some
// transmit-only, offsets small and large, every pair of tone kinds.
RadioImage FilledImage(unsigned seed) {
    std::mt19937 rng(seed);
    PlainChannelTable table;
    const ToneTable& tones = ToneTable::Instance();
    auto frequency = [&] { return UnitsToFrequencyText(6700000 + static_cast<std::uint32_t>(rng() % 72000) * 625); };
    for (int n = 1; n <= kChannelCount; ++n) {
        if (rng() % 8 == 0) continue;
        const std::string rx = frequency();
        std::string tx = rx;
        switch (rng() % 6) {
            case 0: tx.clear(); break;
            case 1: tx = frequency(); break;
            case 2: {
                const std::uint32_t units = FrequencyTextToUnits(rx),
                                    apart = 625 * static_cast<std::uint32_t>(rng() % 10000);
                tx = UnitsToFrequencyText(units + apart <= kHighestUnits ? units + apart : units - apart);
                break;
            }
            default: break;
        }
        const bool transmitOnly = !tx.empty() && rng() % 10 == 0;
        table.SetCellText(n, col::kRxFreq, transmitOnly ? "" : rx);
        table.SetCellText(n, col::kTxFreq, tx);
        const std::string txTone = tones.Text(static_cast<int>(rng() % 261));
        table.SetCellText(n, col::kTxTone, txTone);
        table.SetCellText(n, col::kRxTone, rng() % 3 == 0 ? txTone : tones.Text(static_cast<int>(rng() % 261)));
        for (int c = col::kWidth; c <= col::kPower; ++c) table.SetCellText(n, c, ListEntries(c)[rng() % 2]);
        for (int c = col::kSignal; c <= col::kBusy; ++c) table.SetCellText(n, c, NewChannelDefault(c));
    }
    RadioImage image = NewDocumentImage();
    UpdateImageFromGrid(table, image);
    return image;
}

}  // namespace

TEST(ChirpCsv, ExportThenImportGivesTheSameChannels) {
    for (unsigned seed = 1; seed <= 30; ++seed) {
        const RadioImage image = FilledImage(seed);
        RadioImage back = NewDocumentImage();
        const CsvImport result =
            ImportChannelsCsv(ExportChannelsCsv(image, CsvLayout::Chirp), back, CsvImportOptions{});
        ASSERT_TRUE(result.problems.empty())
            << seed << ": line " << result.problems.front().line << " " << result.problems.front().reason;
        EXPECT_EQ(result.layout, CsvLayout::Chirp);
        for (int n = 1; n <= kChannelCount; ++n) ASSERT_EQ(Channel(back, n), Channel(image, n)) << seed << " " << n;
    }
    // The club list comes back as it was imported.
    RadioImage club = NewDocumentImage();
    ImportChannelsCsv(kClubList, club, CsvImportOptions{true, true});
    RadioImage back = NewDocumentImage();
    ASSERT_TRUE(
        ImportChannelsCsv(ExportChannelsCsv(club, CsvLayout::Chirp), back, CsvImportOptions{}).problems.empty());
    EXPECT_EQ(back, club);
}

TEST(ChirpCsv, ExportWritesTheLayoutsOwnSpelling) {
    RadioImage image = NewDocumentImage();
    ImportChannelsCsv(kClubList, image, CsvImportOptions{true, true});
    PlainChannelTable table;
    UpdateGridFromImage(image, table);
    table.SetCellText(20, col::kTxFreq, "145.50000");  // receive only, then a transmit-only channel
    table.SetCellText(20, col::kTxTone, "OFF");
    table.SetCellText(20, col::kRxTone, "OFF");
    for (int c = col::kWidth; c <= col::kBusy; ++c) table.SetCellText(20, c, NewChannelDefault(c));
    table.SetCellText(21, col::kRxFreq, "145.61250");
    table.SetCellText(21, col::kTxFreq, "195.61250");  // just 50 MHz apart: a split
    table.SetCellText(21, col::kTxTone, "OFF");
    table.SetCellText(21, col::kRxTone, "OFF");
    for (int c = col::kWidth; c <= col::kBusy; ++c) table.SetCellText(21, c, NewChannelDefault(c));
    UpdateImageFromGrid(table, image);
    const std::string csv = ExportChannelsCsv(image, CsvLayout::Chirp);
    const std::vector<std::string> lines = {
        "\xEF\xBB\xBF" + kHeader.substr(0, kHeader.size() - 1) + "\r\n",
        "1,,146.940000,-,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n",
        "2,,147.315000,+,0.600000,TSQL,123.0,123.0,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n",
        "3,,444.100000,+,5.000000,DTCS,88.5,88.5,023,NR,023,Tone->Tone,NFM,5.00,S,Low,,,,,\r\n",
        "4,,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n",
        "5,,145.200000,split,439.300000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,Low,,,,,\r\n",
        "6,,162.550000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,Low,,,,,\r\n",
        "7,,145.310000,-,0.600000,Cross,67.0,71.9,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n",
        "8,,442.500000,+,5.000000,Cross,77.0,88.5,023,NR,754,Tone->DTCS,NFM,5.00,,Low,,,,,\r\n",
        "9,,443.000000,+,5.000000,Cross,88.5,82.5,025,NN,023,DTCS->Tone,FM,5.00,,High,,,,,\r\n",
        "10,,145.450000,-,0.600000,Cross,88.5,88.5,026,RN,023,DTCS->,FM,5.00,,Low,,,,,\r\n",
        "11,,145.470000,-,0.600000,Cross,88.5,94.8,023,NN,023,->Tone,FM,5.00,,Low,,,,,\r\n",
        "12,,145.490000,-,0.600000,Cross,88.5,88.5,023,NN,031,->DTCS,FM,5.00,,Low,,,,,\r\n",
        "13,,438.450000,-,7.600000,Cross,88.5,88.5,032,RR,036,DTCS->DTCS,NFM,5.00,,High,,,,,\r\n",
        "14,,146.610000,-,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n",
        "15,,146.670000,-,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n",
        "20,,,split,145.500000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r\n",
        "21,,145.612500,split,195.612500,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,High,,,,,\r\n",
    };
    std::string expected;
    for (const std::string& l : lines) expected += l;
    EXPECT_EQ(csv, expected);
}

// Lists as other programs and directories hand them out.
TEST(ChirpCsv, CommentLinesEmptyRowsAndUnusedMemoriesAreSkipped) {
    const std::string list =
        "# Exported from a repeater directory\n"
        "# Location,Frequency are the columns below\n"
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,Skip,Power\n"
        "1,A,146.940000,-,0.600000,Tone,100.0,88.5,023,NN,FM,,High\n"
        "2,,,,,,,,,,,,\n"
        ",,,,,,,,,,,,\n"
        "# a note between the lines\n"
        "3,C,146.520000,,0.000000,,88.5,88.5,023,NN,NFM,,Low\n";
    RadioImage image = NewDocumentImage();
    const CsvImport result = ImportChannelsCsv(list, image, CsvImportOptions{});
    ASSERT_TRUE(result.problems.empty()) << result.problems.front().line << " " << result.problems.front().reason;
    EXPECT_EQ(result.channels, 2);
    EXPECT_EQ(Channel(image, 1), Texts("146.94000", "146.34000", "OFF", "100.0", "宽", "是", "高"));
    EXPECT_FALSE(ChannelInUse(RecordAt(image, 2)));
    EXPECT_EQ(Channel(image, 3), Texts("146.52000", "146.52000", "OFF", "OFF", "窄", "是", "低"));
}

TEST(ChirpCsv, OneToneColumnServesBothWaysAndUnusedColumnsAreNotRead) {
    const std::string list =
        "Location,Frequency,Tone,cToneFreq,DtcsCode,DtcsPolarity,CrossMode\n"
        "1,146.940000,Tone,100.0,023,??,Nonsense\n"    // rToneFreq missing: cToneFreq sends
        "2,146.940000,TSQL,123.0,abc,XX,\n"            // the DCS columns are not used
        "3,146.940000,Cross,88.5,754,RN,Tone->DTCS\n"  // no RxDtcsCode: DtcsCode both ways
        "4,146.940000,DTCS,88.5,023,XX,\n";            // a polarity in use must be N or R
    RadioImage image = NewDocumentImage();
    const CsvImport result = ImportChannelsCsv(list, image, CsvImportOptions{true, false, false});
    ASSERT_EQ(LinesOf(result), (std::vector<int>{5}));
    EXPECT_EQ(result.problems[0].reason, "DtcsPolarity“XX”应为两个字母 N 或 R");
    EXPECT_EQ(Channel(image, 1)[col::kTxTone - 1], "100.0");
    EXPECT_EQ(Channel(image, 1)[col::kRxTone - 1], "OFF");
    EXPECT_EQ(Channel(image, 2)[col::kTxTone - 1], "123.0");
    EXPECT_EQ(Channel(image, 2)[col::kRxTone - 1], "123.0");
    EXPECT_EQ(Channel(image, 3)[col::kTxTone - 1], "88.5");
    EXPECT_EQ(Channel(image, 3)[col::kRxTone - 1], "D754N");
}

TEST(ChirpCsv, AShortRowIsRefusedWithItsLineNumber) {
    RadioImage image = NewDocumentImage();
    const CsvImport result =
        ImportChannelsCsv(kHeader +
                              "1,,146.940000,-,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n"
                              "2,,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High\n",
                          image, CsvImportOptions{});
    ASSERT_EQ(LinesOf(result), (std::vector<int>{3}));
    EXPECT_EQ(result.problems[0].reason, "只有 16 个字段，标题行有 21 个");
    EXPECT_EQ(image, NewDocumentImage());
}

TEST(ChirpCsv, PowerWordsFollowOneRule) {
    const std::vector<std::pair<std::string, std::string>> words = {
        {"High", "高"}, {"HI", "高"}, {"h", "高"},    {"5W", "高"},   {"4", "高"},   {"4.0 W", "高"},
        {"Low", "低"},  {"lo", "低"}, {"L", "低"},    {"Low2", "低"}, {"Mid", "低"}, {"Medium", "低"},
        {"Med", "低"},  {"M", "低"},  {"Mid1", "低"}, {"3.9W", "低"}, {"0.5", "低"},
    };
    for (const auto& [word, power] : words) {
        RadioImage image = NewDocumentImage();
        const CsvImport result =
            ImportChannelsCsv("Location,Frequency,Power\n1,146.52," + word + "\n", image, CsvImportOptions{});
        ASSERT_TRUE(result.problems.empty()) << word << ": " << result.problems.front().reason;
        EXPECT_EQ(Channel(image, 1)[col::kPower - 1], power) << word;
    }
    for (const std::string word : {"Max", "Turbo", "-5W", "Highest"}) {
        RadioImage image = NewDocumentImage();
        const CsvImport result =
            ImportChannelsCsv("Location,Frequency,Power\n1,146.52," + word + "\n", image, CsvImportOptions{});
        ASSERT_EQ(result.problems.size(), 1u) << word;
        EXPECT_EQ(result.problems[0].reason, "Power“" + word + "”应为 High、Low 或瓦数");
    }
}

TEST(ChirpCsv, WhatTheLayoutCannotSayKeepsTheChannelsOwnValue) {
    PlainChannelTable table;
    table.SetCellText(1, col::kRxFreq, "146.52000");
    table.SetCellText(1, col::kTxFreq, "146.52000");
    const ChannelTexts own = {"146.52000", "146.52000", "OFF", "OFF", "窄", "否", "低", "队列同步", "开", "载波"};
    for (int c = 1; c <= 10; ++c) table.SetCellText(1, c, own[static_cast<std::size_t>(c - 1)]);
    RadioImage image = NewDocumentImage();
    UpdateImageFromGrid(table, image);
    const CsvImport result =
        ImportChannelsCsv(kHeader +
                              "1,,146.940000,-,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\n"
                              "2,,146.940000,-,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,,Low,,,,,\n",
                          image, CsvImportOptions{});
    ASSERT_TRUE(result.problems.empty()) << result.problems.front().reason;
    EXPECT_EQ(Channel(image, 1),
              (ChannelTexts{"146.94000", "146.34000", "OFF", "OFF", "宽", "是", "高", "队列同步", "开", "载波"}));
    EXPECT_EQ(Channel(image, 2), Texts("146.94000", "146.34000", "OFF", "OFF", "窄", "是", "低"));
}
