#include <gtest/gtest.h>

#include <random>

#include "settings/OptionsCodec.h"

namespace {

void SetText(RadioImage& image, std::size_t at, std::initializer_list<int> bytes) {
    for (std::size_t i = 0; i < 16; ++i) image[at + i] = 0xFF;
    std::size_t i = 0;
    for (int b : bytes) image[at + i++] = static_cast<std::uint8_t>(b);
}

std::vector<int> Bytes(const RadioImage& image, std::size_t at) {
    return std::vector<int>(image.begin() + static_cast<std::ptrdiff_t>(at),
                            image.begin() + static_cast<std::ptrdiff_t>(at + 16));
}

std::vector<int> Padded(std::initializer_list<int> head) {
    std::vector<int> v(head);
    v.resize(16, 0xFF);
    return v;
}

}  // namespace

TEST(Options, NewDocumentViewAndOkChangesNothing) {
    RadioImage image = NewDocumentImage();
    OptionsValues v = DecodeOptions(image);
    EXPECT_EQ(TimerText(v.timerPosition), "60");
    EXPECT_EQ(SquelchTexts()[static_cast<std::size_t>(v.squelch)], "4");
    EXPECT_TRUE(v.alarmTone);
    EXPECT_TRUE(v.scrambler);
    EXPECT_TRUE(v.batterySave);
    EXPECT_EQ(LanguageTexts()[static_cast<std::size_t>(v.language)], "中文");
    EXPECT_EQ(VoxGainTexts()[static_cast<std::size_t>(v.voxGain)], "9");
    EXPECT_EQ(VoxDelayTexts()[static_cast<std::size_t>(v.voxDelay)], "0.3");
    EXPECT_FALSE(v.bot);
    EXPECT_FALSE(v.eot);
    EXPECT_EQ(v.ani, "");
    EXPECT_EQ(v.radioName, "");
    const RadioImage before = image;
    EncodeOptions(v, image);
    EXPECT_EQ(image, before);
}

TEST(Options, OutOfRangeBytesShowTheFirstEntryAndOneOkNormalises) {
    RadioImage image = NewDocumentImage();
    image[addr::kTimer] = 10;
    image[addr::kSquelch] = 10;
    image[addr::kVoxDelay] = 6;
    image[addr::kVoxGain] = 11;
    OptionsValues v = DecodeOptions(image);
    EXPECT_EQ(TimerText(v.timerPosition), "OFF");
    EXPECT_EQ(v.squelch, 0);
    EXPECT_EQ(v.voxDelay, 0);
    EXPECT_EQ(VoxGainTexts()[static_cast<std::size_t>(v.voxGain)], "OFF");
    EncodeOptions(v, image);
    EXPECT_EQ(image[addr::kTimer], 0);
    EXPECT_EQ(image[addr::kSquelch], 0);
    EXPECT_EQ(image[addr::kVoxDelay], 0);
    EXPECT_EQ(image[addr::kVoxGain], 0);
    image[addr::kTimer] = 9;
    EXPECT_EQ(TimerText(DecodeOptions(image).timerPosition), "270");
    EXPECT_EQ(TimerText(8), "240");
}

TEST(Options, LanguageBits) {
    RadioImage image = NewDocumentImage();
    image[addr::kFunctions] = 0x81;  // bits 1-0 = 01
    OptionsValues v = DecodeOptions(image);
    EXPECT_EQ(LanguageTexts()[static_cast<std::size_t>(v.language)], "关闭");
    image[addr::kFunctions] = 0x83;
    v = DecodeOptions(image);
    v.language = 2;  // "关闭" leaves bit 0 alone
    EncodeOptions(v, image);
    EXPECT_EQ(image[addr::kFunctions] & 3, 1);
    image[addr::kFunctions] = 0x82;
    v = DecodeOptions(image);
    EXPECT_EQ(v.language, 1);
    v.language = 2;
    EncodeOptions(v, image);
    EXPECT_EQ(image[addr::kFunctions] & 3, 0);
}

TEST(Options, OnlyOwnedBitsChange) {
    std::mt19937 rng(5);
    for (int n = 0; n < 2000; ++n) {
        RadioImage image;
        for (auto& b : image) b = static_cast<std::uint8_t>(rng());
        const RadioImage before = image;
        OptionsValues v = DecodeOptions(image);
        v.scrambler = !v.scrambler;
        EncodeOptions(v, image);
        EXPECT_EQ(image[addr::kFunctions] & 0xA8, before[addr::kFunctions] & 0xA8);  // bits 7, 5, 3 kept
        EXPECT_EQ((image[addr::kFunctions] ^ before[addr::kFunctions]) & 0x10, 0x10);
        EXPECT_EQ(image[addr::kVoxPtt] & 0x0F, before[addr::kVoxPtt] & 0x0F);
        EXPECT_EQ(image[addr::kVoxPtt] & 0xC0, 0);
        EXPECT_EQ(image[addr::kFixed04], 4);
        EXPECT_EQ(image[addr::kFixed00], 0);
        for (std::size_t i = 0; i < 0x810; ++i) ASSERT_EQ(image[i], before[i]);
        for (std::size_t i = 0x819; i < 0x820; ++i) ASSERT_EQ(image[i], before[i]);
    }
}

TEST(Options, AniDecodingAndEncoding) {
    RadioImage image = NewDocumentImage();
    SetText(image, addr::kAni, {0x31, 0x32, 0x33, 0x34, 0x35});
    OptionsValues v = DecodeOptions(image);
    EXPECT_EQ(v.ani, "1234");  // the fifth digit is dropped
    EncodeOptions(v, image);
    EXPECT_EQ(Bytes(image, addr::kAni), Padded({0x31, 0x32, 0x33, 0x34}));

    SetText(image, addr::kAni, {0xFF, 0x37});
    v = DecodeOptions(image);
    EXPECT_EQ(v.ani, "7");
    EncodeOptions(v, image);
    EXPECT_EQ(Bytes(image, addr::kAni), Padded({0x37}));  // moved to the front

    SetText(image, addr::kAni, {0x31, 0x32, 0x41, 0x42});
    v = DecodeOptions(image);
    EXPECT_EQ(v.ani, "12AB");
    EncodeOptions(v, image);
    EXPECT_EQ(Bytes(image, addr::kAni), Padded({0x31, 0x32, 0x41, 0x42}));

    v.ani = "";
    EncodeOptions(v, image);
    EXPECT_EQ(Bytes(image, addr::kAni), Padded({}));
}

TEST(Options, LongAniFromTheRadioIsKeptInFull) {
    RadioImage image = NewDocumentImage();
    SetText(image, addr::kAni, {0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x41});
    OptionsValues v = DecodeOptions(image);
    EXPECT_EQ(v.ani, "ABCDEFA");
    EncodeOptions(v, image);
    EXPECT_EQ(Bytes(image, addr::kAni), Padded({0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x41}));
}

TEST(Options, RadioNameDecodingAndEncoding) {
    RadioImage image = NewDocumentImage();
    SetText(image, addr::kRadioName, {0x61, 0x62, 0xFF, 0xFF, 0xFF, 0xFF, 0x7A});
    OptionsValues v = DecodeOptions(image);
    EXPECT_EQ(v.radioName, "AB");  // 0x7A at position 6 is dropped
    EncodeOptions(v, image);
    EXPECT_EQ(Bytes(image, addr::kRadioName), Padded({0x41, 0x42}));

    v.radioName = "abc9";
    EncodeOptions(v, image);
    EXPECT_EQ(Bytes(image, addr::kRadioName), Padded({0x41, 0x42, 0x43, 0x39}));
    v.radioName = "A-?";  // pasted characters other than letters and digits store as 0x30
    EncodeOptions(v, image);
    EXPECT_EQ(Bytes(image, addr::kRadioName), Padded({0x41, 0x30, 0x30}));
    v.ani = "G1";  // G is no ANI letter
    EncodeOptions(v, image);
    EXPECT_EQ(Bytes(image, addr::kAni), Padded({0x30, 0x31}));
}

TEST(Options, AnEditKeepsOnlyWhatTheFieldTakesAndTheTextAroundIt) {
    struct Case {
        OptionsText field;
        std::size_t loaded;  // the length of the text the dialog opened with
        const char* before;
        const char* after;
        const char* kept;
        std::size_t caret;
    };
    const Case cases[] = {
        {OptionsText::Ani, 0, "", "OST1", "1", 1},                  // a pasted name in the ANI
        {OptionsText::Ani, 5, "12AB", "12AB9", "12AB9", 5},         // the radio's letters stay
        {OptionsText::Ani, 5, "12AB", "1x-72AB", "172AB", 2},       // pasted in the middle
        {OptionsText::Ani, 0, "12", "1", "1", 1},                   // Backspace
        {OptionsText::Ani, 0, "12", "通3", "3", 1},                 // over everything
        {OptionsText::Ani, 0, "", "a1b2c3d4", "1234", 4},           // what is left out takes no room
        {OptionsText::Ani, 0, "", "123456", "1234", 4},             // four digits at most
        {OptionsText::Ani, 4, "12AB", "12AB9", "12AB", 4},          // full
        {OptionsText::Ani, 7, "ABCDEF", "ABCDEF12", "ABCDEF1", 7},  // a longer text loaded keeps its length
        {OptionsText::RadioName, 0, "", "ab-c ", "ABC", 3},
        {OptionsText::RadioName, 0, "", "My Radio 7", "MYRADI", 6},
        {OptionsText::RadioName, 0, "AB", "AXB", "AXB", 2},
        {OptionsText::RadioName, 0, "AB", "A B", "AB", 1},   // a blank typed goes nowhere
        {OptionsText::RadioName, 0, "AA", "AAA", "AAA", 3},  // a repeat of the letter before
        {OptionsText::RadioName, 0, "ABCDE", "AxyzBCDE", "AXBCDE", 2},
    };
    for (const Case& c : cases) {
        const OptionsTextEdit kept = KeepTaken(c.field, c.loaded, c.before, c.after);
        EXPECT_EQ(kept.text, c.kept) << c.after;
        EXPECT_EQ(kept.caret, c.caret) << c.after;
    }
    EXPECT_TRUE(OptionsTextTakes(OptionsText::Ani, U'7'));
    EXPECT_FALSE(OptionsTextTakes(OptionsText::Ani, U'A'));
    EXPECT_TRUE(OptionsTextTakes(OptionsText::RadioName, U'a'));
    EXPECT_FALSE(OptionsTextTakes(OptionsText::RadioName, U'-'));
}
