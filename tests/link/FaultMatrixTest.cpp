// Faults of radio, cable and user, one row each, against the simulated radio
// on a pty through the real serial link: the message shown, the port closed,
// the blocks the radio took part in, and no image handed over unless the
// transfer finished.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include <QCoreApplication>

#include "link/CloneEngine.h"
#include "link/QtSerialLink.h"
#include "tuning/TuningEngine.h"
#include "image/SinFile.h"
#include "res/Texts.h"
#include "support/ScriptedLink.h"
#include "support/SimProcess.h"

namespace {

struct FaultRow {
    const char* name;
    std::vector<std::string> simArgs;
    CloneDirection direction;
    std::deque<Answer> answers;
    int cancelAt;  // progress at which the user cancels, -1 for never
    CloneOutcome outcome;
    std::vector<std::string> messages;
    int radioBlocks;  // blocks the radio served (read) or stored (write)
    enum Port { Normal, Missing, Vanishes } port = Normal;
    int stoppedWrite = -1;  // a write stopped after this many blocks: the line saying so ends the last message
};

const std::string kComm = Tr(TextId::LinkCommError);

std::vector<FaultRow> Rows() {
    using D = CloneDirection;
    using O = CloneOutcome;
    return {
        {"SilentRadio", {"--silent"}, D::Read, {Answer::Cancel}, -1, O::NoLink, {kComm}, 0},
        {"HandshakeIgnoredThreeTimes", {"--ignore-handshakes", "3"}, D::Read, {}, -1, O::Completed, {}, 264},
        {"GarbageIdentification", {"--ident-bytes", "3"}, D::Read, {Answer::Cancel}, -1, O::NoLink, {kComm}, 0},
        {"TypeMismatchCancel",
         {"--type", "0x42"},
         D::Write,
         {Answer::Cancel},
         -1,
         O::TypeRefused,
         {Tr(TextId::LinkTypeMismatch)},
         0},
        {"TypeMismatchOk",
         {"--type", "0x42"},
         D::Write,
         {Answer::Ok},
         -1,
         O::Completed,
         {Tr(TextId::LinkTypeMismatch)},
         264},
        {"ShortReplyNine",
         {"--short-reply", "100:9"},
         D::Read,
         {},
         -1,
         O::ShortReply,
         {Tr(TextId::LinkShortReply)},
         100},
        {"ShortReplyEleven",
         {"--short-reply", "100:11"},
         D::Read,
         {},
         -1,
         O::ShortReply,
         {Tr(TextId::LinkShortReply)},
         100},
        {"NoReadAckFirst", {"--no-read-ack", "0"}, D::Read, {}, -1, O::ReadAckMissing, {Tr(TextId::LinkReadAck)}, 1},
        {"NoReadAckMiddle",
         {"--no-read-ack", "131"},
         D::Read,
         {},
         -1,
         O::ReadAckMissing,
         {Tr(TextId::LinkReadAck)},
         132},
        {"WrongReadAckLast",
         {"--no-read-ack", "263", "--wrong-ack"},
         D::Read,
         {},
         -1,
         O::ReadAckMissing,
         {Tr(TextId::LinkReadAck)},
         264},
        {"NoWriteAckFirst",
         {"--no-write-ack", "0"},
         D::Write,
         {},
         -1,
         O::WriteAckMissing,
         {Tr(TextId::LinkWriteAck)},
         1,
         FaultRow::Normal,
         0},
        {"WrongWriteAckMiddle",
         {"--no-write-ack", "131", "--wrong-ack"},
         D::Write,
         {},
         -1,
         O::WriteAckMissing,
         {Tr(TextId::LinkWriteAck)},
         132,
         FaultRow::Normal,
         131},
        {"NoWriteAckLast",
         {"--no-write-ack", "263"},
         D::Write,
         {},
         -1,
         O::WriteAckMissing,
         {Tr(TextId::LinkWriteAck)},
         264,
         FaultRow::Normal,
         263},
        {"CablePulledMidRead",
         {"--hangup-after", "100"},
         D::Read,
         {},
         -1,
         O::PortLost,
         {Tr(TextId::LinkCableLost)},
         100},
        {"CablePulledMidWrite",
         {"--hangup-after", "100"},
         D::Write,
         {},
         -1,
         O::PortLost,
         {Tr(TextId::LinkCableLost)},
         100,
         FaultRow::Normal,
         100},
        {"UserCancelsMidRead", {}, D::Read, {}, 50, O::Cancelled, {}, 50},
        {"UserCancelsMidWrite", {}, D::Write, {}, 50, O::Cancelled, {""}, 50, FaultRow::Normal, 50},
        {"PortCannotBeOpened",
         {},
         D::Read,
         {},
         -1,
         O::PortUnavailable,
         {"无法打开串口，请检查该设备是否正常，或是否被占用\n找不到串口 "
          "/dev/ostreltz-no-such-port：请检查连接线是否已插好。"},
         0,
         FaultRow::Missing},
        {"PortVanishesAfterOpen", {}, D::Write, {Answer::Cancel}, -1, O::PortLost, {kComm}, -1, FaultRow::Vanishes},
    };
}

// The real link, with something done to the far end when the port opens.
class ForwardingLink : public ISerialLink {
public:
    explicit ForwardingLink(ISerialLink& link) : m_link(link) {}
    OpenError Open(const std::string& name, const SerialTimeouts& t) override { return m_link.Open(name, t); }
    void Purge() override { m_link.Purge(); }
    bool Write(const std::uint8_t* d, std::size_t s) override { return m_link.Write(d, s); }
    ReadResult Read(std::uint8_t* b, std::size_t s) override { return m_link.Read(b, s); }
    void Close() override { m_link.Close(); }
    bool IsOpen() const override { return m_link.IsOpen(); }

private:
    ISerialLink& m_link;
};

// The far end killed right after the port opened.
class VanishingLink : public ForwardingLink {
public:
    VanishingLink(ISerialLink& link, SimProcess* sim) : ForwardingLink(link), m_sim(sim) {}
    OpenError Open(const std::string& name, const SerialTimeouts& t) override {
        const OpenError e = ForwardingLink::Open(name, t);
        if (m_sim) {
            m_sim->Kill();
            ::usleep(100000);
        }
        return e;
    }

private:
    SimProcess* m_sim;
};

void PrintTo(const FaultRow& row, std::ostream* os) { *os << row.name; }

class FaultMatrix : public ::testing::TestWithParam<FaultRow> {};

}  // namespace

TEST_P(FaultMatrix, EndsAsItShould) {
    const FaultRow& row = GetParam();
    SimProcess sim(row.simArgs);
    ASSERT_FALSE(sim.Port().empty());
    const std::string port = row.port == FaultRow::Missing ? "/dev/ostreltz-no-such-port" : sim.Port();
    std::mt19937 rng(9);
    RadioImage image;
    for (auto& b : image) b = static_cast<std::uint8_t>(rng());
    image[addr::kRadioType] = 0x11;
    const RadioImage before = image;

    QtSerialLink serial;
    VanishingLink link(serial, row.port == FaultRow::Vanishes ? &sim : nullptr);
    PreciseClock clock;
    ScriptedUser user;
    user.answers = row.answers;
    user.cancelAtProgress = row.cancelAt;
    CloneEngine engine(link, clock, user);
    const CloneResult result = engine.Run(row.direction, port, image);

    EXPECT_EQ(result.outcome, row.outcome);
    std::vector<std::string> messages = row.messages;
    if (row.stoppedWrite >= 0) {
        std::string& last = messages.back();
        // A block sent without an answer may hold either data; a cancel
        // comes between blocks.
        last +=
            (last.empty() ? "" : "\n") + (row.outcome == CloneOutcome::Cancelled ? StoppedWriteText(row.stoppedWrite)
                                                                                 : StoppedUnsureText(row.stoppedWrite));
        EXPECT_EQ(result.blocks, row.stoppedWrite);
    }
    EXPECT_EQ(user.asked, messages);
    EXPECT_FALSE(serial.IsOpen());
    EXPECT_EQ(image, before);
    if (result.outcome != CloneOutcome::Completed) {
        EXPECT_EQ(result.image, RadioImage{});
    }
    if (row.port == FaultRow::Normal && row.simArgs.empty()) {
        // The port was really let go: it opens again.
        QtSerialLink again;
        EXPECT_EQ(again.Open(port, kCloneTimeouts), OpenError::None);
    }
    const std::string report = sim.StopAndReport();
    if (row.radioBlocks >= 0) {
        const int blocks = row.direction == CloneDirection::Read
                               ? std::atoi(report.c_str() + report.find("read=") + 5)
                               : std::atoi(report.c_str() + report.find("written=") + 8);
        EXPECT_EQ(blocks, row.radioBlocks) << report;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, FaultMatrix, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<FaultRow>& info) { return std::string(info.param.name); });

namespace {

// A write stopped on the command line: the radio's report of the blocks it
// stored, the added line with that count, and the exit code.
struct StoppedWriteRow {
    const char* name;
    std::vector<std::string> simArgs;
    bool interrupt;  // Ctrl+C once a third of the blocks went out
    int exitCode;
    const char* firstLine;
};

void PrintTo(const StoppedWriteRow& row, std::ostream* os) { *os << row.name; }

class StoppedWriteOnTheCommandLine : public ::testing::TestWithParam<StoppedWriteRow> {};

}  // namespace

TEST_P(StoppedWriteOnTheCommandLine, SaysWhatTheRadioHolds) {
    const StoppedWriteRow& row = GetParam();
    SimProcess sim(row.simArgs);
    ASSERT_FALSE(sim.Port().empty());
    const std::string file = "/tmp/stopped-write-" + std::to_string(::getpid()) + ".sin";
    ASSERT_EQ(RunCommand(std::string(OSTRELTZ_CLI) + " new " + file), 0);
    int err[2];
    ASSERT_EQ(::pipe(err), 0);
    const pid_t cli = ::fork();
    if (cli == 0) {
        ::dup2(err[1], STDERR_FILENO);
        ::close(err[0]);
        ::close(err[1]);
        ::execl(OSTRELTZ_CLI, OSTRELTZ_CLI, "--lang", "zh", "write", "--port", sim.Port().c_str(), "--in", file.c_str(),
                nullptr);
        ::_exit(127);
    }
    ::close(err[1]);
    FILE* out = ::fdopen(err[0], "r");
    std::string log;
    char line[512];
    while (std::fgets(line, sizeof line, out)) {
        log += line;
        if (row.interrupt && std::string(line) == "写频: 99/264\n") ::kill(cli, SIGINT);
    }
    std::fclose(out);
    int status = 0;
    ::waitpid(cli, &status, 0);
    std::remove(file.c_str());
    const std::string report = sim.StopAndReport();
    const int stored = std::atoi(report.c_str() + report.find("written=") + 8);

    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), row.exitCode) << log;
    const std::size_t first = log.find(row.firstLine);
    ASSERT_NE(first, std::string::npos) << log;
    const int acknowledged = std::atoi(log.c_str() + log.find("（已完成 ") + std::strlen("（已完成 "));
    EXPECT_GE(acknowledged, 1);
    // The radio took every acknowledged block, and at most the one after.
    EXPECT_GE(stored, acknowledged) << report;
    EXPECT_LE(stored, acknowledged + 1) << report;
    const std::string stopped = row.interrupt ? StoppedWriteText(acknowledged) : StoppedUnsureText(acknowledged);
    EXPECT_NE(log.find(stopped + "\n", first), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Causes, StoppedWriteOnTheCommandLine,
    ::testing::Values(StoppedWriteRow{"CablePulled", {"--hangup-after", "100"}, false, 1, Tr(TextId::LinkCableLost)},
                      StoppedWriteRow{"MissingAck", {"--no-write-ack", "120"}, false, 1, Tr(TextId::LinkWriteAck)},
                      StoppedWriteRow{"CtrlC", {}, true, 130, "写频没有完成"}),
    [](const ::testing::TestParamInfo<StoppedWriteRow>& info) { return std::string(info.param.name); });

namespace {

// The programming cable at a fixed name (as /dev/ttyUSB0 is), pulled once the
// port is open and plugged back in, now on another radio, before the third
// opening: the second finds no port.
class ReplugLink : public ForwardingLink {
public:
    ReplugLink(ISerialLink& link, std::string name, SimProcess& first)
        : ForwardingLink(link), m_name(std::move(name)), m_first(first) {
        ::symlink(first.Port().c_str(), m_name.c_str());
    }
    ~ReplugLink() override { ::unlink(m_name.c_str()); }
    OpenError Open(const std::string& name, const SerialTimeouts& t) override {
        if (++opens == 3) {
            m_second = std::make_unique<SimProcess>(std::vector<std::string>{"--image", OSTRELTZ_SAMPLE});
            ::symlink(m_second->Port().c_str(), m_name.c_str());
        }
        const OpenError e = ForwardingLink::Open(name, t);
        if (opens == 1) {
            ::unlink(m_name.c_str());
            m_first.Kill();
            ::usleep(100000);
        }
        return e;
    }
    int opens = 0;

private:
    std::string m_name;
    SimProcess& m_first;
    std::unique_ptr<SimProcess> m_second;
};

}  // namespace

TEST(CablePlugging, ARetryAfterTheCableIsPluggedBackInOpensThePortAgain) {
    SimProcess first({"--silent"});
    ASSERT_FALSE(first.Port().empty());
    const std::string cable = "/tmp/ostreltz-cable-" + std::to_string(::getpid());
    QtSerialLink serial;
    ReplugLink link(serial, cable, first);
    PreciseClock clock;
    ScriptedUser user;
    user.answers = {Answer::Retry, Answer::Ok, Answer::Retry};
    CloneEngine engine(link, clock, user);
    const CloneResult result = engine.Run(CloneDirection::Read, cable, NewDocumentImage());
    EXPECT_EQ(result.outcome, CloneOutcome::Completed);
    RadioImage sample{};
    ASSERT_TRUE(LoadSinFile(OSTRELTZ_SAMPLE, sample).ok);
    EXPECT_EQ(result.image, sample);
    EXPECT_EQ(link.opens, 3);
    const std::vector<std::string> asked = {kComm, OpenFailureMessage(OpenError::NotFound, cable), kComm};
    EXPECT_EQ(user.asked, asked);
    EXPECT_FALSE(serial.IsOpen());
}

TEST(CablePlugging, ATuningRetryAfterTheCableIsPluggedBackInOpensThePortAgain) {
    SimProcess first({"--silent"});
    ASSERT_FALSE(first.Port().empty());
    const std::string cable = "/tmp/ostreltz-tuning-cable-" + std::to_string(::getpid());
    QtSerialLink serial;
    ReplugLink link(serial, cable, first);
    PreciseClock clock;
    ScriptedUser user;
    user.answers = {Answer::Retry, Answer::Ok, Answer::Retry, Answer::Ok};
    TuningRequest request;
    request.item = TuningItem::Squelch;
    request.rxFrequency = request.txFrequency = "146.00000";
    request.rxTone = request.txTone = "OFF";
    request.value = 160;
    EXPECT_EQ(TuningEngine(link, clock, user).Run(cable, request), TuningOutcome::Received);
    EXPECT_EQ(link.opens, 3);
    ASSERT_EQ(user.asked.size(), 4u);
    EXPECT_EQ(user.asked[1], OpenFailureMessage(OpenError::NotFound, cable));
    EXPECT_EQ(user.asked[3], Tr(TextId::TuningReceived));
    EXPECT_FALSE(serial.IsOpen());
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
