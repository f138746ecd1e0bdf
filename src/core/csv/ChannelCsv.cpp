#include "csv/ChannelCsv.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "editor/CellRules.h"
#include "image/ChannelTable.h"
#include "csv/ChirpCsv.h"
#include "csv/CsvChannelRow.h"
#include "csv/CsvValues.h"
#include "csv/CsvReader.h"
#include "csv/CsvWriter.h"
#include "res/CappedList.h"
#include "res/Texts.h"

namespace {

std::string ExportOwnCsv(const RadioImage& image) {
    CsvFields header;
    for (int c = 0; c < col::kCount; ++c) header.push_back(ColumnCaption(c));
    std::vector<CsvFields> rows;
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord record = RecordAt(image, n);
        if (!ChannelInUse(record)) continue;
        const ChannelTexts texts = DecodeChannelRecord(record);
        rows.push_back({std::to_string(n)});
        rows.back().insert(rows.back().end(), texts.begin(), texts.end());
    }
    return CsvText(header, rows);
}

// Our own layout's captions in both languages.
std::vector<std::string> OwnColumnNames() {
    std::vector<std::string> names;
    for (Lang lang : {Lang::Zh, Lang::En})
        for (int c = 0; c < col::kCount; ++c) names.push_back(ColumnCaptionIn(c, lang));
    return names;
}

// Our own layout: every column by its caption; a missing one is a problem
// of the header line, a line cut short one of its own.
std::vector<CsvChannelRow> ReadOwnRows(const std::vector<CsvRecord>& records, std::vector<CsvProblem>& problems) {
    const CsvRecord& header = records.front();
    std::array<int, col::kCount> column{};
    for (int c = 0; c < col::kCount; ++c) {
        // A file written under either language reads back under both.
        int& at = column[static_cast<std::size_t>(c)];
        at = CsvColumnIndex(header, ColumnCaptionIn(c, Lang::Zh));
        if (at < 0) at = CsvColumnIndex(header, ColumnCaptionIn(c, Lang::En));
        if (at < 0) problems.push_back({header.line, TrFormat(TextId::CsvMissingColumn, {ColumnCaption(c)})});
    }
    std::vector<CsvChannelRow> rows;
    if (!problems.empty()) return rows;
    for (std::size_t r = 1; r < records.size(); ++r) {
        auto field = [&](std::size_t c) { return CsvField(records[r], column[c]); };
        CsvChannelRow row;
        row.line = records[r].line;
        row.refusal = CsvShortRowRefusal(header, records[r]);
        const std::string number = field(0);
        const bool digits = !number.empty() && number.size() <= 3 &&
                            std::all_of(number.begin(), number.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
        row.number = digits ? std::stoi(number) : 0;
        if (row.number < 1 || row.number > kChannelCount) row.numberRefusal = TrFormat(TextId::CsvBadChannel, {number});
        for (int c = col::kRxFreq; c < col::kCount; ++c) {
            // A spreadsheet writes the tone 67.0 as 67.
            const std::string text = field(static_cast<std::size_t>(c));
            row.texts[static_cast<std::size_t>(c - 1)] = StoredCellText(c, IsToneColumn(c) ? CtcssText(text) : text);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

bool IsBlank(const std::string& field) { return TrimBlanks(field).empty(); }

// Comment lines ("#" first) and lines of empty fields say nothing.
std::vector<CsvRecord> SayingRecords(std::vector<CsvRecord> records) {
    records.erase(std::remove_if(records.begin(), records.end(),
                                 [](const CsvRecord& r) {
                                     const bool comment =
                                         !r.fields.empty() && TrimBlanks(r.fields.front()).rfind('#', 0) == 0;
                                     return comment || std::all_of(r.fields.begin(), r.fields.end(), IsBlank);
                                 }),
                  records.end());
    return records;
}

// Whether the file's text for column `column` means what the channel shows:
// the same frequency however many decimals, the same tone as the file
// spells it, the same list entry in either language.
bool SameValue(int column, const std::string& text, const std::string& spelled, const std::string& shown) {
    if (column == col::kRxFreq || column == col::kTxFreq) {
        if (text.empty() || shown.empty()) return text.empty() && shown.empty();
        return IsPlainDecimal(text) && FrequencyTextToUnits(text) == FrequencyTextToUnits(shown);
    }
    if (IsToneColumn(column)) return text == shown || (!spelled.empty() && spelled == shown);
    return CellTextIn(column, text, Lang::Zh) == CellTextIn(column, shown, Lang::Zh);
}

// The texts a line gives the channel now holding `record`: what the line
// does not say, or says as the channel already shows it, stays the
// channel's own (a new channel takes what typing gives it); `changed` marks
// the rest.
ChannelTexts TextsForChannel(const CsvChannelRow& row, const ChannelRecord& record, std::array<bool, 10>& changed) {
    const bool inUse = ChannelInUse(record);
    const ChannelTexts shown = DecodeChannelRecord(record);
    ChannelTexts texts = row.texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const int column = static_cast<int>(i) + 1;
        changed[i] = false;
        if (row.unsaid[i])
            texts[i] = inUse ? shown[i] : NewChannelDefault(column);
        else if (inUse && SameValue(column, texts[i], row.spelled[i], shown[i]))
            texts[i] = shown[i];
        else
            changed[i] = true;
    }
    return texts;
}

// Checks the changed texts of one line the way typing them into the grid
// would, and returns the reason for refusing it, if any. Accepted
// frequencies are rewritten as the grid writes them; those outside `band`
// are added to `outOfBand`. Our own layout reads back every tone it writes,
// and adds those outside the tone table to `offTable`; another program's
// list takes the tone-code table's tones only.
std::optional<std::string> CheckTexts(ChannelTexts& t, const std::array<bool, 10>& changed, ToneTexts tones,
                                      const BandLimits& band, std::string& outOfBand, std::string& offTable) {
    if (t[0].empty() && t[1].empty()) return Tr(TextId::CsvNoFrequencies);
    for (std::size_t c = 0; c < 2; ++c) {
        std::string& text = t[c];
        if (text.empty() || !changed[c]) continue;
        const FrequencyCheck check = CheckFrequencyText(text, band);
        const auto warning = std::find(check.messages.begin(), check.messages.end(), FrequencyMessage::OutOfBand);
        if (!check.accepted) {
            // The band only warns; the refusal is the other message.
            const auto refusal = std::find_if(check.messages.begin(), check.messages.end(),
                                              [](FrequencyMessage m) { return m != FrequencyMessage::OutOfBand; });
            const FrequencyMessage reason =
                refusal == check.messages.end() ? FrequencyMessage::FormatAndSize : *refusal;
            return TrFormat(TextId::CsvBadCell,
                            {ColumnCaption(static_cast<int>(c) + 1), text, FrequencyMessageText(reason)});
        }
        text = check.text;
        if (warning != check.messages.end()) outOfBand += (outOfBand.empty() ? "" : " / ") + text;
    }
    for (int column = col::kRxTone; column <= col::kBusy; ++column) {
        if (!changed[static_cast<std::size_t>(column - 1)]) continue;
        const std::string& text = t[static_cast<std::size_t>(column - 1)];
        if (auto refusal = CellTextRefusal(column, text, tones))
            return TrFormat(TextId::CsvCellRefused, {ColumnCaption(column), *refusal});
        if (IsToneColumn(column) && !ToneTableText(text)) offTable += (offTable.empty() ? "" : " / ") + text;
    }
    return std::nullopt;
}

// The channel a line goes to, or the reason it has none.
std::optional<std::string> PlaceRow(const CsvChannelRow& row, bool renumber, int nextNumber, int& number,
                                    const std::map<int, ChannelTexts>& taken) {
    if (renumber) {
        if (nextNumber > kChannelCount) return Tr(TextId::CsvTooManyChannels);
        number = nextNumber;
        return std::nullopt;
    }
    if (!row.numberRefusal.empty()) return row.numberRefusal;
    number = row.number;
    if (taken.count(number)) return TrFormat(TextId::CsvDuplicateChannel, {std::to_string(number)});
    return std::nullopt;
}

void PutRecord(RadioImage& image, int channel, const ChannelRecord& record) {
    std::copy(record.begin(), record.end(), image.begin() + static_cast<std::ptrdiff_t>(ChannelOffset(channel)));
}

}  // namespace

std::string ExportChannelsCsv(const RadioImage& image, CsvLayout layout) {
    return layout == CsvLayout::Chirp ? ExportChirpCsv(image) : ExportOwnCsv(image);
}

CsvImport ImportChannelsCsv(const std::string& csv, RadioImage& image, CsvImportOptions options) {
    CsvImport result;
    auto refuseWhole = [&](int line, const std::string& reason) {
        result.problems.push_back({line, reason});
        result.refusedWhole = true;
        return result;
    };
    const CsvFileReading reading = ReadCsvFile(csv);
    if (reading.refusedLine > 0) return refuseWhole(reading.refusedLine, reading.refusal);
    const std::vector<CsvRecord> records = SayingRecords(reading.records);
    if (records.empty()) return refuseWhole(1, Tr(TextId::FileEmpty));
    // A spreadsheet set to a language that writes decimal commas separates
    // the columns with semicolons: the header is then one field.
    if (records.front().fields.size() == 1 && records.front().fields[0].find(';') != std::string::npos)
        return refuseWhole(records.front().line, Tr(TextId::CsvSemicolons));
    result.layout = IsChirpHeader(records.front()) ? CsvLayout::Chirp : CsvLayout::Own;
    // A column named twice leaves open which one is meant.
    const std::string twice =
        RepeatedColumn(records.front(), result.layout == CsvLayout::Chirp ? ChirpColumnNames() : OwnColumnNames());
    if (!twice.empty()) return refuseWhole(records.front().line, TrFormat(TextId::CsvColumnTwice, {twice}));
    std::vector<CsvChannelRow> rows =
        result.layout == CsvLayout::Chirp ? ReadChirpRows(records) : ReadOwnRows(records, result.problems);
    if (!result.problems.empty()) {
        result.refusedWhole = true;
        return result;
    }
    if (rows.empty()) return refuseWhole(records.front().line, Tr(TextId::CsvOnlyHeader));

    const BandLimits band = BandLimitTable()[static_cast<std::size_t>(DecodeFormSelections(image).band)];
    const ToneTexts tones = result.layout == CsvLayout::Own ? ToneTexts::Shown : ToneTexts::Table;
    std::map<int, ChannelTexts> channels;
    std::vector<bool> named(kChannelCount + 1, false);  // by an accepted or a refused line
    int nextNumber = 1;
    for (const CsvChannelRow& row : rows) {
        auto refuse = [&](const std::string& reason) { result.problems.push_back({row.line, reason}); };
        int number = 0;
        if (auto problem = PlaceRow(row, options.renumber, nextNumber, number, channels)) {
            refuse(*problem);
            continue;
        }
        if (!options.renumber) named[static_cast<std::size_t>(number)] = true;
        if (!row.refusal.empty()) {
            refuse(row.refusal);
            continue;
        }
        std::array<bool, 10> changed{};
        ChannelTexts texts = TextsForChannel(row, RecordAt(image, number), changed);
        std::string outOfBand, offTable;
        if (auto problem = CheckTexts(texts, changed, tones, band, outOfBand, offTable)) {
            refuse(*problem);
            continue;
        }
        if (!outOfBand.empty()) result.outOfBand.push_back({number, outOfBand});
        if (!offTable.empty()) result.offTable.push_back({number, offTable});
        named[static_cast<std::size_t>(number)] = true;
        channels[number] = texts;
        if (options.renumber) ++nextNumber;
        result.droppedNames += row.named ? 1 : 0;
    }
    result.channels = static_cast<int>(channels.size());
    result.merged = options.merge;
    result.renumbered = options.renumber;
    for (int n = 1; n <= kChannelCount; ++n)
        if (!named[static_cast<std::size_t>(n)] && ChannelInUse(RecordAt(image, n))) ++result.unnamedInUse;
    if (channels.empty()) {
        result.refusedWhole = true;
        return result;
    }
    if (!result.problems.empty() && !options.applyValidLines) return result;
    for (int n = 1; n <= kChannelCount; ++n) {
        ChannelRecord record = RecordAt(image, n);
        const auto it = channels.find(n);
        if (it != channels.end()) {
            EncodeChangedRecord(it->second, record);
        } else if (named[static_cast<std::size_t>(n)] || options.merge || !ChannelInUse(record)) {
            continue;  // a refused line's channel, a channel kept, or one already empty
        } else {
            EncodeChangedRecord(ChannelTexts{}, record);
        }
        PutRecord(image, n, record);
    }
    result.applied = true;
    return result;
}

std::string CsvImportSummary(const CsvImport& result) {
    std::vector<std::string> sentences = {TrFormat(TextId::CsvImported, {std::to_string(result.channels)})};
    // Renumbering moves channels: the numbers they took are said.
    if (result.renumbered && result.channels > 0)
        sentences.push_back(TrFormat(TextId::CsvRenumbered, {std::to_string(result.channels)}));
    if (result.droppedNames > 0)
        sentences.push_back(TrFormat(TextId::CsvNamesDropped, {std::to_string(result.droppedNames)}));
    if (result.unnamedInUse > 0)
        sentences.push_back(TrFormat(result.merged ? TextId::CsvChannelsKept : TextId::CsvChannelsEmptied,
                                     {std::to_string(result.unnamedInUse)}));
    std::string summary;
    for (const std::string& s : sentences) summary += (summary.empty() ? "" : "\n") + s;
    // A heading, then the channels it names with their texts.
    const auto list = [&summary](TextId heading, const std::vector<std::pair<int, std::string>>& channels) {
        if (channels.empty()) return;
        std::vector<std::string> lines;
        for (const auto& [channel, texts] : channels)
            lines.push_back(TrFormat(TextId::CsvChannelFrequency, {std::to_string(channel), texts}));
        summary += "\n" + TrFormat(heading, {std::to_string(lines.size())}) + CappedLines(lines);
        summary.pop_back();  // the list's last line end
    };
    list(TextId::CsvOutOfBand, result.outOfBand);
    list(TextId::CsvOffToneTable, result.offTable);
    return summary;
}

std::string CsvRefusedQuestion(const CsvImport& result) {
    std::vector<std::string> lines;
    for (const CsvProblem& p : result.problems)
        lines.push_back(TrFormat(TextId::CsvLine, {std::to_string(p.line), p.reason}));
    return TrFormat(TextId::CsvRefusedLines, {std::to_string(result.problems.size())}) + CappedLines(lines) +
           Tr(TextId::CsvImportValidOnly);
}

std::string CsvRefusedFileText(const CsvImport& result) {
    std::vector<std::string> lines;
    for (const CsvProblem& p : result.problems)
        lines.push_back(TrFormat(TextId::CsvLine, {std::to_string(p.line), p.reason}));
    return CappedLines(lines) + Tr(TextId::CsvNothingImported);
}
