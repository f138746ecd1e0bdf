// ostreltz-radio-sim: simulated radios, each on a pseudo-terminal of its own.
// The first lines it prints are "PORT <slave path>", one per radio; open that
// path as the radio's port.
#include <pty.h>
#include <sys/resource.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "image/SinFile.h"
#include "res/Language.h"
#include "res/Texts.h"
#include "sim/RadioSim.h"

namespace {

using Clock = std::chrono::steady_clock;
// One byte at 9600 baud 8N1: ten bits.
constexpr auto kByteTime = std::chrono::nanoseconds(1'041'667);
// The scheduling priority the simulated radios ask for (below 0: ahead of
// ordinary processes).
constexpr int kRadioNice = -10;
// A real radio answers a handshake or tuning byte a few byte times later.
constexpr auto kAnswerDelay = std::chrono::microseconds(3000);

// Waits until `t`: sleeps most of the way, then spins, since an ordinary
// sleep may wake a millisecond late and the wire time would drift.
void WaitUntil(Clock::time_point t) {
    const auto coarse = t - std::chrono::microseconds(400);
    if (Clock::now() < coarse) std::this_thread::sleep_until(coarse);
    while (Clock::now() < t) {
    }
}

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

struct Options {
    std::string image, save, log, tuneLog;
    int type = -1;
    bool baud = false;
    bool instant = false;   // answers go out the moment the question is in
    int answerDelayMs = 0;  // every answer waits this long: a slow radio
    SimFaults faults;
};

bool ParseInt(const char* text, int& out) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 0);
    if (end == text || *end) return false;
    out = static_cast<int>(v);
    return true;
}

// Reads the options of one radio from `args`.
bool Parse(const std::vector<char*>& args, Options& o) {
    const int argc = static_cast<int>(args.size());
    for (int i = 0; i < argc; ++i) {
        std::string a = args[static_cast<std::size_t>(i)];
        auto next = [&]() -> const char* { return i + 1 < argc ? args[static_cast<std::size_t>(++i)] : nullptr; };
        auto intArg = [&](int& out) {
            const char* v = next();
            return v && ParseInt(v, out);
        };
        if (a == "--help" || a == "-h") {
            std::fputs(Tr(TextId::SimUsage), stdout);
            std::exit(0);
        } else if (a == "--lang") {
            if (!next()) return false;  // read in main
        } else if (a.rfind("--lang=", 0) == 0) {
            // read in main
        } else if (a == "--image") {
            const char* v = next();
            if (!v) return false;
            o.image = v;
        } else if (a == "--save") {
            const char* v = next();
            if (!v) return false;
            o.save = v;
        } else if (a == "--log") {
            const char* v = next();
            if (!v) return false;
            o.log = v;
        } else if (a == "--tune-log") {
            const char* v = next();
            if (!v) return false;
            o.tuneLog = v;
        } else if (a == "--type") {
            if (!intArg(o.type)) return false;
        } else if (a == "--baud-emulation") {
            o.baud = true;
        } else if (a == "--answer-delay") {
            if (!intArg(o.answerDelayMs) || o.answerDelayMs < 0) return false;
        } else if (a == "--instant") {
            o.instant = true;
        } else if (a == "--silent") {
            o.faults.silent = true;
        } else if (a == "--wrong-ack") {
            o.faults.wrongAck = true;
        } else if (a == "--ignore-handshakes") {
            if (!intArg(o.faults.ignoreHandshakes)) return false;
        } else if (a == "--ident-bytes") {
            if (!intArg(o.faults.identBytes)) return false;
        } else if (a == "--no-read-ack") {
            if (!intArg(o.faults.noReadAckBlock)) return false;
        } else if (a == "--no-write-ack") {
            if (!intArg(o.faults.noWriteAckBlock)) return false;
        } else if (a == "--hangup-after") {
            if (!intArg(o.faults.hangupAfterBlocks)) return false;
        } else if (a == "--tuning-nak") {
            if (!intArg(o.faults.tuningNakStep)) return false;
        } else if (a == "--short-reply") {
            const char* v = next();
            if (!v || std::sscanf(v, "%d:%d", &o.faults.shortReplyBlock, &o.faults.shortReplyBytes) != 2) return false;
        } else {
            return false;
        }
    }
    return true;
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string s;
    char b[4];
    for (std::uint8_t x : bytes) {
        std::snprintf(b, sizeof b, "%02X", x);
        if (!s.empty()) s += ' ';
        s += b;
    }
    return s;
}

class Simulator {
public:
    Simulator(const Options& o, RadioSim& radio, int master)
        : m_o(o), m_radio(radio), m_master(master), m_start(Clock::now()) {
        if (!o.log.empty()) m_log = std::fopen(o.log.c_str(), "w");
        if (!o.tuneLog.empty()) m_tuneLog = std::fopen(o.tuneLog.c_str(), "a");
    }
    ~Simulator() {
        if (m_log) std::fclose(m_log);
        if (m_tuneLog) std::fclose(m_tuneLog);
    }

    int Run() {
        while (!g_stop) {
            pollfd p{m_master, POLLIN, 0};
            int r = ::poll(&p, 1, 200);
            if (r < 0 && errno != EINTR) break;
            if (r <= 0) continue;
            std::uint8_t buf[256];
            ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n <= 0) {
                // No one has the port open: wait for the next program.
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                continue;
            }
            const auto arrived = Clock::now();
            for (ssize_t i = 0; i < n && !g_stop; ++i) {
                if (!Receive(buf[i], arrived)) return 0;
            }
        }
        SaveMemory();
        ReportBlocks();
        return 0;
    }

private:
    // The last line the simulator prints: how many blocks the radio took part in.
    void ReportBlocks() {
        std::printf("BLOCKS read=%d written=%d\n", m_radio.BlocksRead(), m_radio.BlocksWritten());
        std::fflush(stdout);
    }

    // Returns false once the simulated cable is pulled.
    bool Receive(std::uint8_t byte, Clock::time_point arrived) {
        if (m_o.baud) {
            m_rxDone = std::max(arrived, m_rxDone) + kByteTime;
            WaitUntil(m_rxDone);
        }
        Log("RX", byte);
        SimReply reply = m_radio.Feed(byte);
        if (!reply.bytes.empty()) Send(reply);
        if (auto t = m_radio.TakeTuning()) ReportTuning(*t);
        if (m_radio.WriteCompleted()) {
            m_radio.WriteCompleted() = false;
            SaveMemory();
        }
        if (m_radio.HangupRequested()) {
            std::printf("HANGUP\n");
            // Let the last answer reach the program before the line goes dead.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            ::close(m_master);
            SaveMemory();
            ReportBlocks();
            return false;
        }
        return true;
    }

    void Send(const SimReply& reply) {
        // On the emulated wire the answer starts as the last byte in ends.
        auto due = m_o.baud ? m_rxDone : Clock::now();
        if (reply.delayed && !m_o.baud && !m_o.instant) due += kAnswerDelay;
        due += std::chrono::milliseconds(m_o.answerDelayMs);
        if (!m_o.baud) {
            // The whole answer in one write: a simulator descheduled between
            // two bytes on a busy machine must not look like a radio that
            // stopped halfway.
            WaitUntil(due);
            for (std::size_t sent = 0; sent < reply.bytes.size();) {
                const ssize_t n = ::write(m_master, reply.bytes.data() + sent, reply.bytes.size() - sent);
                if (n <= 0) return;
                for (ssize_t i = 0; i < n; ++i) Log("TX", reply.bytes[sent + static_cast<std::size_t>(i)]);
                sent += static_cast<std::size_t>(n);
            }
            return;
        }
        for (std::uint8_t b : reply.bytes) {
            due += kByteTime;
            WaitUntil(due);
            if (::write(m_master, &b, 1) != 1) return;
            Log("TX", b);
        }
        m_rxDone = std::max(m_rxDone, due);
    }

    void ReportTuning(const TuningRecord& t) {
        char line[160];
        std::snprintf(line, sizeof line, "TUNE %c F1 %s F2 %s\n", t.item, Hex(t.f1).c_str(), Hex(t.f2).c_str());
        std::fputs(line, stdout);
        std::fflush(stdout);
        if (m_tuneLog) {
            std::fputs(line, m_tuneLog);
            std::fflush(m_tuneLog);
        }
    }

    void Log(const char* dir, std::uint8_t b) {
        if (!m_log) return;
        double t = std::chrono::duration<double, std::milli>(Clock::now() - m_start).count();
        std::fprintf(m_log, "%10.3f %s %02X\n", t, dir, b);
        std::fflush(m_log);
    }

    void SaveMemory() {
        if (m_o.save.empty()) return;
        if (const auto failure = SaveSinFile(m_o.save, m_radio.Memory()))
            std::fprintf(stderr, "%s\n", Describe(*failure).c_str());
    }

    const Options& m_o;
    RadioSim& m_radio;
    int m_master;
    Clock::time_point m_start;
    Clock::time_point m_rxDone{};
    std::FILE* m_log = nullptr;
    std::FILE* m_tuneLog = nullptr;
};

// The command line split by radio: the options for every radio, and the
// options given after "--radio K" for radio K alone.
struct RadioArgs {
    int count = 1;
    std::vector<char*> shared;
    std::vector<std::vector<char*>> own;  // index K-1
};

bool SplitByRadio(int argc, char** argv, RadioArgs& split) {
    std::vector<std::pair<int, char*>> tagged;  // radio number (0: every radio), argument
    int radio = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--count" || a == "--radio") {
            int value = 0;
            if (i + 1 == argc || !ParseInt(argv[++i], value) || value < 1 || value > 64) return false;
            if (a == "--count")
                split.count = value;
            else
                radio = value;
        } else {
            tagged.emplace_back(radio, argv[i]);
        }
    }
    split.own.assign(static_cast<std::size_t>(split.count), {});
    for (const auto& [k, arg] : tagged) {
        if (k > split.count) return false;
        (k == 0 ? split.shared : split.own[static_cast<std::size_t>(k - 1)]).push_back(arg);
    }
    return true;
}

// The options of radio `k` (from 1): the shared ones, with the radio's number
// added to the file names several radios would otherwise share, then its own.
bool RadioOptions(const RadioArgs& split, int k, Options& o) {
    if (!Parse(split.shared, o)) return false;
    if (split.count > 1)
        for (std::string* file : {&o.save, &o.log, &o.tuneLog})
            if (!file->empty()) *file += "." + std::to_string(k);
    return Parse(split.own[static_cast<std::size_t>(k - 1)], o);
}

// One simulated radio: its options, its memory and its line.
struct Radio {
    Options options;
    std::unique_ptr<RadioSim> sim;
    int master = -1, slave = -1;
    std::string port;
};

// Loads the memory and opens the line; prints why not and returns false.
bool SetUp(Radio& r) {
    RadioImage memory = NewDocumentImage();
    if (!r.options.image.empty()) {
        SinLoadResult loaded = LoadSinFile(r.options.image, memory);
        if (!loaded.ok) {
            std::fprintf(stderr, "%s\n", Describe(loaded.error).c_str());
            return false;
        }
    }
    const int type = r.options.type;
    r.sim = std::make_unique<RadioSim>(memory, type >= 0 ? static_cast<std::uint8_t>(type) : memory[addr::kRadioType],
                                       r.options.faults);
    char name[256];
    termios raw{};
    cfmakeraw(&raw);
    if (::openpty(&r.master, &r.slave, name, &raw, nullptr) != 0) {
        std::perror("openpty");
        return false;
    }
    r.port = name;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // --lang first, else the locale of the environment.
    const auto languageArgument = LanguageArgument(argc, argv);
    const auto lang = languageArgument ? ParseLanguage(*languageArgument) : LanguageOfEnvironment();
    if (!lang) {
        std::fputs(Tr(TextId::SimUsage), stderr);
        return 2;
    }
    SetCurrentLanguage(*lang);
    RadioArgs split;
    std::vector<Radio> radios;
    bool parsed = SplitByRadio(argc, argv, split);
    if (parsed) radios.resize(static_cast<std::size_t>(split.count));
    for (int k = 1; parsed && k <= split.count; ++k)
        parsed = RadioOptions(split, k, radios[static_cast<std::size_t>(k - 1)].options);
    if (!parsed) {
        std::fputs(Tr(TextId::SimUsage), stderr);
        return 2;
    }
    for (Radio& r : radios)
        if (!SetUp(r)) return 1;
    // A radio is a device of its own that the computer's load never holds
    // up: where the system allows it (as root), the simulated one is
    // scheduled ahead of ordinary work, so that a busy machine delays the
    // program under test, not its radio. Elsewhere it runs as it is.
    (void)::setpriority(PRIO_PROCESS, 0, kRadioNice);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    for (const Radio& r : radios) std::printf("PORT %s\n", r.port.c_str());
    std::fflush(stdout);
    // Each radio answers on a thread of its own, as radios on separate cables
    // do. The slave ends stay open here too, so the lines live while programs
    // open and close the ports.
    std::vector<std::thread> threads;
    for (Radio& r : radios) threads.emplace_back([&r] { Simulator(r.options, *r.sim, r.master).Run(); });
    for (std::thread& t : threads) t.join();
    for (const Radio& r : radios) ::close(r.slave);
    return 0;
}
