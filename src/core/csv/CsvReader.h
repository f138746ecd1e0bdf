#pragma once
// Reading CSV text: UTF-8 with or without a byte-order mark, lines ended by
// CR LF, LF or CR, fields separated by commas; a quoted field may hold
// commas, doubled quotes and line breaks.
#include <string>
#include <vector>

struct CsvRecord {
    int line = 0;  // the line of the text the record starts on, 1 = the first
    std::vector<std::string> fields;
};

// The records of `text` in file order. Lines holding nothing but blanks are
// left out; their numbers still count. A quote left open at the end of the
// text sets `unclosedQuoteLine` to the line it was opened on, if asked for.
std::vector<CsvRecord> ReadCsvRecords(const std::string& text, int* unclosedQuoteLine = nullptr);

struct CsvFileReading {
    std::vector<CsvRecord> records;
    int refusedLine = 0;       // > 0: the file is refused at this line ...
    std::string refusal;       // ... for this reason
    bool fromGb18030 = false;  // the bytes were GB18030, the records are UTF-8
};

// The records of a CSV file's bytes: UTF-8 with or without a byte-order mark,
// or GB18030 (what a spreadsheet saves on a Chinese Windows system), read as
// UTF-8. A NUL byte, bytes of neither encoding and a quote never closed
// refuse the file with the line they are on.
CsvFileReading ReadCsvFile(const std::string& bytes);

// Where the header `header` has the column named `name` (blanks around the
// header's names ignored), or -1.
int CsvColumnIndex(const CsvRecord& header, const std::string& name);

// The first of `names` that `header` names more than once, or empty.
std::string RepeatedColumn(const CsvRecord& header, const std::vector<std::string>& names);

// The field of `record` in column `column` without the blanks around it;
// empty when the record is shorter or the column is -1.
std::string CsvField(const CsvRecord& record, int column);

// Why `record` cannot be read against `header`: it has fewer fields than the
// header has columns, so what it holds may have slid into other columns.
// Empty when it has them all.
std::string CsvShortRowRefusal(const CsvRecord& header, const CsvRecord& record);
