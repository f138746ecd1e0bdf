#include "cli/ImageDump.h"

#include <algorithm>
#include <array>
#include <sstream>

#include "image/ChannelTable.h"
#include "res/Texts.h"
#include "settings/OptionsCodec.h"

namespace {

const std::array<int, 11> kWidths = {4, 10, 10, 8, 8, 6, 8, 8, 9, 5, 8};

std::string Pad(const std::string& text, int width) {
    int w = DisplayWidth(text);
    return text + std::string(static_cast<std::size_t>(w < width ? width - w : 0), ' ');
}

std::string OnOff(bool on) { return Tr(on ? TextId::ValueOn : TextId::ValueOff); }

// "label: value" and a new line.
std::string Line(TextId label, const std::string& value) { return std::string(Tr(label)) + ": " + value + "\n"; }

}  // namespace

int DisplayWidth(const std::string& utf8) {
    int width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
        char32_t cp = c;
        if (len > 1 && i + len <= utf8.size()) {
            cp = c & (0xFF >> (len + 1));
            for (std::size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        width += (cp >= 0x1100 && (cp <= 0x115F || (cp >= 0x2E80 && cp <= 0xA4CF) || (cp >= 0xAC00 && cp <= 0xD7A3) ||
                                   (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFE30 && cp <= 0xFE4F) ||
                                   (cp >= 0xFF00 && cp <= 0xFF60) || (cp >= 0xFFE0 && cp <= 0xFFE6)))
                     ? 2
                     : 1;
        i += len;
    }
    return width;
}

std::string DumpImage(const RadioImage& image) {
    std::ostringstream out;
    PlainChannelTable table;
    UpdateGridFromImage(image, table);
    const FormSelections s = DecodeFormSelections(image);
    out << Line(TextId::LabelModel, ModelTexts()[static_cast<std::size_t>(s.model)]);
    out << Line(TextId::LabelBand, BandTexts()[static_cast<std::size_t>(s.band)]);
    out << Line(TextId::LabelPowerLevel, PowerLevelTexts()[static_cast<std::size_t>(s.powerLevel)]);
    out << Line(TextId::LabelManual, ManualTexts()[static_cast<std::size_t>(s.manual)]);

    const OptionsValues o = DecodeOptions(image);
    out << "\n";
    out << Line(TextId::LabelTimer, TimerText(o.timerPosition));
    out << Line(TextId::LabelSquelch, SquelchTexts()[static_cast<std::size_t>(o.squelch)]);
    out << Line(TextId::LabelAlarm, OnOff(o.alarmTone));
    out << Line(TextId::LabelScrambler, OnOff(o.scrambler));
    out << Line(TextId::LabelBattery, OnOff(o.batterySave));
    out << Line(TextId::LabelVoice, LanguageTexts()[static_cast<std::size_t>(o.language)]);
    out << Line(TextId::LabelVoxGain, VoxGainTexts()[static_cast<std::size_t>(o.voxGain)]);
    out << Line(TextId::LabelVoxDelay, VoxDelayTexts()[static_cast<std::size_t>(o.voxDelay)]);
    out << Line(TextId::DumpBot, OnOff(o.bot));
    out << Line(TextId::DumpEot, OnOff(o.eot));
    out << "ANI: " << o.ani << "\n";
    out << Line(TextId::LabelRadioName, o.radioName);

    out << "\n";
    std::string header;
    // A column is as wide as its caption and its longest text at least.
    std::array<int, col::kCount> widths{};
    for (int c = 0; c < col::kCount; ++c) {
        const auto at = static_cast<std::size_t>(c);
        widths[at] = std::max(kWidths[at], DisplayWidth(ColumnCaption(c)));
        for (int n = 1; c > 0 && n <= kChannelCount; ++n)
            widths[at] = std::max(widths[at], DisplayWidth(table.CellText(n, c)));
        header += Pad(ColumnCaption(c), widths[at]) + "  ";
    }
    while (!header.empty() && header.back() == ' ') header.pop_back();
    out << header << "\n";
    int inUse = 0;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (!ChannelInUse(RecordAt(image, n))) continue;
        ++inUse;
        std::string line = Pad(std::to_string(n), widths[0]) + "  ";
        for (int c = 1; c <= 10; ++c) line += Pad(table.CellText(n, c), widths[static_cast<std::size_t>(c)]) + "  ";
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out << line << "\n";
    }
    out << Line(TextId::DumpInUse, std::to_string(inUse));
    return out.str();
}
