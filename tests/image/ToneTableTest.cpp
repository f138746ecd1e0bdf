#include <gtest/gtest.h>

#include <set>

#include "tones/ToneTable.h"
#include "image/ChannelCodec.h"

TEST(ToneTable, HoldsTheSignallingNamesInTableOrder) {
    const ToneTable& t = ToneTable::Instance();
    ASSERT_EQ(t.Count(), 261);
    EXPECT_EQ(t.Text(0), "OFF");
    EXPECT_EQ(t.Text(1), "67.0");
    EXPECT_EQ(t.Text(13), "100.0");
    EXPECT_EQ(t.Text(50), "254.1");
    EXPECT_EQ(t.Text(51), "D023N");
    EXPECT_EQ(t.Text(155), "D754N");
    EXPECT_EQ(t.Text(156), "D023I");
    EXPECT_EQ(t.Text(260), "D754I");
    std::set<std::string> unique(t.Texts().begin(), t.Texts().end());
    EXPECT_EQ(unique.size(), 261u);
}

TEST(ToneTable, DcsHalvesDifferOnlyInPolarity) {
    const ToneTable& t = ToneTable::Instance();
    for (int k = 0; k < 105; ++k) {
        const std::string& n = t.Text(51 + k);
        const std::string& i = t.Text(156 + k);
        ASSERT_EQ(n.size(), 5u);
        EXPECT_EQ(n.substr(0, 4), i.substr(0, 4));
        EXPECT_EQ(n.back(), 'N');
        EXPECT_EQ(i.back(), 'I');
        for (char c : n.substr(1, 3)) EXPECT_TRUE(c >= '0' && c <= '7') << n;
    }
    for (int k = 1; k <= 50; ++k) {
        const std::string& c = t.Text(k);
        EXPECT_EQ(c[c.size() - 2], '.') << c;
    }
}

TEST(ToneTable, EveryToneSurvivesEncodeAndDecode) {
    const ToneTable& t = ToneTable::Instance();
    for (int k = 1; k < t.Count(); ++k) {
        std::uint8_t h = 0, l = 0;
        EncodeToneWord(t.Text(k), h, l);
        EXPECT_EQ(DecodeToneWord(h, l, true), t.Text(k));
    }
}
