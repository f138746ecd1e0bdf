#include <gtest/gtest.h>

#include <random>

#include "tones/ToneTable.h"
#include "image/ChannelCodec.h"
#include "image/ChannelTable.h"

namespace {

ChannelRecord Bytes(std::initializer_list<int> b) {
    ChannelRecord r{};
    int i = 0;
    for (int x : b) r[static_cast<std::size_t>(i++)] = static_cast<std::uint8_t>(x);
    return r;
}

ChannelRecord AllFF() {
    ChannelRecord r;
    r.fill(0xFF);
    return r;
}

}  // namespace

TEST(FrequencyText, ConvertsExactlyInDecimal) {
    EXPECT_EQ(FrequencyTextToUnits("256.02500"), 25602500u);
    EXPECT_EQ(FrequencyTextToUnits("145.125"), 14512500u);
    EXPECT_EQ(FrequencyTextToUnits("145.0062599"), 14500625u);
    EXPECT_EQ(FrequencyTextToUnits("  67"), 6700000u);
    EXPECT_EQ(FrequencyTextToUnits("1.45125e2"), 14512500u);
    EXPECT_EQ(FrequencyTextToUnits("145.125MHz"), 14512500u);
    EXPECT_EQ(FrequencyTextToUnits(".5"), 50000u);
    EXPECT_EQ(FrequencyTextToUnits("+146"), 14600000u);
    // Every five-decimal text from 67 to 521 MHz in steps of 10 Hz would be
    // slow; a float product goes wrong on these:
    EXPECT_EQ(FrequencyTextToUnits("435.12500"), 43512500u);
    EXPECT_EQ(FrequencyTextToUnits("512.01875"), 51201875u);
    EXPECT_EQ(FrequencyTextToUnits("0.00001"), 1u);
}

TEST(FrequencyText, NonNumbersReadAsZeroAndOutOfRangeAsLargest) {
    EXPECT_EQ(FrequencyTextToUnits(""), 0u);
    EXPECT_EQ(FrequencyTextToUnits("abc"), 0u);
    EXPECT_EQ(FrequencyTextToUnits("."), 0u);
    EXPECT_EQ(FrequencyTextToUnits("-0"), 0u);
    EXPECT_EQ(FrequencyTextToUnits("-145"), 4294967295u);
    EXPECT_EQ(FrequencyTextToUnits("42949.67295"), 4294967295u);
    EXPECT_EQ(FrequencyTextToUnits("42949.67296"), 4294967295u);
    EXPECT_EQ(FrequencyTextToUnits("1e400"), 4294967295u);
    EXPECT_EQ(FrequencyTextToUnits("1e-400"), 0u);
    EXPECT_EQ(FrequencyTextToUnits("42949.67294"), 4294967294u);
}

TEST(FrequencyText, EveryFiveDecimalTextIsExact) {
    for (std::uint32_t u = 6700000; u <= 52100000; u += 7919)
        EXPECT_EQ(FrequencyTextToUnits(UnitsToFrequencyText(u)), u);
}

TEST(ChannelCodec, WorkedExampleEncodesAndDecodes) {
    ChannelRecord r = AllFF();
    ChannelTexts t = {"145.12500", "145.12500", "67.0", "D023N", "宽", "是", "高", "DTMF", "开", "载波"};
    EncodeChannelRecord(t, r);
    EXPECT_EQ(r,
              Bytes({0x00, 0x25, 0x51, 0x14, 0x00, 0x25, 0x51, 0x14, 0x70, 0x06, 0x23, 0x80, 0x02, 0xFB, 0xFF, 0xFF}));
    EXPECT_EQ(DecodeChannelRecord(r), t);
}

TEST(ChannelCodec, EmptyRecordAndEmptyRow) {
    ChannelRecord r = AllFF();
    for (const std::string& s : DecodeChannelRecord(r)) EXPECT_EQ(s, "");
    EncodeChannelRecord(ChannelTexts{}, r);
    EXPECT_EQ(r,
              Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0xC5, 0xFE, 0xFF}));
}

TEST(ChannelCodec, TransmitOnlyChannelShowsOffAndFlags) {
    ChannelRecord r = AllFF();
    r[4] = 0x00;
    r[5] = 0x25;
    r[6] = 0x51;
    r[7] = 0x14;
    ChannelTexts t = DecodeChannelRecord(r);
    EXPECT_EQ(t[0], "");
    EXPECT_EQ(t[1], "145.12500");
    EXPECT_EQ(t[2], "OFF");
    EXPECT_EQ(t[4], "宽");
    EXPECT_EQ(t[7], "");      // byte 12 = 0xFF has no text
    EXPECT_EQ(t[9], "关闭");  // mode 7
    r[3] = 0x00;
    EXPECT_EQ(DecodeChannelRecord(r)[0], "");  // below 10 MHz counts as none
}

TEST(ChannelCodec, BcdFrequenciesRoundTrip) {
    ChannelRecord r = AllFF();
    ChannelTexts t{};
    t[0] = "256.02500";
    t[1] = "512.01875";
    EncodeChannelRecord(t, r);
    EXPECT_EQ(r[0], 0x00);
    EXPECT_EQ(r[1], 0x25);
    EXPECT_EQ(r[2], 0x60);
    EXPECT_EQ(r[3], 0x25);
    EXPECT_EQ(r[4], 0x75);
    EXPECT_EQ(r[5], 0x18);
    EXPECT_EQ(r[6], 0x20);
    EXPECT_EQ(r[7], 0x51);
    ChannelTexts back = DecodeChannelRecord(r);
    EXPECT_EQ(back[0], "256.02500");
    EXPECT_EQ(back[1], "512.01875");
}

TEST(ChannelCodec, ToneWords) {
    EXPECT_EQ(DecodeToneWord(0x80, 0x05, true), "D05N");
    EXPECT_EQ(DecodeToneWord(0x81, 0x05, true), "D105N");
    EXPECT_EQ(DecodeToneWord(0xC7, 0x54, true), "D754I");
    EXPECT_EQ(DecodeToneWord(0x06, 0x70, true), "67.0");
    EXPECT_EQ(DecodeToneWord(0x10, 0x00, true), "100.0");
    EXPECT_EQ(DecodeToneWord(0x00, 0x12, true), "OFF");
    EXPECT_EQ(DecodeToneWord(0xFF, 0x12, false), "");
    for (const char* text : {"OFF", "", "abc", "d023n"}) {
        std::uint8_t h = 0, l = 0;
        EncodeToneWord(text, h, l);
        EXPECT_EQ(h, 0xFF) << text;
        EXPECT_EQ(l, 0xFF) << text;
    }
    std::uint8_t h = 0, l = 0;
    EncodeToneWord("71.9", h, l);
    EXPECT_EQ(h, 0x07);
    EXPECT_EQ(l, 0x19);
    EncodeToneWord("D754I", h, l);
    EXPECT_EQ(h, 0xC7);
    EXPECT_EQ(l, 0x54);
}

TEST(ChannelCodec, FlagValuesWithoutTextNormalise) {
    ChannelRecord r =
        Bytes({0x00, 0x25, 0x51, 0x14, 0x00, 0x25, 0x51, 0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x06, 0x00, 0x00});
    ChannelTexts t = DecodeChannelRecord(r);
    EXPECT_EQ(t[7], "");
    EXPECT_EQ(t[9], "关闭");
    EncodeChannelRecord(t, r);
    EXPECT_EQ(r[12], 0);
    EXPECT_EQ(r[13] & 7, 0);  // mode 6 re-encodes as mode 0
    r[12] = 3;
    EXPECT_EQ(DecodeChannelRecord(r)[7], "");
    r[12] = 4;
    EXPECT_EQ(DecodeChannelRecord(r)[7], "队列同步");
}

// Decode-then-encode over random records: the codec never changes a bit it
// does not own, and once the frequencies are proper BCD a second round
// changes nothing at all.
TEST(ChannelCodec, RandomRoundTripKeepsUnownedBits) {
    std::mt19937 rng(20261208);
    for (int n = 0; n < 20000; ++n) {
        ChannelRecord r;
        for (auto& b : r) b = static_cast<std::uint8_t>(rng());
        const bool proper = n % 2;  // frequencies in BCD, tones from the tone table
        if (proper) {
            for (int i = 0; i < 8; ++i)
                r[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(rng() % 10 * 16 + rng() % 10);
            const ToneTable& tones = ToneTable::Instance();
            EncodeToneWord(tones.Text(static_cast<int>(rng() % 261)), r[9], r[8]);
            EncodeToneWord(tones.Text(static_cast<int>(rng() % 261)), r[11], r[10]);
        }
        const ChannelRecord before = r;
        ChannelRecord once = r;
        EncodeChannelRecord(DecodeChannelRecord(r), once);
        EXPECT_EQ(once[13] & 0xC1, before[13] & 0xC1);
        EXPECT_EQ(once[14] & 0xFE, before[14] & 0xFE);
        EXPECT_EQ(once[15], before[15]);
        if (!proper) continue;
        ChannelRecord twice = once;
        EncodeChannelRecord(DecodeChannelRecord(once), twice);
        ASSERT_EQ(twice, once);
        ASSERT_EQ(DecodeChannelRecord(twice), DecodeChannelRecord(once));
    }
}

TEST(FormSelections, DecodeFallsBackToTheFirstEntry) {
    RadioImage image = NewDocumentImage();
    FormSelections s = DecodeFormSelections(image);
    EXPECT_EQ(s.band, 2);
    EXPECT_EQ(s.model, 0);
    EXPECT_EQ(s.manual, 0);
    EXPECT_EQ(s.powerLevel, 9);
    image[addr::kBand] = 0xED;
    image[addr::kModel] = 0x3B;
    image[addr::kPowerLevel] = 10;
    image[addr::kFunctions] = 0x7F;
    s = DecodeFormSelections(image);
    EXPECT_EQ(s.band, 0);
    EXPECT_EQ(s.model, 0);
    EXPECT_EQ(s.manual, 1);
    EXPECT_EQ(s.powerLevel, 0);
    image[addr::kBand] = 0xF8;
    image[addr::kModel] = 0x37;
    s = DecodeFormSelections(image);
    EXPECT_EQ(s.band, 0);
    EXPECT_EQ(s.model, 0);
    image[addr::kBand] = 0xF7;
    image[addr::kModel] = 0x3A;
    s = DecodeFormSelections(image);
    EXPECT_EQ(s.band, 9);
    EXPECT_EQ(s.model, 2);
}

TEST(GridSync, SavedNewDocumentHasTheExpectedRows) {
    RadioImage image = NewDocumentImage();
    PlainChannelTable table;
    UpdateGridFromImage(image, table);
    UpdateImageFromGrid(table, image);
    const ChannelRecord empty =
        Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0xC5, 0xFE, 0xFF});
    for (int n = 1; n <= 128; ++n) ASSERT_EQ(RecordAt(image, n), empty) << n;
    const std::uint8_t row128[] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                   0xFF, 0xFF, 0xF0, 0x38, 0xFF, 0xFF, 0xFF, 0xFF};
    const std::uint8_t row129[] = {0x00, 0xA8, 0xD7, 0x04, 0x02, 0x09, 0x00, 0x04,
                                   0x00, 0x09, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0xFF};
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(image[0x800 + i], row128[i]) << i;
        EXPECT_EQ(image[0x810 + i], row129[i]) << i;
        EXPECT_EQ(image[0x820 + i], 0xFF);
        EXPECT_EQ(image[0x830 + i], 0xFF);
    }
}

TEST(GridSync, LoadAndSaveKeepsEveryByteThePullDoesNotRewrite) {
    std::mt19937 rng(7);
    RadioImage image;
    for (auto& b : image) b = static_cast<std::uint8_t>(rng());
    image[addr::kBand] = 0xF3;
    image[addr::kModel] = 0x39;
    image[addr::kPowerLevel] = 5;
    const RadioImage before = image;
    PlainChannelTable table;
    UpdateGridFromImage(image, table);
    UpdateImageFromGrid(table, image);
    for (std::size_t i = 0x800; i < kImageSize; ++i) {
        if (i == addr::kFixedA8)
            EXPECT_EQ(image[i], 0xA8);
        else
            EXPECT_EQ(image[i], before[i]) << std::hex << i;
    }
}

// The list texts in either language mean the same bits; each language's
// texts decode back to themselves and to the other's.
TEST(ChannelCodec, ListTextsInBothLanguages) {
    std::mt19937 rng(7);
    for (int i = 0; i < 200; ++i) {
        ChannelRecord r;
        for (auto& b : r) b = static_cast<std::uint8_t>(rng());
        r[3] = 0x14;
        const ChannelTexts zh = DecodeChannelRecord(r, Lang::Zh), en = DecodeChannelRecord(r, Lang::En);
        EXPECT_EQ(TextsIn(zh, Lang::En), en);
        EXPECT_EQ(TextsIn(en, Lang::Zh), zh);
        ChannelRecord fromZh = r, fromEn = r;
        EncodeChannelRecord(zh, fromZh);
        EncodeChannelRecord(en, fromEn);
        EXPECT_EQ(fromZh, fromEn);
    }
    EXPECT_EQ(ListEntries(col::kBusy, Lang::En), (std::vector<std::string>{"Off", "Carrier", "QT/DQT"}));
    EXPECT_EQ(ListIndex(col::kPttId, "关"), 0);
    EXPECT_EQ(ListIndex(col::kPttId, "On"), 1);
    EXPECT_EQ(ListIndex(col::kPttId, "on"), -1);       // the list's spelling only
    EXPECT_EQ(ListIndex(col::kWidth, "Carrier"), -1);  // another column's value
    EXPECT_EQ(CellTextIn(col::kRxTone, "OFF", Lang::Zh), "OFF");
    EXPECT_EQ(ColumnOfCaption("Busy lockout"), col::kBusy);
    EXPECT_EQ(ColumnOfCaption("繁忙锁定"), col::kBusy);
    EXPECT_EQ(ColumnOfCaption("busy"), -1);
}
