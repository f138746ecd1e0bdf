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
    // Nothing in the file can be imported (it cannot be read, lacks a
    // column, or has no channel line that is not refused): nothing changes,
    // whatever the options.
    bool refusedWhole = false;
    bool applied = false;  // the image now holds the file's channels
    int channels = 0;      // lines accepted
    int droppedNames = 0;  // names of accepted lines, which the radio cannot keep
    // Channels in use the file does not name (nor names on a refused line):
    // emptied, or kept as they are with `merge`.
    int unnamedInUse = 0;
    bool merged = false;
    bool renumbered = false;  // placed in channels 1, 2, 3… in file order
    // Accepted channels with a frequency outside the image's band: the
    // channel and the frequency texts, as typing warns of them.
    std::vector<std::pair<int, std::string>> outOfBand;
    // Accepted channels given a tone code outside the tone table, which this
    // program's own layout takes back as it wrote it: the channel and the codes.
    std::vector<std::pair<int, std::string>> offTable;
};

struct CsvImportOptions {
    bool applyValidLines = false;  // apply the valid lines when some are refused
    bool renumber = false;         // channels 1, 2, 3… in file order, whatever numbers the file gives
    bool merge = false;            // channels the file does not name keep what they hold
};

// Reads channels from CSV into `image`. A field the file gives as the channel
// already shows it, or does not give at all, keeps the channel's bits;
// every other text passes the checks typing it into the grid makes. Channels
// in use the file does not name become empty, unless `merge`. Nothing changes
// when a line is refused, unless `applyValidLines` is set; then a refused
// line's channel stays as it was.
CsvImport ImportChannelsCsv(const std::string& csv, RadioImage& image, CsvImportOptions options);
inline CsvImport ImportChannelsCsv(const std::string& csv, RadioImage& image, bool applyValidLines) {
    return ImportChannelsCsv(csv, image, CsvImportOptions{applyValidLines, false, false});
}

// What an import did, one sentence a line: the channels written, the names
// left out, the channels emptied or kept, those outside the band.
std::string CsvImportSummary(const CsvImport& result);

// The question after refused lines: each line with its reason (the first
// twenty), then whether to import only the valid lines.
std::string CsvRefusedQuestion(const CsvImport& result);

// Why nothing could be imported: each problem with its line, then that
// nothing was changed.
std::string CsvRefusedFileText(const CsvImport& result);
