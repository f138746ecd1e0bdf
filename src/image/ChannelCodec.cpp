#include "image/ChannelCodec.h"

#include <cstdio>

#include "image/DecimalText.h"

namespace {

constexpr std::uint32_t kMaxUnits = 4294967295u;

std::uint32_t DecodeFrequency(const ChannelRecord& r, int first) {
    std::uint32_t units = 0;
    for (int i = first + 3; i >= first; --i) units = units * 100 + FromBcd(r[static_cast<std::size_t>(i)]);
    return units;
}

void EncodeFrequency(std::string_view text, ChannelRecord& r, int first) {
    std::uint32_t units = FrequencyTextToUnits(text);
    auto at = [&](int i) -> std::uint8_t& { return r[static_cast<std::size_t>(first + i)]; };
    if (units == 0) {
        for (int i = 0; i < 4; ++i) at(i) = 0xFF;
        return;
    }
    at(3) = ToBcd(static_cast<int>(units / 1000000));
    units %= 1000000;
    at(2) = ToBcd(static_cast<int>(units / 10000));
    units %= 10000;
    at(1) = ToBcd(static_cast<int>(units / 100));
    at(0) = ToBcd(static_cast<int>(units % 100));
}

bool HasFrequency(std::uint8_t msb) { return msb != 0x00 && msb != 0xFF; }

void SetBit(std::uint8_t& byte, int bit, bool on) {
    if (on)
        byte = static_cast<std::uint8_t>(byte | (1u << bit));
    else
        byte = static_cast<std::uint8_t>(byte & ~(1u << bit));
}

}  // namespace

std::uint32_t FrequencyTextToUnits(std::string_view text) {
    ScaledDecimal d = ReadScaledDecimal(text, 5);
    if (d.negative || d.overflow || d.magnitude > kMaxUnits) return kMaxUnits;
    return static_cast<std::uint32_t>(d.magnitude);
}

std::string UnitsToFrequencyText(std::uint32_t units) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%u.%05u", units / 100000, units % 100000);
    return buf;
}

std::uint8_t FromBcd(std::uint8_t b) { return static_cast<std::uint8_t>((b >> 4) * 10 + (b & 0x0F)); }

std::uint8_t ToBcd(int value) { return static_cast<std::uint8_t>((value / 10) * 16 + value % 10); }

bool ChannelInUse(const ChannelRecord& r) { return HasFrequency(r[3]) || HasFrequency(r[7]); }

std::string DecodeToneWord(std::uint8_t h, std::uint8_t l, bool inUse) {
    if (h == 0x00 || h == 0xFF) return inUse ? "OFF" : "";
    if (h >= 0x80) {
        const bool inverted = h >= 0xC0;
        const int base = inverted ? 0xC0 : 0x80;
        const int code = (h - base) * 100 + FromBcd(l);
        return std::string(h == base ? "D0" : "D") + std::to_string(code) + (inverted ? "I" : "N");
    }
    const int tenths = FromBcd(h) * 100 + FromBcd(l);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

void EncodeToneWord(std::string_view text, std::uint8_t& h, std::uint8_t& l) {
    if (text.find('D') != std::string_view::npos) {
        std::string_view rest = text.substr(1);
        const int v = ReadLeadingInteger(rest);
        const bool normal = rest.find('N') != std::string_view::npos;
        h = static_cast<std::uint8_t>(v / 100 + (normal ? 0x80 : 0xC0));
        l = ToBcd(v % 100);
        return;
    }
    ScaledDecimal d = ReadScaledDecimal(text, 1);
    long long tenths = d.overflow || d.magnitude > 0x7FFFFFFFull ? 0x7FFFFFFF : static_cast<long long>(d.magnitude);
    if (d.negative) tenths = -tenths;
    if (tenths == 0) {
        h = l = 0xFF;
        return;
    }
    h = ToBcd(static_cast<int>(tenths / 100));
    l = ToBcd(static_cast<int>(tenths % 100));
}

ChannelTexts DecodeChannelRecord(const ChannelRecord& r) {
    ChannelTexts t;
    const bool inUse = ChannelInUse(r);
    if (HasFrequency(r[3])) t[0] = UnitsToFrequencyText(DecodeFrequency(r, 0));
    if (HasFrequency(r[7])) t[1] = UnitsToFrequencyText(DecodeFrequency(r, 4));
    t[2] = DecodeToneWord(r[9], r[8], inUse);
    t[3] = DecodeToneWord(r[11], r[10], inUse);
    if (!inUse) return t;
    switch (r[12]) {
        case 0: t[col::kSignal - 1] = "无"; break;
        case 2: t[col::kSignal - 1] = "DTMF"; break;
        case 4: t[col::kSignal - 1] = "队列同步"; break;
        default: break;
    }
    t[col::kPower - 1] = (r[13] & 0x20) ? "高" : "低";
    t[col::kWidth - 1] = (r[13] & 0x10) ? "宽" : "窄";
    t[col::kScan - 1] = (r[13] & 0x08) ? "是" : "否";
    const int busy = r[13] & 7;
    t[col::kBusy - 1] = (busy == 2 || busy == 3) ? "载波" : (busy == 4 || busy == 5) ? "QT/DQT" : "关闭";
    t[col::kPttId - 1] = (r[14] & 0x01) ? "开" : "关";
    return t;
}

void EncodeChannelRecord(const ChannelTexts& t, ChannelRecord& r) {
    auto text = [&](int column) -> const std::string& { return t[static_cast<std::size_t>(column - 1)]; };
    EncodeFrequency(text(col::kRxFreq), r, 0);
    EncodeFrequency(text(col::kTxFreq), r, 4);
    EncodeToneWord(text(col::kRxTone), r[9], r[8]);
    EncodeToneWord(text(col::kTxTone), r[11], r[10]);
    const std::string& signal = text(col::kSignal);
    r[12] = signal == "DTMF" ? 2 : signal == "队列同步" ? 4 : 0;
    SetBit(r[13], 5, text(col::kPower) == "高");
    SetBit(r[13], 3, text(col::kScan) == "是");
    SetBit(r[13], 4, text(col::kWidth) == "宽");
    SetBit(r[14], 0, text(col::kPttId) == "开");
    const std::string& busy = text(col::kBusy);
    if (busy == "关闭") {
        SetBit(r[13], 1, false);
        SetBit(r[13], 2, false);
    } else if (busy == "载波") {
        SetBit(r[13], 1, true);
        SetBit(r[13], 2, false);
    } else {
        SetBit(r[13], 1, false);
        SetBit(r[13], 2, true);
    }
}
