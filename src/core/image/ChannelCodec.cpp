#include "image/ChannelCodec.h"

#include <algorithm>
#include <array>
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

// The lists of columns 5 to 10, in the order their entries are offered.
const std::vector<TextId> kListIds[] = {
    {TextId::ValueWide, TextId::ValueNarrow},                          // 5 wide/narrow
    {TextId::ValueYes, TextId::ValueNo},                               // 6 scan add
    {TextId::ValueLow, TextId::ValueHigh},                             // 7 power
    {TextId::ValueNone, TextId::ValueDtmf, TextId::ValueSequential},   // 8 optional signalling: 0, 2, 4
    {TextId::ValuePttOff, TextId::ValuePttOn},                         // 9 PTT ID
    {TextId::ValueBusyOff, TextId::ValueCarrier, TextId::ValueQtDqt},  // 10 busy lockout
};

// The bits each of columns 1-10 is stored in: {byte, mask}.
struct FieldBits {
    std::size_t byte;
    std::uint8_t mask;
};
const std::vector<FieldBits> kFieldBits[] = {
    {{0, 0xFF}, {1, 0xFF}, {2, 0xFF}, {3, 0xFF}},  // 1 receive frequency
    {{4, 0xFF}, {5, 0xFF}, {6, 0xFF}, {7, 0xFF}},  // 2 transmit frequency
    {{8, 0xFF}, {9, 0xFF}},                        // 3 receive tone
    {{10, 0xFF}, {11, 0xFF}},                      // 4 transmit tone
    {{13, 0x10}},                                  // 5 wide/narrow
    {{13, 0x08}},                                  // 6 scan add
    {{13, 0x20}},                                  // 7 power
    {{12, 0xFF}},                                  // 8 optional signalling
    {{14, 0x01}},                                  // 9 PTT ID
    {{13, 0x06}},                                  // 10 busy lockout: bit 0 is never written
};

bool IsListColumn(int column) { return column >= col::kWidth && column <= col::kBusy; }

const std::vector<TextId>& ListIds(int column) {
    return kListIds[std::clamp(column, col::kWidth, col::kBusy) - col::kWidth];
}

std::string ListText(int column, int index, Lang lang) {
    return Tr(ListIds(column)[static_cast<std::size_t>(index)], lang);
}

}  // namespace

const std::vector<std::string>& ListEntries(int column, Lang lang) {
    static const auto lists = [] {
        std::array<std::array<std::vector<std::string>, 6>, 2> all;
        for (Lang l : {Lang::Zh, Lang::En})
            for (int c = col::kWidth; c <= col::kBusy; ++c)
                for (TextId id : ListIds(c))
                    all[static_cast<std::size_t>(l)][static_cast<std::size_t>(c - col::kWidth)].push_back(Tr(id, l));
        return all;
    }();
    return lists[static_cast<std::size_t>(lang)]
                [static_cast<std::size_t>(std::clamp(column, col::kWidth, col::kBusy) - col::kWidth)];
}

int ListIndex(int column, std::string_view text) {
    if (!IsListColumn(column)) return -1;
    const std::vector<TextId>& ids = ListIds(column);
    for (std::size_t i = 0; i < ids.size(); ++i)
        if (IsText(text, ids[i])) return static_cast<int>(i);
    return -1;
}

std::string CellTextIn(int column, const std::string& text, Lang lang) {
    const int index = ListIndex(column, text);
    return index < 0 ? text : ListText(column, index, lang);
}

ChannelTexts TextsIn(ChannelTexts texts, Lang lang) {
    for (int c = col::kWidth; c <= col::kBusy; ++c) {
        std::string& text = texts[static_cast<std::size_t>(c - 1)];
        text = CellTextIn(c, text, lang);
    }
    return texts;
}

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

ChannelTexts DecodeChannelRecord(const ChannelRecord& r, Lang lang) {
    ChannelTexts t;
    const bool inUse = ChannelInUse(r);
    if (HasFrequency(r[3])) t[0] = UnitsToFrequencyText(DecodeFrequency(r, 0));
    if (HasFrequency(r[7])) t[1] = UnitsToFrequencyText(DecodeFrequency(r, 4));
    t[2] = DecodeToneWord(r[9], r[8], inUse);
    t[3] = DecodeToneWord(r[11], r[10], inUse);
    if (!inUse) return t;
    auto show = [&](int column, int index) { t[static_cast<std::size_t>(column - 1)] = ListText(column, index, lang); };
    switch (r[12]) {
        case 0: show(col::kSignal, 0); break;
        case 2: show(col::kSignal, 1); break;
        case 4: show(col::kSignal, 2); break;
        default: break;
    }
    show(col::kPower, (r[13] & 0x20) ? 1 : 0);
    show(col::kWidth, (r[13] & 0x10) ? 0 : 1);
    show(col::kScan, (r[13] & 0x08) ? 0 : 1);
    const int busy = r[13] & 7;
    show(col::kBusy, (busy == 2 || busy == 3) ? 1 : (busy == 4 || busy == 5) ? 2 : 0);
    show(col::kPttId, (r[14] & 0x01) ? 1 : 0);
    return t;
}

void EncodeChannelRecord(const ChannelTexts& t, ChannelRecord& r) {
    auto text = [&](int column) -> const std::string& { return t[static_cast<std::size_t>(column - 1)]; };
    EncodeFrequency(text(col::kRxFreq), r, 0);
    EncodeFrequency(text(col::kTxFreq), r, 4);
    EncodeToneWord(text(col::kRxTone), r[9], r[8]);
    EncodeToneWord(text(col::kTxTone), r[11], r[10]);
    auto index = [&](int column) { return ListIndex(column, text(column)); };
    const int signal = index(col::kSignal);
    r[12] = signal == 1 ? 2 : signal == 2 ? 4 : 0;
    SetBit(r[13], 5, index(col::kPower) == 1);
    SetBit(r[13], 3, index(col::kScan) == 0);
    SetBit(r[13], 4, index(col::kWidth) == 0);
    SetBit(r[14], 0, index(col::kPttId) == 1);
    const int busy = index(col::kBusy);
    SetBit(r[13], 1, busy == 1);
    SetBit(r[13], 2, busy != 0 && busy != 1);
}

void EncodeChangedFields(const ChannelTexts& shown, const ChannelTexts& texts, ChannelRecord& r) {
    ChannelRecord encoded = r;
    EncodeChannelRecord(texts, encoded);
    for (std::size_t c = 0; c < texts.size(); ++c) {
        if (shown[c] == texts[c]) continue;
        for (const FieldBits& f : kFieldBits[c])
            r[f.byte] = static_cast<std::uint8_t>((r[f.byte] & ~f.mask) | (encoded[f.byte] & f.mask));
    }
}
