// The history from the command line: a read and a write against the
// simulated radio are kept and listed, an entry shows the image, and nothing
// is kept while the history is switched off.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "image/SinFile.h"
#include "res/Strings.h"
#include "res/Texts.h"
#include "support/TestFolder.h"
#include "support/SimProcess.h"

namespace fs = std::filesystem;

namespace {

class CliHistory : public ::testing::Test {
protected:
    void SetUp() override { m_dir = FreshTestFolder("cli-history"); }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    // The command line with its own data and settings folders.
    int Cli(const std::string& args, std::string* out) const {
        return RunCommand("env XDG_DATA_HOME=" + Path("data") + " XDG_CONFIG_HOME=" + Path("config") + " " +
                              OSTRELTZ_CLI + " --lang zh " + args,
                          out);
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
            lines.push_back(text.substr(start, nl - start));
        return lines;
    }

    fs::path m_dir;
};

}  // namespace

TEST_F(CliHistory, AReadThenAWriteAreListedNewestFirstWithPortAndTime) {
    RadioImage sample{};
    ASSERT_TRUE(LoadSinFile(OSTRELTZ_SAMPLE, sample).ok);
    ASSERT_FALSE(SaveSinFile(Path("radio.sin"), sample));
    SimProcess sim({"--image", Path("radio.sin"), "--type", "0x0A"});
    ASSERT_FALSE(sim.Port().empty());
    std::string out;
    ASSERT_EQ(Cli("read --port " + sim.Port() + " --out " + Path("copy.sin"), &out), 0) << out;
    ASSERT_EQ(Cli("history list", &out), 0) << out;
    auto lines = Lines(out);
    ASSERT_EQ(lines.size(), 1u) << out;
    const std::string today = lines[0].substr(3, 10);
    EXPECT_EQ(lines[0].rfind("1  20", 0), 0u) << out;
    EXPECT_NE(lines[0].find("  读频  " + sim.Port() + "  识别码 0x0A  6 个频道"), std::string::npos) << out;

    const RadioImage fresh = NewDocumentImage();
    ASSERT_FALSE(SaveSinFile(Path("new.sin"), fresh));
    ASSERT_EQ(Cli("write --port " + sim.Port() + " --in " + Path("new.sin") + " --force", &out), 0) << out;
    ASSERT_EQ(Cli("history", &out), 0) << out;
    lines = Lines(out);
    ASSERT_EQ(lines.size(), 2u) << out;
    EXPECT_NE(lines[0].find("  写频  " + sim.Port() + "  识别码 0x0A  0 个频道"), std::string::npos) << out;
    EXPECT_EQ(lines[1].rfind("2  " + today, 0), 0u) << out;

    // Entry 2 is what the radio held before the write: the sample.
    ASSERT_EQ(Cli("history show 2", &out), 0) << out;
    const std::string file = Lines(out).at(1);
    EXPECT_EQ(file.rfind(Path("data") + "/ostreltz/history/", 0), 0u) << out;
    RadioImage kept{};
    ASSERT_TRUE(LoadSinFile(file, kept).ok);
    EXPECT_EQ(kept, sample);
    ASSERT_EQ(Cli("history path", &out), 0);
    EXPECT_EQ(out, Path("data") + "/ostreltz/history\n");
    EXPECT_EQ(Cli("history show 3", &out), 1);
    EXPECT_NE(out.find("没有第 3 条历史记录（共 2 条）"), std::string::npos) << out;
    EXPECT_EQ(Cli("history sideways", &out), 2);

    // An entry's file that cannot be read says why, before calling its data damaged.
    fs::resize_file(file, 5000);
    EXPECT_EQ(Cli("history show 2", &out), 1);
    EXPECT_EQ(out, "ostreltz-cli: 无法打开文件“" + file + "”。\n文件太大\n");
    fs::resize_file(file, 100);
    EXPECT_EQ(Cli("history show 2", &out), 1);
    EXPECT_EQ(out, "ostreltz-cli: 无法打开文件“" + file + "”。\n写频数据不完整\n");
}

TEST_F(CliHistory, NothingIsKeptWhileTheHistoryIsOff) {
    SimProcess sim({});
    std::string out;
    ASSERT_EQ(Cli("history off", &out), 0) << out;
    ASSERT_EQ(Cli("read --port " + sim.Port() + " --out " + Path("copy.sin"), &out), 0) << out;
    ASSERT_EQ(Cli("history list", &out), 0);
    EXPECT_EQ(out, "历史记录已关闭：读频和写频的数据不再保存。\n");
    EXPECT_FALSE(fs::exists(Path("data") + "/ostreltz/history"));
    ASSERT_EQ(Cli("history on", &out), 0);
    ASSERT_EQ(Cli("read --port " + sim.Port() + " --out " + Path("copy.sin"), &out), 0) << out;
    ASSERT_EQ(Cli("history list", &out), 0);
    EXPECT_EQ(Lines(out).size(), 1u) << out;

    // A setting that cannot be stored is an error, not a silent success.
    const fs::path settings =
        m_dir / "config" / text::kSettingsKey / (std::string(Tr(TextId::AppTitle, Lang::Zh)) + ".conf");
    fs::remove(settings);
    fs::create_directories(settings);
    EXPECT_EQ(Cli("history off", &out), 1);
    EXPECT_EQ(out.rfind("ostreltz-cli: 无法保存文件“" + settings.string() + "”。", 0), 0u) << out;
}

// A history that cannot be listed says why, and fails; an empty one, or one
// with no folder yet, lists nothing and succeeds.
TEST_F(CliHistory, AHistoryThatCannotBeListedSaysWhy) {
    std::string out;
    EXPECT_EQ(Cli("history list", &out), 0);
    EXPECT_EQ(out, "");
    const fs::path folder = m_dir / "data" / "ostreltz" / "history";
    fs::create_directories(folder.parent_path());
    std::ofstream(folder) << "not a folder";
    for (const char* command : {"history list", "history show 1"}) {
        EXPECT_EQ(Cli(command, &out), 1) << command;
        EXPECT_EQ(out, "ostreltz-cli: 无法打开文件“" + folder.string() + "”。\n这是一个文件，不是文件夹\n") << command;
    }
    // A file where one of the folders above it should be.
    fs::remove(folder);
    fs::remove(folder.parent_path());
    std::ofstream(folder.parent_path()) << "not a folder";
    EXPECT_EQ(Cli("history list", &out), 1);
    EXPECT_EQ(out, "ostreltz-cli: 无法打开文件“" + folder.string() + "”。\n路径中有一段是文件，不是文件夹\n");
}

// The settings' folder not made yet, in a folder the user may not write:
// the reason is the permission, not a missing folder.
TEST_F(CliHistory, ASwitchThatCannotBeStoredForWantOfPermissionSaysSo) {
    const std::string asNobody = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    if (::geteuid() != 0 || RunCommand("command -v setpriv >/dev/null") != 0)
        GTEST_SKIP() << "runs the command line as another user, which needs root";
    if (RunCommand(asNobody + OSTRELTZ_CLI + " --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "the command line is out of another user's reach here";
    const fs::path config = m_dir / "config";
    fs::create_directories(config);
    fs::permissions(m_dir, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(config, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    std::string out;
    EXPECT_EQ(RunCommand(asNobody + "env XDG_CONFIG_HOME=" + config.string() + " XDG_DATA_HOME=" + Path("data") +
                             " HOME=" + m_dir.string() + " " + OSTRELTZ_CLI + " --lang zh history off",
                         &out),
              1);
    const std::string settings =
        (config / text::kSettingsKey / (std::string(Tr(TextId::AppTitle, Lang::Zh)) + ".conf")).string();
    EXPECT_EQ(
        out, "ostreltz-cli: 无法保存文件“" + settings + "”。\n没有在文件夹“" + config.string() + "”中新建文件的权限\n");
}

// Runs keeping entries at the same time take turns: while another holds
// the history, a read waits to keep its entry, then keeps it beside the
// other's, none in another's place.
TEST_F(CliHistory, ARunKeepingAnEntryWaitsWhileAnotherKeepsOne) {
    SimProcess sim({"--instant", "--log", Path("wire.log")});
    const fs::path folder = m_dir / "data" / "ostreltz" / "history";
    fs::create_directories(folder);
    const int held = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    std::string out;
    std::thread read([&] { Cli("read --port " + sim.Port() + " --out " + Path("copy.sin"), &out); });
    // The read is over once the radio has been silent a while.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::uintmax_t size = 0, quietSince = 0;
    for (int tick = 0; std::chrono::steady_clock::now() < deadline && (size == 0 || tick - quietSince < 20); ++tick) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::error_code error;
        const std::uintmax_t now = fs::file_size(Path("wire.log"), error);
        if (!error && now != size) size = now, quietSince = static_cast<std::uintmax_t>(tick);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(fs::is_empty(folder)) << "kept while another run was keeping an entry";
    ::close(held);
    read.join();
    ASSERT_EQ(Cli("history list", &out), 0);
    EXPECT_EQ(Lines(out).size(), 1u) << out;
}

TEST_F(CliHistory, ABackupBeforeAWriteKeepsWhatTheRadioHeldAndAFailedBackupWritesNothing) {
    RadioImage sample{};
    ASSERT_TRUE(LoadSinFile(OSTRELTZ_SAMPLE, sample).ok);
    ASSERT_FALSE(SaveSinFile(Path("radio.sin"), sample));
    ASSERT_FALSE(SaveSinFile(Path("new.sin"), NewDocumentImage()));
    std::string out;
    {
        // The backup's read stops at block 3: nothing reaches the radio.
        SimProcess sim({"--image", Path("radio.sin"), "--short-reply", "3:5"});
        EXPECT_EQ(Cli("write --port " + sim.Port() + " --in " + Path("new.sin") + " --force --backup", &out), 1) << out;
        EXPECT_NE(out.find("第 1 步（共 2 步）：读出对讲机数据备份"), std::string::npos) << out;
        EXPECT_EQ(out.find("第 2 步（共 2 步）：写频"), std::string::npos) << out;
        EXPECT_NE(out.find("备份没有完成，没有写入任何数据。"), std::string::npos) << out;
        // Its line tells of the write: not one block of it, whatever the backup had read.
        EXPECT_NE(out.find("失败：备份没有完成，未写入（已完成 0 块）"), std::string::npos) << out;
        const std::string report = sim.StopAndReport();
        EXPECT_NE(report.find(" written=0"), std::string::npos) << report;
    }
    ASSERT_EQ(Cli("history list", &out), 0);
    EXPECT_EQ(out, "");

    SimProcess sim({"--image", Path("radio.sin"), "--save", Path("after.sin")});
    ASSERT_EQ(Cli("write --port " + sim.Port() + " --in " + Path("new.sin") + " --force --backup", &out), 0) << out;
    // The backup's blocks count as read, the write's as written.
    const std::size_t second = out.find("第 2 步（共 2 步）：写频");
    ASSERT_NE(second, std::string::npos) << out;
    EXPECT_LT(out.find("读频: 264/264"), second) << out;
    EXPECT_EQ(out.find("写频: 264/264"), out.find("写频: 264/264", second)) << out;
    EXPECT_NE(out.find("写频: 264/264"), std::string::npos) << out;
    // As every write, it ends with the radio's line and the summary.
    EXPECT_NE(out.find("识别码 0xFF  完成  264 块"), std::string::npos) << out;
    EXPECT_NE(out.find("共 1 台：已写 1 台，失败 0 台"), std::string::npos) << out;
    sim.Stop();
    RadioImage after{};
    ASSERT_TRUE(LoadSinFile(Path("after.sin"), after).ok);
    EXPECT_EQ(after, NewDocumentImage());
    ASSERT_EQ(Cli("history list", &out), 0);
    const auto lines = Lines(out);
    ASSERT_EQ(lines.size(), 2u) << out;
    EXPECT_NE(lines[0].find("写频"), std::string::npos) << out;
    EXPECT_NE(lines[1].find("读频"), std::string::npos) << out;
    ASSERT_EQ(Cli("history show 2", &out), 0) << out;
    RadioImage kept{};
    ASSERT_TRUE(LoadSinFile(Lines(out).at(1), kept).ok);
    EXPECT_EQ(kept, sample);
}

// The backup is asked for: it is kept with the history switched off too, and
// a backup that cannot be kept writes nothing.
TEST_F(CliHistory, ABackupIsKeptWithTheHistoryOffAndOneThatCannotBeKeptWritesNothing) {
    RadioImage sample{};
    ASSERT_TRUE(LoadSinFile(OSTRELTZ_SAMPLE, sample).ok);
    ASSERT_FALSE(SaveSinFile(Path("radio.sin"), sample));
    ASSERT_FALSE(SaveSinFile(Path("new.sin"), NewDocumentImage()));
    std::string out;
    ASSERT_EQ(Cli("history off", &out), 0) << out;
    {
        SimProcess sim({"--image", Path("radio.sin")});
        ASSERT_EQ(Cli("write --port " + sim.Port() + " --in " + Path("new.sin") + " --force --backup", &out), 0) << out;
    }
    ASSERT_EQ(Cli("history show 1", &out), 0) << out;
    RadioImage kept{};
    ASSERT_TRUE(LoadSinFile(Lines(out).at(1), kept).ok);
    EXPECT_EQ(kept, sample);

    // The history's folder is a file: the backup cannot be kept.
    const std::string folder = Path("data") + "/ostreltz/history";
    fs::remove_all(folder);
    std::ofstream(folder) << "not a folder";
    SimProcess sim({"--image", Path("radio.sin"), "--save", Path("after.sin")});
    EXPECT_EQ(Cli("write --port " + sim.Port() + " --in " + Path("new.sin") + " --force --backup", &out), 1) << out;
    EXPECT_NE(out.find("这次的数据没有存入历史记录："), std::string::npos) << out;
    EXPECT_NE(out.find("备份无法保存，没有写入任何数据。"), std::string::npos) << out;
    EXPECT_EQ(out.find("第 2 步（共 2 步）：写频"), std::string::npos) << out;
    // The radio's line says why, with the identification the read brought; nobody stopped it.
    EXPECT_NE(
        out.find("识别码 0x" + RadioTypeText(sample[addr::kRadioType]).substr(2) + "  备份无法保存，未写入  0 块"),
        std::string::npos)
        << out;
    EXPECT_EQ(out.find("已取消"), std::string::npos) << out;
    const std::string report = sim.StopAndReport();
    EXPECT_NE(report.find(" written=0"), std::string::npos) << report;
}

// The folder of --out goes away during the read: the save fails, and the
// data read is not lost with it, as the history holds it.
TEST_F(CliHistory, AReadWhoseSaveFailsSaysTheHistoryHoldsTheData) {
    RadioImage sample{};
    ASSERT_TRUE(LoadSinFile(OSTRELTZ_SAMPLE, sample).ok);
    ASSERT_FALSE(SaveSinFile(Path("radio.sin"), sample));
    fs::create_directories(Path("out"));
    const std::string wire = Path("wire.log");
    SimProcess sim({"--image", Path("radio.sin"), "--answer-delay", "3", "--log", wire});
    std::string out;
    int code = -1;
    std::thread read([&] { code = Cli("read --port " + sim.Port() + " --out " + Path("out/copy.sin"), &out); });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!fs::exists(wire) || fs::file_size(wire) < 2000) {
        if (std::chrono::steady_clock::now() > deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    fs::remove_all(Path("out"));
    read.join();
    EXPECT_EQ(code, 1) << out;
    EXPECT_NE(out.find("读到的数据已存入历史记录：ostreltz-cli history show 1 给出它的文件。"), std::string::npos)
        << out;
    ASSERT_EQ(Cli("history show 1", &out), 0) << out;
    RadioImage kept{};
    ASSERT_TRUE(LoadSinFile(Lines(out).at(1), kept).ok);
    EXPECT_TRUE(kept == sample);
}
