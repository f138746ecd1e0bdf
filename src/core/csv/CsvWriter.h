#pragma once
// Writing CSV text the way spreadsheets open it: UTF-8 with a byte-order
// mark, CR LF line ends, a field quoted only when it holds a comma, a quote
// or a line break.
#include <string>
#include <vector>

using CsvFields = std::vector<std::string>;

// The whole file: the header, then one line per row.
std::string CsvText(const CsvFields& header, const std::vector<CsvFields>& rows);
// The rows alone, for adding to a file that has its header.
std::string CsvRows(const std::vector<CsvFields>& rows);
