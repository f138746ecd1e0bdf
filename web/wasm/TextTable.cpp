// The one table of texts, for the page, and the language the rules speak.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "Session.h"
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

// The rules' messages, and the list texts of the document and its undo steps.
void SetLanguage(bool english) {
    const Lang lang = english ? Lang::En : Lang::Zh;
    SetCurrentLanguage(lang);
    TheSession().Relabel(lang);
}

}  // namespace

EMSCRIPTEN_BINDINGS(ostreltz_texts) {
    emscripten::function("textTable", &TextTable);
    emscripten::function("setLanguage", &SetLanguage);
}
