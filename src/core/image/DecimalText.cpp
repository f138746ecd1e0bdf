#include "image/DecimalText.h"

#include <cctype>
#include <climits>
#include <string>

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips leading white space and an optional sign; true for a minus.
bool ReadSign(std::string_view text, std::size_t& i) {
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) return text[i++] == '-';
    return false;
}

}  // namespace

ScaledDecimal ReadScaledDecimal(std::string_view text, int scale) {
    ScaledDecimal result;
    std::size_t i = 0;
    const bool minus = ReadSign(text, i);
    std::string digits;        // significant digits, leading zeros dropped
    long long pointShift = 0;  // digits after the point
    bool any = false;
    while (i < text.size() && IsDigit(text[i])) {
        any = true;
        if (!(digits.empty() && text[i] == '0')) digits.push_back(text[i]);
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        bool fraction = false;
        while (j < text.size() && IsDigit(text[j])) {
            fraction = true;
            if (!(digits.empty() && text[j] == '0')) digits.push_back(text[j]);
            ++pointShift;
            ++j;
        }
        if (any || fraction) {
            any = true;
            i = j;
        }
    }
    if (!any) return result;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool expMinus = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            expMinus = text[j] == '-';
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                if (exponent < 100000) exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            if (expMinus) exponent = -exponent;
            i = j;
        }
    }
    result.length = i;
    if (digits.empty()) return result;  // the value is zero
    result.negative = minus;
    // value x 10^scale = digits x 10^(exponent + scale - pointShift)
    long long shift = exponent + scale - pointShift;
    if (shift < 0) {
        long long drop = -shift;
        if (drop >= static_cast<long long>(digits.size())) return result;  // truncates to 0
        digits.resize(digits.size() - static_cast<std::size_t>(drop));
    } else {
        if (static_cast<long long>(digits.size()) + shift > 20) {
            result.overflow = true;
            return result;
        }
        digits.append(static_cast<std::size_t>(shift), '0');
    }
    std::uint64_t value = 0;
    for (char c : digits) {
        std::uint64_t d = static_cast<std::uint64_t>(c - '0');
        if (value > (UINT64_MAX - d) / 10) {
            result.overflow = true;
            return result;
        }
        value = value * 10 + d;
    }
    result.magnitude = value;
    if (value == 0) result.negative = false;
    return result;
}

bool IsOneDecimal(std::string_view text) {
    const std::size_t end = ReadScaledDecimal(text, 0).length;
    return end > 0 && text.find_first_not_of(" \t", end) == std::string_view::npos;
}

int ReadLeadingInteger(std::string_view text) {
    std::size_t i = 0;
    const bool minus = ReadSign(text, i);
    long long value = 0;
    while (i < text.size() && IsDigit(text[i])) {
        if (value <= INT_MAX) value = value * 10 + (text[i] - '0');
        ++i;
    }
    if (minus) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}
