#include <gtest/gtest.h>

#include "image/ChannelCodec.h"
#include "image/ChannelRows.h"
#include "image/ChannelTable.h"
#include "support/RandomImage.h"

namespace {

ChannelRecord Empty() {
    ChannelRecord r;
    r.fill(0xFF);
    return r;
}

// A random image whose last `free` channels are empty.
RadioImage WithFreeTail(unsigned seed, int free) {
    RadioImage image = RandomImage(seed);
    ClearChannels(image, {kChannelCount - free + 1, kChannelCount});
    return image;
}

}  // namespace

TEST(ChannelRows, InsertShiftsWholeRecordsDown) {
    const RadioImage before = WithFreeTail(1, 2);
    RadioImage image = before;
    ASSERT_TRUE(InsertEmptyChannels(image, {10, 11}));
    for (int c = 1; c < 10; ++c) EXPECT_EQ(RecordAt(image, c), RecordAt(before, c)) << c;
    EXPECT_EQ(RecordAt(image, 10), Empty());
    EXPECT_EQ(RecordAt(image, 11), Empty());
    for (int c = 12; c <= kChannelCount; ++c) EXPECT_EQ(RecordAt(image, c), RecordAt(before, c - 2)) << c;
    // The settings behind the channel records are not touched.
    EXPECT_TRUE(std::equal(image.begin() + addr::kSettings, image.end(), before.begin() + addr::kSettings));
}

TEST(ChannelRows, InsertIsRefusedWhenALastChannelIsInUse) {
    RadioImage image = WithFreeTail(2, 1);
    image[ChannelOffset(127) + 3] = 0x14;  // channel 127 has a receive frequency
    const RadioImage before = image;
    EXPECT_FALSE(InsertEmptyChannels(image, {5, 6}));
    EXPECT_EQ(image, before);
    EXPECT_TRUE(InsertEmptyChannels(image, {5, 5}));
    EXPECT_EQ(RecordAt(image, 128), RecordAt(before, 127));
}

TEST(ChannelRows, DeleteShiftsUpAndEmptiesTheEnd) {
    const RadioImage before = RandomImage(3);
    RadioImage image = before;
    DeleteChannels(image, {1, 3});
    for (int c = 1; c <= 125; ++c) EXPECT_EQ(RecordAt(image, c), RecordAt(before, c + 3)) << c;
    for (int c = 126; c <= 128; ++c) EXPECT_EQ(RecordAt(image, c), Empty()) << c;
    EXPECT_TRUE(std::equal(image.begin() + addr::kSettings, image.end(), before.begin() + addr::kSettings));
}

TEST(ChannelRows, MoveUpAndDownAreInverseAndStopAtTheEnds) {
    const RadioImage before = RandomImage(4);
    RadioImage image = before;
    ASSERT_TRUE(MoveChannels(image, {5, 7}, -1));
    EXPECT_EQ(RecordAt(image, 4), RecordAt(before, 5));
    EXPECT_EQ(RecordAt(image, 6), RecordAt(before, 7));
    EXPECT_EQ(RecordAt(image, 7), RecordAt(before, 4));
    ASSERT_TRUE(MoveChannels(image, {4, 6}, 1));
    EXPECT_EQ(image, before);

    EXPECT_FALSE(MoveChannels(image, {1, 2}, -1));
    EXPECT_FALSE(MoveChannels(image, {127, 128}, 1));
    EXPECT_FALSE(MoveChannels(image, {3, 2}, 1));
    EXPECT_EQ(image, before);
    ASSERT_TRUE(MoveChannels(image, {126, 127}, 1));
    EXPECT_EQ(RecordAt(image, 126), RecordAt(before, 128));
    EXPECT_EQ(RecordAt(image, 128), RecordAt(before, 127));
}
