#pragma once
// The program's user-visible texts, each with one Chinese original and one
// English translation. The one table is res/TextTable.inc; the rules, the
// desktop program, the command line and the browser page all read it here.
//
// To add a text: add a line  TEXT(Name, "中文", "English")  to
// res/TextTable.inc (near the texts of the same window or subsystem) and use
// Tr(TextId::Name) where the text is shown. Placeholders are %1 .. %9, filled
// by TrFormat() (or QString::arg() in the desktop program). An English text
// that names a count says "{N:channel|channels}", N the count's placeholder,
// and is filled by TrFormat() alone. The test
// TextTable.* fails on a text without English, on an entry nothing uses and on
// any Chinese string literal in src/ outside the table.
#include <array>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

enum class Lang { Zh, En };

enum class TextId : int {
#define TEXT(name, zh, en) name,
#include "res/TextTable.inc"
#undef TEXT
};

struct TextEntry {
    TextId id;
    const char* name;  // the identifier, as written in code
    const char* zh;
    const char* en;
};

// Every text of the table, in the order of TextId.
std::span<const TextEntry> AllTexts();

// The language texts are shown in. Chinese until a front end chooses.
Lang CurrentLanguage();
void SetCurrentLanguage(Lang lang);

// Text `id` in the current language, or in `lang`.
const char* Tr(TextId id);
const char* Tr(TextId id, Lang lang);

// Text `id` in the current language with %1 .. %9 replaced by `args`, and
// each "{N:one|many}" by `one` when argument N is "1", else by `many`.
std::string TrFormat(TextId id, std::initializer_list<std::string_view> args);
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);
std::string FormatText(std::string_view pattern, std::span<const std::string_view> args);

// Whether `s` is text `id` in either language (values read back from a grid,
// a file or a person may be in the other language).
bool IsText(std::string_view s, TextId id);

// The texts `ids` in each language, indexed by Lang: for lists that hand out
// references, kept in a static and read as texts[CurrentLanguage()].
template <std::size_t N>
std::array<std::array<std::string, N>, 2> TextsInBothLanguages(const std::array<TextId, N>& ids) {
    std::array<std::array<std::string, N>, 2> texts;
    for (std::size_t i = 0; i < N; ++i) {
        texts[static_cast<std::size_t>(Lang::Zh)][i] = Tr(ids[i], Lang::Zh);
        texts[static_cast<std::size_t>(Lang::En)][i] = Tr(ids[i], Lang::En);
    }
    return texts;
}
