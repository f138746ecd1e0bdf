#include <gtest/gtest.h>

#include "support/RandomImage.h"

#include <algorithm>
#include <random>

#include "link/CloneEngine.h"
#include "support/ScriptedLink.h"

namespace {

struct Rig {
    explicit Rig(const RadioImage& memory, std::uint8_t type = 0xFF, SimFaults faults = {})
        : radio(memory, type, faults), link(radio), engine(link, link, user) {}
    CloneResult Run(CloneDirection d, const RadioImage& image) { return engine.Run(d, "COM1", image); }
    RadioSim radio;
    ScriptedLink link;
    ScriptedUser user;
    CloneEngine engine;
};

std::vector<std::string> Slice(const std::vector<std::string>& log, std::size_t from, std::size_t count) {
    return {log.begin() + static_cast<std::ptrdiff_t>(from), log.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

std::size_t Find(const std::vector<std::string>& log, const std::string& line, std::size_t from = 0) {
    return static_cast<std::size_t>(std::find(log.begin() + static_cast<std::ptrdiff_t>(from), log.end(), line) -
                                    log.begin());
}

}  // namespace

TEST(CloneEngine, ReadBringsTheWholeImageWithTheExactFrames) {
    const RadioImage memory = RandomImage(1);
    Rig rig(memory);
    const RadioImage mine = NewDocumentImage();
    CloneResult r = rig.Run(CloneDirection::Read, mine);
    ASSERT_EQ(r.outcome, CloneOutcome::Completed);
    EXPECT_EQ(r.image, memory);
    EXPECT_EQ(r.blocks, 264);
    EXPECT_EQ(rig.link.closes, 1);
    EXPECT_FALSE(rig.link.IsOpen());
    EXPECT_TRUE(rig.user.asked.empty());
    EXPECT_EQ(rig.user.progress, 264);
    ASSERT_GE(rig.user.statuses.size(), 3u);
    EXPECT_EQ(rig.user.statuses[0], "正在检测通讯端口,请等待...");
    EXPECT_EQ(rig.user.statuses[1], "正在等待对讲机响应....");
    EXPECT_EQ(rig.user.statuses[2], "1");
    EXPECT_EQ(rig.user.statuses.back(), "262");  // the count stops at 262, the bar goes to 264

    const std::vector<std::string> handshake = {"S 7", "P",    "S 1",  "P",     "W 02", "S 1",   "P",    "W 50", "S 1",
                                                "P",   "W 52", "S 1",  "P",     "W 4F", "S 1",   "P",    "W 47", "S 1",
                                                "P",   "W 52", "S 1",  "P",     "W 41", "R 1:1", "S 1",  "P",    "W 4D",
                                                "S 1", "P",    "W 02", "R 8:8", "P",    "W 06",  "R 1:1"};
    EXPECT_EQ(Slice(rig.link.log, 0, handshake.size()), handshake);
    const std::vector<std::string> block0 = {"P", "W 52 00 00 08", "R 12:12", "S 15", "P", "W 06", "R 1:1", "S 5"};
    EXPECT_EQ(Slice(rig.link.log, handshake.size(), block0.size()), block0);
    const std::size_t last = Find(rig.link.log, "W 52 08 38 08");
    ASSERT_LT(last, rig.link.log.size());
    EXPECT_EQ(rig.link.log.size(), last + 7);  // the last block, then the port closes
}

TEST(CloneEngine, WriteSendsEveryBlockAndEndsAt264) {
    const RadioImage image = RandomImage(2);
    Rig rig(NewDocumentImage(), image[addr::kRadioType]);
    CloneResult r = rig.Run(CloneDirection::Write, image);
    ASSERT_EQ(r.outcome, CloneOutcome::Completed);
    EXPECT_EQ(rig.radio.Memory(), image);
    EXPECT_EQ(rig.user.statuses.back(), "264");
    EXPECT_TRUE(rig.user.asked.empty());
    const std::size_t first = Find(rig.link.log, "W 57 00 00 08");
    ASSERT_LT(first, rig.link.log.size());
    std::string data = "W";
    for (int i = 0; i < 8; ++i) data += " " + ScriptedLink::Hex(image[static_cast<std::size_t>(i)]);
    const std::vector<std::string> block0 = {"W 57 00 00 08", "S 1", "P", data, "R 1:1", "S 1"};
    EXPECT_EQ(Slice(rig.link.log, first, block0.size()), block0);
}

TEST(CloneEngine, TypeMismatchCancelWritesNothing) {
    RadioImage image = NewDocumentImage();  // type byte 0xFF
    Rig rig(NewDocumentImage(), 0x42);
    CloneResult r = rig.Run(CloneDirection::Write, image);
    EXPECT_EQ(r.outcome, CloneOutcome::TypeRefused);
    ASSERT_EQ(rig.user.asked.size(), 1u);
    EXPECT_EQ(rig.user.asked[0], " 对讲机的类型与你所设置的不一样，若要覆盖请按确定按钮");
    EXPECT_EQ(rig.radio.BlocksWritten(), 0);
    EXPECT_EQ(Find(rig.link.log, "W 06"), rig.link.log.size());  // no link acknowledgement sent
    EXPECT_EQ(rig.link.closes, 1);
}

TEST(CloneEngine, TypeMismatchOkRepeatsTheWholeHandshakeOnce) {
    const RadioImage image = RandomImage(3);
    Rig rig(NewDocumentImage(), static_cast<std::uint8_t>(image[addr::kRadioType] ^ 1));
    rig.user.answers = {Answer::Ok};
    CloneResult r = rig.Run(CloneDirection::Write, image);
    ASSERT_EQ(r.outcome, CloneOutcome::Completed);
    EXPECT_EQ(rig.user.asked.size(), 1u);
    EXPECT_EQ(rig.link.HelloCount(), 2);
    // The second identification comes before the link acknowledgement.
    const std::size_t secondId = Find(rig.link.log, "R 8:8", Find(rig.link.log, "R 8:8") + 1);
    EXPECT_LT(secondId, Find(rig.link.log, "W 06"));
    EXPECT_EQ(rig.radio.Memory(), image);
}

TEST(CloneEngine, RadioWithoutTypeIsNeverQuestionedAndReadsAreNeverChecked) {
    Rig write(NewDocumentImage(), 0xFF);
    EXPECT_EQ(write.Run(CloneDirection::Write, RandomImage(4)).outcome, CloneOutcome::Completed);
    EXPECT_TRUE(write.user.asked.empty());
    Rig read(RandomImage(5), 0x42);
    EXPECT_EQ(read.Run(CloneDirection::Read, NewDocumentImage()).outcome, CloneOutcome::Completed);
    EXPECT_TRUE(read.user.asked.empty());
}

TEST(CloneEngine, SilentRadioGetsFifteenAttemptsPerSeries) {
    SimFaults silent;
    silent.silent = true;
    Rig rig(NewDocumentImage(), 0xFF, silent);
    rig.user.answers = {Answer::Retry, Answer::Cancel};
    CloneResult r = rig.Run(CloneDirection::Read, NewDocumentImage());
    EXPECT_EQ(r.outcome, CloneOutcome::NoLink);
    EXPECT_EQ(rig.link.HelloCount(), 30);
    ASSERT_EQ(rig.user.asked.size(), 2u);
    EXPECT_EQ(rig.user.asked[0], "通讯错误，请检查连接线是否接触良好或对讲机电源是否开启");
    EXPECT_FALSE(rig.user.watch);
    EXPECT_EQ(rig.link.closes, 1);
    EXPECT_EQ(rig.link.opens, 1);  // Retry keeps the port open
    // Each failed attempt reads twice and pauses 2 ms before the next.
    const std::size_t firstRead = Find(rig.link.log, "R 1:0");
    EXPECT_EQ(rig.link.log[firstRead + 1], "R 1:0");
    EXPECT_EQ(rig.link.log[firstRead + 2], "S 9");  // 2 ms, then the next attempt's 7 yields
}

TEST(CloneEngine, HandshakeIgnoredAFewTimesThenAccepted) {
    SimFaults f;
    f.ignoreHandshakes = 4;
    Rig rig(RandomImage(6), 0xFF, f);
    CloneResult r = rig.Run(CloneDirection::Read, NewDocumentImage());
    EXPECT_EQ(r.outcome, CloneOutcome::Completed);
    EXPECT_EQ(rig.link.HelloCount(), 5);
    EXPECT_TRUE(rig.user.asked.empty());
}

TEST(CloneEngine, ShortIdentificationIsACommunicationError) {
    SimFaults f;
    f.identBytes = 5;
    Rig rig(RandomImage(7), 0xFF, f);
    CloneResult r = rig.Run(CloneDirection::Read, NewDocumentImage());
    EXPECT_EQ(r.outcome, CloneOutcome::NoLink);
    ASSERT_EQ(rig.user.asked.size(), 1u);
    EXPECT_EQ(rig.user.asked[0], "通讯错误，请检查连接线是否接触良好或对讲机电源是否开启");
}

TEST(CloneEngine, AReadReplyShortOfAnyByteIsRefused) {
    const RadioImage memory = RandomImage(8);
    for (const std::size_t bytes : {9u, 10u, 11u}) {
        SimFaults faults;
        faults.shortReplyBlock = 100;
        faults.shortReplyBytes = bytes;
        Rig rig(memory, 0xFF, faults);
        const CloneResult r = rig.Run(CloneDirection::Read, NewDocumentImage());
        EXPECT_EQ(r.outcome, CloneOutcome::ShortReply) << bytes;
        EXPECT_EQ(r.blocks, 100);
        EXPECT_EQ(r.image, RadioImage{});
        ASSERT_EQ(rig.user.asked.size(), 1u);
        EXPECT_EQ(rig.user.asked[0], "未收到足够字节");
        EXPECT_EQ(rig.link.closes, 1);
    }
}

TEST(CloneEngine, MissingAcknowledgementsEndTheTransfer) {
    SimFaults readAck;
    readAck.noReadAckBlock = 0;
    Rig read(RandomImage(10), 0xFF, readAck);
    CloneResult r = read.Run(CloneDirection::Read, NewDocumentImage());
    EXPECT_EQ(r.outcome, CloneOutcome::ReadAckMissing);
    ASSERT_EQ(read.user.asked.size(), 1u);
    EXPECT_EQ(read.user.asked[0], "接收出错中断，请重试");

    SimFaults writeAck;
    writeAck.noWriteAckBlock = 263;
    writeAck.wrongAck = true;
    Rig write(NewDocumentImage(), 0xFF, writeAck);
    r = write.Run(CloneDirection::Write, RandomImage(11));
    EXPECT_EQ(r.outcome, CloneOutcome::WriteAckMissing);
    EXPECT_EQ(r.blocks, 263);
    ASSERT_EQ(write.user.asked.size(), 1u);
    EXPECT_EQ(write.user.asked[0],
              " 接收出错中断，请重试\n写频没有完成：对讲机的前 263 块（共 264 块）已是新数据，第 264 块可能已写入，"
              "其后仍是原来的数据。再次写频即可补全。");
    EXPECT_EQ(write.link.closes, 1);
}

TEST(CloneEngine, CancelStopsAtTheNextCheckWithoutAMessage) {
    Rig rig(RandomImage(12));
    rig.user.cancelAtProgress = 5;
    CloneResult r = rig.Run(CloneDirection::Read, NewDocumentImage());
    EXPECT_EQ(r.outcome, CloneOutcome::Cancelled);
    EXPECT_EQ(r.blocks, 5);
    EXPECT_TRUE(rig.user.asked.empty());
    EXPECT_EQ(rig.link.closes, 1);
    EXPECT_EQ(rig.radio.BlocksRead(), 5);
}

TEST(CloneEngine, PortThatCannotBeOpened) {
    Rig rig(NewDocumentImage());
    rig.link.openError = OpenError::PermissionDenied;
    CloneResult r = rig.Run(CloneDirection::Write, NewDocumentImage());
    EXPECT_EQ(r.outcome, CloneOutcome::PortUnavailable);
    ASSERT_EQ(rig.user.asked.size(), 1u);
    EXPECT_EQ(rig.user.asked[0],
              "无法打开串口，请检查该设备是否正常，或是否被占用\n没有访问串口 /dev/ttyUSB0 的权限："
              "请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录。");
    EXPECT_TRUE(rig.link.log.empty());
    // The port's path is named; only a permission problem gets the dialout advice.
    const std::pair<OpenError, std::string> causes[] = {
        {OpenError::InUse, "\n串口 /dev/ttyUSB0 正被其他程序使用：请先关闭那个程序。"},
        {OpenError::NotFound, "\n找不到串口 /dev/ttyUSB0：请检查连接线是否已插好。"},
        {OpenError::Other, ""},
    };
    for (const auto& [error, line] : causes) {
        rig.link.openError = error;
        rig.user.asked.clear();
        rig.Run(CloneDirection::Read, NewDocumentImage());
        EXPECT_EQ(rig.user.asked.at(0), "无法打开串口，请检查该设备是否正常，或是否被占用" + line);
    }
}

namespace {

// Passes everything on to the scripted link, and makes the link
// acknowledgement (the tenth write of a transfer) and its two repeats fail.
class FailingAckLink : public ISerialLink {
public:
    explicit FailingAckLink(ScriptedLink& link) : m_link(link) {}
    OpenError Open(const std::string& n, const SerialTimeouts& t) override { return m_link.Open(n, t); }
    void Purge() override { m_link.Purge(); }
    bool Write(const std::uint8_t* d, std::size_t s) override {
        if (++m_writes == 10) m_link.failingWrites = 3;
        return m_link.Write(d, s);
    }
    ReadResult Read(std::uint8_t* b, std::size_t s) override { return m_link.Read(b, s); }
    void Close() override { m_link.Close(); }
    bool IsOpen() const override { return m_link.IsOpen(); }

private:
    ScriptedLink& m_link;
    int m_writes = 0;
};

}  // namespace

TEST(CloneEngine, FailingLinkAcknowledgementIsTriedThreeTimes) {
    Rig rig(RandomImage(13));
    rig.user.answers = {Answer::Ok, Answer::Ok, Answer::Ok, Answer::Cancel};
    FailingAckLink failing(rig.link);
    CloneEngine engine(failing, rig.link, rig.user);
    CloneResult r = engine.Run(CloneDirection::Read, "COM1", NewDocumentImage());
    EXPECT_EQ(r.outcome, CloneOutcome::NoLink);
    ASSERT_EQ(rig.user.asked.size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(rig.user.asked[static_cast<std::size_t>(i)], " 发送数据错误");
    EXPECT_EQ(rig.user.asked[3], "通讯错误，请检查连接线是否接触良好或对讲机电源是否开启");
    EXPECT_EQ(rig.link.closes, 1);
}

TEST(CloneEngine, PulledCableEndsTheReadAndKeepsNothing) {
    SimFaults f;
    f.hangupAfterBlocks = 50;
    Rig rig(RandomImage(14), 0xFF, f);
    CloneResult r = rig.Run(CloneDirection::Read, NewDocumentImage());
    EXPECT_NE(r.outcome, CloneOutcome::Completed);
    EXPECT_EQ(r.image, RadioImage{});
    EXPECT_EQ(rig.link.closes, 1);
}

TEST(CloneEngine, AfterAWriteTheNextProgramsHandshakeIsAnsweredWithItsAckAlone) {
    Rig rig(NewDocumentImage());
    ASSERT_EQ(rig.Run(CloneDirection::Write, RandomImage(4)).outcome, CloneOutcome::Completed);
    // The radio is still in the session: the "R" of the next handshake must
    // not be taken for a read command.
    const std::uint8_t hello[] = {0x02, 'P', 'R', 'O', 'G', 'R', 'A'};
    std::vector<std::uint8_t> answers;
    for (std::uint8_t b : hello) {
        const SimReply r = rig.radio.Feed(b);
        answers.insert(answers.end(), r.bytes.begin(), r.bytes.end());
    }
    EXPECT_EQ(answers, std::vector<std::uint8_t>{0x06});
    EXPECT_EQ(rig.Run(CloneDirection::Read, NewDocumentImage()).outcome, CloneOutcome::Completed);
}
