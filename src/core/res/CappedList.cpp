#include "res/CappedList.h"

#include "res/Texts.h"

std::string CappedLines(const std::vector<std::string>& lines, std::size_t shown) {
    std::string text;
    for (std::size_t i = 0; i < lines.size() && i < shown; ++i) text += lines[i] + "\n";
    if (lines.size() > shown) text += TrFormat(TextId::ListMore, {std::to_string(lines.size() - shown)}) + "\n";
    return text;
}
