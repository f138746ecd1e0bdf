#include "Session.h"

#include "editor/GridKeys.h"

using emscripten::val;

Document& TheDocument() {
    static Document document;
    return document;
}

val NoticesValue(const std::vector<CellNotice>& notices) {
    val messages = val::array();
    for (const CellNotice& notice : notices) {
        val message = val::object();
        message.set("text", notice.text);
        message.set("caption", notice.caption);
        message.set("warning", notice.severity == NoticeSeverity::Warning);
        messages.call<void>("push", message);
    }
    return messages;
}

val ResultValue(const EditResult& result) {
    val out = val::object();
    out.set("changed", result.changed);
    out.set("refused", result.refused);
    out.set("messages", NoticesValue(NoticesOf(result)));
    out.set("refusal", result.refusal);
    out.set("firstRow", result.firstRow);
    out.set("lastRow", result.lastRow);
    out.set("selectionsChanged", result.selectionsChanged);
    if (result.selected) {
        val selected = val::object();
        selected.set("first", result.selected->first);
        selected.set("last", result.selected->last);
        out.set("selected", selected);
    } else {
        out.set("selected", val::null());
    }
    return out;
}
