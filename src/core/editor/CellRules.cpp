#include "editor/CellRules.h"

#include <algorithm>

#include "tones/ToneTable.h"
#include "image/DecimalText.h"
#include "res/Texts.h"

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && EqualNoCase(std::string_view(text).substr(0, prefix.size()), prefix);
}

// A tone text outside the table that the grid shows for some record: it
// encodes to a tone word that decodes to the very same text.
bool DecodedToneText(const std::string& text) {
    if (text.empty() || text == "OFF") return false;
    std::uint8_t h = 0, l = 0;
    EncodeToneWord(text, h, l);
    return DecodeToneWord(h, l, true) == text;
}

bool Empty(const IChannelTable& t, int row, int col) { return t.CellText(row, col).empty(); }

// A row without frequencies gets a channel: its empty cells take the
// defaults. A tone left in the row (by emptying its frequencies, or from a
// record read that way) is kept; no cell of a channel in use stays empty.
void WriteNewChannelDefaults(IChannelTable& t, int row) {
    for (int c = col::kRxTone; c <= col::kBusy; ++c)
        if (Empty(t, row, c)) t.SetCellText(row, c, NewChannelDefault(c));
}

void EmptyFlags(IChannelTable& t, int row) {
    for (int c = col::kWidth; c <= col::kBusy; ++c) t.SetCellText(row, c, "");
}

}  // namespace

FrequencyCheck CheckFrequencyText(const std::string& typed, const BandLimits& band) {
    FrequencyCheck check;
    if (typed.empty()) return check;
    const std::uint32_t units = FrequencyTextToUnits(typed);
    // The text written is the checked value itself, so what is stored is
    // exactly what passed the checks.
    check.text = UnitsToFrequencyText(units);
    // "145,125" is not 145 MHz: text after the number makes the whole text wrong.
    if (units < kLowestUnits || units > kHighestUnits || !IsOneDecimal(typed)) {
        check.accepted = false;
        check.messages.push_back(FrequencyMessage::FormatAndSize);
        return check;
    }
    if (units < band.low || units > band.high) check.messages.push_back(FrequencyMessage::OutOfBand);
    if (units % 625 != 0 && units % 500 != 0) {
        check.accepted = false;
        check.messages.push_back(FrequencyMessage::Step);
    }
    return check;
}

const char* FrequencyMessageText(FrequencyMessage message) {
    switch (message) {
        case FrequencyMessage::FormatAndSize: return Tr(TextId::FrequencyFormatAndSize);
        case FrequencyMessage::OutOfBand: return Tr(TextId::FrequencyOutOfBand);
        case FrequencyMessage::Step: return Tr(TextId::FrequencyStep);
    }
    return "";
}

bool RowHasFrequency(const IChannelTable& t, int row) {
    return !Empty(t, row, col::kRxFreq) || !Empty(t, row, col::kTxFreq);
}

void ApplyFrequencyEdit(IChannelTable& t, int row, int col, const std::string& text, bool enterRule) {
    if (!text.empty()) {
        if (!RowHasFrequency(t, row)) {
            WriteNewChannelDefaults(t, row);
            if (col == col::kRxFreq) t.SetCellText(row, col::kTxFreq, text);
        }
        t.SetCellText(row, col, text);
        return;
    }
    t.SetCellText(row, col == col::kRxFreq ? col::kRxTone : col::kTxTone, "");
    t.SetCellText(row, col, "");
    const bool toneless = Empty(t, row, col::kRxTone) && Empty(t, row, col::kTxTone);
    if (!RowHasFrequency(t, row) && (enterRule || toneless)) EmptyFlags(t, row);
}

std::string NewChannelDefault(int column) {
    // The tones OFF; wide, scanned, high power, DTMF, PTT ID on, no busy lockout.
    static const int kListDefaults[] = {0, 0, 1, 1, 1, 0};
    const int c = std::clamp(column, col::kRxTone, col::kBusy);
    if (IsToneColumn(c)) return "OFF";
    return ListEntries(c)[static_cast<std::size_t>(kListDefaults[c - col::kWidth])];
}

std::optional<std::string> ToneTableText(const std::string& typed) {
    for (const std::string& entry : ToneTable::Instance().Texts())
        if (EqualNoCase(entry, typed)) return entry;
    return std::nullopt;
}

std::string StoredCellText(int column, const std::string& text) {
    return IsToneColumn(column) ? ToneTableText(text).value_or(text) : CellTextIn(column, text, CurrentLanguage());
}

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<std::string> CellTextRefusal(int column, const std::string& text, ToneTexts tones) {
    if (IsToneColumn(column)) {
        if (ToneTableText(text) || (tones == ToneTexts::Shown && DecodedToneText(text))) return std::nullopt;
        return TrFormat(TextId::NotAToneCode, {text});
    }
    // A channel in use shows an empty optional signalling for the values without a text.
    if (column == col::kSignal && text.empty()) return std::nullopt;
    if (ListIndex(column, text) >= 0) return std::nullopt;
    return TrFormat(TextId::NotAListValue, {text});
}

int SetFieldOfChannels(IChannelTable& t, int column, int first, int last, const std::string& text) {
    if (column < col::kRxTone || column > col::kBusy || CellTextRefusal(column, text)) return 0;
    const std::string value = StoredCellText(column, text);
    int changed = 0;
    for (int row = std::max(first, 1); row <= std::min(last, kChannelCount); ++row) {
        if (!RowHasFrequency(t, row) || t.CellText(row, column) == value) continue;
        t.SetCellText(row, column, value);
        ++changed;
    }
    return changed;
}

std::string ToneCommitText(const IChannelTable& t, int row, const std::string& typed) {
    if (!RowHasFrequency(t, row)) return "";
    return ToneTableText(typed).value_or("OFF");
}

std::string ListCommitText(const IChannelTable& t, int row, const std::string& entry) {
    return RowHasFrequency(t, row) ? entry : "";
}

int EntryStartingWith(const std::vector<std::string>& entries, const std::string& cellText) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (StartsWithNoCase(entries[i], cellText)) return static_cast<int>(i);
    return 0;
}
