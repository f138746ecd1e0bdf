#pragma once
// The channel record: 16 bytes per channel, shown as ten cell texts.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "res/Texts.h"

using ChannelRecord = std::array<std::uint8_t, 16>;

// Columns 1-10 of the channel grid.
namespace col {
constexpr int kRxFreq = 1;
constexpr int kTxFreq = 2;
constexpr int kRxTone = 3;
constexpr int kTxTone = 4;
constexpr int kWidth = 5;
constexpr int kScan = 6;
constexpr int kPower = 7;
constexpr int kSignal = 8;
constexpr int kPttId = 9;
constexpr int kBusy = 10;
constexpr int kCount = 11;  // with column 0, the channel number
}  // namespace col

// Cell texts of columns 1-10; index 0 is column 1.
using ChannelTexts = std::array<std::string, 10>;

// Exact conversion of a frequency text in MHz to a count of 10 Hz units.
// Digits past the fifth decimal are dropped; a text without a number gives 0;
// a negative number or one beyond an unsigned 32-bit count gives 4294967295.
std::uint32_t FrequencyTextToUnits(std::string_view text);

// 14512500 -> "145.12500"
std::string UnitsToFrequencyText(std::uint32_t units);

std::uint8_t FromBcd(std::uint8_t b);
std::uint8_t ToBcd(int value);  // (v div 10) x 16 + (v mod 10), modulo 256

// A channel is in use when byte 3 or byte 7 is neither 0x00 nor 0xFF.
bool ChannelInUse(const ChannelRecord& r);

// Tone words: high byte h, low byte l.
std::string DecodeToneWord(std::uint8_t h, std::uint8_t l, bool inUse);
void EncodeToneWord(std::string_view text, std::uint8_t& h, std::uint8_t& l);

// The entries of the six lists, columns 5 to 10, in `lang` (宽/窄 and the like).
const std::vector<std::string>& ListEntries(int column, Lang lang = CurrentLanguage());
// The place of `text` in the list of column `column` (5-10) in either
// language, or -1 when it is none of its entries.
int ListIndex(int column, std::string_view text);
// `text` in `lang` when it is an entry of the list of column `column` (in
// either language); any other text, and any text of columns 1-4, as it is.
std::string CellTextIn(int column, const std::string& text, Lang lang);
// Every list text of `texts` in `lang`.
ChannelTexts TextsIn(ChannelTexts texts, Lang lang);

ChannelTexts DecodeChannelRecord(const ChannelRecord& r, Lang lang = CurrentLanguage());
// Updates `r` in place; bits the codec does not own keep their values. The
// list texts may be in either language.
void EncodeChannelRecord(const ChannelTexts& texts, ChannelRecord& r);
// Encodes into `r` only the fields whose text in `texts` differs from the
// one in `shown` (both in one language); every other field keeps its bits,
// tone words and values without a text included.
void EncodeChangedFields(const ChannelTexts& shown, const ChannelTexts& texts, ChannelRecord& r);
