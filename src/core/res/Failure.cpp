#include "res/Failure.h"

#include <string_view>

std::string Describe(const Clause& clause) {
    const std::vector<std::string_view> args(clause.args.begin(), clause.args.end());
    return FormatText(Tr(clause.id), std::span<const std::string_view>(args));
}

std::string Describe(const Failure& failure) {
    std::string text;
    for (const Clause& line : failure.lines) {
        if (!text.empty()) text += '\n';
        text += Describe(line);
    }
    return text;
}
