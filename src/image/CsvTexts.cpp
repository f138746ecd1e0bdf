#include "image/CsvTexts.h"

std::string FillText(const std::string& text, const std::vector<std::string>& values) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool placeholder = text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9';
        const auto index = placeholder ? static_cast<std::size_t>(text[i + 1] - '1') : values.size();
        if (index < values.size()) {
            out += values[index];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}
