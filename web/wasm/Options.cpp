// The options dialog's values, as the rules read and store them.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "JsValues.h"
#include "Session.h"
#include "settings/OptionsCodec.h"

using emscripten::val;

namespace {

val Options() {
    const OptionsValues v = DecodeOptions(TheSession().ImageForSave());
    val out = val::object();
    out.set("timerPosition", v.timerPosition);
    out.set("squelch", v.squelch);
    out.set("voxGain", v.voxGain);
    out.set("voxDelay", v.voxDelay);
    out.set("language", v.language);
    out.set("alarmTone", v.alarmTone);
    out.set("scrambler", v.scrambler);
    out.set("batterySave", v.batterySave);
    out.set("bot", v.bot);
    out.set("eot", v.eot);
    out.set("ani", v.ani);
    out.set("radioName", v.radioName);
    return out;
}

// The dialog's values as one undo step.
val SetOptions(const val& in) {
    OptionsValues v;
    v.timerPosition = in["timerPosition"].as<int>();
    v.squelch = in["squelch"].as<int>();
    v.voxGain = in["voxGain"].as<int>();
    v.voxDelay = in["voxDelay"].as<int>();
    v.language = in["language"].as<int>();
    v.alarmTone = in["alarmTone"].as<bool>();
    v.scrambler = in["scrambler"].as<bool>();
    v.batterySave = in["batterySave"].as<bool>();
    v.bot = in["bot"].as<bool>();
    v.eot = in["eot"].as<bool>();
    v.ani = in["ani"].as<std::string>();
    v.radioName = in["radioName"].as<std::string>();
    RadioImage image = TheSession().ImageForSave();
    EncodeOptions(v, image);
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
}
