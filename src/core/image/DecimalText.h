#pragma once
// Reading a decimal number from the front of a text, exactly, the way the
// radio's texts are read everywhere: leading white space, an optional sign,
// digits with an optional point and exponent; reading stops at the first
// character that does not fit, and a text without a number reads as 0.
#include <cstddef>
#include <cstdint>
#include <string_view>

struct ScaledDecimal {
    bool negative = false;        // a minus sign in front of a non-zero value
    bool overflow = false;        // the magnitude does not fit in 64 bits
    std::uint64_t magnitude = 0;  // |value| x 10^scale, truncated toward zero
    std::size_t length = 0;       // characters read, white space and sign included; 0 without a number
};

// The number at the front of `text` times 10^scale, computed in decimal
// without any binary floating-point step.
ScaledDecimal ReadScaledDecimal(std::string_view text, int scale);

// True when `text` is one such number with nothing after it but blanks.
bool IsOneDecimal(std::string_view text);

// The leading decimal integer of `text` as C's atoi reads it (white space,
// sign, digits), saturated to the range of int.
int ReadLeadingInteger(std::string_view text);
