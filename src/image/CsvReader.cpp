#include "image/CsvReader.h"

#include "editor/CellRules.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

bool IsBlankLine(const CsvRecord& record, bool quoted) {
    return !quoted && record.fields.size() == 1 && TrimBlanks(record.fields.front()).empty();
}

}  // namespace

std::vector<CsvRecord> ReadCsvRecords(const std::string& csvText) {
    const std::size_t start = csvText.rfind(kBom, 0) == 0 ? kBom.size() : 0;
    std::vector<CsvRecord> records;
    CsvRecord record{1, {}};
    std::string field;
    bool inQuotes = false;
    bool recordHadQuotes = false;
    int line = 1;
    auto endRecord = [&] {
        record.fields.push_back(field);
        field.clear();
        if (!IsBlankLine(record, recordHadQuotes)) records.push_back(std::move(record));
        record = CsvRecord{line, {}};
        recordHadQuotes = false;
    };
    for (std::size_t i = start; i < csvText.size(); ++i) {
        const char c = csvText[i];
        const bool lineBreak = c == '\n' || c == '\r';
        if (lineBreak) {
            if (c == '\r' && i + 1 < csvText.size() && csvText[i + 1] == '\n') ++i;
            ++line;
        }
        if (inQuotes) {
            if (c == '"' && i + 1 < csvText.size() && csvText[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                field += lineBreak ? '\n' : c;
            }
        } else if (c == '"') {
            inQuotes = recordHadQuotes = true;
        } else if (c == ',') {
            record.fields.push_back(field);
            field.clear();
        } else if (lineBreak) {
            endRecord();
        } else {
            field += c;
        }
    }
    if (!field.empty() || !record.fields.empty() || recordHadQuotes) endRecord();
    return records;
}

int CsvColumnIndex(const CsvRecord& header, const std::string& name) {
    for (std::size_t i = 0; i < header.fields.size(); ++i)
        if (TrimBlanks(header.fields[i]) == name) return static_cast<int>(i);
    return -1;
}

std::string CsvField(const CsvRecord& record, int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= record.fields.size()) return {};
    return TrimBlanks(record.fields[static_cast<std::size_t>(column)]);
}
