#include "csv/ChirpCsv.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "editor/CellRules.h"
#include "image/ChannelTable.h"
#include "csv/CsvValues.h"
#include "csv/CsvWriter.h"
#include "image/DecimalText.h"
#include "res/Texts.h"

namespace {

const CsvFields kHeader = {"Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
                           "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
                           "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};

// Transmit and receive frequencies further apart than this are written as a
// split rather than an offset (10 Hz units).
constexpr std::uint32_t kLargestOffsetUnits = 5000000;

constexpr const char* kDefaultCtcss = "88.5";
constexpr const char* kDefaultDcs = "023";

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// The entries of the grid's lists this layout speaks of.
const std::string& Narrow() { return ListEntries(col::kWidth)[1]; }
const std::string& NotScanned() { return ListEntries(col::kScan)[1]; }
const std::string& PowerEntry(bool high) { return ListEntries(col::kPower)[high ? 1 : 0]; }

bool IsDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A field of one line, found by its column name; empty when the file has no
// such column.
class ChirpLine {
public:
    ChirpLine(const CsvRecord& header, const CsvRecord& record) : m_header(header), m_record(record) {}
    std::string operator()(const char* name) const { return CsvField(m_record, CsvColumnIndex(m_header, name)); }
    bool Has(const char* name) const { return CsvColumnIndex(m_header, name) >= 0; }

private:
    const CsvRecord& m_header;
    const CsvRecord& m_record;
};

// ---- tones ----------------------------------------------------------------

// "023" with polarity 'R' -> "D023I"; codes of fewer digits padded to three.
std::string DcsText(std::string code, char polarity) {
    if (IsDigits(code) && code.size() < 3) code.insert(0, 3 - code.size(), '0');
    return "D" + code + (polarity == 'R' ? "I" : "N");
}

// The code as the file spells it, unpadded ("05" -> "D05N").
std::string SpelledDcs(const std::string& code, char polarity) { return "D" + code + (polarity == 'R' ? "I" : "N"); }

struct Tone {
    std::string text = "OFF";
    std::string spelled;  // empty when the file spells it as `text`
};

struct TonePair {
    Tone tx, rx;
};

// The tone columns of one line. Only the columns the tone mode uses are
// read: a DTCS polarity is checked only where a DCS code is sent or heard.
class ChirpTones {
public:
    explicit ChirpTones(const ChirpLine& f) : m_f(f) {}

    // Reads Tone, CrossMode and the columns they name; false, with the
    // reason, when they cannot be read.
    bool Read(TonePair& tones, std::string& refusal) {
        const std::string mode = m_f("Tone");
        if (mode.empty()) return true;
        if (mode == "Tone") {
            Ctcss(tones.tx, "rToneFreq");
            return true;
        }
        if (mode == "TSQL") {
            Ctcss(tones.tx, "cToneFreq");
            Ctcss(tones.rx, "cToneFreq");
            return true;
        }
        // One code both ways, each with its own polarity.
        if (mode == "DTCS") return Dcs(tones.tx, "DtcsCode", 0, refusal) && Dcs(tones.rx, "DtcsCode", 1, refusal);
        if (mode != "Cross") {
            refusal = TrFormat(TextId::CsvBadToneMode, {mode});
            return false;
        }
        const std::string cross = m_f("CrossMode").empty() ? "Tone->Tone" : m_f("CrossMode");
        const auto arrow = cross.find("->");
        const std::string from = arrow == std::string::npos ? "?" : cross.substr(0, arrow);
        const std::string to = arrow == std::string::npos ? "?" : cross.substr(arrow + 2);
        const bool known = (from.empty() || from == "Tone" || from == "DTCS") &&
                           (to.empty() || to == "Tone" || to == "DTCS") && !(from.empty() && to.empty());
        if (!known) {
            refusal = TrFormat(TextId::CsvBadCrossMode, {cross});
            return false;
        }
        if (from == "Tone") Ctcss(tones.tx, "rToneFreq");
        if (from == "DTCS" && !Dcs(tones.tx, "DtcsCode", 0, refusal)) return false;
        if (to == "Tone") Ctcss(tones.rx, "cToneFreq");
        // Lists written before RxDtcsCode existed use one code both ways.
        if (to == "DTCS" && !Dcs(tones.rx, m_f.Has("RxDtcsCode") ? "RxDtcsCode" : "DtcsCode", 1, refusal)) return false;
        return true;
    }

private:
    // A list with only one of the two CTCSS columns uses it both ways.
    void Ctcss(Tone& tone, const char* column) const {
        const char* other = std::string(column) == "rToneFreq" ? "cToneFreq" : "rToneFreq";
        tone.text = CtcssText(m_f(m_f.Has(column) ? column : other));
    }

    bool Dcs(Tone& tone, const char* column, std::size_t direction, std::string& refusal) const {
        const std::string polarity = m_f("DtcsPolarity").empty() ? "NN" : Upper(m_f("DtcsPolarity"));
        if (polarity.size() != 2 || polarity.find_first_not_of("NR") != std::string::npos) {
            refusal = TrFormat(TextId::CsvBadPolarity, {m_f("DtcsPolarity")});
            return false;
        }
        const std::string code = m_f(column);
        tone.text = DcsText(code, polarity[direction]);
        const std::string spelled = SpelledDcs(code, polarity[direction]);
        if (spelled != tone.text) tone.spelled = spelled;
        return true;
    }

    const ChirpLine& m_f;
};

// ---- frequencies ------------------------------------------------------------

// The transmit frequency text Duplex and Offset give; false when they cannot.
bool ReadTransmit(const ChirpLine& f, const std::string& rx, std::string& tx, std::string& refusal) {
    const std::string duplex = f("Duplex"), offset = f("Offset");
    const std::string upperDuplex = Upper(duplex);
    if (upperDuplex == "OFF") {
        tx.clear();
        return true;
    }
    if (upperDuplex == "SPLIT") {
        if (offset.empty()) refusal = Tr(TextId::CsvSplitWithoutOffset);
        tx = offset;
        return refusal.empty();
    }
    if (!duplex.empty() && duplex != "+" && duplex != "-") {
        refusal = TrFormat(TextId::CsvBadDuplex, {duplex});
        return false;
    }
    tx = rx;
    if (duplex.empty()) return true;
    if (!offset.empty() && !IsPlainDecimal(offset)) {
        refusal = TrFormat(TextId::CsvBadOffset, {offset});
        return false;
    }
    if (!IsPlainDecimal(rx)) return true;  // the receive frequency's own check refuses the line
    const std::uint32_t rxUnits = FrequencyTextToUnits(rx);
    const std::uint32_t offsetUnits = offset.empty() ? 0 : FrequencyTextToUnits(offset);
    if (duplex == "-" && offsetUnits > rxUnits) {
        refusal = TrFormat(TextId::CsvOffsetAboveFrequency, {offset});
        return false;
    }
    const std::uint64_t txUnits = duplex == "+" ? std::uint64_t{rxUnits} + offsetUnits : rxUnits - offsetUnits;
    tx = UnitsToFrequencyText(static_cast<std::uint32_t>(std::min<std::uint64_t>(txUnits, 0xFFFFFFFFu)));
    return true;
}

// ---- the list columns -------------------------------------------------------

// Power as watts ("5", "0.5W": 4 W and more is high) or as a word: High, Hi
// and H are high; Low, Lo, L, Mid, Med, Medium and M are low, each also with
// a number after it (Low1, Mid2).
std::optional<bool> HighPower(std::string power) {
    if (!power.empty() && power.back() == 'W') power = TrimBlanks(power.substr(0, power.size() - 1));
    if (IsPlainDecimal(power)) return ReadScaledDecimal(power, 2).magnitude >= 400;
    const std::string word = power.substr(0, power.find_first_of("0123456789"));
    if (word == "H" || word == "HI" || word == "HIGH") return true;
    for (const char* low : {"L", "LO", "LOW", "M", "MID", "MED", "MEDIUM"})
        if (word == low) return false;
    return std::nullopt;
}

// Mode, Skip and Power; a column the list does not have says nothing.
bool ReadLists(const ChirpLine& f, CsvChannelRow& row, std::string& refusal) {
    auto set = [&](int column, const std::string& text) { row.texts[static_cast<std::size_t>(column - 1)] = text; };
    for (int column = col::kWidth; column <= col::kBusy; ++column) set(column, NewChannelDefault(column));
    row.unsaid[col::kSignal - 1] = row.unsaid[col::kPttId - 1] = row.unsaid[col::kBusy - 1] = true;
    row.unsaid[col::kWidth - 1] = !f.Has("Mode");
    row.unsaid[col::kScan - 1] = !f.Has("Skip");
    row.unsaid[col::kPower - 1] = !f.Has("Power");

    const std::string mode = Upper(f("Mode"));
    if (mode == "NFM") {
        set(col::kWidth, Narrow());
    } else if (!mode.empty() && mode != "FM") {
        refusal = TrFormat(TextId::CsvUnsupportedMode, {f("Mode")});
        return false;
    }

    const std::string skip = Upper(f("Skip"));
    if (skip == "S") {
        set(col::kScan, NotScanned());
    } else if (!skip.empty() && skip != "P") {
        refusal = TrFormat(TextId::CsvBadSkip, {f("Skip")});
        return false;
    }

    const std::string power = Upper(f("Power"));
    if (power.empty()) return true;
    const std::optional<bool> high = HighPower(power);
    if (!high) {
        refusal = TrFormat(TextId::CsvBadPower, {f("Power")});
        return false;
    }
    set(col::kPower, PowerEntry(*high));
    return true;
}

// ---- export -------------------------------------------------------------------

std::string Mhz(std::uint32_t units) { return UnitsToFrequencyText(units) + "0"; }

bool IsDcs(const std::string& tone) { return !tone.empty() && tone[0] == 'D'; }
bool IsCtcss(const std::string& tone) { return !tone.empty() && tone != "OFF" && !IsDcs(tone); }
std::string DcsCode(const std::string& tone) { return tone.substr(1, tone.size() >= 2 ? tone.size() - 2 : 0); }
char DcsPolarity(const std::string& tone) { return IsDcs(tone) && tone.back() == 'I' ? 'R' : 'N'; }

struct ToneColumns {
    std::string mode, rTone = kDefaultCtcss, cTone = kDefaultCtcss, dcs = kDefaultDcs, rxDcs = kDefaultDcs, polarity,
                      cross = "Tone->Tone";
};

ToneColumns WriteTones(const std::string& tx, const std::string& rx) {
    ToneColumns c;
    c.polarity = {DcsPolarity(tx), DcsPolarity(rx)};
    if (IsCtcss(tx)) c.rTone = tx;
    if (IsCtcss(rx)) c.cTone = rx;
    if (IsDcs(tx)) c.dcs = DcsCode(tx);
    if (IsDcs(rx)) c.rxDcs = DcsCode(rx);
    const bool txOff = !IsCtcss(tx) && !IsDcs(tx), rxOff = !IsCtcss(rx) && !IsDcs(rx);
    if (txOff && rxOff) {
        c.mode = "";
    } else if (IsCtcss(tx) && rxOff) {
        c.mode = "Tone";
    } else if (IsCtcss(tx) && tx == rx) {
        c.mode = "TSQL";
        c.cTone = tx;
    } else if (IsDcs(tx) && IsDcs(rx) && DcsCode(tx) == DcsCode(rx)) {
        c.mode = "DTCS";
    } else {
        c.mode = "Cross";
        auto kind = [](const std::string& tone) { return IsCtcss(tone) ? "Tone" : IsDcs(tone) ? "DTCS" : ""; };
        c.cross = std::string(kind(tx)) + "->" + kind(rx);
    }
    return c;
}

struct DuplexColumns {
    std::string frequency, duplex, offset = "0.000000";
};

DuplexColumns WriteDuplex(const std::string& rx, const std::string& tx) {
    DuplexColumns d;
    const std::uint32_t rxUnits = FrequencyTextToUnits(rx), txUnits = FrequencyTextToUnits(tx);
    if (!rx.empty()) d.frequency = Mhz(rxUnits);
    if (tx.empty()) {
        d.duplex = "off";
    } else if (rx.empty() || (rxUnits > txUnits ? rxUnits - txUnits : txUnits - rxUnits) >= kLargestOffsetUnits) {
        d.duplex = "split";
        d.offset = Mhz(txUnits);
    } else if (rxUnits != txUnits) {
        d.duplex = txUnits > rxUnits ? "+" : "-";
        d.offset = Mhz(txUnits > rxUnits ? txUnits - rxUnits : rxUnits - txUnits);
    }
    return d;
}

std::string TuningStep(const ChannelTexts& t) {
    for (int c = 0; c < 2; ++c) {
        const std::string& f = t[static_cast<std::size_t>(c)];
        if (!f.empty() && FrequencyTextToUnits(f) % 500 != 0) return "6.25";
    }
    return "5.00";
}

}  // namespace

const std::vector<std::string>& ChirpColumnNames() { return kHeader; }

bool IsChirpHeader(const CsvRecord& header) {
    return CsvColumnIndex(header, "Location") >= 0 && CsvColumnIndex(header, "Frequency") >= 0;
}

std::vector<CsvChannelRow> ReadChirpRows(const std::vector<CsvRecord>& records) {
    std::vector<CsvChannelRow> rows;
    if (records.empty()) return rows;
    const CsvRecord& header = records.front();
    const int locationColumn = CsvColumnIndex(header, "Location");
    bool zeroBased = false;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const std::string location = CsvField(records[r], locationColumn);
        zeroBased = zeroBased || (IsDigits(location) && location.find_first_not_of('0') == std::string::npos);
    }
    for (std::size_t r = 1; r < records.size(); ++r) {
        const ChirpLine f(header, records[r]);
        // An unused memory: a Location without a frequency either way.
        if (f("Frequency").empty() && Upper(f("Duplex")) != "SPLIT") continue;
        CsvChannelRow row;
        row.line = records[r].line;
        row.named = !f("Name").empty();

        const std::string location = f("Location");
        if (!IsDigits(location) || location.size() > 6) {
            row.numberRefusal = TrFormat(TextId::CsvNoLocation, {location});
        } else {
            row.number = std::stoi(location) + (zeroBased ? 1 : 0);
            if (row.number < 1 || row.number > kChannelCount)
                row.numberRefusal = TrFormat(TextId::CsvLocationOutOfRange, {location, std::to_string(row.number)});
        }
        row.refusal = CsvShortRowRefusal(header, records[r]);
        if (!row.refusal.empty()) {
            rows.push_back(std::move(row));
            continue;
        }

        const std::string rx = f("Frequency");
        std::string tx;
        TonePair tones;
        if (ReadTransmit(f, rx, tx, row.refusal) && ChirpTones(f).Read(tones, row.refusal) &&
            ReadLists(f, row, row.refusal)) {
            ChannelTexts& t = row.texts;
            t[col::kRxFreq - 1] = rx;
            t[col::kTxFreq - 1] = tx;
            t[col::kRxTone - 1] = tones.rx.text;
            t[col::kTxTone - 1] = tones.tx.text;
            row.unsaid[col::kRxTone - 1] = row.unsaid[col::kTxTone - 1] = !f.Has("Tone");
            row.spelled[col::kRxTone - 1] = tones.rx.spelled;
            row.spelled[col::kTxTone - 1] = tones.tx.spelled;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string ExportChirpCsv(const RadioImage& image) {
    std::vector<CsvFields> rows;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord record = RecordAt(image, n);
        if (!ChannelInUse(record)) continue;
        const ChannelTexts t = DecodeChannelRecord(record);
        auto text = [&](int column) -> const std::string& { return t[static_cast<std::size_t>(column - 1)]; };
        const DuplexColumns d = WriteDuplex(text(col::kRxFreq), text(col::kTxFreq));
        const ToneColumns c = WriteTones(text(col::kTxTone), text(col::kRxTone));
        rows.push_back({std::to_string(n),
                        "",
                        d.frequency,
                        d.duplex,
                        d.offset,
                        c.mode,
                        c.rTone,
                        c.cTone,
                        c.dcs,
                        c.polarity,
                        c.rxDcs,
                        c.cross,
                        text(col::kWidth) == Narrow() ? "NFM" : "FM",
                        TuningStep(t),
                        text(col::kScan) == NotScanned() ? "S" : "",
                        text(col::kPower) == PowerEntry(true) ? "High" : "Low",
                        "",
                        "",
                        "",
                        "",
                        ""});
    }
    return CsvText(kHeader, rows);
}
