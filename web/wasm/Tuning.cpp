// The tuning dialog's model and its one command, 开始.
#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <memory>

#include "JsValues.h"
#include "WebLink.h"
#include "image/ChannelCodec.h"
#include "tuning/TuningModel.h"

using emscripten::val;

namespace {

std::unique_ptr<TuningModel> g_model;

TuningModel& Model() {
    if (!g_model) g_model = std::make_unique<TuningModel>(BandLowUnits(""));
    return *g_model;
}

SideSettings& Side(int set, bool rx) { return rx ? Model().Set(set).rx : Model().Set(set).tx; }

val SideValue(const SideSettings& side) {
    val out = val::object();
    out.set("frequency", UnitsToFrequencyText(side.units));
    out.set("step", static_cast<int>(side.step));
    out.set("kind", static_cast<int>(side.kind));
    out.set("listIndex", side.listIndex);
    return out;
}

// Opens the dialog's model for the band whose text is `bandText`.
void TuningOpen(const std::string& bandText) { g_model = std::make_unique<TuningModel>(BandLowUnits(bandText)); }

val TuningSet(int set) {
    val out = val::object();
    out.set("rx", SideValue(Side(set, true)));
    out.set("tx", SideValue(Side(set, false)));
    return out;
}

// Stores one side as typed; returns the frequency text the model keeps.
std::string TuningSetSide(int set, bool rx, const std::string& frequency, int step, int kind, int listIndex) {
    SideSettings& side = Side(set, rx);
    side.step = static_cast<FrequencyStep>(step);
    side.kind = static_cast<SignallingKind>(kind);
    side.listIndex = listIndex;
    side.units = Model().Normalise(frequency, side.step);
    return UnitsToFrequencyText(side.units);
}

TuningRequest g_request;

}  // namespace

// Sends the request of `set` and `item` (2-5); returns the TuningOutcome.
extern "C" EMSCRIPTEN_KEEPALIVE int web_tune(int set, int item) {
    g_request = Model().Request(set, static_cast<TuningItem>(item));
    WebSerialLink link;
    WebClock clock;
    WebUserInteraction user;
    return static_cast<int>(TuningEngine(link, clock, user).Run("web-serial", g_request));
}

EMSCRIPTEN_BINDINGS(ostreltz_tuning) {
    using namespace emscripten;
    function("tuningOpen", &TuningOpen);
    function("tuningSet", &TuningSet);
    function("tuningSetSide", &TuningSetSide);
    function("tuningWillSend", optional_override([](int set) { return Model().WillSendText(set); }));
    // "恢复默认值" on page `shown` (a TuningPage); the warning to show, empty when done.
    function("tuningRestoreDefaults", optional_override([](int shown, int set, int item) {
                 const std::optional<TextId> warning =
                     Model().RestoreDefaults(static_cast<TuningPage>(shown), set, static_cast<TuningItem>(item));
                 return std::string(warning ? Tr(*warning) : "");
             }));
    function("tuningItemValue",
             optional_override([](int item) { return Model().ItemValue(static_cast<TuningItem>(item)); }));
    function("tuningSetItemValue", optional_override([](int item, int value) {
                 Model().SetItemValue(static_cast<TuningItem>(item), value);
             }));
    function("signallingList",
             optional_override([](int kind) { return TextArray(SignallingList(static_cast<SignallingKind>(kind))); }));
}
