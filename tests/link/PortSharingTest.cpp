// The serial port shared with other programs as Linux programs share one:
// their lock files, flock() and exclusive opens are honoured and never
// removed, stale locks are taken over, and our own hold on the port ends with
// every ending of a transfer, signals included.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

#include "image/FileAccess.h"
#include "link/PortLock.h"
#include "support/SimProcess.h"
#include "support/CliCommand.h"

namespace fs = std::filesystem;

namespace {

// A process that runs until it is stopped, and one that has ended.
class OtherProcess {
public:
    OtherProcess() {
        m_pid = ::fork();
        if (m_pid == 0) {
            ::pause();
            ::_exit(0);
        }
    }
    ~OtherProcess() { End(); }
    int Pid() const { return m_pid; }
    void End() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

private:
    pid_t m_pid = -1;
};

int EndedPid() {
    OtherProcess gone;
    const int pid = gone.Pid();
    gone.End();
    return pid;
}

std::string Contents(const std::string& path) { return ReadRegularFile(path, 4096, false).bytes; }

// The command line started in the background, its output going to a file.
class Background {
public:
    // `shell` runs before the command line, in the same shell.
    Background(const std::string& args, const std::string& log, const std::string& shell = {}) {
        m_pid = ::fork();
        if (m_pid == 0) {
            ::setpgid(0, 0);
            const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(fd, STDOUT_FILENO);
            ::dup2(fd, STDERR_FILENO);
            ::execl("/bin/sh", "sh", "-c", (shell + "exec " + std::string(OSTRELTZ_CLI) + " --lang zh " + args).c_str(),
                    nullptr);
            ::_exit(127);
        }
    }
    ~Background() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    void Signal(int signal) const { ::kill(m_pid, signal); }
    // The exit code, or 256 + the signal that ended it.
    int Wait() {
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 256 + WTERMSIG(status);
    }

private:
    pid_t m_pid = -1;
};

class PortSharing : public ::testing::Test {
protected:
    void SetUp() override {
        if (::access(kLockFolders[0], W_OK) != 0) GTEST_SKIP() << "the lock folder cannot be written here";
        m_dir = fs::temp_directory_path() / ("port-sharing-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        for (const std::string& lock : m_locks) ::unlink(lock.c_str());
        fs::remove_all(m_dir);
    }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    static std::string Cli(const std::string& args) { return CliCommand(args); }

    std::string LockOf(const std::string& port) {
        const std::string path = std::string(kLockFolders[0]) + "/" + LockFileName(port);
        m_locks.push_back(path);
        return path;
    }
    void PutLock(const std::string& path, const std::string& content) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0) << path;
        ASSERT_EQ(::write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
        ::close(fd);
    }
    static std::string TextPid(int pid) {
        char text[16];
        std::snprintf(text, sizeof text, "%10d\n", pid);
        return text;
    }
    static std::string BinaryPid(int pid) {
        const std::int32_t value = pid;
        return std::string(reinterpret_cast<const char*>(&value), sizeof value);
    }

    fs::path m_dir;
    std::vector<std::string> m_locks;
};

const std::string kCannotOpen = "无法打开串口，请检查该设备是否正常，或是否被占用\n";

}  // namespace

TEST_F(PortSharing, ALiveLockInEitherFormIsHonouredAndLeftInPlace) {
    OtherProcess other;
    for (const std::string& content : {TextPid(other.Pid()), BinaryPid(other.Pid())}) {
        SimProcess sim({});
        ASSERT_FALSE(sim.Port().empty());
        const std::string lock = LockOf(sim.Port());
        PutLock(lock, content);
        std::string log;
        EXPECT_EQ(RunCommand(Cli("read --port " + sim.Port() + " --out " + Path("x.sin")), &log), 1);
        EXPECT_NE(log.find(kCannotOpen + "串口 " + sim.Port() + " 正被其他程序使用（进程 " +
                           std::to_string(other.Pid()) + "）：请先关闭那个程序。"),
                  std::string::npos)
            << log;
        EXPECT_EQ(Contents(lock), content);
        EXPECT_FALSE(fs::exists(Path("x.sin")));
        EXPECT_EQ(sim.StopAndReport(), "BLOCKS read=0 written=0");
        ::unlink(lock.c_str());
    }
}

TEST_F(PortSharing, AStaleEmptyOrGarbageLockIsTakenOverAndGoneAfterwards) {
    for (const std::string& content :
         {TextPid(EndedPid()), BinaryPid(EndedPid()), std::string(), std::string("garbage\n")}) {
        SimProcess sim({});
        ASSERT_FALSE(sim.Port().empty());
        const std::string lock = LockOf(sim.Port());
        PutLock(lock, content);
        // The port opens and the radio is talked to; how the read then goes
        // is other tests' business (on a busy machine a radio may miss its
        // answer window).
        std::string log;
        RunCommand(Cli("read --port " + sim.Port() + " --out " + Path("x.sin")), &log);
        EXPECT_EQ(log.find(kCannotOpen), std::string::npos) << log;
        EXPECT_NE(log.find("正在等待对讲机响应"), std::string::npos) << log;
        EXPECT_FALSE(fs::exists(lock)) << "the lock outlived the read";
    }
}

TEST_F(PortSharing, AFlockOrAnExclusiveOpenByAnotherProgramIsInUse) {
    SimProcess sim({});
    ASSERT_FALSE(sim.Port().empty());
    std::string log;
    {
        const int fd = ::open(sim.Port().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
        EXPECT_EQ(RunCommand(Cli("read --port " + sim.Port() + " --out " + Path("x.sin")), &log), 1);
        EXPECT_NE(log.find(kCannotOpen + "串口 " + sim.Port() + " 正被其他程序使用（进程 " +
                           std::to_string(::getpid()) + "）：请先关闭那个程序。"),
                  std::string::npos)
            << log;
        ::close(fd);
    }
    {
        const int fd = ::open(sim.Port().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ioctl(fd, TIOCEXCL), 0);
        EXPECT_EQ(RunCommand(Cli("read --port " + sim.Port() + " --out " + Path("x.sin")), &log), 1);
        EXPECT_NE(log.find(kCannotOpen + "串口 " + sim.Port() + " 正被其他程序使用：请先关闭那个程序。"),
                  std::string::npos)
            << log;
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
    }
    EXPECT_EQ(sim.StopAndReport(), "BLOCKS read=0 written=0");
}

TEST_F(PortSharing, OurHoldEndsWithSuccessFailureAndSignals) {
    {
        SimProcess sim({});
        const std::string lock = LockOf(sim.Port());
        std::string log;
        ASSERT_EQ(RunCommand(Cli("read --port " + sim.Port() + " --out " + Path("x.sin")), &log), 0) << log;
        EXPECT_FALSE(fs::exists(lock));
        // Others may open the port again, even without privileges.
        const int fd = ::open(sim.Port().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        int exclusive = 1;
        EXPECT_EQ(::ioctl(fd, TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 0);
        ::close(fd);
    }
    {
        SimProcess sim({"--silent"});
        const std::string lock = LockOf(sim.Port());
        EXPECT_EQ(RunCommand(Cli("read --port " + sim.Port() + " --out " + Path("x.sin"))), 1);
        EXPECT_FALSE(fs::exists(lock));
    }
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        // A slow radio: the write takes some seconds.
        const std::string wire = Path("wire-" + std::to_string(signal) + ".log");
        SimProcess sim({"--answer-delay", "20", "--log", wire});
        const std::string lock = LockOf(sim.Port());
        Background write("write --force --port " + sim.Port() + " --in " + OSTRELTZ_SAMPLE, Path("cli.log"));
        // Once blocks go over the wire, the port is ours.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (Contents(wire).find("RX 57") == std::string::npos && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_TRUE(fs::exists(lock)) << "no lock while the port is in use";
        write.Signal(signal);
        EXPECT_EQ(write.Wait(), 128 + signal);
        const std::string log = Contents(Path("cli.log"));
        EXPECT_NE(log.find("写频没有完成：对讲机的前 "), std::string::npos) << log;
        EXPECT_FALSE(fs::exists(lock)) << signal;
    }
    {
        // Started as nohup starts it, or as a script's background job: the
        // hang-up and Ctrl+C it was told to ignore leave the write going.
        const std::string wire = Path("wire-nohup.log");
        SimProcess sim({"--answer-delay", "5", "--log", wire, "--save", Path("nohup.sin")});
        Background write("write --force --port " + sim.Port() + " --in " + OSTRELTZ_SAMPLE, Path("nohup.log"),
                         "trap '' HUP INT; ");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (Contents(wire).find("RX 57") == std::string::npos && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        write.Signal(SIGHUP);
        write.Signal(SIGINT);
        EXPECT_EQ(write.Wait(), 0) << Contents(Path("nohup.log"));
        sim.Stop();
        EXPECT_TRUE(Contents(Path("nohup.sin")) == Contents(OSTRELTZ_SAMPLE)) << "the radio does not hold the file";
    }
}

TEST_F(PortSharing, TuningStoppedWhileTheRadioIsAwaitedSaysCancelledNotThatTheRadioFailed) {
    SimProcess sim({"--silent"});
    const std::string lock = LockOf(sim.Port());
    Background tune("tune --port " + sim.Port() + " --item squelch --value 5 --rx 145 --tx 145 --retries 5",
                    Path("tune.log"));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!fs::exists(lock) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    tune.Signal(SIGINT);
    EXPECT_EQ(tune.Wait(), 128 + SIGINT);
    const std::string log = Contents(Path("tune.log"));
    EXPECT_NE(log.find("ostreltz-cli: 已取消\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("对讲机没有应答"), std::string::npos) << log;
    EXPECT_EQ(log.find("重试"), std::string::npos) << log;
    EXPECT_FALSE(fs::exists(lock));
}

// The cable at a fixed name pulled while the radio is awaited and plugged
// back in two seconds later: the command line's retries wait for it instead
// of being spent at once, and the read goes through.
TEST_F(PortSharing, RetriesOnTheCommandLineWaitForACablePluggedBackIn) {
    auto first = std::make_unique<SimProcess>(std::vector<std::string>{"--silent"});
    const std::string cable = Path("cable");
    ASSERT_EQ(::symlink(first->Port().c_str(), cable.c_str()), 0);
    LockOf(first->Port());
    Background read("read --port " + cable + " --out " + Path("read.sin") + " --retries 8", Path("read.log"));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    first.reset();  // pulled
    ::unlink(cable.c_str());
    std::this_thread::sleep_for(std::chrono::seconds(2));
    SimProcess second({"--image", OSTRELTZ_SAMPLE});
    LockOf(second.Port());
    ASSERT_EQ(::symlink(second.Port().c_str(), cable.c_str()), 0);
    EXPECT_EQ(read.Wait(), 0) << Contents(Path("read.log"));
    EXPECT_EQ(Contents(Path("read.sin")), Contents(OSTRELTZ_SAMPLE));
}

// Two runs adding to one log take turns: the second waits while the
// folder is locked, then adds its line to what is there.
TEST_F(PortSharing, ARunAddingToALogWaitsForAnotherThatIsAddingToIt) {
    const std::string folder = Path("logs");
    fs::create_directory(folder);
    const std::string log = folder + "/session.csv";
    SimProcess sim({"--instant", "--save", Path("radio.sin")});
    const int held = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    Background write("write --force --port " + sim.Port() + " --in " + OSTRELTZ_SAMPLE + " --log " + log,
                     Path("write.log"));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (Contents(Path("radio.sin")) != Contents(OSTRELTZ_SAMPLE) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(fs::exists(log)) << "added while another run was adding";
    ::close(held);
    EXPECT_EQ(write.Wait(), 0) << Contents(Path("write.log"));
    const std::string text = Contents(log);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
}

TEST(PortLockRules, LockFilesNameTheirHolder) {
    EXPECT_EQ(LockFileName("/dev/ttyUSB0"), "LCK..ttyUSB0");
    EXPECT_EQ(LockFileName("/dev/pts/3"), "LCK..pts_3");
    EXPECT_EQ(LockFilePid("      1234\n"), 1234);
    EXPECT_EQ(LockFilePid("1234\nostreltz-cli\nhost\n"), 1234);
    EXPECT_EQ(LockFilePid(std::string("\xD2\x04\x00\x00", 4)), 1234);
    EXPECT_EQ(LockFilePid(std::string("76\0\0", 4)), 0x3637);  // binary bytes that read as digits
    EXPECT_EQ(LockFilePid("123\n"), 123);
    EXPECT_EQ(LockFilePid("1234"), 1234);
    EXPECT_EQ(LockFilePid(""), 0);
    EXPECT_EQ(LockFilePid("garbage\n"), 0);
    EXPECT_EQ(LockFilePid("12ab\n"), 0);
    EXPECT_EQ(LockFilePid("         0\n"), 0);
    EXPECT_EQ(LockFilePid("99999999999\n"), 0);
    EXPECT_EQ(JudgeLock(1234, 99, true), LockState::Held);
    EXPECT_EQ(JudgeLock(1234, 99, false), LockState::Stale);
    EXPECT_EQ(JudgeLock(99, 99, true), LockState::Ours);
    EXPECT_EQ(JudgeLock(0, 99, true), LockState::Stale);
    const char* locks =
        "1: POSIX  ADVISORY  WRITE 77 00:19:1234 0 EOF\n"
        "2: FLOCK  ADVISORY  WRITE 4321 00:18:6 0 EOF\n"
        "2: -> FLOCK  ADVISORY  WRITE 555 00:18:6 0 EOF\n";
    EXPECT_EQ(FlockHolder(locks, 0, 0x18, 6), 4321);
    EXPECT_EQ(FlockHolder(locks, 0, 0x19, 1234), 0);
}
