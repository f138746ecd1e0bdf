#include "Session.h"

using emscripten::val;

EditSession& TheSession() {
    static EditSession session;
    return session;
}

val ResultValue(const EditResult& result) {
    val messages = val::array();
    for (FrequencyMessage m : result.messages) {
        val message = val::object();
        message.set("text", std::string(FrequencyMessageText(m)));
        message.set("warning", m != FrequencyMessage::OutOfBand);
        messages.call<void>("push", message);
    }
    val out = val::object();
    out.set("changed", result.changed);
    out.set("refused", result.refused);
    out.set("messages", messages);
    out.set("refusal", result.refusal);
    out.set("firstRow", result.firstRow);
    out.set("lastRow", result.lastRow);
    out.set("selectionsChanged", result.selectionsChanged);
    return out;
}
