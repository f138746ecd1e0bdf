// The one table of texts, for the page, and the language the rules speak.
#include <emscripten/bind.h>
#include <emscripten/val.h>

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

void SetLanguage(bool english) { SetCurrentLanguage(english ? Lang::En : Lang::Zh); }

}  // namespace

EMSCRIPTEN_BINDINGS(ostreltz_texts) {
    emscripten::function("textTable", &TextTable);
    emscripten::function("setLanguage", &SetLanguage);
}
