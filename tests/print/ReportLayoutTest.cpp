#include <gtest/gtest.h>

#include <algorithm>

#include "print/ReportLayout.h"

namespace {

// An A4 page at 600 dpi and fonts whose line step is their height plus 10 %.
const PageGeometry kA4{4760, 6814, 600, 600};
const LineStep kStep = [](const FontRequest& f) { return f.height * 11 / 10; };

const ReportLine* Find(const ReportPage& page, const std::string& prefix) {
    for (const ReportLine& line : page.lines)
        if (line.text.rfind(prefix, 0) == 0) return &line;
    return nullptr;
}

std::string After(const ReportPage& page, const std::string& label) {
    const ReportLine* line = Find(page, label);
    return line ? line->text.substr(label.size()) : "<missing>";
}

int ChannelLines(const ReportPage& page, int u) {
    return static_cast<int>(
               std::count_if(page.lines.begin(), page.lines.end(), [&](const ReportLine& l) { return l.x == u; })) -
           1;  // the first caption is at x = 1 too
}

}  // namespace

TEST(ReportLayout, GeometryFromThePrintableArea) {
    const ReportPage page = LayoutReportPage(2, ReportInputsFromImage(NewDocumentImage()), kA4, kStep);
    const int h = (6814 / 45) * 1440 / 600;
    const int u = (4760 * 1440 / 600 - 900) / 80;
    EXPECT_EQ(page.title, (FontRequest{h, u}));
    EXPECT_EQ(page.body, (FontRequest{h, static_cast<int>(u * 0.8)}));
    const int l1 = h * 11 / 10, l2 = h * 11 / 10;
    const ReportLine& title = page.lines.front();
    EXPECT_EQ(title.text, "第二页");
    EXPECT_EQ(title.font, ReportFont::Title);
    EXPECT_EQ(title.x, (4760 / 2) * 1440 / 600 - 18 * u);
    EXPECT_EQ(title.y, l1 / -2);
    const ReportLine* tableTitle = Find(page, "频道设置:");
    ASSERT_TRUE(tableTitle);
    EXPECT_EQ(tableTitle->y, l1 / -2 - l1);
    EXPECT_EQ(tableTitle->x, 5 * u);
    // The captions stand on one line, each at the x of its column's values.
    const int yc = static_cast<int>(tableTitle->y - 1.2 * l2);
    std::vector<std::pair<int, std::string>> captions;
    for (const ReportLine& l : page.lines)
        if (l.y == yc) captions.emplace_back(l.x, l.text);
    const std::vector<std::pair<int, std::string>> expected = {
        {1 * u, "频道"},      {5 * u, "接收频率"}, {14 * u, "发射频率"}, {25 * u, "接收信令"},
        {33 * u, "发射信令"}, {40 * u, "宽/窄"},   {46 * u, "扫描添加"}, {54 * u, "发射功率"},
        {62 * u, "可选信令"}, {70 * u, "PTTID"},   {78 * u, "繁忙锁定"}};
    EXPECT_EQ(captions, expected);
    const ReportLine* row23 = Find(page, "23");
    ASSERT_TRUE(row23);
    EXPECT_EQ(row23->y, yc - l2);
    EXPECT_EQ(row23->x, u);
}

TEST(ReportLayout, PagesListTheirRows) {
    const ReportInputs in = ReportInputsFromImage(NewDocumentImage());
    const int u = (4760 * 1440 / 600 - 900) / 80;
    const int expected[] = {22, 32, 32, 32, 10};
    for (int p = 1; p <= 5; ++p) EXPECT_EQ(ChannelLines(LayoutReportPage(p, in, kA4, kStep), u), expected[p - 1]) << p;
    const ReportPage last = LayoutReportPage(5, in, kA4, kStep);
    EXPECT_TRUE(Find(last, "119"));
    EXPECT_TRUE(Find(last, "128"));
    EXPECT_FALSE(Find(last, "118"));
}

TEST(ReportLayout, ChannelLinePositionsAndTexts) {
    RadioImage image = NewDocumentImage();
    const std::uint8_t record[16] = {0x00, 0x25, 0x51, 0x14, 0x00, 0x25, 0x51, 0x14,
                                     0x70, 0x06, 0x23, 0x80, 0x02, 0xFB, 0xFF, 0xFF};
    std::copy(std::begin(record), std::end(record), image.begin());
    const ReportPage page = LayoutReportPage(1, ReportInputsFromImage(image), kA4, kStep);
    const int u = (4760 * 1440 / 600 - 900) / 80;
    const ReportLine* first = Find(page, "145.12500 ");
    ASSERT_TRUE(first);
    const int y = first->y;
    std::vector<std::pair<int, std::string>> row;
    for (const ReportLine& l : page.lines)
        if (l.y == y) row.emplace_back(l.x / u, l.text);
    const std::vector<std::pair<int, std::string>> expected = {
        {1, "1"},    {5, "145.12500 "}, {14, "145.12500 "}, {25, "67.0 "}, {33, "D023N "}, {40, "宽 "},
        {46, "是 "}, {54, "高 "},       {62, "DTMF "},      {70, "开 "},   {78, "载波 "}};
    EXPECT_EQ(row, expected);
    // An empty channel still prints its number and ten single blanks.
    const ReportLine* two = Find(page, "2");
    ASSERT_TRUE(two);
    int blanks = 0;
    for (const ReportLine& l : page.lines) blanks += l.y == two->y && l.text == " ";
    EXPECT_EQ(blanks, 10);
}

TEST(ReportLayout, SummaryOfANewDocument) {
    const ReportPage page = LayoutReportPage(1, ReportInputsFromImage(NewDocumentImage()), kA4, kStep);
    EXPECT_EQ(page.lines.front().text, "整机设置");
    EXPECT_EQ(After(page, "机型:   "), "OST - 101");
    EXPECT_EQ(After(page, "频段:"), "240 - 260MHz");
    EXPECT_EQ(After(page, "Pf1:   "), "无");
    EXPECT_EQ(After(page, "Pf2: "), "无");
    EXPECT_EQ(After(page, "报警音提示: "), "打开");
    EXPECT_EQ(After(page, "静噪等级: "), " 4");
    EXPECT_EQ(After(page, "发射功率等级: "), "9");
    EXPECT_EQ(After(page, "扰频器激活:"), "打开");
    EXPECT_EQ(After(page, "Vox 功能:"), "关闭");
    EXPECT_EQ(After(page, "Vox 增益电平:"), " 9");
    EXPECT_EQ(After(page, "Vox 延迟时间(秒): "), "0.3s");
    EXPECT_EQ(After(page, "PTT ID: "), "OFF");
    EXPECT_EQ(After(page, "电池省电:"), "启动");
    EXPECT_EQ(After(page, "发射时间(s):"), "60");
    EXPECT_EQ(After(page, "发射开始:"), "");
    EXPECT_EQ(After(page, "发射结束:"), "");
    EXPECT_EQ(After(page, "接收时禁止VOX:"), "不使能");
    // The summary's rows: y2 = y1 - 1.2 L2, then one L2 each.
    const int l2 = page.body.height * 11 / 10;
    const ReportLine* functions = Find(page, "功能设置:");
    const ReportLine* model = Find(page, "机型:");
    const ReportLine* pf1 = Find(page, "Pf1:");
    ASSERT_TRUE(functions && model && pf1);
    EXPECT_EQ(model->y, static_cast<int>(functions->y - 1.2 * l2));
    EXPECT_EQ(pf1->y, model->y - l2);
    EXPECT_EQ(Find(page, "报警音提示")->x, 50 * ((4760 * 1440 / 600 - 900) / 80));
    EXPECT_EQ(Find(page, "频道设置:")->y, Find(page, "接收时禁止VOX:")->y - l2);
}

TEST(ReportLayout, SummaryFallbacksAndCodes) {
    RadioImage image = NewDocumentImage();
    image[0x813] = 12;
    image[0x815] = 0;
    image[0x816] = 4;
    image[0x814] = 9;
    image[0x810] = 0x30 | 0x80 | 0x40;  // BOT, EOT, VOX, no VOX while receiving
    image[0x811] = 3;
    const std::uint8_t code[] = {0x31, 0xFF, 0x41, 0x45, 0x32};
    std::copy(std::begin(code), std::end(code), image.begin() + 0x7B0);
    ReportPage page = LayoutReportPage(1, ReportInputsFromImage(image), kA4, kStep);
    EXPECT_EQ(After(page, "静噪等级: "), "0");
    EXPECT_EQ(After(page, "Vox 增益电平:"), "OFF");
    EXPECT_EQ(After(page, "Vox 延迟时间(秒): "), "2.0s");
    EXPECT_EQ(After(page, "发射时间(s):"), "270");
    EXPECT_EQ(After(page, "PTT ID: "), "BOTH");
    EXPECT_EQ(After(page, "Vox 功能:"), "打开");
    EXPECT_EQ(After(page, "接收时禁止VOX:"), "使能");
    EXPECT_EQ(After(page, "Pf2: "), "监听");
    EXPECT_EQ(After(page, "发射开始:"), "1A2");
    image[0x815] = 11;
    image[0x816] = 9;
    image[0x814] = 41;
    image[0x810] = 0x20;
    page = LayoutReportPage(1, ReportInputsFromImage(image), kA4, kStep);
    EXPECT_EQ(After(page, "Vox 增益电平:"), "0");
    EXPECT_EQ(After(page, "Vox 延迟时间(秒): "), "0.3s");
    EXPECT_EQ(After(page, "发射时间(s):"), "OFF");
    EXPECT_EQ(After(page, "PTT ID: "), "BOT");
    EXPECT_EQ(After(page, "Pf1:   "), "无");
}
