#include "compare/ImageDiff.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>

#include "image/ChannelCodec.h"
#include "image/ChannelTable.h"
#include "image/FormSelections.h"
#include "settings/OptionsCodec.h"

namespace {

// The bits of one byte a text shows.
struct Bits {
    std::size_t offset;  // in the record, or in the image for a setting
    std::uint8_t mask;
};

// The bits of the channel record each column (1-10) shows.
const std::vector<Bits>& ColumnBits(int column) {
    static const std::array<std::vector<Bits>, 11> bits = {{
        {},
        {{0, 0xFF}, {1, 0xFF}, {2, 0xFF}, {3, 0xFF}},
        {{4, 0xFF}, {5, 0xFF}, {6, 0xFF}, {7, 0xFF}},
        {{8, 0xFF}, {9, 0xFF}},
        {{10, 0xFF}, {11, 0xFF}},
        {{13, 0x10}},
        {{13, 0x08}},
        {{13, 0x20}},
        {{12, 0xFF}},
        {{14, 0x01}},
        {{13, 0x07}},
    }};
    return bits[static_cast<std::size_t>(column)];
}

// The bytes a saved empty row holds where a new document holds 0xFF.
constexpr std::size_t kEmptyRowFirst = 12;
constexpr std::size_t kEmptyRowLast = 14;

std::string Hex(unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
    return buffer;
}

// Marks the bytes of a differing field as explained; the bits left over in
// `unexplained` differ without a text that shows it.
void Explain(std::array<std::uint8_t, kImageSize>& unexplained, std::size_t base, const std::vector<Bits>& bits) {
    for (const Bits& b : bits) unexplained[base + b.offset] &= static_cast<std::uint8_t>(~b.mask);
}

std::vector<std::size_t> Offsets(std::size_t base, const std::vector<Bits>& bits) {
    std::vector<std::size_t> offsets;
    for (const Bits& b : bits) offsets.push_back(base + b.offset);
    return offsets;
}

void AddBytes(std::vector<ImageDifference>& out, const RadioImage& before, const RadioImage& after,
              const std::array<std::uint8_t, kImageSize>& unexplained, std::size_t first, std::size_t last,
              int channel) {
    for (std::size_t at = first; at <= last; ++at) {
        if (!unexplained[at]) continue;
        ImageDifference d;
        d.area = DiffArea::Byte;
        d.channel = channel;
        d.before = Hex(before[at], 2);
        d.after = Hex(after[at], 2);
        d.offsets = {at};
        out.push_back(std::move(d));
    }
}

void CompareChannel(int n, const RadioImage& before, const RadioImage& after, CompareOptions options,
                    std::array<std::uint8_t, kImageSize>& unexplained, std::vector<ImageDifference>& out) {
    const std::size_t base = ChannelOffset(n);
    const ChannelRecord a = RecordAt(before, n);
    const ChannelRecord b = RecordAt(after, n);
    if (a == b) return;
    const ChannelTexts ta = DecodeChannelRecord(a);
    const ChannelTexts tb = DecodeChannelRecord(b);
    for (int c = 1; c <= 10; ++c) {
        const auto i = static_cast<std::size_t>(c - 1);
        if (ta[i] == tb[i]) continue;
        ImageDifference d;
        d.area = DiffArea::ChannelField;
        d.channel = n;
        d.column = c;
        d.before = ta[i];
        d.after = tb[i];
        d.offsets = Offsets(base, ColumnBits(c));
        out.push_back(std::move(d));
        Explain(unexplained, base, ColumnBits(c));
    }
    if (!options.allBytes && !ChannelInUse(a) && !ChannelInUse(b))
        for (std::size_t k = kEmptyRowFirst; k <= kEmptyRowLast; ++k) unexplained[base + k] = 0;
    AddBytes(out, before, after, unexplained, base, base + kRecordSize - 1, n);
}

std::string OnOff(bool on) { return Tr(on ? TextId::ValueOn : TextId::ValueOff); }

template <std::size_t N>
std::string Entry(const std::array<std::string, N>& texts, int index) {
    return texts[static_cast<std::size_t>(index)];
}

struct SettingField {
    TextId label;
    std::vector<Bits> bits;
    std::function<std::string(const FormSelections&, const OptionsValues&)> text;
};

std::vector<Bits> TextFieldBits(std::size_t first) {
    std::vector<Bits> bits;
    for (std::size_t k = 0; k < addr::kTextFieldSize; ++k) bits.push_back({first + k, 0xFF});
    return bits;
}

// The settings in the order the options dialog and the form show them.
const std::vector<SettingField>& SettingFields() {
    using S = FormSelections;
    using O = OptionsValues;
    static const std::vector<SettingField> fields = {
        {TextId::LabelModel, {{addr::kModel, 0xFF}}, [](const S& s, const O&) { return Entry(ModelTexts(), s.model); }},
        {TextId::LabelBand, {{addr::kBand, 0xFF}}, [](const S& s, const O&) { return Entry(BandTexts(), s.band); }},
        {TextId::LabelPowerLevel,
         {{addr::kPowerLevel, 0xFF}},
         [](const S& s, const O&) { return Entry(PowerLevelTexts(), s.powerLevel); }},
        {TextId::LabelManual,
         {{addr::kFunctions, 0x80}},
         [](const S& s, const O&) { return Entry(ManualTexts(), s.manual); }},
        {TextId::LabelTimer, {{addr::kTimer, 0xFF}}, [](const S&, const O& o) { return TimerText(o.timerPosition); }},
        {TextId::LabelSquelch,
         {{addr::kSquelch, 0xFF}},
         [](const S&, const O& o) { return Entry(SquelchTexts(), o.squelch); }},
        {TextId::LabelAlarm, {{addr::kFunctions, 0x40}}, [](const S&, const O& o) { return OnOff(o.alarmTone); }},
        {TextId::LabelScrambler, {{addr::kFunctions, 0x10}}, [](const S&, const O& o) { return OnOff(o.scrambler); }},
        {TextId::LabelBattery, {{addr::kFunctions, 0x04}}, [](const S&, const O& o) { return OnOff(o.batterySave); }},
        {TextId::LabelVoice,
         {{addr::kFunctions, 0x03}},
         [](const S&, const O& o) { return Entry(LanguageTexts(), o.language); }},
        {TextId::LabelVoxGain,
         {{addr::kVoxGain, 0xFF}},
         [](const S&, const O& o) { return Entry(VoxGainTexts(), o.voxGain); }},
        {TextId::LabelVoxDelay,
         {{addr::kVoxDelay, 0xFF}},
         [](const S&, const O& o) { return Entry(VoxDelayTexts(), o.voxDelay); }},
        {TextId::DumpBot, {{addr::kVoxPtt, 0x20}}, [](const S&, const O& o) { return OnOff(o.bot); }},
        {TextId::DumpEot, {{addr::kVoxPtt, 0x10}}, [](const S&, const O& o) { return OnOff(o.eot); }},
        {TextId::LabelAni, TextFieldBits(addr::kAni), [](const S&, const O& o) { return o.ani; }},
        {TextId::LabelRadioName, TextFieldBits(addr::kRadioName), [](const S&, const O& o) { return o.radioName; }},
    };
    return fields;
}

void CompareSettings(const RadioImage& before, const RadioImage& after,
                     std::array<std::uint8_t, kImageSize>& unexplained, std::vector<ImageDifference>& out) {
    const FormSelections sa = DecodeFormSelections(before), sb = DecodeFormSelections(after);
    const OptionsValues oa = DecodeOptions(before), ob = DecodeOptions(after);
    for (const SettingField& field : SettingFields()) {
        std::string a = field.text(sa, oa), b = field.text(sb, ob);
        if (a == b) continue;
        ImageDifference d;
        d.area = DiffArea::Setting;
        d.label = field.label;
        d.before = std::move(a);
        d.after = std::move(b);
        d.offsets = Offsets(0, field.bits);
        out.push_back(std::move(d));
        Explain(unexplained, 0, field.bits);
    }
    AddBytes(out, before, after, unexplained, addr::kSettings, kImageSize - 1, 0);
}

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            out += "\\u" + Hex(c, 4);
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string Shown(const std::string& text) { return text.empty() ? Tr(TextId::DiffEmpty) : text; }

}  // namespace

std::vector<ImageDifference> CompareImages(const RadioImage& before, const RadioImage& after, CompareOptions options) {
    std::array<std::uint8_t, kImageSize> unexplained{};
    for (std::size_t i = 0; i < kImageSize; ++i) unexplained[i] = before[i] ^ after[i];
    std::vector<ImageDifference> out;
    for (int n = 1; n <= kChannelCount; ++n) CompareChannel(n, before, after, options, unexplained, out);
    CompareSettings(before, after, unexplained, out);
    return out;
}

std::string DifferenceCaption(const ImageDifference& d, Lang lang) {
    switch (d.area) {
        case DiffArea::ChannelField: return ColumnCaptionIn(d.column, lang);
        case DiffArea::Setting: return Tr(d.label, lang);
        case DiffArea::Byte: break;
    }
    const std::string offset = "0x" + Hex(static_cast<unsigned>(d.offsets.front()), 3);
    return FormatText(Tr(TextId::DiffByte, lang), {offset});
}

std::string DifferenceField(const ImageDifference& d) {
    static const TextId kColumns[11] = {TextId::ColChannel, TextId::ColRxFreq, TextId::ColTxFreq, TextId::ColRxTone,
                                        TextId::ColTxTone,  TextId::ColWidth,  TextId::ColScan,   TextId::ColPower,
                                        TextId::ColSignal,  TextId::ColPttId,  TextId::ColBusy};
    switch (d.area) {
        case DiffArea::ChannelField: return AllTexts()[static_cast<std::size_t>(kColumns[d.column])].name;
        case DiffArea::Setting: return AllTexts()[static_cast<std::size_t>(d.label)].name;
        case DiffArea::Byte: break;
    }
    return "Byte";
}

std::string DifferenceLine(const ImageDifference& d) {
    const std::string caption = DifferenceCaption(d, CurrentLanguage());
    if (d.channel)
        return TrFormat(TextId::DiffChannelLine, {std::to_string(d.channel), caption, Shown(d.before), Shown(d.after)});
    return TrFormat(TextId::DiffLine, {caption, Shown(d.before), Shown(d.after)});
}

std::string DifferencesJson(const std::vector<ImageDifference>& differences) {
    std::string out = "[";
    for (std::size_t i = 0; i < differences.size(); ++i) {
        const ImageDifference& d = differences[i];
        out += i ? ",\n " : "\n ";
        out += "{\"channel\": " + (d.channel ? std::to_string(d.channel) : std::string("null"));
        out += ", \"field\": " + JsonString(DifferenceField(d));
        out += ", \"caption\": {\"zh\": " + JsonString(DifferenceCaption(d, Lang::Zh)) +
               ", \"en\": " + JsonString(DifferenceCaption(d, Lang::En)) + "}";
        out += ", \"old\": " + JsonString(d.before) + ", \"new\": " + JsonString(d.after);
        out += ", \"offsets\": [";
        for (std::size_t k = 0; k < d.offsets.size(); ++k) out += (k ? ", " : "") + std::to_string(d.offsets[k]);
        out += "]}";
    }
    return out + (differences.empty() ? "]\n" : "\n]\n");
}

std::string ComparedName::InWords() const { return text ? Describe(*text) : fileName; }

void ImageComparison::Start(const RadioImage& other, ComparedName name, const RadioImage& current) {
    m_active = true;
    m_other = other;
    m_name = std::move(name);
    Refresh(current);
}

void ImageComparison::Stop() {
    m_active = false;
    m_differences.clear();
}

void ImageComparison::Refresh(const RadioImage& current) {
    if (m_active) m_differences = CompareImages(m_other, current);
}

void ImageComparison::TransferEnded(CloneDirection direction, const CloneResult& result, const RadioImage& sent) {
    if (!m_active || !m_name.text || m_name.text->id != TextId::CompareRadioName) return;
    if (direction == CloneDirection::Write)
        std::copy_n(sent.begin(), static_cast<std::size_t>(std::clamp(result.blocks, 0, kBlockCount) * kBlockSize),
                    m_other.begin());
    else if (result.outcome == CloneOutcome::Completed)
        m_other = result.image;
}

const ImageDifference* ImageComparison::CellDifference(int row, int column) const {
    for (const ImageDifference& d : m_differences)
        if (d.area == DiffArea::ChannelField && d.channel == row && d.column == column) return &d;
    return nullptr;
}

bool ImageComparison::Marked(int row, int column) const { return CellDifference(row, column) != nullptr; }

std::string ImageComparison::CellTip(int row, int column) const {
    const ImageDifference* d = CellDifference(row, column);
    return d ? Tip(*d) : std::string();
}

std::string ImageComparison::Tip(const ImageDifference& d) const {
    const std::string name = Name();
    // A blank parts a file's Latin name from the Chinese words after it; a
    // Chinese name ("对讲机") runs on without one.
    const bool latinEnd = !name.empty() && static_cast<unsigned char>(name.back()) < 0x80;
    return TrFormat(latinEnd ? TextId::CompareCellWas : TextId::CompareCellWasAfterChinese,
                    {name, d.before.empty() ? std::string(Tr(TextId::DiffEmpty)) : d.before});
}

int ImageComparison::Step(int row, int column, bool forward) const {
    const auto place = [](const ImageDifference& d) { return d.channel * 16 + d.column; };
    const int here = row * 16 + column;
    int first = -1, last = -1, next = -1, previous = -1;
    for (std::size_t i = 0; i < m_differences.size(); ++i) {
        const ImageDifference& d = m_differences[i];
        if (d.area != DiffArea::ChannelField) continue;
        const int at = static_cast<int>(i);
        if (first < 0) first = at;
        last = at;
        if (next < 0 && place(d) > here) next = at;
        if (place(d) < here) previous = at;
    }
    if (forward) return next >= 0 ? next : first;
    return previous >= 0 ? previous : last;
}
