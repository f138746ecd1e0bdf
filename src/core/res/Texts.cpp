#include "res/Texts.h"

#include <array>

namespace {
constexpr TextEntry kTexts[] = {
#define TEXT(name, zh, en) {TextId::name, #name, zh, en},
#include "res/TextTable.inc"
#undef TEXT
};

Lang g_language = Lang::Zh;
}  // namespace

std::span<const TextEntry> AllTexts() { return kTexts; }

Lang CurrentLanguage() { return g_language; }
void SetCurrentLanguage(Lang lang) { g_language = lang; }

const char* Tr(TextId id) { return Tr(id, g_language); }

const char* Tr(TextId id, Lang lang) {
    const TextEntry& e = kTexts[static_cast<int>(id)];
    return lang == Lang::En ? e.en : e.zh;
}

namespace {

// "{N:one|many}" becomes `one` when argument N is "1", else `many`: the
// English texts name a count in the singular or the plural by it.
std::string ChooseNumber(std::string_view pattern, std::span<const std::string_view> args) {
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9' &&
            pattern[i + 2] == ':') {
            const std::size_t bar = pattern.find('|', i + 3);
            const std::size_t end = pattern.find('}', i + 3);
            const std::size_t n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (bar != std::string_view::npos && end != std::string_view::npos && bar < end && n < args.size()) {
                out += args[n] == "1" ? pattern.substr(i + 3, bar - i - 3) : pattern.substr(bar + 1, end - bar - 1);
                i = end;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace

std::string FormatText(std::string_view text, std::span<const std::string_view> args) {
    const std::string pattern = ChooseNumber(text, args);
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const std::size_t n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < args.size()) {
                out += args[n];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args) {
    return FormatText(pattern, std::span<const std::string_view>(args.begin(), args.size()));
}

std::string TrFormat(TextId id, std::initializer_list<std::string_view> args) { return FormatText(Tr(id), args); }

bool IsText(std::string_view s, TextId id) { return s == Tr(id, Lang::Zh) || s == Tr(id, Lang::En); }
