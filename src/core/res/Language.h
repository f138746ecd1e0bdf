#pragma once
// How the program picks its language: `--lang zh|en` first, then (desktop
// program only) the choice remembered from the menu, then the system locale:
// Chinese for zh_*, English for any other.
#include <optional>
#include <string_view>

#include "res/Texts.h"

// "zh" or "en" (also "zh_CN", "en_US.UTF-8" ...); nothing for anything else.
std::optional<Lang> ParseLanguage(std::string_view code);
// The short code of `lang`: "zh" or "en".
const char* LanguageCode(Lang lang);
// The language of locale name `locale` ("zh_CN.UTF-8", "en_GB", "C").
Lang LanguageOfLocale(std::string_view locale);
// The language of the environment, as messages are chosen on this system:
// the locale named by LC_ALL, LC_MESSAGES or LANG, the first that is set;
// unless that is C or POSIX, the first of LANGUAGE's list ("de:zh_CN:en")
// that is Chinese or English comes before it.
Lang LanguageOfEnvironment();
// The value of `--lang X` or `--lang=X` among the arguments before any "--", if given.
std::optional<std::string_view> LanguageArgument(int argc, const char* const* argv);
