// The command line says what is wrong: every usage error names the argument
// and the problem, a port that is no serial device says so, an output that
// cannot take the data is refused before the radio is asked, and a tone the
// grid's tone editor does not offer is refused as typing refuses it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "image/FileAccess.h"
#include "support/TestFolder.h"
#include "support/SimProcess.h"
#include "support/CliCommand.h"

namespace fs = std::filesystem;

namespace {

class CliArguments : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = FreshTestFolder("cli-arguments");
        ASSERT_EQ(RunCommand(Cli("new " + Path("a.sin"))), 0);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    static std::string Cli(const std::string& args) { return CliCommand(args); }

    // Runs `args`; it must end with 2 and say `problem` just before the usage.
    void ExpectUsageError(const std::string& args, const std::string& problem) {
        std::string log;
        EXPECT_EQ(RunCommand(Cli(args), &log), 2) << args << "\n" << log;
        EXPECT_NE(log.find("ostreltz-cli: " + problem + "\n用法: "), std::string::npos) << args << "\n" << log;
    }

    fs::path m_dir;
};

}  // namespace

TEST_F(CliArguments, EveryVerbNamesTheArgumentAndTheProblem) {
    const std::string a = Path("a.sin");
    const std::string link = " --port /dev/ttyUSB9 ";
    const std::string columns =
        "可改的列：接收频率、发射频率、接收信令、发射信令、宽/窄、扫描添加、发射功率、可选信令、PTTID、繁忙锁定";
    const std::pair<std::string, std::string> cases[] = {
        {"new", "缺少文件名 FILE.sin"},
        {"new " + a + " " + a, "多余的参数“" + a + "”"},
        {"new --bogus " + a, "未知选项“--bogus”"},
        {"dump", "缺少文件名 FILE.sin"},
        {"dump " + a + " -x", "未知选项“-x”"},
        {"read" + link + "--port /dev/ttyUSB8 --out " + Path("x.sin"), "--port 给了两次"},
        {"read --port --out " + Path("x.sin"), "选项 --port 缺少值"},
        {"read" + link + "--out " + Path("x.sin") + " --retries abc", "--retries 的值“abc”不是 0 到 1000 之间的数"},
        {"read" + link, "缺少选项 --out"},
        {"write --in " + a, "缺少选项 --port"},
        {"write" + link + "--in " + a + " --force --force", "--force 给了两次"},
        {"write" + link + "--in " + a + " --retries -1", "--retries 的值“-1”不是 0 到 1000 之间的数"},
        {"tune" + link + "--item squelch --value 300 --rx 146 --tx 146", "--value 的值“300”不是 0 到 255 之间的数"},
        {"tune" + link + "--item volume --value 3 --rx 146 --tx 146", "--item 的值“volume”无效"},
        {"tune" + link + "--item squelch --rx 146 --tx 146", "缺少选项 --value"},
        {"tune" + link + "--item squelch --value 3 --rx 146 --tx", "选项 --tx 缺少值"},
        {"print " + a, "缺少选项 --pdf"},
        {"print " + a + " --pdf " + Path("r.pdf") + " --pdf " + Path("s.pdf"), "--pdf 给了两次"},
        {"export-csv " + a + " --layout other", "--layout 的值“other”无效"},
        {"export-csv " + a + " -o", "选项 -o 缺少值"},
        {"import-csv " + a, "缺少CSV 文件名 IN.csv"},
        {"set " + a + " --channel abc --column 接收频率 --value 145", "--channel 的值“abc”不是 1 到 128 之间的数"},
        {"set " + a + " --channel 129 --column 接收频率 --value 145", "--channel 的值“129”不是 1 到 128 之间的数"},
        {"set " + a + " --channel 1 --column 频道 --value 1", "--column 的值“频道”无效\n" + columns},
        {"set " + a + " --value 145", "--value 之前须先给出 --channel 和 --column"},
        {"set " + a + " --channel 1 --column 接收频率", "缺少选项 --value"},
        {"set " + a + " --channel", "选项 --channel 缺少值"},
        {"set " + a + " -o x.sin -o y.sin --channel 1 --column 接收频率 --value 145", "-o 给了两次"},
        {"set --channel 1 --column 接收频率 --value 145", "缺少文件名 FILE.sin"},
        {"set " + a + " " + a + " --channel 1 --column 接收频率 --value 145", "多余的参数“" + a + "”"},
        {"set " + a + " --row 1", "未知选项“--row”"},
        {"read" + link + "--out ''", "--out 的值“”无效"},
        {"write" + link + "--port /dev/ttyUSB9 --in " + a, "串口 /dev/ttyUSB9 给了两次"},
        {"write" + link + "--port /dev/../dev/null --port /dev/null --in " + a, "串口 /dev/null 给了两次"},
        {"write" + link + "--port /dev/ttyUSB8 --in " + a + " --backup",
         "--backup 只用于一个串口、写一次，不能与 --repeat 或 --log 同用"},
        {"write" + link + "--in " + a + " --backup --log " + Path("log.csv"),
         "--backup 只用于一个串口、写一次，不能与 --repeat 或 --log 同用"},
        {"write" + link + "--in " + a + " --log ''", "--log 的值“”无效"},
        {"tune" + link + "--item squelch --value 3 --rx 146,5 --tx 146",
         "频率“146,5”无效：应为以 MHz 为单位的数字，例如 146.52500。"},
        {"history show", "缺少记录编号 N"},
        {"history show 0", "show 的值“0”无效"},
        {"history show 1 2", "多余的参数“2”"},
        {"history list extra", "多余的参数“extra”"},
        {"history again", "history 的值“again”无效"},
    };
    for (const auto& [args, problem] : cases) ExpectUsageError(args, problem);
    // A refused tone sends nothing, so no frequency is said to go out rounded.
    std::string refused;
    EXPECT_EQ(RunCommand(Cli("tune --port /dev/null --item squelch --value 3 --rx 146.0123 --tx 146 --step 6.25 "
                             "--rx-tone 88.6"),
                         &refused),
              2);
    EXPECT_EQ(refused.rfind("ostreltz-cli: 信令“88.6”不在信令表中", 0), 0u) << refused;
    // The language option without its language, or with one it cannot take,
    // is told in the environment's language.
    std::string log;
    EXPECT_EQ(RunCommand(std::string(OSTRELTZ_CLI) + " dump " + a + " --lang", &log), 2) << log;
    EXPECT_NE(log.find("--lang"), std::string::npos) << log;
    EXPECT_EQ(RunCommand("env LC_ALL= LC_MESSAGES= LANGUAGE= LANG=en_US.UTF-8 " + std::string(OSTRELTZ_CLI) + " dump " +
                             a + " --lang fr",
                         &log),
              2);
    EXPECT_EQ(log, "ostreltz-cli: --lang takes zh or en\n");
    // The language once: a second is as wrong as any option given twice.
    EXPECT_EQ(RunCommand(std::string(OSTRELTZ_CLI) + " dump " + a + " --lang=zh --lang en", &log), 2) << log;
    EXPECT_NE(log.find("--lang 给了两次"), std::string::npos) << log;
    // "--name=value" is "--name value", as scripts often write it; not after "--".
    EXPECT_EQ(RunCommand(Cli("export-csv " + a + " --layout=chirp -o " + Path("c.csv")), &log), 0) << log;
    EXPECT_EQ(ReadRegularFile(Path("c.csv"), 4096, false).bytes.rfind("\xEF\xBB\xBFLocation,", 0), 0u);
    EXPECT_EQ(RunCommand(Cli("set --channel=1 --column=接收频率 --value=146 -o=" + Path("d.sin") + " " + a), &log), 2)
        << log;
    EXPECT_NE(log.find("-o=" + Path("d.sin")), std::string::npos) << log;
    // A value joined to its option is the value, even when it begins with a dash.
    const std::string inDir = "cd " + m_dir.string() + " && ";
    EXPECT_EQ(RunCommand(inDir + Cli("export-csv " + a + " --layout=chirp --out=-c.csv"), &log), 2) << log;
    EXPECT_NE(log.find("--out"), std::string::npos) << log;  // export-csv's option is -o
    EXPECT_EQ(RunCommand(inDir + Cli("print " + a + " --pdf=-r.pdf"), &log), 0) << log;
    EXPECT_TRUE(fs::exists(m_dir / "-r.pdf"));
    // After "--" a name beginning with a minus sign is a file's.
    const std::string here = "cd " + m_dir.string() + " && ";
    EXPECT_EQ(RunCommand(here + Cli("new -- -x.sin"), &log), 0) << log;
    EXPECT_EQ(RunCommand(here + Cli("set --channel 1 --column 接收频率 --value 250 -- -x.sin"), &log), 0) << log;
    EXPECT_EQ(RunCommand(here + Cli("dump -- -x.sin"), &log), 0) << log;
    EXPECT_NE(log.find("250.00000"), std::string::npos) << log;
    // Nor is the language option after "--": "--lang=en.sin" is a file there.
    fs::copy_file(m_dir / "-x.sin", m_dir / "--lang=en.sin");
    EXPECT_EQ(RunCommand(here + Cli("dump -- --lang=en.sin"), &log), 0) << log;
    EXPECT_NE(log.find("接收频率"), std::string::npos) << log;
    // A cell's text may begin with a minus sign.
    EXPECT_EQ(RunCommand(Cli("set " + a + " -o " + Path("b.sin") + " --channel 1 --column 接收频率 --value -1"), &log),
              1);
    EXPECT_NE(log.find("第 1 频道接收频率“-1”"), std::string::npos) << log;
}

TEST_F(CliArguments, HelpAndVersionFailWhenTheirOutputIsLost) {
    for (const char* args : {"--help", "--version", "read --help", "set --help"}) {
        std::string log;
        EXPECT_EQ(RunCommand("{ " + Cli(args) + " >/dev/full; }", &log), 1) << args;
        EXPECT_NE(log.find("无法写入标准输出：磁盘已满"), std::string::npos) << args << "\n" << log;
        EXPECT_EQ(RunCommand(Cli(args) + " >/dev/null"), 0) << args;
    }
    std::string log;
    ASSERT_EQ(RunCommand(Cli("--version"), &log), 0);
    EXPECT_EQ(log, "ostreltz-cli 11.1\n");
    // diff answers by its exit code: an answer that did not arrive is an error.
    const std::string a = Path("a.sin");
    EXPECT_EQ(RunCommand("{ " + Cli("diff " + a + " " + a + " --json") + " >/dev/full; }", &log), 2) << log;
}

TEST_F(CliArguments, APortThatIsNoSerialDeviceSaysSo) {
    const std::string notSerial =
        "无法打开串口，请检查该设备是否正常，或是否被占用\n“%”不是串口设备：请选择编程线所在的串口，例如 "
        "/dev/ttyUSB0。";
    for (const std::string& port :
         {std::string("/etc/passwd"), m_dir.string(), std::string("/dev/null"), std::string("/dev/zero")}) {
        std::string log;
        EXPECT_EQ(RunCommand(Cli("read --port " + port + " --out " + Path("x.sin")), &log), 1) << port;
        std::string expected = notSerial;
        expected.replace(expected.find('%'), 1, port);
        EXPECT_NE(log.find(expected), std::string::npos) << port << "\n" << log;
    }
    std::string log;
    EXPECT_EQ(RunCommand(Cli("read --port '' --out " + Path("x.sin")), &log), 1);
    EXPECT_NE(log.find("“”不是串口设备"), std::string::npos) << log;
    EXPECT_EQ(RunCommand(Cli("read --port /dev/ttyNOSUCH --out " + Path("x.sin")), &log), 1);
    EXPECT_NE(log.find("找不到串口 /dev/ttyNOSUCH：请检查连接线是否已插好。"), std::string::npos) << log;
}

TEST_F(CliArguments, AnOutputThatCannotTakeTheDataIsRefusedBeforeAskingTheRadio) {
    SimProcess sim({"--log", Path("wire.log")});
    ASSERT_FALSE(sim.Port().empty());
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0644), 0);
    fs::create_directory(Path("folder"));
    const std::pair<std::string, std::string> outputs[] = {
        {"/missing/x.sin", "文件或文件夹不存在"},
        {Path("folder"), "这是一个文件夹，不是文件"},
        {Path("fifo"), "不是普通文件"},
        {"/dev/null", "不是普通文件"},
    };
    for (const auto& [out, reason] : outputs) {
        std::string log;
        EXPECT_EQ(RunCommand(Cli("read --port " + sim.Port() + " --out " + out), &log), 1) << out;
        EXPECT_NE(log.find("无法保存文件“" + out + "”。\n" + reason), std::string::npos) << out << "\n" << log;
        EXPECT_EQ(log.find("读频"), std::string::npos) << "the radio was asked: " << log;
    }
    // A write's log that cannot be kept is refused before the first radio is written.
    std::string log;
    EXPECT_EQ(
        RunCommand(Cli("write --port " + sim.Port() + " --in " + Path("a.sin") + " --log " + Path("folder")), &log), 1);
    EXPECT_NE(log.find("无法保存文件“" + Path("folder") + "”。\n这是一个文件夹，不是文件"), std::string::npos) << log;
    EXPECT_EQ(ReadRegularFile(Path("wire.log"), 1 << 20, false).bytes, "") << "a byte reached the radio";
}

TEST_F(CliArguments, AnOutputThatIsTheInputIsRefusedAndTheInputKept) {
    const std::string a = Path("a.sin");
    const std::string before = ReadRegularFile(a, 4096, false).bytes;
    ASSERT_EQ(RunCommand(Cli("export-csv " + a + " -o " + Path("a.csv"))), 0);
    const std::string csv = ReadRegularFile(Path("a.csv"), 4096, false).bytes;
    fs::create_symlink(a, Path("link.sin"));
    const std::string here = "cd " + m_dir.string() + " && ";
    const std::pair<std::string, std::string> cases[] = {
        {Cli("export-csv " + a + " -o " + a), a},
        {here + Cli("export-csv a.sin -o ./link.sin"), "./link.sin"},
        {Cli("print " + a + " --pdf " + a), a},
        {Cli("import-csv " + a + " " + Path("a.csv") + " -o " + Path("a.csv")), Path("a.csv")},
        {here + Cli("import-csv a.csv a.csv"), "a.csv"},
    };
    for (const auto& [command, output] : cases) {
        std::string log;
        EXPECT_EQ(RunCommand(command, &log), 1) << command << "\n" << log;
        EXPECT_EQ(log, "ostreltz-cli: 输出文件“" + output + "”就是输入文件，没有写入任何数据\n") << command;
    }
    EXPECT_EQ(ReadRegularFile(a, 4096, false).bytes, before);
    EXPECT_EQ(ReadRegularFile(Path("a.csv"), 4096, false).bytes, csv);
}

TEST_F(CliArguments, SetTakesTheTonesTypingTakesAndALongFileIsNamed) {
    std::string log;
    const std::string cell =
        "set " + Path("a.sin") + " -o " + Path("b.sin") + " --channel 1 --column 接收频率 --value 145.125";
    for (const char* tone : {"88.6", "D999N", "885"}) {
        EXPECT_EQ(RunCommand(Cli(cell + " --column 接收信令 --value " + tone), &log), 1) << tone;
        EXPECT_NE(log.find(std::string("第 1 频道接收信令“") + tone + "”：“" + tone + "”不是信令代码"),
                  std::string::npos)
            << log;
        EXPECT_FALSE(fs::exists(Path("b.sin")));
    }
    // English captions are taken however their letters are cased.
    ASSERT_EQ(RunCommand(Cli(cell + " --column 接收信令 --value d754i --column \"TX TONE\" --value off"), &log), 0)
        << log;
    ASSERT_EQ(RunCommand(Cli("dump " + Path("b.sin")), &log), 0) << log;
    EXPECT_NE(log.find("D754I"), std::string::npos) << log;

    // A file longer than radio data loads its first 2112 bytes and says so.
    std::ofstream(Path("long.sin"), std::ios::binary | std::ios::app)
        << ReadRegularFile(Path("b.sin"), 4096, false).bytes << std::string(10, 'x');
    ASSERT_EQ(RunCommand(Cli("dump " + Path("long.sin")), &log), 0) << log;
    EXPECT_NE(log.find("ostreltz-cli: 文件“" + Path("long.sin") + "”比写频数据多出 10 字节"), std::string::npos) << log;
    EXPECT_NE(log.find("D754I"), std::string::npos) << log;
}
