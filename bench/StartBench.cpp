// Start-up benchmark: how long the desktop program takes from its start until
// its window is mapped (wall clock, and the processor time it used by then,
// which a busy machine disturbs less), and how much memory it holds once
// started, against a bare Qt window with a 128 × 11 table. Each runs on a
// private X server, alternately, and the medians are compared.
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 8;
// How long a started program is left to settle before its memory is read.
constexpr auto kSettle = std::chrono::milliseconds(1500);

pid_t Spawn(std::vector<std::string> args, const std::vector<std::string>& extraEnv, int keepFd = -1) {
    std::vector<std::string> env(extraEnv);
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> argv, envp;
    for (std::string& a : args) argv.push_back(a.data());
    for (std::string& e : env) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (keepFd < 0) posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void Stop(pid_t pid) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

// The processor time a process has used so far, from the scheduler's account.
double CpuMs(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/schedstat");
    double ns = 0;
    stat >> ns;
    return ns / 1e6;
}

double ResidentMiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

// A private X server, so nothing else on the machine's displays is disturbed.
class XServer {
public:
    XServer() {
        int fds[2];
        if (::pipe(fds) != 0) return;
        m_pid =
            Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1400x1000x24", "-nolisten", "tcp"},
                  {}, fds[1]);
        ::close(fds[1]);
        char buf[32] = {};
        pollfd p{fds[0], POLLIN, 0};
        if (m_pid > 0 && ::poll(&p, 1, 20000) == 1 && ::read(fds[0], buf, sizeof buf - 1) > 0)
            m_name = ":" + std::to_string(std::atoi(buf));
        ::close(fds[0]);
        if (!m_name.empty()) m_display = XOpenDisplay(m_name.c_str());
        if (m_display) XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
    }
    ~XServer() {
        if (m_display) XCloseDisplay(m_display);
        if (m_pid > 0) Stop(m_pid);
    }
    bool Ok() const { return m_display != nullptr; }
    const std::string& Name() const { return m_name; }

    // Waits for a top-level window to be mapped; false after `limit`.
    bool WaitForMap(std::chrono::milliseconds limit) {
        const auto end = Clock::now() + limit;
        while (Clock::now() < end) {
            while (XPending(m_display)) {
                XEvent event;
                XNextEvent(m_display, &event);
                if (event.type == MapNotify && !event.xmap.override_redirect) return true;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
            pollfd p{ConnectionNumber(m_display), POLLIN, 0};
            ::poll(&p, 1, static_cast<int>(std::max<long long>(1, left.count())));
        }
        return false;
    }
    void Discard() { XSync(m_display, True); }

private:
    pid_t m_pid = -1;
    std::string m_name;
    Display* m_display = nullptr;
};

struct Sample {
    double ms = 0, cpuMs = 0, mib = 0;
};

bool RunOnce(XServer& x, const std::vector<std::string>& command, const std::string& home, Sample& out) {
    x.Discard();
    const auto start = Clock::now();
    const pid_t pid = Spawn(command, {"DISPLAY=" + x.Name(), "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + home});
    if (pid < 0) return false;
    const bool mapped = x.WaitForMap(std::chrono::seconds(30));
    out.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    out.cpuMs = CpuMs(pid);
    std::this_thread::sleep_for(kSettle);
    out.mib = ResidentMiB(pid);
    Stop(pid);
    x.Discard();
    return mapped;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

// With arguments, times that command line instead of the program's.
int main(int argc, char** argv) {
    XServer x;
    if (!x.Ok()) {
        std::fprintf(stderr, "start_bench: no private X server (Xvfb)\n");
        return 1;
    }
    char home[] = "/tmp/ostreltz-start-XXXXXX";
    if (!::mkdtemp(home)) return 1;
    const std::vector<std::string> program = argc > 1 ? std::vector<std::string>(argv + 1, argv + argc)
                                                      : std::vector<std::string>{OSTRELTZ_GUI, "--lang", "zh"};
    const std::vector<std::string> bare = {OSTRELTZ_BARE};
    Sample warm;
    RunOnce(x, program, home, warm);  // the files both read, into the page cache
    RunOnce(x, bare, home, warm);
    std::vector<double> programMs, programCpu, programMiB, bareMs, bareCpu, bareMiB;
    for (int i = 0; i < kRuns; ++i) {
        Sample a, b;
        if (!RunOnce(x, program, home, a) || !RunOnce(x, bare, home, b)) {
            std::fprintf(stderr, "start_bench: a window did not appear\n");
            return 1;
        }
        programMs.push_back(a.ms);
        programCpu.push_back(a.cpuMs);
        programMiB.push_back(a.mib);
        bareMs.push_back(b.ms);
        bareCpu.push_back(b.cpuMs);
        bareMiB.push_back(b.mib);
    }
    std::filesystem::remove_all(home);
    const double ms = Median(programMs), bms = Median(bareMs), mib = Median(programMiB), bmib = Median(bareMiB);
    const double cpu = Median(programCpu), bcpu = Median(bareCpu);
    std::printf("start to window: %.1f ms, bare window %.1f ms: %.2f x (aim: at most 1.15 x)\n", ms, bms, ms / bms);
    std::printf("processor time to window: %.1f ms, bare window %.1f ms: %.2f x\n", cpu, bcpu, cpu / bcpu);
    std::printf("resident after start: %.1f MiB, bare window %.1f MiB: %.2f x (aim: at most 1.25 x)\n", mib, bmib,
                mib / bmib);
    std::printf("(median of %d alternating runs each)\n", kRuns);
    return 0;
}
