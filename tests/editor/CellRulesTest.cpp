#include <gtest/gtest.h>

#include "editor/CellRules.h"

namespace {

const BandLimits kBand1{13600000, 17400000};

std::vector<std::string> RowOf(const PlainChannelTable& t, int row) {
    std::vector<std::string> texts;
    for (int c = 1; c <= 10; ++c) texts.push_back(t.CellText(row, c));
    return texts;
}

}  // namespace

TEST(FrequencyCheck, BoundsStepsAndBand) {
    FrequencyCheck c = CheckFrequencyText("145.125", kBand1);
    EXPECT_TRUE(c.accepted);
    EXPECT_EQ(c.text, "145.12500");
    EXPECT_TRUE(c.messages.empty());

    for (const char* refused : {"66.99999", "521.00001", "abc", "-145", "0", "99999999"}) {
        c = CheckFrequencyText(refused, kBand1);
        EXPECT_FALSE(c.accepted) << refused;
        EXPECT_EQ(c.messages, std::vector<FrequencyMessage>{FrequencyMessage::FormatAndSize}) << refused;
    }
    c = CheckFrequencyText("145.1234", kBand1);
    EXPECT_FALSE(c.accepted);
    EXPECT_EQ(c.messages, std::vector<FrequencyMessage>{FrequencyMessage::Step});
    EXPECT_TRUE(CheckFrequencyText("145.0125", kBand1).accepted);
    EXPECT_TRUE(CheckFrequencyText("145.0050", kBand1).accepted);
    c = CheckFrequencyText("521", BandLimits{46000000, 52000000});
    EXPECT_TRUE(c.accepted);
    EXPECT_EQ(c.messages, std::vector<FrequencyMessage>{FrequencyMessage::OutOfBand});
    c = CheckFrequencyText("67", BandLimits{6700000, 7200000});
    EXPECT_TRUE(c.accepted);
    EXPECT_TRUE(c.messages.empty());  // both band ends are inclusive
    // Out of the band and off the step: both messages, refused.
    c = CheckFrequencyText("145.1234", BandLimits{6700000, 7200000});
    EXPECT_EQ(c.messages, (std::vector<FrequencyMessage>{FrequencyMessage::OutOfBand, FrequencyMessage::Step}));
    EXPECT_TRUE(CheckFrequencyText("", kBand1).accepted);
}

TEST(FrequencyCheck, TheTextWrittenIsTheValueChecked) {
    // Digits past 10 Hz are dropped, so the stored text stays on its step.
    FrequencyCheck c = CheckFrequencyText("145.0062599", kBand1);
    EXPECT_TRUE(c.accepted);
    EXPECT_EQ(c.text, "145.00625");
}

TEST(FrequencyEdit, NewChannelDefaultsAndTransmitCopy) {
    PlainChannelTable t;
    ApplyFrequencyEdit(t, 1, 1, "145.12500", true);
    EXPECT_EQ(RowOf(t, 1), (std::vector<std::string>{"145.12500", "145.12500", "OFF", "OFF", "宽", "是", "高", "DTMF",
                                                     "开", "关闭"}));
    ApplyFrequencyEdit(t, 2, 2, "146.00000", true);
    EXPECT_EQ(RowOf(t, 2),
              (std::vector<std::string>{"", "146.00000", "OFF", "OFF", "宽", "是", "高", "DTMF", "开", "关闭"}));
    // A row that already holds a channel keeps its other fields.
    t.SetCellText(1, 5, "窄");
    ApplyFrequencyEdit(t, 1, 1, "147.00000", true);
    EXPECT_EQ(t.CellText(1, 2), "145.12500");
    EXPECT_EQ(t.CellText(1, 5), "窄");
}

TEST(FrequencyEdit, EmptyingTonesAndFlags) {
    PlainChannelTable t;
    ApplyFrequencyEdit(t, 1, 1, "145.12500", true);
    ApplyFrequencyEdit(t, 1, 1, "", false);
    EXPECT_EQ(RowOf(t, 1),
              (std::vector<std::string>{"", "145.12500", "", "OFF", "宽", "是", "高", "DTMF", "开", "关闭"}));
    ApplyFrequencyEdit(t, 1, 2, "", false);
    EXPECT_EQ(RowOf(t, 1), std::vector<std::string>(10, ""));

    // The Enter rule looks at the frequencies only.
    ApplyFrequencyEdit(t, 2, 2, "146.00000", true);
    t.SetCellText(2, 3, "67.0");
    ApplyFrequencyEdit(t, 2, 2, "", true);
    EXPECT_EQ(RowOf(t, 2), (std::vector<std::string>{"", "", "67.0", "", "", "", "", "", "", ""}));
    // Leaving the cell keeps the flags while a tone is left.
    ApplyFrequencyEdit(t, 3, 2, "146.00000", true);
    t.SetCellText(3, 3, "67.0");
    ApplyFrequencyEdit(t, 3, 2, "", false);
    EXPECT_EQ(t.CellText(3, 5), "宽");
}

TEST(ToneAndListCommit, TextsWritten) {
    PlainChannelTable t;
    EXPECT_EQ(ToneCommitText(t, 1, "67.0"), "");
    EXPECT_EQ(ListCommitText(t, 1, "宽"), "");
    t.SetCellText(1, 2, "146.00000");
    EXPECT_EQ(ToneCommitText(t, 1, "d023n"), "D023N");
    EXPECT_EQ(ToneCommitText(t, 1, ""), "OFF");
    EXPECT_EQ(ToneCommitText(t, 1, "off"), "OFF");
    EXPECT_EQ(ToneCommitText(t, 1, "88.5"), "88.5");
    EXPECT_EQ(ListCommitText(t, 1, "宽"), "宽");
}

TEST(ListLoading, FirstEntryBeginningWithTheCellText) {
    EXPECT_EQ(EntryStartingWith(ListEntries(8), "队列同步"), 2);
    EXPECT_EQ(EntryStartingWith(ListEntries(8), "dt"), 1);
    EXPECT_EQ(EntryStartingWith(ListEntries(8), ""), 0);
    EXPECT_EQ(EntryStartingWith(ListEntries(10), "QT/DQT"), 2);
    EXPECT_EQ(EntryStartingWith(ListEntries(10), "nothing"), 0);
    EXPECT_EQ(ListEntries(7), (std::vector<std::string>{"低", "高"}));
}

TEST(CellTexts, WhatTheGridShowsIsAccepted) {
    // Tone codes outside the table, in the form a record decodes to.
    for (const char* code : {"D05N", "D105N", "D999I", "459.8", "d023n", "D023N", "67.0"})
        EXPECT_FALSE(CellTextRefusal(3, code)) << code;
    // Texts that would store some other code.
    for (const char* code : {"d05n", "D023X", "D0023N", "459.80", "xyz", "OFF5"})
        EXPECT_TRUE(CellTextRefusal(4, code)) << code;
    // A channel in use shows no text for an optional signalling of 1 or 3.
    EXPECT_FALSE(CellTextRefusal(8, ""));
    EXPECT_TRUE(CellTextRefusal(5, ""));
}
