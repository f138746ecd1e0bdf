// The one table of texts, for the page, and the language the rules speak.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

#include "Compare.h"
#include "Session.h"
#include "res/Language.h"
#include "res/Texts.h"

using emscripten::val;

namespace {

// Every text as { Name: [chinese, english] }.
val TextTable() {
    val out = val::object();
    for (const TextEntry& e : AllTexts()) {
        val pair = val::array();
        pair.call<void>("push", std::string(e.zh));
        pair.call<void>("push", std::string(e.en));
        out.set(e.name, pair);
    }
    return out;
}

// `pattern` with its placeholders filled, and its counts in the singular or
// the plural, as the rules fill every text.
std::string FormatWith(const std::string& pattern, const val& args) {
    const std::vector<std::string> values = emscripten::vecFromJSArray<std::string>(args);
    const std::vector<std::string_view> views(values.begin(), values.end());
    return FormatText(pattern, std::span<const std::string_view>(views));
}

// The rules' messages, the list texts of the document and its undo steps,
// and the differences of an open comparison.
void SetLanguage(bool english) {
    const Lang lang = english ? Lang::En : Lang::Zh;
    SetCurrentLanguage(lang);
    TheSession().Relabel(lang);
    TheComparison().Refresh(TheSession().ImageForSave());
}

// "zh" or "en" for a language's code ("zh", "en_US", "zh-CN" ...); empty for any other.
std::string ParsedLanguage(const std::string& code) {
    const std::optional<Lang> lang = ParseLanguage(code);
    return lang ? LanguageCode(*lang) : "";
}

// "zh" or "en": the language of a locale ("zh-CN", "en-GB" ...), as the desktop takes the system's.
std::string LanguageOfLocaleName(const std::string& locale) { return LanguageCode(LanguageOfLocale(locale)); }

}  // namespace

EMSCRIPTEN_BINDINGS(ostreltz_texts) {
    emscripten::function("textTable", &TextTable);
    emscripten::function("setLanguage", &SetLanguage);
    emscripten::function("formatText", &FormatWith);
    emscripten::function("parseLanguage", &ParsedLanguage);
    emscripten::function("languageOfLocale", &LanguageOfLocaleName);
}
