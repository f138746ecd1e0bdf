#include "csv/CsvValues.h"

#include <cstdint>

#include "image/DecimalText.h"

bool IsPlainDecimal(const std::string& text) {
    bool point = false, digit = false;
    for (char c : text) {
        if (c == '.' && !point)
            point = true;
        else if (c >= '0' && c <= '9')
            digit = true;
        else
            return false;
    }
    return digit;
}

std::string CtcssText(const std::string& hertz) {
    if (!IsPlainDecimal(hertz)) return hertz;
    const std::uint64_t hundredths = ReadScaledDecimal(hertz, 2).magnitude;
    if (hundredths % 10 != 0 || hundredths > 100000) return hertz;
    const std::uint64_t tenths = hundredths / 10;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}
