#include <gtest/gtest.h>

#include "editor/CellRules.h"
#include "editor/ChannelClipboard.h"
#include "support/RandomImage.h"

namespace {

const BandLimits kBand1{13600000, 17400000};

PlainChannelTable TableOf(const RadioImage& image) {
    PlainChannelTable table;
    UpdateGridFromImage(image, table);
    return table;
}

std::vector<std::string> Split(const std::string& text, char by) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(by, from)) != std::string::npos; from = at + 1)
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

}  // namespace

TEST(ChannelClipboard, CopiedRowsAreTsvAndPasteBackIntoEmptyRows) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const PlainChannelTable source = TableOf(RandomValidImage(seed));
        const std::string tsv = CopyCellsTsv(source, {1, 1, 64, 10});
        // 64 lines of 10 cells, no captions, no tab or line break inside a cell.
        std::vector<std::string> lines = Split(tsv, '\n');
        ASSERT_EQ(lines.back(), "");
        lines.pop_back();
        ASSERT_EQ(lines.size(), 64u);
        for (const std::string& line : lines) ASSERT_EQ(Split(line, '\t').size(), 10u) << line;
        EXPECT_EQ(lines[0].rfind(source.CellText(1, 1), 0), 0u);

        // Into the empty rows 65-128 of a new document, and over channels in use.
        PlainChannelTable target = TableOf(NewDocumentImage());
        const PasteResult pasted = PasteCellsTsv(target, 65, 1, tsv, kBand1);
        EXPECT_TRUE(pasted.refused.empty()) << seed;
        EXPECT_EQ((std::tuple{pasted.block.top, pasted.block.left, pasted.block.bottom, pasted.block.right}),
                  (std::tuple{65, 1, 128, 10}));
        PlainChannelTable over = TableOf(RandomValidImage(seed + 100));
        EXPECT_TRUE(PasteCellsTsv(over, 1, 1, tsv, kBand1).refused.empty()) << seed;
        for (int r = 1; r <= 64; ++r)
            for (int c = 1; c <= 10; ++c) {
                ASSERT_EQ(target.CellText(r + 64, c), source.CellText(r, c)) << seed << " " << r << "," << c;
                ASSERT_EQ(over.CellText(r, c), source.CellText(r, c)) << seed << " " << r << "," << c;
            }
    }
}

TEST(ChannelClipboard, PastedCellsAreCheckedLikeTypedOnesAndRefusalsListed) {
    PlainChannelTable t = TableOf(NewDocumentImage());
    // A frequency alone makes a new channel with its defaults; tones match
    // ignoring case and spreadsheet line ends are understood.
    auto refused = PasteCellsTsv(t, 1, 1, "145.125\r\n", kBand1).refused;
    EXPECT_TRUE(refused.empty());
    EXPECT_EQ(t.CellText(1, 2), "145.12500");
    EXPECT_EQ(t.CellText(1, 5), "宽");
    EXPECT_TRUE(PasteCellsTsv(t, 1, 3, "d023n\t 88.5 ", kBand1).refused.empty());
    EXPECT_EQ(t.CellText(1, 3), "D023N");
    EXPECT_EQ(t.CellText(1, 4), "88.5");
    // Out of the band is a warning when typed, so it is pasted.
    EXPECT_TRUE(PasteCellsTsv(t, 1, 2, "446.00625", kBand1).refused.empty());

    const PlainChannelTable before = t;
    refused = PasteCellsTsv(t, 1, 1, "145.1234\t600\tXYZ\tOFF\t中\t是\t\t无\t开\t关闭\textra\n", kBand1).refused;
    ASSERT_EQ(refused.size(), 6u);
    EXPECT_EQ(refused[0].reason, "输入数据错误，请按6.25K或 5k的倍数重新输入");
    EXPECT_EQ(refused[1].reason, "输入数据错误，请按正确的格式及大小重新输入");
    EXPECT_EQ(refused[2].reason, "“XYZ”不是信令代码");
    EXPECT_EQ((std::pair{refused[3].row, refused[3].column}), (std::pair{1, 5}));
    EXPECT_EQ(refused[3].reason, "“中”不是可选的值");
    EXPECT_EQ((std::pair{refused[4].column, refused[4].reason}), (std::pair{7, std::string("不能为空")}));
    EXPECT_EQ((std::pair{refused[5].column, refused[5].reason}), (std::pair{11, std::string("超出频道表")}));
    // The accepted cells are written, the refused ones keep their text.
    EXPECT_EQ(t.CellText(1, 1), before.CellText(1, 1));
    EXPECT_EQ(t.CellText(1, 3), "D023N");
    EXPECT_EQ(t.CellText(1, 8), "无");
    EXPECT_EQ(t.CellText(1, 9), "开");
    // Row 2 has no frequency: no tone may go there.
    refused = PasteCellsTsv(t, 2, 1, "\t\tOFF", kBand1).refused;
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].reason, "该频道没有频率");
    EXPECT_EQ(t.CellText(2, 3), "");
    // Past the last channel.
    refused = PasteCellsTsv(t, 128, 1, "\n145", kBand1).refused;
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].row, 129);

    const std::string summary = RefusedCellsSummary({{3, 1, "输入数据错误"},
                                                     {129, 1, "超出频道表"},
                                                     {4, 8, "“x”不是可选的值"},
                                                     {5, 2, "输入数据错误"},
                                                     {130, 1, "超出频道表"},
                                                     {131, 1, "超出频道表"}},
                                                    2);
    // The cells past the table are counted on one line, not listed one by one.
    EXPECT_EQ(summary,
              "以下 6 个单元格没有粘贴：\n第 3 频道接收频率：输入数据错误\n第 4 频道可选信令：“x”不是可选的值\n"
              "……另有 1 个\n3 个单元格超出频道表\n");
}

TEST(ChannelClipboard, OneCellFillsALargerSelection) {
    EXPECT_EQ(FillSelectionTsv("低\r\n", 3, 2), "低\t低\n低\t低\n低\t低\n");
    EXPECT_EQ(FillSelectionTsv("低", 1, 1), "低");
    EXPECT_EQ(FillSelectionTsv("低\t高\n", 3, 2), "低\t高\n");  // a block is pasted as it is
    EXPECT_EQ(FillSelectionTsv("a\nb", 3, 1), "a\nb");
}

TEST(ChannelClipboard, CutCellsLeaveWhatTypingWouldLeave) {
    PlainChannelTable t = TableOf(RandomValidImage(7));
    int inUse = 1;
    while (!RowHasFrequency(t, inUse)) ++inUse;
    ClearCells(t, {inUse, 3, inUse, 10});
    EXPECT_EQ(t.CellText(inUse, 3), "OFF");
    EXPECT_EQ(t.CellText(inUse, 7), "高");
    EXPECT_EQ(t.CellText(inUse, 10), "关闭");
    ClearCells(t, {inUse, 1, inUse, 10});
    for (int c = 1; c <= 10; ++c) EXPECT_EQ(t.CellText(inUse, c), "") << c;
}

TEST(ChannelClipboard, SetFieldTouchesOnlyChannelsInUse) {
    PlainChannelTable t = TableOf(NewDocumentImage());
    PasteCellsTsv(t, 2, 1, "145\n\n146", kBand1);
    EXPECT_EQ(SetFieldOfChannels(t, 7, 1, 5, "低"), 2);
    EXPECT_EQ(t.CellText(2, 7), "低");
    EXPECT_EQ(t.CellText(3, 7), "");
    EXPECT_EQ(t.CellText(4, 7), "低");
    EXPECT_EQ(SetFieldOfChannels(t, 7, 1, 5, "低"), 0);
    EXPECT_EQ(SetFieldOfChannels(t, 3, 1, 128, "d023n"), 2);
    EXPECT_EQ(t.CellText(4, 3), "D023N");
    EXPECT_EQ(SetFieldOfChannels(t, 5, 1, 128, "很宽"), 0);
    EXPECT_EQ(t.CellText(2, 5), "宽");
}
