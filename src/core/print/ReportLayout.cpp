#include "print/ReportLayout.h"

#include <cstdio>
#include <memory>

#include "image/ChannelTable.h"
#include "res/Texts.h"
#include "settings/OptionsCodec.h"

namespace {

const TextId kTitles[kReportPages] = {TextId::ReportPage1, TextId::ReportPage2, TextId::ReportPage3,
                                      TextId::ReportPage4, TextId::ReportPage5};
// Where each column starts, in character widths: English captions and values
// such as "Narrow" and "Sequential" are wider than the Chinese ones.
const int kColumnX[kReportColumns] = {1, 5, 14, 25, 33, 40, 46, 54, 62, 70, 78};
const int kColumnXEnglish[kReportColumns] = {1, 5, 14, 24, 31, 38, 45, 53, 59, 68, 75};

std::string KeyFunction(std::uint8_t b) {
    switch (b) {
        case 1: return Tr(TextId::KeyAutoDial);
        case 2: return Tr(TextId::KeyLock);
        case 3: return Tr(TextId::KeyMonitor);
        case 4: return Tr(TextId::KeyMomentaryMonitor);
        case 5: return Tr(TextId::KeyScrambler);
        default: return Tr(TextId::KeyNone);
    }
}

std::string OnOff(bool on) { return Tr(on ? TextId::ValueOn : TextId::ValueOff); }

std::string TwoDigits(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%2d", v);
    return buf;
}

std::string TransmitCode(const RadioImage& image, std::size_t at) {
    std::string code;
    for (std::size_t i = 0; i < 16; ++i) {
        const std::uint8_t b = image[at + i];
        if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'D')) code.push_back(static_cast<char>(b));
    }
    return code;
}

int Truncate(double v) { return static_cast<int>(v); }

}  // namespace

std::pair<int, int> PageRows(int page) {
    static const std::pair<int, int> kRows[kReportPages] = {{1, 22}, {23, 54}, {55, 86}, {87, 118}, {119, 128}};
    return kRows[page - 1];
}

SettingsSummary SummariseSettings(const RadioImage& image) {
    const OptionsValues o = DecodeOptions(image);
    const std::uint8_t vox = image[addr::kVoxPtt];
    SettingsSummary s;
    s.pf1 = KeyFunction(image[0x810]);
    s.pf2 = KeyFunction(image[0x811]);
    s.alarm = OnOff(o.alarmTone);
    const int squelch = image[addr::kSquelch];
    s.squelch = squelch > 9 ? "0" : TwoDigits(squelch);
    s.scrambler = OnOff(o.scrambler);
    s.vox = OnOff(vox & 0x80);
    const int gain = image[addr::kVoxGain];
    s.voxGain = gain == 0 ? "OFF" : gain > 10 ? "0" : TwoDigits(gain);
    static const char* const kDelays[] = {"0.3s", "0.5s", "1.0s", "1.5s", "2.0s", "3.0s"};
    s.voxDelay = kDelays[o.voxDelay];
    s.pttId = o.bot && o.eot ? "BOTH" : o.bot ? "BOT" : o.eot ? "EOT" : "OFF";
    s.battery = Tr(o.batterySave ? TextId::ValueStarted : TextId::ValueOff);
    s.timer = TimerText(o.timerPosition);
    s.startCode = TransmitCode(image, 0x7B0);
    s.endCode = TransmitCode(image, 0x7C0);
    s.voxInhibit = Tr((vox & 0x40) ? TextId::ValueEnabled : TextId::ValueDisabled);
    return s;
}

ReportPage LayoutReportPage(int page, const ReportInputs& in, const PageGeometry& g, const LineStep& lineStep) {
    ReportPage out;
    const int h = (g.bottom / 45) * 1440 / g.dpiY;
    const int u = (g.right * 1440 / g.dpiX - 900) / 80;
    out.title = FontRequest{h, u};
    out.body = FontRequest{h, Truncate(u * 0.8)};
    const int l1 = lineStep(out.title);
    const int titleX = (g.right / 2) * 1440 / g.dpiX - 18 * u;
    const int y0 = l1 / -2;
    auto add = [&](int column, int y, ReportFont font, std::string text) {
        out.lines.push_back(ReportLine{column * u, y, font, std::move(text)});
    };
    out.lines.push_back(ReportLine{titleX, y0, ReportFont::Title, Tr(kTitles[page - 1])});
    const int y1 = y0 - l1;
    const int l2 = lineStep(out.body);
    int tableTitle = y1;
    if (page == 1) {
        const SettingsSummary s = SummariseSettings(in.image);
        const ReportFont b = ReportFont::Body;
        add(5, y1, b, std::string(Tr(TextId::ReportFunctions)));
        const int y2 = Truncate(y1 - 1.2 * l2);
        add(2, y2, b, Tr(TextId::ReportModel) + in.model);
        add(25, y2, b, Tr(TextId::ReportBand) + in.band);
        const int y3 = y2 - l2;
        add(2, y3, b, "Pf1:   " + s.pf1);
        add(25, y3, b, "Pf2: " + s.pf2);
        add(50, y3, b, Tr(TextId::ReportAlarm) + s.alarm);
        const int y4 = y3 - l2;
        add(2, y4, b, Tr(TextId::ReportSquelch) + s.squelch);
        add(25, y4, b, Tr(TextId::ReportPowerLevel) + in.powerLevel);
        add(50, y4, b, Tr(TextId::ReportScrambler) + s.scrambler);
        const int y5 = y4 - l2;
        add(2, y5, b, Tr(TextId::ReportVox) + s.vox);
        add(25, y5, b, Tr(TextId::ReportVoxGain) + s.voxGain);
        add(50, y5, b, Tr(TextId::ReportVoxDelay) + s.voxDelay);
        const int y6 = y5 - l2;
        add(2, y6, b, "PTT ID: " + s.pttId);
        add(25, y6, b, Tr(TextId::ReportBattery) + s.battery);
        add(50, y6, b, Tr(TextId::ReportTimer) + s.timer);
        const int y7 = y6 - l2;
        add(2, y7, b, Tr(TextId::ReportStartCode) + s.startCode);
        add(35, y7, b, Tr(TextId::ReportEndCode) + s.endCode);
        const int y8 = y7 - l2;
        add(2, y8, b, Tr(TextId::ReportVoxInhibit) + s.voxInhibit);
        tableTitle = y8 - l2;
    }
    add(5, tableTitle, ReportFont::Body, std::string(Tr(TextId::ReportChannels)));
    const int yc = Truncate(tableTitle - 1.2 * l2);
    // Each caption over its own column, at the x of the column's values: one
    // string for the whole line would drift off its columns with any real font.
    const int* columnX = CurrentLanguage() == Lang::En ? kColumnXEnglish : kColumnX;
    const std::array<std::string, kReportColumns> captions = ChannelCaptions();
    for (int c = 0; c < kReportColumns; ++c)
        add(columnX[c], yc, ReportFont::Body, captions[static_cast<std::size_t>(c)]);
    const auto [first, last] = PageRows(page);
    int y = yc;
    for (int r = first; r <= last; ++r) {
        y -= l2;
        add(columnX[0], y, ReportFont::Body, in.cell(r, 0));
        for (int c = 1; c <= 10; ++c) add(columnX[c], y, ReportFont::Body, in.cell(r, c) + " ");
    }
    return out;
}

std::array<std::string, kReportColumns> ChannelCaptions() {
    std::array<std::string, kReportColumns> captions;
    for (int c = 0; c < kReportColumns; ++c) captions[static_cast<std::size_t>(c)] = ColumnCaption(c);
    return captions;
}

ReportInputs ReportInputsFromImage(const RadioImage& image) {
    auto table = std::make_shared<PlainChannelTable>();
    UpdateGridFromImage(image, *table);
    for (int r = 1; r <= kChannelCount; ++r) table->SetCellText(r, 0, std::to_string(r));
    const FormSelections s = DecodeFormSelections(image);
    ReportInputs in;
    in.image = image;
    in.model = ModelTexts()[static_cast<std::size_t>(s.model)];
    in.band = BandTexts()[static_cast<std::size_t>(s.band)];
    in.powerLevel = PowerLevelTexts()[static_cast<std::size_t>(s.powerLevel)];
    in.cell = [table](int row, int col) { return table->CellText(row, col); };
    return in;
}
