#pragma once
// Cells of the channel table as tab-separated text, the way spreadsheets put
// them on the clipboard: one line per row, cells parted by tabs, no captions.
#include <optional>
#include <string>
#include <vector>

#include "editor/CellNotice.h"
#include "image/ChannelTable.h"

// A block of cells in table coordinates: rows 1-128, columns 1-10.
struct CellRange {
    int top = 1;
    int left = 1;
    int bottom = 1;
    int right = 1;
};

std::string CopyCellsTsv(const IChannelTable& table, const CellRange& range);

struct RefusedCell {
    int row = 0;  // where the text would have gone; may lie past the table
    int column = 0;
    std::string reason;
};

struct PasteResult {
    std::vector<RefusedCell> refused;
    // Frequencies written though outside the band (`reason`: the frequency).
    std::vector<RefusedCell> outOfBand;
    CellRange block;  // the cells the paste covered, within the grid
};

// Writes the cells of `tsv` with its first cell at (row, column), row by row
// and left to right, each checked as if typed: frequencies against the bounds
// and steps (the band only warns), tones against the tone-code table, list
// cells against their lists, and no tone or list value on a channel without a
// frequency. A new channel gets its defaults. Refused cells keep their text
// and are listed; every other cell is written.
PasteResult PasteCellsTsv(IChannelTable& table, int row, int column, const std::string& tsv, const BandLimits& band);

// Writes one pasted cell as PasteCellsTsv does, or says why it is refused;
// `outOfBand` is set when a frequency written lies outside the band.
std::optional<std::string> PasteCell(IChannelTable& table, int row, int column, const std::string& text,
                                     const BandLimits& band, bool* outOfBand = nullptr);

// One copied cell pasted over a larger selection fills all of it, as in a
// spreadsheet: `tsv` repeated over rows x columns. Any other text is returned
// as it is.
std::string FillSelectionTsv(const std::string& tsv, int rows, int columns);

// What cutting leaves: empty frequencies (with the tones and flags that go
// with them), "OFF" tones and the new-channel entries in the lists of a
// channel still in use.
void ClearCells(IChannelTable& table, const CellRange& range);

// The message that lists refused cells, at most `shown` of them.
std::string RefusedCellsSummary(const std::vector<RefusedCell>& refused, std::size_t shown = 20);

// The messages a paste gives, in order: the refused cells, then the
// frequencies written outside the band, as typing one would warn of it.
std::vector<CellNotice> PasteNotices(const PasteResult& pasted);
