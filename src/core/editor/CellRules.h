#pragma once
// What an edit of a channel cell does to the row: frequency checks, the
// defaults of a new channel, and the texts the tone editor and the lists write.
#include <optional>
#include <string>
#include <vector>

#include "image/ChannelTable.h"

// The absolute frequency bounds, 67 to 521 MHz, in 10 Hz units.
constexpr std::uint32_t kLowestUnits = 6700000;
constexpr std::uint32_t kHighestUnits = 52100000;

enum class FrequencyMessage { FormatAndSize, OutOfBand, Step };

struct FrequencyCheck {
    bool accepted = true;
    std::string text;  // the text to write: five decimals, or empty
    std::vector<FrequencyMessage> messages;
};

// Checks a typed frequency against the absolute bounds, the band (a warning
// only) and the 5 kHz / 6.25 kHz steps. An empty text is accepted as empty;
// a text with anything but blanks after its number is refused.
FrequencyCheck CheckFrequencyText(const std::string& typed, const BandLimits& band);

const char* FrequencyMessageText(FrequencyMessage message);

// Writes an accepted frequency text into (row, col), col 1 or 2, with the
// defaults of a new channel when the row held none, and empties the tone of
// that direction (and the flags of a row left without frequencies) when the
// text is empty. With `enterRule` the flags go when cells 1 and 2 are empty;
// otherwise when cells 1 to 4 are.
void ApplyFrequencyEdit(IChannelTable& table, int row, int col, const std::string& text, bool enterRule);

// The tone-code table's own text equal to `typed` ignoring case, if any.
std::optional<std::string> ToneTableText(const std::string& typed);

inline bool IsToneColumn(int column) { return column == col::kRxTone || column == col::kTxTone; }

// The text column `column` stores for `text`: the tone-code table's own
// spelling in the tone columns, a list's entry in the current language (typed,
// pasted or imported in either), the text itself elsewhere.
std::string StoredCellText(int column, const std::string& text);

// `text` without the blanks and tabs around it.
std::string TrimBlanks(const std::string& text);

// Which tone texts a column takes: those of the tone-code table (any case),
// as typing does, or also every other text the grid shows for some record
// (the decoded form of a code outside the table), as pasting and reading
// back the program's own CSV do, so that what it writes it reads back.
enum class ToneTexts { Table, Shown };

// Why `text` may not stand in column `column` (3-10) of a channel in use, or
// nothing when it may: a tone must be one of `tones`, a list cell one of its
// list's entries in either language (or, for the optional signalling, empty,
// as a channel with an optional signalling value without a text shows it).
std::optional<std::string> CellTextRefusal(int column, const std::string& text, ToneTexts tones = ToneTexts::Shown);

// Writes `text` into column `column` (3-10) of every channel in use among
// rows first..last; a text the column refuses writes nothing. Returns the
// number of cells that changed.
int SetFieldOfChannels(IChannelTable& table, int column, int first, int last, const std::string& text);

// What a new channel holds in column `column` (3-10), in the current language.
std::string NewChannelDefault(int column);

// The tone text a tone edit writes: empty on a row without frequencies; the
// tone-code table's own text when `typed` equals one ignoring case; "OFF" when
// nothing is typed.
std::string ToneCommitText(const IChannelTable& table, int row, const std::string& typed);

// What a list writes: empty on a row without frequencies, else its entry.
std::string ListCommitText(const IChannelTable& table, int row, const std::string& entry);

// The first entry that begins with `cellText` ignoring case, else 0.
int EntryStartingWith(const std::vector<std::string>& entries, const std::string& cellText);

bool RowHasFrequency(const IChannelTable& table, int row);
