#pragma once
// The channel table as UTF-8 CSV: a header row of the column captions, then
// one line per channel in use, frequencies in MHz.
#include <string>
#include <vector>

#include "image/RadioImage.h"

std::string ExportChannelsCsv(const RadioImage& image);

// A channel list is a few kilobytes; a larger file is refused before reading.
constexpr std::size_t kLargestCsv = 16 * 1024 * 1024;

struct CsvProblem {
    int line = 0;  // 1 = the header row
    std::string reason;
};

struct CsvImport {
    std::vector<CsvProblem> problems;
    int channels = 0;  // lines accepted
};

// Reads channels from CSV (columns found by their header names). Channels the
// file does not list become empty. Nothing changes when a line is refused,
// unless `applyValidLines` is set; then the valid lines are applied.
CsvImport ImportChannelsCsv(const std::string& csv, RadioImage& image, bool applyValidLines);
