#include "cli/ImageDump.h"

#include <array>
#include <sstream>

#include "image/ChannelTable.h"
#include "settings/OptionsCodec.h"

namespace {

const std::array<const char*, 11> kHeaders = {"频道", "接收频率", "发射频率", "接收信令", "发射信令", " 宽/窄",
                                              "扫描添加", "发射功率", " 可选信令", "PTTID", "繁忙锁定"};
const std::array<int, 11> kWidths = {4, 10, 10, 8, 8, 6, 8, 8, 9, 5, 8};

std::string Pad(const std::string& text, int width) {
    int w = DisplayWidth(text);
    return text + std::string(static_cast<std::size_t>(w < width ? width - w : 0), ' ');
}

std::string OnOff(bool on) { return on ? "打开" : "关闭"; }

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
    out << "机型: " << ModelTexts()[static_cast<std::size_t>(s.model)] << "\n";
    out << "频段: " << BandTexts()[static_cast<std::size_t>(s.band)] << "\n";
    out << "发射功率等级: " << PowerLevelTexts()[static_cast<std::size_t>(s.powerLevel)] << "\n";
    out << "手动设置: " << ManualTexts()[static_cast<std::size_t>(s.manual)] << "\n";

    const OptionsValues o = DecodeOptions(image);
    out << "\n";
    out << "发射定时(秒): " << TimerText(o.timerPosition) << "\n";
    out << "静噪等级(SQ): " << SquelchTexts()[static_cast<std::size_t>(o.squelch)] << "\n";
    out << "报警音提示: " << OnOff(o.alarmTone) << "\n";
    out << "扰频器激活: " << OnOff(o.scrambler) << "\n";
    out << "电池省电: " << OnOff(o.batterySave) << "\n";
    out << "语言选择: " << LanguageTexts()[static_cast<std::size_t>(o.language)] << "\n";
    out << "VOX增益电平: " << VoxGainTexts()[static_cast<std::size_t>(o.voxGain)] << "\n";
    out << "VOX延迟时间(秒): " << VoxDelayTexts()[static_cast<std::size_t>(o.voxDelay)] << "\n";
    out << "PTT ID 开始发射: " << OnOff(o.bot) << "\n";
    out << "PTT ID 结束发射: " << OnOff(o.eot) << "\n";
    out << "ANI: " << o.ani << "\n";
    out << "本机命名: " << o.radioName << "\n";

    out << "\n";
    std::string header;
    for (std::size_t c = 0; c < kHeaders.size(); ++c) header += Pad(kHeaders[c], kWidths[c]) + "  ";
    while (!header.empty() && header.back() == ' ') header.pop_back();
    out << header << "\n";
    int inUse = 0;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (!ChannelInUse(RecordAt(image, n))) continue;
        ++inUse;
        std::string line = Pad(std::to_string(n), kWidths[0]) + "  ";
        for (int c = 1; c <= 10; ++c) line += Pad(table.CellText(n, c), kWidths[static_cast<std::size_t>(c)]) + "  ";
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out << line << "\n";
    }
    out << "使用中的频道: " << inUse << "\n";
    return out.str();
}
