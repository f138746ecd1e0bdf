// Times a full read and a full write against the simulated radio at 9600-baud
// wire speed and compares each with the protocol's floor: the bytes on the
// wire at 9600 8N1 plus the pauses the protocol requires. Then writes four
// simulated radios at once, each on its own port and thread, and sets the
// time beside one radio's.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include <QCoreApplication>
#include <QThread>

#include "../tests/support/SimProcess.h"
#include "link/CloneEngine.h"
#include "link/QtSerialLink.h"

namespace {

class SilentUser : public IUserInteraction {
public:
    void SetStatus(const std::string&) override {}
    void SetProgress(int) override {}
    Answer Ask(const std::string& text, Buttons) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        return Answer::Cancel;
    }
    bool Cancelled() override { return false; }
    void SetWatch(bool) override {}
};

constexpr double kByteMs = 10.0 / 9.6;  // ten bits at 9600 baud
// Handshake: 20 bytes; 7 yields + 7 byte pauses + 2 pauses of 1 ms.
constexpr double kHandshakeMs = 20 * kByteMs + 16;
constexpr double kReadFloorMs = kHandshakeMs + 264 * (18 * kByteMs + 20);
constexpr double kWriteFloorMs = kHandshakeMs + 264 * (13 * kByteMs + 2);

double Time(CloneDirection direction, const std::string& port, const RadioImage& image, bool& ok) {
    QtSerialLink link;
    PreciseClock clock;
    SilentUser user;
    CloneEngine engine(link, clock, user);
    const auto start = std::chrono::steady_clock::now();
    ok = engine.Run(direction, port, image).outcome == CloneOutcome::Completed;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Writes `image` to every port at once; the time until the last one is done.
double TimeParallelWrites(const std::vector<std::string>& ports, const RadioImage& image, bool& ok) {
    std::vector<char> done(ports.size(), 0);
    // Qt threads, as the programs use: a serial port needs one of them.
    std::vector<std::unique_ptr<QThread>> threads;
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < ports.size(); ++i) {
        threads.emplace_back(QThread::create([&, i] {
            bool one = false;
            Time(CloneDirection::Write, ports[i], image, one);
            done[i] = one;
        }));
        threads.back()->start();
    }
    for (auto& t : threads) t->wait();
    ok = std::all_of(done.begin(), done.end(), [](char c) { return c != 0; });
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    SimProcess sim({"--baud-emulation"});
    if (sim.Port().empty()) return 1;
    std::mt19937 rng(1);
    RadioImage image;
    for (auto& b : image) b = static_cast<std::uint8_t>(rng());
    image[addr::kRadioType] = 0xFF;
    bool okWrite = false, okRead = false;
    const double write = Time(CloneDirection::Write, sim.Port(), image, okWrite);
    const double read = Time(CloneDirection::Read, sim.Port(), NewDocumentImage(), okRead);
    std::printf("write: %.0f ms, floor %.0f ms, ratio %.3f%s\n", write, kWriteFloorMs, write / kWriteFloorMs,
                okWrite ? "" : " (FAILED)");
    std::printf("read:  %.0f ms, floor %.0f ms, ratio %.3f%s\n", read, kReadFloorMs, read / kReadFloorMs,
                okRead ? "" : " (FAILED)");
    SimProcess four({"--count", "4", "--baud-emulation"}, 4);
    if (four.Ports().size() != 4) return 1;
    bool okFour = false;
    const double parallel = TimeParallelWrites(four.Ports(), image, okFour);
    std::printf("write 4 radios at once: %.0f ms, one radio %.0f ms, ratio %.3f (target at most 1.10)%s\n", parallel,
                write, parallel / write, okFour ? "" : " (FAILED)");
    return okWrite && okRead && okFour ? 0 : 1;
}
