#pragma once
// The channel table as CSV, in one of two layouts: our own (a header row of
// the grid's column captions, then one line per channel in use, frequencies
// in MHz) or the layout other radio programs share (see ChirpCsv.h). An
// import tells the layout from the header.
#include <string>
#include <vector>

#include "image/RadioImage.h"

enum class CsvLayout { Own, Chirp };

std::string ExportChannelsCsv(const RadioImage& image, CsvLayout layout = CsvLayout::Own);

// A channel list is a few kilobytes; a larger file is refused before reading.
constexpr std::size_t kLargestCsv = 16 * 1024 * 1024;

struct CsvProblem {
    int line = 0;  // 1 = the header row
    std::string reason;
};

struct CsvImport {
    CsvLayout layout = CsvLayout::Own;
    std::vector<CsvProblem> problems;
    int channels = 0;      // lines accepted
    int droppedNames = 0;  // names of accepted lines, which the radio cannot keep
};

struct CsvImportOptions {
    bool applyValidLines = false;  // apply the valid lines when some are refused
    bool renumber = false;         // channels 1, 2, 3… in file order, whatever numbers the file gives
};

// Reads channels from CSV; every text passes the checks typing it into the
// grid makes. Channels the file does not list become empty. Nothing changes
// when a line is refused, unless `applyValidLines` is set.
CsvImport ImportChannelsCsv(const std::string& csv, RadioImage& image, CsvImportOptions options);
inline CsvImport ImportChannelsCsv(const std::string& csv, RadioImage& image, bool applyValidLines) {
    return ImportChannelsCsv(csv, image, CsvImportOptions{applyValidLines, false});
}

// What an import did: the channels written and, when the file named them,
// how many names were left out.
std::string CsvImportSummary(const CsvImport& result);

// The question after refused lines: each line with its reason (the first
// twenty), then whether to import only the valid lines.
std::string CsvRefusedQuestion(const CsvImport& result);
