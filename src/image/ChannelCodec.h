#pragma once
// The channel record: 16 bytes per channel, shown as ten cell texts.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

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

ChannelTexts DecodeChannelRecord(const ChannelRecord& r);
// Updates `r` in place; bits the codec does not own keep their values.
void EncodeChannelRecord(const ChannelTexts& texts, ChannelRecord& r);
