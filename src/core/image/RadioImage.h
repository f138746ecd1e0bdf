#pragma once
// The radio image: the radio's whole programmable memory, 132 rows of 16 bytes.
// Rows 0-127 hold the 128 channel records, rows 128-131 the settings block.
#include <array>
#include <string>
#include <cstddef>
#include <cstdint>

constexpr std::size_t kImageSize = 2112;
constexpr std::size_t kRowBytes = 16;
constexpr std::size_t kImageRows = kImageSize / kRowBytes;
constexpr int kChannelCount = 128;
constexpr std::size_t kRecordSize = 16;

using RadioImage = std::array<std::uint8_t, kImageSize>;

// Offsets of the settings block that more than one part of the program uses.
namespace addr {
constexpr std::size_t kSettings = 0x800;
constexpr std::size_t kBand = 0x80A;
constexpr std::size_t kModel = 0x80B;
constexpr std::size_t kVoxPtt = 0x810;
constexpr std::size_t kFixedA8 = 0x811;
constexpr std::size_t kFunctions = 0x812;
constexpr std::size_t kSquelch = 0x813;
constexpr std::size_t kTimer = 0x814;
constexpr std::size_t kVoxGain = 0x815;
constexpr std::size_t kVoxDelay = 0x816;
constexpr std::size_t kFixed04 = 0x817;
constexpr std::size_t kFixed00 = 0x818;
constexpr std::size_t kPowerLevel = 0x819;
constexpr std::size_t kRadioType = 0x81B;
constexpr std::size_t kAni = 0x820;
constexpr std::size_t kRadioName = 0x830;
constexpr std::size_t kTextFieldSize = 16;
}  // namespace addr

// Offset of channel n (1-128) in the image.
constexpr std::size_t ChannelOffset(int channel) { return static_cast<std::size_t>(channel - 1) * kRecordSize; }

// A radio's type byte (addr::kRadioType, also the last byte of its
// identification) as it is shown, "0x42"; empty for none yet (-1).
std::string RadioTypeText(int radioType);

// The image of a new document: every byte 0xFF except fourteen settings bytes.
RadioImage NewDocumentImage();
