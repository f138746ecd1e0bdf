// The command-line read and write against the simulated radio on a real
// pseudo-terminal, through the QSerialPort link.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "image/FileAccess.h"
#include "image/SinFile.h"
#include "support/TestFolder.h"
#include "support/SimProcess.h"
#include "support/CliCommand.h"

namespace fs = std::filesystem;

namespace {

class CliTransfer : public ::testing::Test {
protected:
    void SetUp() override { m_dir = FreshTestFolder("cli-transfer"); }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    std::string SaveRandom(const std::string& name, unsigned seed) {
        std::mt19937 rng(seed);
        RadioImage image;
        for (auto& b : image) b = static_cast<std::uint8_t>(rng());
        SaveSinFile(Path(name), image);
        return Path(name);
    }

    static RadioImage Load(const std::string& path) {
        RadioImage image{};
        EXPECT_TRUE(LoadSinFile(path, image).ok) << path;
        return image;
    }

    static std::string Cli(const std::string& args) { return CliCommand(args); }

    fs::path m_dir;
};

}  // namespace

TEST_F(CliTransfer, ReadAndWriteAreByteIdentical) {
    const std::string radio = SaveRandom("radio.sin", 1);
    SimProcess sim({"--image", radio, "--save", Path("radio-after.sin")});
    ASSERT_FALSE(sim.Port().empty());
    std::string log;
    ASSERT_EQ(RunCommand(Cli("read --port " + sim.Port() + " --out " + Path("copy.sin")), &log), 0) << log;
    EXPECT_EQ(Load(Path("copy.sin")), Load(radio));
    EXPECT_NE(log.find("读频: 264/264"), std::string::npos) << log;

    const std::string mine = SaveRandom("mine.sin", 2);
    ASSERT_EQ(RunCommand(Cli("write --port " + sim.Port() + " --in " + mine + " --force"), &log), 0) << log;
    // Each count once, the last one too.
    const std::size_t last = log.find("写频: 264/264\n");
    ASSERT_NE(last, std::string::npos) << log;
    EXPECT_EQ(log.find("写频: 264/264\n", last + 1), std::string::npos) << log;
    ASSERT_EQ(RunCommand(Cli("read --port " + sim.Port() + " --out " + Path("back.sin")), &log), 0) << log;
    EXPECT_EQ(Load(Path("back.sin")), Load(mine));
    sim.Stop();
    EXPECT_EQ(Load(Path("radio-after.sin")), Load(mine));
}

TEST_F(CliTransfer, TypeMismatchWritesNothingWithoutForce) {
    SimProcess sim({"--type", "0x42", "--save", Path("radio-after.sin")});
    std::string log;
    EXPECT_NE(RunCommand(Cli("write --port " + sim.Port() + " --in " + SaveRandom("mine.sin", 3)), &log), 0);
    EXPECT_NE(log.find(" 对讲机的类型与你所设置的不一样，若要覆盖请按确定按钮"), std::string::npos) << log;
    sim.Stop();
    EXPECT_EQ(Load(Path("radio-after.sin")), NewDocumentImage());
}

TEST_F(CliTransfer, PulledCableMidReadLeavesTheOutputFileUntouched) {
    SimProcess sim({"--image", SaveRandom("radio.sin", 4), "--hangup-after", "40"});
    const std::string existing = SaveRandom("existing.sin", 5);
    const RadioImage before = Load(existing);
    std::string log;
    EXPECT_NE(RunCommand(Cli("read --port " + sim.Port() + " --out " + existing), &log), 0);
    EXPECT_EQ(Load(existing), before);
    EXPECT_NE(log.find("连接线已断开，请插好连接线后再试"), std::string::npos) << log;
}

TEST_F(CliTransfer, SilentRadioEndsWithTheCommunicationError) {
    SimProcess sim({"--silent"});
    std::string log;
    EXPECT_NE(RunCommand(Cli("read --port " + sim.Port() + " --out " + Path("none.sin")), &log), 0);
    EXPECT_NE(log.find("通讯错误，请检查连接线是否接触良好或对讲机电源是否开启"), std::string::npos) << log;
    EXPECT_FALSE(fs::exists(Path("none.sin")));
}

TEST_F(CliTransfer, MissingPortAndBadArguments) {
    std::string log;
    EXPECT_NE(RunCommand(Cli("read --port /dev/does-not-exist --out " + Path("x.sin")), &log), 0);
    EXPECT_NE(log.find("无法打开串口，请检查该设备是否正常，或是否被占用"), std::string::npos) << log;
    EXPECT_EQ(RunCommand(Cli("read --port")), 2);
    EXPECT_EQ(RunCommand(Cli("read --help"), &log), 0);
    EXPECT_NE(log.find("--retries"), std::string::npos);
}

TEST_F(CliTransfer, NewAndDump) {
    std::string log;
    ASSERT_EQ(RunCommand(Cli("new " + Path("x.sin"))), 0);
    // A file already there is kept unless --force says to replace it.
    auto ReadAll = [](const std::string& path) { return ReadRegularFile(path, 4096, false).bytes; };
    std::ofstream(Path("kept.sin"), std::ios::binary) << std::string(2112, 'k');
    EXPECT_EQ(RunCommand(Cli("new " + Path("kept.sin")), &log), 1);
    EXPECT_NE(log.find("已经存在，没有写入任何数据（加 --force 则替换它）"), std::string::npos) << log;
    EXPECT_EQ(ReadAll(Path("kept.sin")), std::string(2112, 'k'));
    EXPECT_EQ(RunCommand(Cli("new --force " + Path("kept.sin"))), 0);
    EXPECT_EQ(ReadAll(Path("kept.sin")), ReadAll(Path("x.sin")));
    ASSERT_EQ(RunCommand(Cli("dump " + Path("x.sin")), &log), 0);
    for (const char* text :
         {"OST - 101", "240 - 260MHz", "发射功率等级: 9", "手动设置: 打开", "使用中的频道: 0", "发射定时(秒): 60"})
        EXPECT_NE(log.find(text), std::string::npos) << text << "\n" << log;
    // Each caption stands over its column, where a terminal shows a Chinese character two columns wide.
    ASSERT_EQ(RunCommand(Cli(std::string("dump ") + OSTRELTZ_SAMPLE), &log), 0);
    auto shownAt = [](const std::string& line, std::size_t bytes) {
        int column = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            const auto b = static_cast<unsigned char>(line[i]);
            if ((b & 0xC0) != 0x80) column += b >= 0xE0 ? 2 : 1;
        }
        return column;
    };
    const std::size_t header = log.find("频道  ");
    ASSERT_NE(header, std::string::npos) << log;
    const std::string captions = log.substr(header, log.find('\n', header) - header);
    const std::size_t first = log.find("\n1 ", header) + 1;
    const std::string channel1 = log.substr(first, log.find('\n', first) - first);
    EXPECT_EQ(shownAt(captions, captions.find("宽/窄")), shownAt(channel1, channel1.find("宽"))) << captions;
    EXPECT_EQ(shownAt(captions, captions.find("PTTID")), shownAt(channel1, channel1.find("开"))) << captions;
    std::ofstream(Path("short.sin"), std::ios::binary) << std::string(100, 'x');
    EXPECT_NE(RunCommand(Cli("dump " + Path("short.sin")), &log), 0);
    EXPECT_NE(log.find("2112"), std::string::npos);
    EXPECT_NE(RunCommand(Cli("dump " + Path("missing.sin"))), 0);
}

TEST_F(CliTransfer, TuneRunsOneExchange) {
    SimProcess sim({"--tune-log", Path("tune.log")});
    std::string log;
    // The exchange's replies are due within 50 ms; on a busy machine an
    // attempt may miss them, and the retries a user would ask for go on.
    ASSERT_EQ(RunCommand(Cli("tune --retries 3 --port " + sim.Port() +
                             " --item squelch --value 160 --rx 146 --tx 146.00000 --rx-tone OFF"),
                         &log),
              0)
        << log;
    EXPECT_NE(log.find("对讲机已收到!"), std::string::npos);
    EXPECT_EQ(sim.NextLine(), "TUNE s F1 00 00 60 14 00 00 60 14 F2 00 00 00 00 FB 01 01 A0");
    ASSERT_EQ(RunCommand(Cli("tune --retries 3 --port " + sim.Port() +
                             " --item power --value 47 --rx 435.125 --tx 435.125 --tx-tone 88.5"),
                         &log),
              0)
        << log;
    EXPECT_EQ(sim.NextLine(), "TUNE t F1 00 25 51 43 00 25 51 43 F2 00 00 85 08 FB 01 01 2F");
    EXPECT_NE(RunCommand(Cli("tune --port " + sim.Port() + " --item volume --value 1 --rx 146 --tx 146")), 0);
    EXPECT_NE(RunCommand(Cli("tune --port " + sim.Port() + " --item power --value 1 --rx 1000 --tx 146")), 0);
}

// A radio (or USB adapter) may answer within the same millisecond: the answer
// is kept through the real port as well (the engine's side of it is the
// tuning tests' AnAnswerThatArrivesAtOnceIsKept), and the frames stay the
// same. A machine busy enough to hold the simulated radio past its 100 ms
// answer window may cost a tuning or two, which end as unanswered.
TEST_F(CliTransfer, TuneAgainstARadioThatAnswersAtOnceKeepsTheAnswers) {
    constexpr int kRuns = 20;
    const std::string frames =
        "02 50 52 4F 47 52 41 4D 02 06 78 73 73 08 00 00 60 14 00 00 60 14 00 00 00 00 FB 01 01 A0 ";
    SimProcess sim({"--instant", "--log", Path("wire.log")});
    std::vector<bool> received;
    std::string log;
    for (int run = 0; run < kRuns; ++run) {
        received.push_back(
            RunCommand(Cli("tune --retries 0 --port " + sim.Port() + " --item squelch --value 160 --rx 146 --tx 146"),
                       &log) == 0);
        if (received.back())
            EXPECT_EQ(sim.NextLine(), "TUNE s F1 00 00 60 14 00 00 60 14 F2 00 00 00 00 FB 01 01 A0");
        else
            EXPECT_NE(log.find("对讲机没有应答"), std::string::npos) << log;
    }
    EXPECT_GE(std::count(received.begin(), received.end(), true), kRuns - 2);
    // What the radio heard, run by run (each begins with the handshake): all
    // 30 bytes of a tuning that was received, the first of them otherwise.
    std::string heard;
    const std::string wire = ReadRegularFile(Path("wire.log"), 1 << 20, false).bytes;
    for (std::size_t at = wire.find(" RX "); at != std::string::npos; at = wire.find(" RX ", at + 1))
        heard += wire.substr(at + 4, 2) + " ";
    const std::string hello = frames.substr(0, 21);
    std::vector<std::string> runs;
    for (std::size_t at = heard.find(hello); at != std::string::npos;) {
        const std::size_t next = heard.find(hello, at + 1);
        runs.push_back(heard.substr(at, next == std::string::npos ? std::string::npos : next - at));
        at = next;
    }
    ASSERT_EQ(runs.size(), received.size()) << heard;
    for (std::size_t run = 0; run < runs.size(); ++run) {
        if (received[run])
            EXPECT_EQ(runs[run], frames) << "run " << run;
        else
            EXPECT_EQ(frames.rfind(runs[run], 0), 0u) << "run " << run << ": " << runs[run];
    }
}

TEST_F(CliTransfer, TuneSendsFrequenciesAsTypedOrRoundsOnlyWhenAStepIsGiven) {
    SimProcess sim({"--tune-log", Path("tune.log")});
    const std::string tune = "tune --retries 3 --port " + sim.Port() + " --item squelch --value 160 --tx 146";
    std::string log;
    // 136.0125 is on the 6.25 kHz step: it goes out as typed, without a word.
    ASSERT_EQ(RunCommand(Cli(tune + " --rx 136.0125"), &log), 0) << log;
    EXPECT_EQ(sim.NextLine(), "TUNE s F1 50 12 60 13 00 00 60 14 F2 00 00 00 00 FB 01 01 A0");
    EXPECT_EQ(log.find("136.01"), std::string::npos) << log;
    // On neither step: refused, naming both, and nothing is sent.
    EXPECT_NE(RunCommand(Cli(tune + " --rx 136.0120"), &log), 0);
    EXPECT_NE(log.find("“136.0120”既不在 5 kHz 步进上，也不在 6.25 kHz 步进上"), std::string::npos) << log;
    // With --step the frequency is rounded and the one sent is told.
    ASSERT_EQ(RunCommand(Cli(tune + " --rx 136.0120 --step 5"), &log), 0) << log;
    EXPECT_NE(log.find("频率“136.0120”按步进送出为 136.01000。"), std::string::npos) << log;
    EXPECT_EQ(sim.NextLine(), "TUNE s F1 00 10 60 13 00 00 60 14 F2 00 00 00 00 FB 01 01 A0");
}

TEST_F(CliTransfer, TuneAgainstAWrongAnswerFailsAfterItsRetries) {
    SimProcess sim({"--tuning-nak", "13"});
    std::string log;
    EXPECT_NE(
        RunCommand(Cli("tune --port " + sim.Port() + " --item txfreq --value 91 --rx 146 --tx 146 --retries 1"), &log),
        0);
    const std::string question = " 错误需延时再试\n对讲机拒绝了第 13 步\n";
    std::size_t first = log.find(question);
    ASSERT_NE(first, std::string::npos) << log;
    EXPECT_NE(log.find(question, first + 1), std::string::npos) << log;
}

TEST_F(CliTransfer, CsvExportAndImport) {
    std::string log;
    ASSERT_EQ(RunCommand(Cli(std::string("export-csv ") + OSTRELTZ_SAMPLE + " -o " + Path("s.csv")), &log), 0) << log;
    ASSERT_EQ(RunCommand(Cli("new " + Path("x.sin"))), 0);
    ASSERT_EQ(RunCommand(Cli("import-csv " + Path("x.sin") + " " + Path("s.csv")), &log), 0) << log;
    ASSERT_EQ(RunCommand(Cli("dump " + Path("x.sin")), &log), 0);
    EXPECT_NE(log.find("使用中的频道: 6"), std::string::npos) << log;
    std::ofstream(Path("bad.csv"))
        << "频道,接收频率,发射频率,接收信令,发射信令,宽/窄,扫描添加,发射功率,可选信令,PTTID,繁忙锁定\n"
           "7,999,,OFF,OFF,宽,是,高,DTMF,开,关闭\n";
    const RadioImage before = Load(Path("x.sin"));
    EXPECT_NE(RunCommand(Cli("import-csv " + Path("x.sin") + " " + Path("bad.csv")), &log), 0);
    EXPECT_NE(log.find("第 2 行"), std::string::npos) << log;
    EXPECT_EQ(Load(Path("x.sin")), before);

    // A file of nothing but its header is refused; no file is written.
    std::ofstream(Path("header.csv"))
        << "频道,接收频率,发射频率,接收信令,发射信令,宽/窄,扫描添加,发射功率,可选信令,PTTID,繁忙锁定\n";
    for (const char* flags : {"", " --apply-valid", " --merge"}) {
        EXPECT_EQ(
            RunCommand(Cli("import-csv " + Path("x.sin") + " " + Path("header.csv") + " -o " + Path("y.sin") + flags),
                       &log),
            1);
        EXPECT_NE(log.find("第 1 行: 文件中只有标题行，没有频道"), std::string::npos) << log;
        EXPECT_NE(log.find("没有导入任何频道，没有做任何修改。"), std::string::npos) << log;
        EXPECT_FALSE(fs::exists(Path("y.sin")));
    }

    // With --merge a file that names one channel changes that channel only.
    std::ofstream(Path("one.csv")) << "Location,Frequency,Duplex,Offset,Mode,Power\n3,438.5,-,5,NFM,Low\n";
    ASSERT_EQ(
        RunCommand(Cli("import-csv " + Path("x.sin") + " " + Path("one.csv") + " --merge -o " + Path("m.sin")), &log),
        0)
        << log;
    EXPECT_NE(log.find("已导入 1 个频道。\n文件中没有的 5 个使用中的频道保持不变。"), std::string::npos) << log;
    const RadioImage merged = Load(Path("m.sin"));
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (i < 32 || i >= 48) {
            ASSERT_EQ(merged[i], before[i]) << i;
        }
    }
    ASSERT_EQ(RunCommand(Cli("import-csv " + Path("x.sin") + " " + Path("one.csv") + " -o " + Path("e.sin")), &log), 0)
        << log;
    EXPECT_NE(log.find("文件中没有的 5 个使用中的频道已清空。"), std::string::npos) << log;
}

TEST_F(CliTransfer, SetCellsChecksLikeTyping) {
    std::string log;
    ASSERT_EQ(RunCommand(Cli("new " + Path("a.sin")), &log), 0) << log;
    // A refused value anywhere: a message, a failure, and no file written.
    EXPECT_NE(RunCommand(Cli("set " + Path("a.sin") + " -o " + Path("b.sin") +
                             " --channel 1 --column 接收频率 --value 145.125"
                             " --channel 2 --column 接收频率 --value 145.0075"),
                         &log),
              0);
    EXPECT_NE(log.find("第 2 频道接收频率“145.0075”：输入数据错误，请按6.25K或 5k的倍数重新输入"), std::string::npos)
        << log;
    EXPECT_FALSE(fs::exists(Path("b.sin")));
    EXPECT_NE(RunCommand(Cli("set " + Path("a.sin") + " --channel 1 --column 接收频率 --value 145,125"), &log), 0);
    EXPECT_NE(log.find("输入数据错误，请按正确的格式及大小重新输入"), std::string::npos) << log;
    // Blanks around a channel number are taken alike on either side.
    for (const char* channel : {"' 5'", "'5 '"})
        EXPECT_EQ(RunCommand(Cli("set " + Path("a.sin") + " -o " + Path("c.sin") + " --channel " + channel +
                                 " --column 接收频率 --value 145.125"),
                             &log),
                  0)
            << channel << log;

    // The new channel gets its defaults; the band only warns.
    ASSERT_EQ(RunCommand(Cli("set " + Path("a.sin") + " -o " + Path("b.sin") +
                             " --channel 1 --column 接收频率 --value 145.125 --column 发射信令 --value d023n"
                             " --channel 128 --column 发射频率 --value 440"),
                         &log),
              0)
        << log;
    EXPECT_NE(log.find("超出频率范围!"), std::string::npos) << log;
    ASSERT_EQ(RunCommand(Cli("dump " + Path("b.sin")), &log), 0) << log;
    EXPECT_NE(log.find("145.12500"), std::string::npos) << log;
    EXPECT_NE(log.find("D023N"), std::string::npos) << log;
    EXPECT_NE(log.find("440.00000"), std::string::npos) << log;
    EXPECT_EQ(RunCommand(Cli("set " + Path("a.sin") + " --channel 1 --column 频道 --value 1"), &log), 2);
}

TEST_F(CliTransfer, ChirpCsvExportAndImport) {
    std::string log;
    ASSERT_EQ(
        RunCommand(Cli(std::string("export-csv ") + OSTRELTZ_SAMPLE + " --layout chirp -o " + Path("c.csv")), &log), 0)
        << log;
    std::ifstream exported(Path("c.csv"), std::ios::binary);
    std::string header;
    std::getline(exported, header);
    EXPECT_EQ(header.rfind("\xEF\xBB\xBFLocation,Name,Frequency,Duplex,Offset,Tone,", 0), 0u) << header;
    ASSERT_EQ(RunCommand(Cli("new " + Path("x.sin"))), 0);
    ASSERT_EQ(RunCommand(Cli("import-csv " + Path("x.sin") + " " + Path("c.csv")), &log), 0) << log;
    ASSERT_EQ(RunCommand(Cli("dump " + Path("x.sin")), &log), 0);
    EXPECT_NE(log.find("使用中的频道: 6"), std::string::npos) << log;
    EXPECT_NE(RunCommand(Cli(std::string("export-csv ") + OSTRELTZ_SAMPLE + " --layout other")), 0);

    // A 0-based list with a gap: without --renumber Location 200 has no channel.
    std::ofstream(Path("club.csv")) << "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,Mode,Power\n"
                                       "0,W1ABC,146.940000,-,0.600000,Tone,100.0,88.5,FM,High\n"
                                       "200,K1XYZ,446.000000,,0.000000,,88.5,88.5,NFM,0.5W\n";
    EXPECT_NE(RunCommand(Cli("import-csv " + Path("x.sin") + " " + Path("club.csv")), &log), 0);
    EXPECT_NE(log.find("第 3 行: Location“200”对应频道 201，不在 1 到 128 之内"), std::string::npos) << log;
    ASSERT_EQ(RunCommand(Cli("import-csv " + Path("x.sin") + " " + Path("club.csv") + " --renumber"), &log), 0) << log;
    EXPECT_NE(log.find("已导入 2 个频道。\n按文件顺序放入了频道 1 至 2。\n本机不保存频道名称，略去了 2 "
                       "个名称。\n文件中没有的 4 个使用中的频道已清空。"),
              std::string::npos)
        << log;
    ASSERT_EQ(RunCommand(Cli("dump " + Path("x.sin")), &log), 0);
    EXPECT_NE(log.find("使用中的频道: 2"), std::string::npos) << log;
}

TEST_F(CliTransfer, SpeaksTheLocaleLanguageUnlessToldOtherwise) {
    SimProcess sim({});
    const std::string tune =
        " tune --port " + sim.Port() + " --item squelch --value 160 --rx 146 --tx 146 --rx-tone OFF";
    std::string log;
    ASSERT_EQ(RunCommand("LC_ALL= LC_MESSAGES= LANGUAGE= LANG=en_US.UTF-8 " + std::string(OSTRELTZ_CLI) + tune, &log),
              0)
        << log;
    EXPECT_NE(log.find("The radio has received it!"), std::string::npos) << log;
    // --lang wins over the locale (a radio of its own: one tuning exchange each).
    SimProcess second({});
    const std::string tuneSecond =
        " tune --port " + second.Port() + " --item squelch --value 160 --rx 146 --tx 146 --rx-tone OFF";
    ASSERT_EQ(RunCommand("LC_ALL= LC_MESSAGES= LANGUAGE= LANG=en_US.UTF-8 " + std::string(OSTRELTZ_CLI) + tuneSecond +
                             " --lang zh",
                         &log),
              0)
        << log;
    EXPECT_NE(log.find("对讲机已收到!"), std::string::npos) << log;
    ASSERT_EQ(
        RunCommand("LC_ALL= LC_MESSAGES= LANGUAGE= LANG=zh_CN.UTF-8 " + std::string(OSTRELTZ_CLI) + " --lang=en help",
                   &log),
        0)
        << log;
    EXPECT_NE(log.find("read from radio"), std::string::npos) << log;
    ASSERT_EQ(
        RunCommand("LC_ALL= LC_MESSAGES= LANGUAGE= LANG=zh_CN.UTF-8 " + std::string(OSTRELTZ_CLI) + " help", &log), 0)
        << log;
    EXPECT_NE(log.find("从对讲机读频"), std::string::npos) << log;
    // LANGUAGE's list comes before the locale, as it does for the desktop program.
    ASSERT_EQ(
        RunCommand("LC_ALL= LC_MESSAGES= LANGUAGE=zh_CN:en LANG=en_US.UTF-8 " + std::string(OSTRELTZ_CLI) + " help",
                   &log),
        0)
        << log;
    EXPECT_NE(log.find("从对讲机读频"), std::string::npos) << log;

    EXPECT_EQ(RunCommand("LC_ALL= LC_MESSAGES= LANGUAGE= LANG=en_US.UTF-8 " + std::string(OSTRELTZ_CLI) +
                             " read --port /nonexistent/tty --out " + Path("x.sin"),
                         &log),
              1)
        << log;
    EXPECT_NE(log.find("Cannot open the serial port"), std::string::npos) << log;
    EXPECT_EQ(RunCommand(std::string(OSTRELTZ_CLI) + " --lang fr help", &log), 2);
    EXPECT_NE(log.find("--lang"), std::string::npos) << log;
    EXPECT_EQ(RunCommand(std::string(OSTRELTZ_CLI) + " --lang en help", &log), 0);
    EXPECT_NE(log.find("read from radio"), std::string::npos) << log;
}

TEST_F(CliTransfer, EnglishReadDumpAndCsvReadBackInEitherLanguage) {
    const std::string english = "LC_ALL= LC_MESSAGES= LANGUAGE= LANG=en_US.UTF-8 " + std::string(OSTRELTZ_CLI) + " ";
    SimProcess sim({"--image", OSTRELTZ_SAMPLE});
    std::string log;
    ASSERT_EQ(RunCommand(english + "read --port " + sim.Port() + " --out " + Path("r.sin"), &log), 0) << log;
    EXPECT_NE(log.find("Checking the port, please wait..."), std::string::npos) << log;
    EXPECT_NE(log.find("Reading: 264/264"), std::string::npos) << log;
    EXPECT_EQ(Load(Path("r.sin")), Load(OSTRELTZ_SAMPLE));
    ASSERT_EQ(RunCommand(english + "dump " + Path("r.sin"), &log), 0) << log;
    for (const char* text : {"Model: OST - 101", "Power level: ", "Manual setting: ", "Squelch level (SQ): ",
                             "Channels in use: 6", "RX freq", "Busy lockout", "Wide", "Sequential"})
        EXPECT_NE(log.find(text), std::string::npos) << text << "\n" << log;

    // A list written in English reads back under Chinese, and the reverse,
    // to the very same channels.
    ASSERT_EQ(RunCommand(english + "export-csv " + Path("r.sin") + " -o " + Path("en.csv"), &log), 0) << log;
    std::ifstream en(Path("en.csv"));
    std::string header;
    std::getline(en, header);
    EXPECT_NE(header.find("CH,RX freq,TX freq,RX tone,TX tone,W/N,Scan add,Power,Signalling,PTT ID,Busy lockout"),
              std::string::npos)
        << header;
    ASSERT_EQ(RunCommand(Cli("export-csv " + Path("r.sin") + " -o " + Path("zh.csv")), &log), 0) << log;
    ASSERT_EQ(RunCommand(Cli("new " + Path("a.sin"))), 0);
    ASSERT_EQ(RunCommand(Cli("import-csv " + Path("a.sin") + " " + Path("en.csv")), &log), 0) << log;
    EXPECT_NE(log.find("已导入 6 个频道。"), std::string::npos) << log;
    ASSERT_EQ(RunCommand(english + "new " + Path("b.sin"), &log), 0) << log;
    ASSERT_EQ(RunCommand(english + "import-csv " + Path("b.sin") + " " + Path("zh.csv"), &log), 0) << log;
    EXPECT_NE(log.find("6 channels imported."), std::string::npos) << log;
    ASSERT_EQ(RunCommand(Cli("export-csv " + Path("a.sin") + " -o " + Path("a.csv"))), 0);
    ASSERT_EQ(RunCommand(Cli("export-csv " + Path("b.sin") + " -o " + Path("b.csv"))), 0);
    std::ifstream a(Path("a.csv")), b(Path("b.csv")), zh(Path("zh.csv"));
    const std::string aText((std::istreambuf_iterator<char>(a)), {}), bText((std::istreambuf_iterator<char>(b)), {}),
        zhText((std::istreambuf_iterator<char>(zh)), {});
    EXPECT_EQ(aText, zhText);
    EXPECT_EQ(bText, zhText);

    // Captions and values in English under Chinese; refusals in English under English.
    ASSERT_EQ(RunCommand(Cli("set " + Path("a.sin") + " --channel 1 --column \"Busy lockout\" --value Carrier"), &log),
              0)
        << log;
    ASSERT_EQ(RunCommand(Cli("dump " + Path("a.sin")), &log), 0);
    EXPECT_NE(log.find("载波"), std::string::npos) << log;
    EXPECT_NE(RunCommand(english + "set " + Path("a.sin") + " --channel 1 --column W/N --value Medium", &log), 0);
    EXPECT_NE(log.find("Channel 1 W/N \"Medium\": \"Medium\" is not one of the choices"), std::string::npos) << log;
}
