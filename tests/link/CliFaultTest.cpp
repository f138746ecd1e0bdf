// The command line against the faults found from outside: files that are not
// files, a full disk, a full standard output, empty and malformed input,
// tuning texts that mean nothing, and a port held by another program.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "image/FileAccess.h"
#include "image/SinFile.h"
#include "link/QtSerialLink.h"
#include "support/TestFolder.h"
#include "support/SimProcess.h"

namespace fs = std::filesystem;

namespace {

class CliFaults : public ::testing::Test {
protected:
    void SetUp() override { m_dir = FreshTestFolder("cli-faults"); }
    void TearDown() override {
        ::umount(m_dir.c_str());
        fs::remove_all(m_dir);
    }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    static std::string Cli(const std::string& args) { return std::string(OSTRELTZ_CLI) + " --lang zh " + args; }
    static std::string Sample() { return OSTRELTZ_SAMPLE; }
    static std::string Bytes(const std::string& path) { return ReadRegularFile(path, 1 << 24, false).bytes; }

    fs::path m_dir;
};

}  // namespace

TEST_F(CliFaults, ANamedPipeInEveryRoleIsRefusedAtOnce) {
    const std::string pipe = Path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    ASSERT_EQ(RunCommand(Cli("new " + Path("x.sin"))), 0);
    const std::string saved = "无法保存文件“" + pipe + "”。\n不是普通文件";
    const std::string opened = "无法打开文件“" + pipe + "”。\n不是普通文件";
    const std::pair<std::string, std::string> roles[] = {
        {"dump " + pipe, opened},
        {"write --port /dev/null --in " + pipe, opened},
        {"print " + pipe + " --pdf " + Path("r.pdf"), opened},
        {"print " + Sample() + " --pdf " + pipe, saved},
        {"export-csv " + Sample() + " -o " + pipe, saved},
        {"export-csv " + pipe, opened},
        {"import-csv " + Path("x.sin") + " " + pipe, opened},
        {"import-csv " + pipe + " " + Path("x.csv"), opened},
        {"new --force " + pipe, saved},
    };
    // A program stuck opening the pipe would be ended by `timeout` (exit 124).
    for (const auto& [args, message] : roles) {
        std::string log;
        EXPECT_EQ(RunCommand("timeout 30 " + Cli(args), &log), 1) << args << "\n" << log;
        EXPECT_NE(log.find(message), std::string::npos) << args << "\n" << log;
        EXPECT_TRUE(fs::is_fifo(pipe));
    }
}

TEST_F(CliFaults, AFullDiskKeepsEveryOldOutputByteForByte) {
    if (::mount("tmpfs", m_dir.c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    const std::string pdf = Path("old.pdf"), csv = Path("old.csv"), sin = Path("old.sin");
    std::ofstream(pdf) << "%PDF old report";
    std::ofstream(csv) << "old,csv\r\n";
    ASSERT_EQ(RunCommand(Cli("new " + sin)), 0);
    ASSERT_EQ(RunCommand(Cli("export-csv " + Sample() + " -o " + Path("in.csv"))), 0);
    const std::string oldSin = Bytes(sin);
    {
        std::ofstream filler(Path("filler"), std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), block.size())) {
        }
    }
    const std::pair<std::string, std::string> outputs[] = {
        {"print " + Sample() + " --pdf " + pdf, pdf},
        {"export-csv " + Sample() + " -o " + csv, csv},
        {"import-csv " + sin + " " + Path("in.csv"), sin},
        {"new --force " + sin, sin},
    };
    const std::string before[] = {Bytes(pdf), Bytes(csv), oldSin, oldSin};
    for (std::size_t i = 0; i < std::size(outputs); ++i) {
        std::string log;
        EXPECT_EQ(RunCommand(Cli(outputs[i].first), &log), 1) << outputs[i].first << "\n" << log;
        EXPECT_NE(log.find("无法保存文件“" + outputs[i].second + "”。\n磁盘已满"), std::string::npos) << log;
        EXPECT_EQ(log.find("QPainter"), std::string::npos) << log;  // no warnings from the drawing
        EXPECT_EQ(Bytes(outputs[i].second), before[i]) << outputs[i].first;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 5);  // no temporaries left
}

TEST_F(CliFaults, AFullStandardOutputFails) {
    std::string log;
    // Only standard output goes to the full device; the message is read back.
    EXPECT_EQ(RunCommand("{ " + Cli("dump " + Sample()) + " >/dev/full; }", &log), 1);
    EXPECT_EQ(log, "ostreltz-cli: 无法写入标准输出：磁盘已满\n");
    EXPECT_EQ(RunCommand("{ " + Cli("export-csv " + Sample()) + " >/dev/full; }"), 1);
    EXPECT_EQ(RunCommand("{ " + Cli("dump " + Sample()) + " >/dev/null; }"), 0);
}

TEST_F(CliFaults, AnEmptyFileIsRefused) {
    std::ofstream(Path("empty.sin")).close();
    const std::string refusal = "无法打开文件“" + Path("empty.sin") + "”。\n文件是空的";
    for (const std::string& args :
         {"dump " + Path("empty.sin"), "print " + Path("empty.sin") + " --pdf " + Path("r.pdf"),
          "export-csv " + Path("empty.sin") + " -o " + Path("r.csv")}) {
        std::string log;
        EXPECT_EQ(RunCommand(Cli(args), &log), 1) << args;
        EXPECT_NE(log.find(refusal), std::string::npos) << log;
    }
    EXPECT_FALSE(fs::exists(Path("r.pdf")));
    EXPECT_FALSE(fs::exists(Path("r.csv")));
}

TEST_F(CliFaults, UsageErrorsNameTheArgument) {
    const std::pair<std::string, std::string> cases[] = {
        {"read --port", "ostreltz-cli: 选项 --port 缺少值\n用法: ostreltz-cli read"},
        {"read --out x.sin", "ostreltz-cli: 缺少选项 --port\n用法: ostreltz-cli read"},
        {"write --port COM1 --in x.sin --retries many",
         "ostreltz-cli: --retries 的值“many”不是 0 到 1000 之间的数\n用法"},
        {"dump", "ostreltz-cli: 缺少文件名 FILE.sin\n用法: ostreltz-cli dump"},
        {"dump a.sin b.sin", "ostreltz-cli: 多余的参数“b.sin”\n"},
        {"dump --bogus a.sin", "ostreltz-cli: 未知选项“--bogus”\n"},
        // An option not known is named before what seems missing.
        {"read --bogus", "ostreltz-cli: 未知选项“--bogus”\n"},
        {"read --version --out x.sin", "ostreltz-cli: 未知选项“--version”\n"},
        {"set a.sin --channel 1 --column 发射功率 --value 低 --channel 2",
         "ostreltz-cli: --channel 2 --column 发射功率 之后没有 --value\n用法: ostreltz-cli set"},
        {"import-csv a.sin", "ostreltz-cli: 缺少CSV 文件名 IN.csv\n"},
        {"tune --port COM1 --item volume --value 1 --rx 146 --tx 146", "ostreltz-cli: --item 的值“volume”无效\n"},
        {"tune --port COM1 --item power --value 256 --rx 146 --tx 146",
         "ostreltz-cli: --value 的值“256”不是 0 到 255 之间的数\n"},
        {"", "ostreltz-cli: 缺少命令\n"},
    };
    for (const auto& [args, text] : cases) {
        std::string log;
        EXPECT_EQ(RunCommand(Cli(args), &log), 2) << args;
        EXPECT_EQ(log.rfind(text, 0), 0u) << args << "\n" << log;
    }
}

TEST_F(CliFaults, TuneRefusesWhatItDoesNotUnderstandAndSendsNothing) {
    SimProcess sim({"--log", Path("wire.log")});
    ASSERT_FALSE(sim.Port().empty());
    const std::string tune = "tune --port " + sim.Port() + " --item squelch --value 160 ";
    const std::pair<std::string, std::string> refused[] = {
        {"--rx 146,5 --tx 146", "频率“146,5”无效：应为以 MHz 为单位的数字，例如 146.52500。"},
        {"--rx 146..5 --tx 146", "频率“146..5”无效"},
        {"--rx 146.5MHz --tx 146", "频率“146.5MHz”无效"},
        {"--rx 146 --tx ''", "频率“”无效"},
        {"--rx 146 --tx 600", "频率“600”超出范围：应在 67 到 521 MHz 之间。"},
        {"--rx 146 --tx 146 --rx-tone 88.6", "信令“88.6”不在信令表中（OFF、CTCSS 如 88.5、DCS 如 D023N）。"},
        {"--rx 146 --tx 146 --tx-tone abc", "信令“abc”不在信令表中"},
    };
    // Each is a wrong argument: said before the usage, exit code 2.
    for (const auto& [args, text] : refused) {
        std::string log;
        EXPECT_EQ(RunCommand(Cli(tune + args), &log), 2) << args;
        EXPECT_NE(log.find(text), std::string::npos) << args << "\n" << log;
    }
    EXPECT_EQ(Bytes(Path("wire.log")).find("RX"), std::string::npos) << "the radio received something";
    // A frequency off the step goes out rounded as the dialog's Enter rounds
    // it; a DCS code goes out as 00 00, named in any letter case.
    std::string log;
    ASSERT_EQ(RunCommand(Cli(tune + "--rx 146.0026 --tx 146.00625 --step 6.25 --rx-tone d023n --tx-tone 88.5"), &log),
              0)
        << log;
    EXPECT_NE(log.find("频率“146.0026”按步进送出为 146.00000。"), std::string::npos) << log;
    EXPECT_EQ(log.find("频率“146.00625”"), std::string::npos) << log;
    EXPECT_EQ(sim.NextLine(), "TUNE s F1 00 00 60 14 25 06 60 14 F2 00 00 85 08 FB 01 01 A0");
}

TEST_F(CliFaults, APortHeldByAnotherProgramIsNotAPermissionProblem) {
    SimProcess sim({});
    ASSERT_FALSE(sim.Port().empty());
    QtSerialLink holder;
    ASSERT_EQ(holder.Open(sim.Port(), kCloneTimeouts), OpenError::None);
    std::string log;
    EXPECT_EQ(RunCommand(Cli("read --port " + sim.Port() + " --out " + Path("x.sin")), &log), 1);
    EXPECT_NE(log.find("无法打开串口，请检查该设备是否正常，或是否被占用\n串口 " + sim.Port() +
                       " 正被其他程序使用（进程 " + std::to_string(::getpid()) + "）：请先关闭那个程序。"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("dialout"), std::string::npos) << log;
    holder.Close();

    // A device the user may not open: as root, run the command as nobody.
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to run the command as another user";
    ::chmod(sim.Port().c_str(), 0600);
    fs::permissions(m_dir, fs::perms::all);
    EXPECT_EQ(RunCommand("setpriv --reuid=nobody --regid=nogroup --clear-groups " +
                             Cli("read --port " + sim.Port() + " --out " + Path("y.sin")),
                         &log),
              1);
    EXPECT_NE(log.find("无法打开串口，请检查该设备是否正常，或是否被占用\n没有访问串口 " + sim.Port() +
                       " 的权限：请把当前用户加入 dialout 组"),
              std::string::npos)
        << log;
}

TEST_F(CliFaults, TheDesktopProgramAnswersHelpAndVersionWithoutADisplay) {
    for (const char* option : {"--help", "--version"}) {
        std::string log;
        EXPECT_EQ(RunCommand(std::string("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb ") + OSTRELTZ_GUI +
                                 " " + option,
                             &log),
                  0)
            << log;
        EXPECT_NE(log.find(std::string(option) == "--help" ? "--print-to" : "11.1"), std::string::npos) << log;
    }
}

TEST_F(CliFaults, ACsvFromAChineseSpreadsheetImports) {
    std::string log;
    ASSERT_EQ(RunCommand(Cli("export-csv " + Sample() + " -o " + Path("utf8.csv"))), 0);
    // What a spreadsheet on a Chinese Windows system saves: GBK, no mark.
    ASSERT_EQ(RunCommand("tail -c +4 " + Path("utf8.csv") + " | iconv -f UTF-8 -t GBK >" + Path("gbk.csv")), 0);
    ASSERT_EQ(RunCommand(Cli("new " + Path("x.sin"))), 0);
    ASSERT_EQ(RunCommand(Cli("import-csv " + Path("x.sin") + " " + Path("gbk.csv")), &log), 0) << log;
    ASSERT_EQ(RunCommand(Cli("dump " + Path("x.sin")), &log), 0);
    EXPECT_NE(log.find("使用中的频道: 6"), std::string::npos) << log;
    // A folder given as the CSV says so.
    EXPECT_EQ(RunCommand(Cli("import-csv " + Path("x.sin") + " " + m_dir.string()), &log), 1);
    EXPECT_NE(log.find("无法打开文件“" + m_dir.string() + "”。\n这是一个文件夹，不是文件"), std::string::npos) << log;
}
