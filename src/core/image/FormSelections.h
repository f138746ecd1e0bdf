#pragma once
// The four whole-radio choices of the form (model, band, transmit power level,
// manual setting) and the settings bytes that carry them.
#include <array>
#include <string>

#include "image/RadioImage.h"

enum class FormBox { Band = 0, Model = 1, Manual = 2, PowerLevel = 3 };
inline constexpr FormBox kFormBoxes[] = {FormBox::Band, FormBox::Model, FormBox::Manual, FormBox::PowerLevel};

struct FormSelections {
    int band = 0;        // 0-9
    int model = 0;       // 0-2
    int manual = 0;      // 0 "打开", 1 "关闭"
    int powerLevel = 0;  // 0-9
};

FormSelections DecodeFormSelections(const RadioImage& image);
// Stores the four selections and sets the fixed byte 0x811 to 0xA8.
void EncodeFormSelections(const FormSelections& s, RadioImage& image);

// The list entries of the four boxes, in order.
const std::array<std::string, 3>& ModelTexts();
const std::array<std::string, 10>& BandTexts();
const std::array<std::string, 10>& PowerLevelTexts();
const std::array<std::string, 2>& ManualTexts();

struct BandLimits {
    std::uint32_t low;
    std::uint32_t high;
};
// The limits of each band in 10 Hz units, both ends inclusive.
const std::array<BandLimits, 10>& BandLimitTable();
