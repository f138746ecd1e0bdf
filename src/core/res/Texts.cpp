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

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const std::size_t n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < args.size()) {
                out += *(args.begin() + n);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::string TrFormat(TextId id, std::initializer_list<std::string_view> args) { return FormatText(Tr(id), args); }

bool IsText(std::string_view s, TextId id) { return s == Tr(id, Lang::Zh) || s == Tr(id, Lang::En); }
