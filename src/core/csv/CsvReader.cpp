#include "csv/CsvReader.h"

#include <algorithm>

#include <iconv.h>

#include "editor/CellRules.h"
#include "res/Texts.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

bool IsBlankLine(const CsvRecord& record, bool quoted) {
    return !quoted && record.fields.size() == 1 && TrimBlanks(record.fields.front()).empty();
}

// The line `offset` is on, counting CR LF, LF and CR as one line end each.
int LineAt(const std::string& bytes, std::size_t offset) {
    int line = 1;
    for (std::size_t i = 0; i < offset && i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        if (bytes[i] == '\n' || bytes[i] == '\r') ++line;
    }
    return line;
}

// Where `bytes` stop being well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF), or npos.
std::size_t FirstNonUtf8(const std::string& bytes, std::size_t from) {
    std::size_t i = from;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (b < 0x80)
            length = 1;
        else if (b >= 0xC2 && b <= 0xDF)
            length = 2;
        else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0) low = 0xA0;
            if (b == 0xED) high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0) low = 0x90;
            if (b == 0xF4) high = 0x8F;
        } else {
            return i;
        }
        if (i + length > bytes.size()) return i;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + k]);
            if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return i;
        }
        i += length;
    }
    return std::string::npos;
}

// GB18030 bytes as UTF-8; false with the offset of the first byte that is
// not GB18030 when they cannot be read.
bool Gb18030ToUtf8(const std::string& bytes, std::string& text, std::size_t& badOffset) {
    const iconv_t converter = ::iconv_open("UTF-8", "GB18030");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        badOffset = 0;
        return false;
    }
    // A GB18030 character of 1, 2 or 4 bytes takes at most 4 bytes in UTF-8.
    text.assign(bytes.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* out = text.data();
    std::size_t outLeft = text.size();
    const std::size_t done = ::iconv(converter, &in, &inLeft, &out, &outLeft);
    ::iconv_close(converter);
    if (done == static_cast<std::size_t>(-1)) {
        badOffset = static_cast<std::size_t>(in - bytes.data());
        return false;
    }
    text.resize(text.size() - outLeft);
    return true;
}

}  // namespace

std::vector<CsvRecord> ReadCsvRecords(const std::string& csvText, int* unclosedQuoteLine) {
    const std::size_t start = csvText.rfind(kBom, 0) == 0 ? kBom.size() : 0;
    std::vector<CsvRecord> records;
    CsvRecord record{1, {}};
    std::string field;
    bool inQuotes = false;
    bool recordHadQuotes = false;
    int line = 1;
    int quoteLine = 0;
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
            quoteLine = line;
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
    if (unclosedQuoteLine) *unclosedQuoteLine = inQuotes ? quoteLine : 0;
    return records;
}

CsvFileReading ReadCsvFile(const std::string& bytes) {
    CsvFileReading reading;
    auto refuse = [&](std::size_t offset, TextId reason) {
        reading.refusedLine = LineAt(bytes, offset);
        reading.refusal = Tr(reason);
        return reading;
    };
    if (const std::size_t nul = bytes.find('\0'); nul != std::string::npos) return refuse(nul, TextId::CsvNulByte);
    const bool markedUtf8 = bytes.rfind(kBom, 0) == 0;
    std::string text;
    if (const std::size_t bad = FirstNonUtf8(bytes, markedUtf8 ? kBom.size() : 0); bad == std::string::npos) {
        text = bytes;
    } else if (markedUtf8) {
        return refuse(bad, TextId::CsvBadEncoding);
    } else {
        // Unmarked bytes of neither encoding: the one that reads further is
        // the file's, and its first unreadable byte the line to name.
        std::size_t undecodable = 0;
        if (!Gb18030ToUtf8(bytes, text, undecodable)) return refuse(std::max(bad, undecodable), TextId::CsvBadEncoding);
        reading.fromGb18030 = true;
    }
    int unclosed = 0;
    reading.records = ReadCsvRecords(text, &unclosed);
    if (unclosed > 0) {
        reading.records.clear();
        reading.refusedLine = unclosed;
        reading.refusal = Tr(TextId::CsvUnclosedQuote);
    }
    return reading;
}

int CsvColumnIndex(const CsvRecord& header, const std::string& name) {
    for (std::size_t i = 0; i < header.fields.size(); ++i)
        if (TrimBlanks(header.fields[i]) == name) return static_cast<int>(i);
    return -1;
}

std::string RepeatedColumn(const CsvRecord& header, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const auto count = std::count_if(header.fields.begin(), header.fields.end(),
                                         [&](const std::string& field) { return TrimBlanks(field) == name; });
        if (count > 1) return name;
    }
    return {};
}

std::string CsvField(const CsvRecord& record, int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= record.fields.size()) return {};
    return TrimBlanks(record.fields[static_cast<std::size_t>(column)]);
}

std::string CsvShortRowRefusal(const CsvRecord& header, const CsvRecord& record) {
    if (record.fields.size() >= header.fields.size()) return {};
    return TrFormat(TextId::CsvShortRow, {std::to_string(record.fields.size()), std::to_string(header.fields.size())});
}
