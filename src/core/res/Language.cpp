#include "res/Language.h"

#include <algorithm>
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
    std::string_view locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            locale = value;
            break;
        }
    }
    const std::string_view base = locale.substr(0, locale.find('.'));
    const char* preferred = std::getenv("LANGUAGE");
    if (locale.empty() || base == "C" || base == "POSIX" || !preferred) return LanguageOfLocale(locale);
    for (std::string_view list = preferred; !list.empty();) {
        const std::size_t end = std::min(list.find(':'), list.size());
        if (const auto lang = ParseLanguage(list.substr(0, end))) return *lang;
        list.remove_prefix(std::min(end + 1, list.size()));
    }
    return LanguageOfLocale(locale);
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
