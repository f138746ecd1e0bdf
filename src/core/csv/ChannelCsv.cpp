#include "csv/ChannelCsv.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "editor/CellRules.h"
#include "image/ChannelTable.h"
#include "csv/ChirpCsv.h"
#include "csv/CsvChannelRow.h"
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

// Our own layout: every column by its caption; a missing one is a problem
// of the header line.
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
        const std::string number = field(0);
        const bool digits = !number.empty() && number.size() <= 3 &&
                            std::all_of(number.begin(), number.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
        row.number = digits ? std::stoi(number) : 0;
        if (row.number < 1 || row.number > kChannelCount) row.numberRefusal = TrFormat(TextId::CsvBadChannel, {number});
        for (int c = col::kRxFreq; c < col::kCount; ++c)
            row.texts[static_cast<std::size_t>(c - 1)] = StoredCellText(c, field(static_cast<std::size_t>(c)));
        rows.push_back(std::move(row));
    }
    return rows;
}

// Checks one line's texts the way typing them into the grid would, and
// returns the reason for refusing it, if any. Accepted frequencies are
// rewritten as the grid writes them. Our own layout reads back every tone it
// writes; another program's list takes the tone-code table's tones only.
std::optional<std::string> CheckTexts(ChannelTexts& t, ToneTexts tones) {
    if (t[0].empty() && t[1].empty()) return Tr(TextId::CsvNoFrequencies);
    for (int c = 0; c < 2; ++c) {
        std::string& text = t[static_cast<std::size_t>(c)];
        if (text.empty()) continue;
        const FrequencyCheck check = CheckFrequencyText(text, BandLimits{kLowestUnits, kHighestUnits});
        if (!check.accepted)
            return TrFormat(TextId::CsvBadCell, {ColumnCaption(c + 1), text, FrequencyMessageText(check.messages.front())});
        text = check.text;
    }
    for (int column = col::kRxTone; column <= col::kBusy; ++column)
        if (auto refusal = CellTextRefusal(column, t[static_cast<std::size_t>(column - 1)], tones))
            return ColumnCaption(column) + *refusal;
    return std::nullopt;
}

// The channel a line goes to, or the reason it has none.
std::optional<std::string> PlaceRow(const CsvChannelRow& row, bool renumber, int& nextNumber, int& number,
                                    const std::map<int, ChannelTexts>& taken) {
    if (renumber) {
        if (nextNumber > kChannelCount) return Tr(TextId::CsvTooManyChannels);
        number = nextNumber++;
        return std::nullopt;
    }
    number = row.number;
    if (taken.count(number)) return TrFormat(TextId::CsvDuplicateChannel, {std::to_string(number)});
    return std::nullopt;
}

}  // namespace

std::string ExportChannelsCsv(const RadioImage& image, CsvLayout layout) {
    return layout == CsvLayout::Chirp ? ExportChirpCsv(image) : ExportOwnCsv(image);
}

CsvImport ImportChannelsCsv(const std::string& csv, RadioImage& image, CsvImportOptions options) {
    CsvImport result;
    const CsvFileReading reading = ReadCsvFile(csv);
    if (reading.refusedLine > 0) {
        result.problems.push_back({reading.refusedLine, reading.refusal});
        return result;
    }
    const std::vector<CsvRecord>& records = reading.records;
    if (records.empty()) {
        result.problems.push_back({1, Tr(TextId::FileEmpty)});
        return result;
    }
    result.layout = IsChirpHeader(records.front()) ? CsvLayout::Chirp : CsvLayout::Own;
    std::vector<CsvChannelRow> rows =
        result.layout == CsvLayout::Chirp ? ReadChirpRows(records) : ReadOwnRows(records, result.problems);
    if (!result.problems.empty()) return result;

    std::map<int, ChannelTexts> channels;
    int nextNumber = 1;
    int droppedNames = 0;
    for (CsvChannelRow& row : rows) {
        auto refuse = [&](const std::string& reason) { result.problems.push_back({row.line, reason}); };
        if (!options.renumber && !row.numberRefusal.empty()) {
            refuse(row.numberRefusal);
            continue;
        }
        if (!row.refusal.empty()) {
            refuse(row.refusal);
            continue;
        }
        if (auto problem = CheckTexts(row.texts, result.layout == CsvLayout::Own ? ToneTexts::Shown : ToneTexts::Table)) {
            refuse(*problem);
            continue;
        }
        int number = 0;
        if (auto problem = PlaceRow(row, options.renumber, nextNumber, number, channels)) {
            refuse(*problem);
            continue;
        }
        channels[number] = row.texts;
        droppedNames += row.named ? 1 : 0;
    }
    if (!result.problems.empty() && !options.applyValidLines) return result;
    for (int n = 1; n <= kChannelCount; ++n) {
        ChannelRecord record = RecordAt(image, n);
        const auto it = channels.find(n);
        EncodeChangedRecord(it == channels.end() ? ChannelTexts{} : it->second, record);
        std::copy(record.begin(), record.end(), image.begin() + static_cast<std::ptrdiff_t>(ChannelOffset(n)));
    }
    result.channels = static_cast<int>(channels.size());
    result.droppedNames = droppedNames;
    return result;
}

std::string CsvImportSummary(const CsvImport& result) {
    std::string summary = TrFormat(TextId::CsvImported, {std::to_string(result.channels)});
    if (result.droppedNames > 0) summary += TrFormat(TextId::CsvNamesDropped, {std::to_string(result.droppedNames)});
    return summary;
}

std::string CsvRefusedQuestion(const CsvImport& result) {
    std::vector<std::string> lines;
    for (const CsvProblem& p : result.problems) lines.push_back(TrFormat(TextId::CsvLine, {std::to_string(p.line), p.reason}));
    return TrFormat(TextId::CsvRefusedLines, {std::to_string(result.problems.size())}) + CappedLines(lines) +
           Tr(TextId::CsvImportValidOnly);
}
