#include "res/Language.h"

#include <cstdlib>
#include <string>

std::optional<Lang> ParseLanguage(std::string_view code) {
    const std::string_view base = code.substr(0, code.find_first_of("_.-@"));
    if (base == "zh") return Lang::Zh;
    if (base == "en") return Lang::En;
    return std::nullopt;
}

const char* LanguageCode(Lang lang) { return lang == Lang::Zh ? "zh" : "en"; }

Lang LanguageOfLocale(std::string_view locale) { return ParseLanguage(locale) == Lang::Zh ? Lang::Zh : Lang::En; }

Lang LanguageOfEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return LanguageOfLocale(value);
    }
    return Lang::En;
}

std::optional<std::string_view> LanguageArgument(int argc, const char* const* argv) {
    const std::string_view option = "--lang";
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") break;  // file names follow, whatever they look like
        if (arg == option && i + 1 < argc) return std::string_view(argv[i + 1]);
        if (arg.starts_with(option) && arg.size() > option.size() && arg[option.size()] == '=')
            return arg.substr(option.size() + 1);
    }
    return std::nullopt;
}
