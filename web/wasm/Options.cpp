// The options dialog's values, as the rules read and store them.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "JsValues.h"
#include "Session.h"
#include "settings/OptionsCodec.h"

using emscripten::val;

namespace {

OptionsValues Options() { return DecodeOptions(TheSession().ImageForSave()); }

// The dialog's values as one undo step.
val SetOptions(const OptionsValues& values) {
    RadioImage image = TheSession().ImageForSave();
    EncodeOptions(values, image);
    return ResultValue(TheSession().ApplySettings(image));
}

val OptionLists() {
    val out = val::object();
    val timer = val::array();
    for (int i = 0; i <= 9; ++i) timer.call<void>("push", TimerText(i));
    out.set("timer", timer);
    out.set("squelch", TextArray(SquelchTexts()));
    out.set("voxGain", TextArray(VoxGainTexts()));
    out.set("voxDelay", TextArray(VoxDelayTexts()));
    out.set("language", TextArray(LanguageTexts()));
    return out;
}

}  // namespace

EMSCRIPTEN_BINDINGS(ostreltz_options) {
    emscripten::function("options", &Options);
    emscripten::function("setOptions", &SetOptions);
    emscripten::function("optionLists", &OptionLists);
    // One typed character, UTF-8: anything but ASCII is refused.
    emscripten::function("optionsTextTakes", emscripten::optional_override([](int field, const std::string& c) {
                             return c.size() == 1 &&
                                    OptionsTextTakes(static_cast<OptionsText>(field), static_cast<unsigned char>(c[0]));
                         }));
    emscripten::function(
        "keepTaken", emscripten::optional_override(
                         [](int field, std::size_t loadedLength, const std::string& before, const std::string& after) {
                             return KeepTaken(static_cast<OptionsText>(field), loadedLength, before, after);
                         }));
}
