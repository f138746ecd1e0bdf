// Comparing two images: crafted pairs against what a person reading both
// files would list.
#include <gtest/gtest.h>

#include <algorithm>

#include "image/ChannelTable.h"
#include "compare/ImageDiff.h"
#include "support/LanguageScope.h"

namespace {

// A new document whose channel 12 is in use with every field set.
RadioImage WithChannel12() {
    RadioImage image = NewDocumentImage();
    PlainChannelTable table;
    UpdateGridFromImage(image, table);
    const char* texts[] = {"145.12500", "145.72500", "67.0", "D023N", "宽", "是", "高", "DTMF", "开", "载波"};
    for (int c = 1; c <= 10; ++c) table.SetCellText(12, c, texts[c - 1]);
    UpdateImageFromGrid(table, image);
    return image;
}

RadioImage WithCell(RadioImage image, int channel, int column, const std::string& text) {
    PlainChannelTable table;
    UpdateGridFromImage(image, table);
    table.SetCellText(channel, column, text);
    UpdateImageFromGrid(table, image);
    return image;
}

std::vector<std::string> Lines(const std::vector<ImageDifference>& differences) {
    std::vector<std::string> lines;
    for (const ImageDifference& d : differences) lines.push_back(DifferenceLine(d));
    return lines;
}

bool Covers(const ImageDifference& d, std::size_t offset) {
    return std::find(d.offsets.begin(), d.offsets.end(), offset) != d.offsets.end();
}

}  // namespace

TEST(ImageDiff, EveryFieldOfAChannelIsOneLineInTheGridsWords) {
    LanguageScope zh(Lang::Zh);
    const RadioImage before = WithChannel12();
    const struct {
        int column;
        const char* text;
        const char* line;
    } cases[] = {
        {1, "146.00000", "频道 12 接收频率: 145.12500 → 146.00000"},
        {2, "", "频道 12 发射频率: 145.72500 → （空）"},
        {3, "88.5", "频道 12 接收信令: 67.0 → 88.5"},
        {4, "D754I", "频道 12 发射信令: D023N → D754I"},
        {5, "窄", "频道 12 宽/窄: 宽 → 窄"},
        {6, "否", "频道 12 扫描添加: 是 → 否"},
        {7, "低", "频道 12 发射功率: 高 → 低"},
        {8, "队列同步", "频道 12 可选信令: DTMF → 队列同步"},
        {9, "关", "频道 12 PTTID: 开 → 关"},
        {10, "QT/DQT", "频道 12 繁忙锁定: 载波 → QT/DQT"},
    };
    for (const auto& c : cases) {
        const auto differences = CompareImages(before, WithCell(before, 12, c.column, c.text));
        ASSERT_EQ(differences.size(), 1u) << c.line;
        EXPECT_EQ(differences[0].area, DiffArea::ChannelField);
        EXPECT_EQ(differences[0].column, c.column);
        EXPECT_EQ(DifferenceLine(differences[0]), c.line);
        for (std::size_t offset : differences[0].offsets) EXPECT_EQ(offset / kRecordSize, 11u) << c.line;
    }
}

TEST(ImageDiff, EveryBitOfAChannelInUseIsListedOnceWhereItLies) {
    const RadioImage before = WithChannel12();
    const std::size_t base = ChannelOffset(12);
    for (std::size_t k = 0; k < kRecordSize; ++k)
        for (int bit = 0; bit < 8; ++bit) {
            RadioImage after = before;
            after[base + k] ^= static_cast<std::uint8_t>(1 << bit);
            const auto differences = CompareImages(before, after);
            ASSERT_EQ(differences.size(), 1u) << "byte " << k << " bit " << bit;
            EXPECT_EQ(differences[0].channel, 12);
            EXPECT_TRUE(Covers(differences[0], base + k)) << "byte " << k << " bit " << bit;
            // Bits no cell shows: byte 15, bits 6-7 of byte 13, bits 1-7 of byte 14.
            const bool hidden = k == 15 || (k == 13 && bit >= 6) || (k == 14 && bit >= 1);
            if (hidden) {
                EXPECT_EQ(differences[0].area, DiffArea::Byte) << "byte " << k << " bit " << bit;
            }
        }
}

TEST(ImageDiff, AByteNoTextShowsIsListedByOffsetWithBothValues) {
    LanguageScope zh(Lang::Zh);
    RadioImage before = WithChannel12();
    RadioImage after = before;
    after[ChannelOffset(12) + 15] = 0x00;
    // Busy lockout mode 3 and 2 both read "载波".
    after[ChannelOffset(12) + 13] ^= 0x01;
    EXPECT_EQ(Lines(CompareImages(before, after)),
              (std::vector<std::string>{"频道 12 字节 0x0BD: FB → FA", "频道 12 字节 0x0BF: FF → 00"}));
}

TEST(ImageDiff, EmptyChannelsDifferingOnlyInTheSavedEmptyRowAreTheSameUnlessAskedForBytes) {
    const RadioImage fresh = NewDocumentImage();
    PlainChannelTable table;
    UpdateGridFromImage(fresh, table);
    RadioImage saved = fresh;
    UpdateImageFromGrid(table, saved);
    ASSERT_NE(saved, fresh);
    EXPECT_TRUE(CompareImages(fresh, saved).empty());
    const auto all = CompareImages(fresh, saved, CompareOptions{true});
    EXPECT_EQ(all.size(), 128u * 3u);
    EXPECT_EQ(all.front().offsets, std::vector<std::size_t>{12});
    // Another byte of an empty channel is never hidden.
    RadioImage odd = fresh;
    odd[ChannelOffset(5) + 15] = 0x06;
    ASSERT_EQ(CompareImages(fresh, odd).size(), 1u);
    EXPECT_EQ(CompareImages(fresh, odd)[0].area, DiffArea::Byte);
    // A tone in an empty channel is shown in the grid, so it is a field.
    odd[ChannelOffset(5) + 9] = 0x06;
    EXPECT_EQ(CompareImages(fresh, odd)[0].area, DiffArea::ChannelField);
}

TEST(ImageDiff, EverySettingsBitIsListedOnceUnderItsOptionNameOrItsOffset) {
    LanguageScope zh(Lang::Zh);
    const RadioImage before = NewDocumentImage();
    for (std::size_t offset = addr::kSettings; offset < kImageSize; ++offset)
        for (int bit = 0; bit < 8; ++bit) {
            RadioImage after = before;
            after[offset] ^= static_cast<std::uint8_t>(1 << bit);
            const auto differences = CompareImages(before, after);
            ASSERT_EQ(differences.size(), 1u) << std::hex << offset << " bit " << bit;
            EXPECT_EQ(differences[0].channel, 0);
            EXPECT_TRUE(Covers(differences[0], offset)) << std::hex << offset << " bit " << bit;
        }
    const struct {
        std::size_t offset;
        std::uint8_t value;
        const char* line;
    } cases[] = {
        {addr::kSquelch, 5, "静噪等级(SQ): 4 → 5"},
        {addr::kTimer, 0, "发射定时(秒): 60 → OFF"},
        {addr::kModel, 0x39, "机型: OST - 101 → OST - 102"},
        {addr::kModel, 0x3C, "字节 0x80B: 38 → 3C"},  // out of the list: still the first model
        {addr::kFunctions, 0x57, "手动设置: 打开 → 关闭"},
        {addr::kFunctions, 0xD6, "语言选择: 中文 → 英文"},
        {addr::kVoxPtt, 0x20, "PTT ID 开始发射: 关闭 → 打开"},
        {addr::kRadioType, 0x01, "字节 0x81B: FF → 01"},
        {addr::kAni, 0x31, "ANI: （空） → 1"},
        {addr::kRadioName + 1, 0x41, "本机命名: （空） → A"},
    };
    for (const auto& c : cases) {
        RadioImage after = before;
        after[c.offset] = c.value;
        EXPECT_EQ(Lines(CompareImages(before, after)), std::vector<std::string>{c.line});
    }
}

TEST(ImageDiff, EnglishLinesAndJsonNameTheFieldInBothLanguages) {
    LanguageScope en(Lang::En);
    const RadioImage before = WithChannel12();
    RadioImage after = WithCell(before, 12, 3, "88.5");
    after[addr::kSquelch] = 7;
    const auto differences = CompareImages(before, after);
    EXPECT_EQ(Lines(differences),
              (std::vector<std::string>{"Channel 12 RX tone: 67.0 → 88.5", "Squelch level (SQ): 4 → 7"}));
    EXPECT_EQ(
        DifferencesJson(differences),
        "[\n"
        " {\"channel\": 12, \"field\": \"ColRxTone\", \"caption\": {\"zh\": \"接收信令\", \"en\": \"RX tone\"}, "
        "\"old\": \"67.0\", \"new\": \"88.5\", \"offsets\": [184, 185]},\n"
        " {\"channel\": null, \"field\": \"LabelSquelch\", \"caption\": {\"zh\": \"静噪等级(SQ)\", \"en\": \"Squelch "
        "level (SQ)\"}, \"old\": \"4\", \"new\": \"7\", \"offsets\": [2067]}\n"
        "]\n");
    EXPECT_EQ(DifferencesJson({}), "[]\n");
}

TEST(ImageDiff, TheComparisonMarksCellsFollowsEditsAndStepsRoundTheTable) {
    RadioImage other = WithChannel12();
    std::copy_n(other.begin() + static_cast<long>(ChannelOffset(12)), kRecordSize,
                other.begin() + static_cast<long>(ChannelOffset(40)));
    RadioImage current = WithCell(WithCell(other, 12, 3, "88.5"), 12, 9, "关");
    current = WithCell(current, 40, 1, "146.00000");
    current[addr::kSquelch] = 1;
    ImageComparison comparison;
    comparison.Start(other, ComparedName::File("other.sin"), current);
    EXPECT_TRUE(comparison.Marked(12, 3));
    EXPECT_EQ(comparison.CellTip(12, 3), "other.sin 中为：67.0");
    EXPECT_FALSE(comparison.Marked(12, 4));
    EXPECT_EQ(comparison.CellTip(12, 4), "");
    auto cell = [&](int i) {
        const ImageDifference& d = comparison.Differences()[static_cast<std::size_t>(i)];
        return std::pair{d.channel, d.column};
    };
    EXPECT_EQ(cell(comparison.Step(1, 1, true)), std::pair(12, 3));
    EXPECT_EQ(cell(comparison.Step(12, 3, true)), std::pair(12, 9));
    EXPECT_EQ(cell(comparison.Step(12, 9, true)), std::pair(40, 1));
    EXPECT_EQ(cell(comparison.Step(40, 1, true)), std::pair(12, 3));   // round to the first
    EXPECT_EQ(cell(comparison.Step(12, 3, false)), std::pair(40, 1));  // and back to the last
    EXPECT_EQ(cell(comparison.Step(30, 5, false)), std::pair(12, 9));
    // The user types the other file's value back: that cell is the same again.
    comparison.Refresh(WithCell(current, 12, 3, "67.0"));
    EXPECT_FALSE(comparison.Marked(12, 3));
    comparison.Refresh(other);
    EXPECT_EQ(comparison.Step(1, 1, true), -1);
}

TEST(ImageDiff, AComparisonWithTheRadioTakesWhatATransferLeftInIt) {
    const RadioImage radio = WithChannel12();
    RadioImage current = WithCell(WithCell(radio, 12, 3, "88.5"), 12, 1, "146.00000");
    current[addr::kSquelch] = 1;
    ImageComparison comparison;
    comparison.Start(radio, ComparedName::Text(TextId::CompareRadioName), current);
    ASSERT_EQ(comparison.Differences().size(), 3u);
    // A write stopped after the channels: the settings still differ.
    CloneResult stopped;
    stopped.blocks = static_cast<int>(addr::kSettings) / kBlockSize;
    comparison.TransferEnded(CloneDirection::Write, stopped, current);
    comparison.Refresh(current);
    ASSERT_EQ(comparison.Differences().size(), 1u);
    EXPECT_EQ(comparison.Differences()[0].area, DiffArea::Setting);
    CloneResult read;
    read.outcome = CloneOutcome::Completed;
    read.blocks = kBlockCount;
    read.image = current;
    comparison.TransferEnded(CloneDirection::Read, read, radio);
    comparison.Refresh(current);
    EXPECT_TRUE(comparison.Differences().empty());
    // A file or a history entry is not the radio: it stays as it was.
    comparison.Start(radio, ComparedName::File("other.sin"), current);
    comparison.TransferEnded(CloneDirection::Read, read, radio);
    comparison.Refresh(current);
    EXPECT_EQ(comparison.Differences().size(), 3u);
}

TEST(ImageDiff, ACellsTipNamesTheOtherImageWithABlankOnlyAfterALatinName) {
    const RadioImage other = WithChannel12();
    const RadioImage current = WithCell(other, 12, 4, "");
    ImageComparison comparison;
    for (const auto& [name, zh, en] :
         {std::tuple{ComparedName::File("other.sin"), "other.sin 中为：D023N", "In other.sin: D023N"},
          std::tuple{ComparedName::Text(TextId::CompareRadioName), "对讲机中为：D023N", "In the radio: D023N"},
          std::tuple{ComparedName::File("备份"), "备份中为：D023N", "In 备份: D023N"}}) {
        comparison.Start(other, name, current);
        EXPECT_EQ(comparison.CellTip(12, 4), zh);
        const LanguageScope english(Lang::En);
        EXPECT_EQ(comparison.CellTip(12, 4), en);
    }
    // A cell the other image left empty says so.
    comparison.Start(NewDocumentImage(), ComparedName::File("other.sin"), other);
    EXPECT_EQ(comparison.CellTip(12, 1), "other.sin 中为：（空）");
}
