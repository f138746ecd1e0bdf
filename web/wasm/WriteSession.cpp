#include "WriteSession.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "JsValues.h"

using emscripten::val;

WriteLog& TheWriteLog() {
    static WriteLog log;
    return log;
}

namespace {

// Every radio of the session: its line, and whether it was written.
val WriteLogLines() {
    val out = val::array();
    for (const WriteLogEntry& entry : TheWriteLog().Entries()) {
        val line = val::object();
        line.set("text", WriteLog::EntryText(entry));
        line.set("written", entry.Written());
        out.call<void>("push", line);
    }
    return out;
}

}  // namespace

EMSCRIPTEN_BINDINGS(ostreltz_write_session) {
    using namespace emscripten;
    function("clearWriteLog", optional_override([] { TheWriteLog().Clear(); }));
    function("writeLogLines", &WriteLogLines);
    function("writeLogCount", optional_override([] { return TheWriteLog().CountText(); }));
    // As bytes: a string would lose the byte-order mark spreadsheets look for.
    function("writeLogCsv", optional_override([] { return ByteArray(TheWriteLog().Csv()); }));
}
