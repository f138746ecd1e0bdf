// Faults of radio, cable and user, one row each, against the simulated radio
// on a pty through the real serial link: the message shown, the port closed,
// the blocks the radio took part in, and no image handed over unless the
// transfer finished.
#include <gtest/gtest.h>

#include <random>

#include <QCoreApplication>

#include "link/CloneEngine.h"
#include "link/QtSerialLink.h"
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
};

const std::string kComm = Tr(TextId::LinkCommError);

std::vector<FaultRow> Rows() {
    using D = CloneDirection;
    using O = CloneOutcome;
    return {
        {"SilentRadio", {"--silent"}, D::Read, {Answer::Cancel}, -1, O::NoLink, {kComm}, 0},
        {"HandshakeIgnoredThreeTimes", {"--ignore-handshakes", "3"}, D::Read, {}, -1, O::Completed, {}, 264},
        {"GarbageIdentification", {"--ident-bytes", "3"}, D::Read, {Answer::Cancel}, -1, O::NoLink, {kComm}, 0},
        {"TypeMismatchCancel", {"--type", "0x42"}, D::Write, {Answer::Cancel}, -1, O::TypeRefused, {Tr(TextId::LinkTypeMismatch)}, 0},
        {"TypeMismatchOk", {"--type", "0x42"}, D::Write, {Answer::Ok}, -1, O::Completed, {Tr(TextId::LinkTypeMismatch)}, 264},
        {"ShortReplyNine", {"--short-reply", "100:9"}, D::Read, {}, -1, O::ShortReply, {Tr(TextId::LinkShortReply)}, 100},
        {"ShortReplyTen", {"--short-reply", "100:10"}, D::Read, {}, -1, O::Completed, {}, 264},
        {"ShortReplyEleven", {"--short-reply", "100:11"}, D::Read, {}, -1, O::Completed, {}, 264},
        {"NoReadAckFirst", {"--no-read-ack", "0"}, D::Read, {}, -1, O::ReadAckMissing, {Tr(TextId::LinkReadAck)}, 1},
        {"NoReadAckMiddle", {"--no-read-ack", "131"}, D::Read, {}, -1, O::ReadAckMissing, {Tr(TextId::LinkReadAck)}, 132},
        {"WrongReadAckLast", {"--no-read-ack", "263", "--wrong-ack"}, D::Read, {}, -1, O::ReadAckMissing, {Tr(TextId::LinkReadAck)}, 264},
        {"NoWriteAckFirst", {"--no-write-ack", "0"}, D::Write, {}, -1, O::WriteAckMissing, {Tr(TextId::LinkWriteAck)}, 1},
        {"WrongWriteAckMiddle", {"--no-write-ack", "131", "--wrong-ack"}, D::Write, {}, -1, O::WriteAckMissing, {Tr(TextId::LinkWriteAck)}, 132},
        {"NoWriteAckLast", {"--no-write-ack", "263"}, D::Write, {}, -1, O::WriteAckMissing, {Tr(TextId::LinkWriteAck)}, 264},
        {"CablePulledMidRead", {"--hangup-after", "100"}, D::Read, {}, -1, O::ShortReply, {Tr(TextId::LinkShortReply)}, 100},
        {"CablePulledMidWrite", {"--hangup-after", "100"}, D::Write, {}, -1, O::WriteAckMissing, {Tr(TextId::LinkWriteAck)}, 100},
        {"UserCancelsMidRead", {}, D::Read, {}, 50, O::Cancelled, {}, 50},
        {"UserCancelsMidWrite", {}, D::Write, {}, 50, O::Cancelled, {}, 50},
        {"PortCannotBeOpened", {}, D::Read, {}, -1, O::PortUnavailable,
         {"无法打开串口，请检查该设备是否正常，或是否被占用"}, 0, FaultRow::Missing},
        {"PortVanishesAfterOpen", {}, D::Write, {Answer::Cancel}, -1, O::NoLink, {kComm}, -1, FaultRow::Vanishes},
    };
}

// The real link, with the far end killed right after the port opened.
class VanishingLink : public ISerialLink {
public:
    VanishingLink(ISerialLink& link, SimProcess* sim) : m_link(link), m_sim(sim) {}
    OpenError Open(const std::string& name, const SerialTimeouts& t) override {
        const OpenError e = m_link.Open(name, t);
        if (m_sim) {
            m_sim->Kill();
            ::usleep(100000);
        }
        return e;
    }
    void Purge() override { m_link.Purge(); }
    bool Write(const std::uint8_t* d, std::size_t s) override { return m_link.Write(d, s); }
    ReadResult Read(std::uint8_t* b, std::size_t s) override { return m_link.Read(b, s); }
    void Close() override { m_link.Close(); }
    bool IsOpen() const override { return m_link.IsOpen(); }

private:
    ISerialLink& m_link;
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
    EXPECT_EQ(user.asked, row.messages);
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
        const int blocks = row.direction == CloneDirection::Read ? std::atoi(report.c_str() + report.find("read=") + 5)
                                                                  : std::atoi(report.c_str() + report.find("written=") + 8);
        EXPECT_EQ(blocks, row.radioBlocks) << report;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, FaultMatrix, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<FaultRow>& info) { return std::string(info.param.name); });

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
