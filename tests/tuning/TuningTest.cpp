#include <gtest/gtest.h>

#include "editor/CellRules.h"
#include "image/ChannelCodec.h"
#include "support/ScriptedLink.h"
#include "tuning/TuningModel.h"

namespace {

TuningRequest SquelchExample() {
    TuningRequest r;
    r.item = TuningItem::Squelch;
    r.rxFrequency = r.txFrequency = "146.00000";
    r.rxTone = r.txTone = "OFF";
    r.value = 160;
    return r;
}

using Bytes = std::vector<int>;
Bytes Of(const TuningFrame& f) { return Bytes(f.begin(), f.end()); }

}  // namespace

TEST(TuningFrames, WorkedExample) {
    const TuningRequest r = SquelchExample();
    EXPECT_EQ(TuningItemCode(r.item), 0x73);
    EXPECT_EQ(Of(FrequencyFrame(r)), (Bytes{0x00, 0x00, 0x60, 0x14, 0x00, 0x00, 0x60, 0x14}));
    EXPECT_EQ(Of(SignallingFrame(r)), (Bytes{0x00, 0x00, 0x00, 0x00, 0xFB, 0x01, 0x01, 0xA0}));
}

TEST(TuningFrames, FrequencyAndToneEncodings) {
    TuningRequest r;
    r.rxFrequency = "435.12500";
    r.txFrequency = "";
    EXPECT_EQ(Of(FrequencyFrame(r)), (Bytes{0x00, 0x25, 0x51, 0x43, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(ToneBytes("88.5"), (std::array<std::uint8_t, 2>{0x85, 0x08}));
    EXPECT_EQ(ToneBytes("254.1"), (std::array<std::uint8_t, 2>{0x41, 0x25}));
    EXPECT_EQ(ToneBytes("OFF"), (std::array<std::uint8_t, 2>{0x00, 0x00}));
    EXPECT_EQ(ToneBytes("D023N"), (std::array<std::uint8_t, 2>{0x00, 0x00}));
    EXPECT_EQ(ToneBytes("67.0"), (std::array<std::uint8_t, 2>{0x70, 0x06}));
}

TEST(TuningModel, SetsStartFromTheBandsLowerEdge) {
    TuningModel m(BandLowUnits("136 - 174MHz"));
    EXPECT_EQ(m.Set(TuningModel::kHigh).rx.units, 15600000u);
    EXPECT_EQ(m.Set(TuningModel::kMid).tx.units, 14600000u);
    EXPECT_EQ(m.Set(TuningModel::kLow).rx.units, 13600000u);
    EXPECT_EQ(BandLowUnits(" 67 -  72MHz"), 6700000u);
    TuningModel top(BandLowUnits("460 - 520MHz"));
    EXPECT_EQ(top.Set(TuningModel::kHigh).rx.units, 48000000u);
    EXPECT_EQ(top.Set(TuningModel::kMid).rx.units, 47000000u);
    EXPECT_EQ(top.Set(TuningModel::kLow).rx.units, 46000000u);
}

TEST(TuningModel, NormalisationClampsAndRounds) {
    TuningModel m(BandLowUnits("136 - 174MHz"));
    const auto text = [&](const char* t, FrequencyStep s) { return UnitsToFrequencyText(m.Normalise(t, s)); };
    EXPECT_EQ(text("180", FrequencyStep::Khz5), "156.00000");
    EXPECT_EQ(text("100", FrequencyStep::Khz5), "136.00000");
    EXPECT_EQ(text("1234", FrequencyStep::Khz5), "156.00000");
    EXPECT_EQ(text("136.0125", FrequencyStep::Khz6_25), "136.01250");
    EXPECT_EQ(text("136.0128", FrequencyStep::Khz6_25), "136.01250");
    EXPECT_EQ(text("136.0160", FrequencyStep::Khz6_25), "136.01875");
    EXPECT_EQ(text("136.0025", FrequencyStep::Khz5), "136.00000");  // exactly half rounds down
    EXPECT_EQ(text("136.0026", FrequencyStep::Khz5), "136.00500");
    EXPECT_EQ(text("136.003125", FrequencyStep::Khz6_25), "136.00000");  // 312 rounds down
    EXPECT_EQ(text("136.00313", FrequencyStep::Khz6_25), "136.00625");
}

// A frequency typed for tuning reads as the same text typed into a frequency
// cell: the command line's `set` and `tune` take and refuse the same texts.
TEST(TuningModel, FrequencyTextsReadAsAFrequencyCellReadsThem) {
    const BandLimits wide{kLowestUnits, kHighestUnits};
    for (const std::string text : {"145.", "145", " 145.125 ", "1.45e2", "145.00625", "+146.5", ".5e3"}) {
        const FrequencyCheck cell = CheckFrequencyText(text, wide);
        EXPECT_TRUE(cell.accepted) << text;
        const auto units = TuningFrequencyFromText(text, std::nullopt, nullptr);
        ASSERT_TRUE(units) << text;
        EXPECT_EQ(UnitsToFrequencyText(*units), cell.text) << text;
    }
    for (const std::string text : {"146,5", "146..5", "146.5MHz", "abc", "", " ", "-145", "1450", "146.0001"}) {
        EXPECT_FALSE(CheckFrequencyText(text, wide).accepted && !text.empty()) << text;
        std::string refusal;
        EXPECT_FALSE(TuningFrequencyFromText(text, std::nullopt, &refusal)) << text;
        EXPECT_FALSE(refusal.empty()) << text;
    }
}

TEST(TuningModel, RequestCarriesTheSetsSignallingAndTheItemsValue) {
    TuningModel m(BandLowUnits("400 - 430MHz"));
    FrequencySet& low = m.Set(TuningModel::kLow);
    low.rx.kind = SignallingKind::Digital;
    low.rx.listIndex = 209;
    low.tx.listIndex = 50;
    m.SetItemValue(TuningItem::TxPower, TuningModel::DefaultValue(TuningItem::TxPower));
    const TuningRequest r = m.Request(TuningModel::kLow, TuningItem::TxPower);
    EXPECT_EQ(r.rxFrequency, "400.00000");
    EXPECT_EQ(r.rxTone, "D754I");
    EXPECT_EQ(r.txTone, "254.1");
    EXPECT_EQ(r.value, 47);
    EXPECT_EQ(SignallingList(SignallingKind::Digital).front(), "D023N");
    EXPECT_EQ(SignallingList(SignallingKind::Analogue).back(), "254.1");
}

TEST(TuningModel, RestoringDefaultsActsOnThePageInFrontOnly) {
    const struct {
        TuningPage shown;
        bool setRestored, itemRestored, warned;
    } kCases[] = {{TuningPage::FrequencySet, true, false, false},
                  {TuningPage::Item, false, true, false},
                  {TuningPage::None, false, false, true}};
    for (const auto& c : kCases) {
        TuningModel m(BandLowUnits("136 - 174MHz"));
        m.Set(TuningModel::kMid).rx.units = 15000000u;
        m.Set(TuningModel::kHigh).rx.units = 15100000u;
        m.SetItemValue(TuningItem::TxPower, 3);
        m.SetItemValue(TuningItem::Squelch, 4);
        const std::optional<TextId> warning = m.RestoreDefaults(c.shown, TuningModel::kMid, TuningItem::TxPower);
        EXPECT_EQ(warning == TextId::TuningNothingShown, c.warned);
        EXPECT_EQ(m.Set(TuningModel::kMid).rx.units == m.DefaultUnits(TuningModel::kMid), c.setRestored);
        EXPECT_EQ(m.ItemValue(TuningItem::TxPower) == TuningModel::DefaultValue(TuningItem::TxPower), c.itemRestored);
        // Only the set and the item shown.
        EXPECT_EQ(m.Set(TuningModel::kHigh).rx.units, 15100000u);
        EXPECT_EQ(m.ItemValue(TuningItem::Squelch), 4);
    }
}

TEST(TuningEngine, FullExchangeSendsTheFramesInOrder) {
    RadioSim radio(NewDocumentImage(), 0xFF, {});
    ScriptedLink link(radio);
    ScriptedUser user;
    TuningEngine engine(link, link, user);
    EXPECT_EQ(engine.Run("COM1", SquelchExample()), TuningOutcome::Received);
    EXPECT_EQ(user.asked, std::vector<std::string>{"对讲机已收到!"});
    EXPECT_EQ(link.closes, 1);
    auto tuning = radio.TakeTuning();
    ASSERT_TRUE(tuning);
    EXPECT_EQ(tuning->item, 's');
    const std::vector<std::string> tail = {"P",
                                           "S 1",
                                           "W 78",
                                           "S 1",
                                           "P",
                                           "W 73",
                                           "S 1",
                                           "P",
                                           "W 73 08",
                                           "R 1:1",
                                           "S 1",
                                           "P",
                                           "W 00 00 60 14 00 00 60 14",
                                           "R 1:1",
                                           "S 1",
                                           "P",
                                           "W 00 00 00 00 FB 01 01 A0",
                                           "R 1:1"};
    ASSERT_GE(link.log.size(), tail.size());
    EXPECT_EQ(std::vector<std::string>(link.log.end() - static_cast<std::ptrdiff_t>(tail.size()), link.log.end()),
              tail);
    // The handshake: each byte after a purge, then a pause. Nothing is
    // purged between a question and the read of its answer.
    const std::vector<std::string> head = {"P", "S 700", "P", "W 02", "S 1", "P", "W 50"};
    EXPECT_EQ(std::vector<std::string>(link.log.begin(), link.log.begin() + 7), head);
}

TEST(TuningEngine, RadioThatDoesNotHearTheItemGetsNoFrequencyFrame) {
    SimFaults f;
    f.tuningNakStep = 11;
    RadioSim radio(NewDocumentImage(), 0xFF, f);
    ScriptedLink link(radio);
    ScriptedUser user;
    user.answers = {Answer::Retry, Answer::Cancel};
    TuningEngine engine(link, link, user);
    EXPECT_EQ(engine.Run("COM1", SquelchExample()), TuningOutcome::Cancelled);
    EXPECT_EQ(user.asked, (std::vector<std::string>{" 错误需延时再试\n对讲机拒绝了第 11 步",
                                                    " 错误需延时再试\n对讲机拒绝了第 11 步"}));
    EXPECT_EQ(engine.Attempts(), 2);
    EXPECT_EQ(link.HelloCount(), 2);  // Retry repeats the whole handshake
    for (const std::string& line : link.log) EXPECT_NE(line, "W 00 00 60 14 00 00 60 14");
    EXPECT_EQ(link.closes, 1);
}

TEST(TuningEngine, SilentRadioAndMissingPort) {
    SimFaults f;
    f.silent = true;
    RadioSim radio(NewDocumentImage(), 0xFF, f);
    ScriptedLink link(radio);
    ScriptedUser user;
    TuningEngine engine(link, link, user);
    EXPECT_EQ(engine.Run("COM1", SquelchExample()), TuningOutcome::Cancelled);
    EXPECT_EQ(user.asked, std::vector<std::string>{" 错误需延时再试\n对讲机没有应答"});
    link.openError = OpenError::NotFound;
    user.asked.clear();
    EXPECT_EQ(engine.Run("COM1", SquelchExample()), TuningOutcome::PortUnavailable);
    EXPECT_EQ(user.asked, std::vector<std::string>{"无法打开串口，请检查该设备是否正常，或是否被占用\n"
                                                   "找不到串口 /dev/ttyUSB0：请检查连接线是否已插好。"});
}

// A radio whose answer is already in when the program starts listening: the
// answer counts, and the frames on the wire are the same as with a slow radio.
TEST(TuningEngine, AnAnswerThatArrivesAtOnceIsKept) {
    std::vector<std::string> wire[2];
    for (bool instant : {false, true}) {
        RadioSim radio(NewDocumentImage(), 0xFF, {});
        ScriptedLink link(radio);
        link.instant = instant;
        ScriptedUser user;
        TuningEngine engine(link, link, user);
        EXPECT_EQ(engine.Run("COM1", SquelchExample()), TuningOutcome::Received) << instant;
        EXPECT_EQ(engine.Attempts(), 1);
        for (const std::string& line : link.log)
            if (line[0] == 'W') wire[instant].push_back(line);
    }
    EXPECT_EQ(wire[0], wire[1]);
}

TEST(TuningEngine, TheRetryQuestionSaysWhichStepFailed) {
    for (int step : {13, 15}) {
        SimFaults f;
        f.tuningNakStep = step;
        RadioSim radio(NewDocumentImage(), 0xFF, f);
        ScriptedLink link(radio);
        ScriptedUser user;
        TuningEngine(link, link, user).Run("COM1", SquelchExample());
        EXPECT_EQ(user.asked,
                  std::vector<std::string>{" 错误需延时再试\n对讲机拒绝了第 " + std::to_string(step) + " 步"});
    }
    SimFaults f;
    f.identBytes = 5;
    RadioSim radio(NewDocumentImage(), 0xFF, f);
    ScriptedLink link(radio);
    ScriptedUser user;
    TuningEngine(link, link, user).Run("COM1", SquelchExample());
    EXPECT_EQ(user.asked, std::vector<std::string>{" 错误需延时再试\n对讲机没有应答"});
}
