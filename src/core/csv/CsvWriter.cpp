#include "csv/CsvWriter.h"

namespace {

std::string Quote(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string Line(const CsvFields& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + Quote(fields[i]);
    return line + "\r\n";
}

}  // namespace

std::string CsvRows(const std::vector<CsvFields>& rows) {
    std::string out;
    for (const CsvFields& row : rows) out += Line(row);
    return out;
}

std::string CsvText(const CsvFields& header, const std::vector<CsvFields>& rows) {
    return "\xEF\xBB\xBF" + Line(header) + CsvRows(rows);
}
