// What the page can ask of the rules. Every check, default and conversion
// happens here in the shared C++; the page only shows and collects texts.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <vector>

#include "JsValues.h"
#include "Session.h"
#include "Types.h"
#include "tones/ToneTable.h"
#include "editor/CellRules.h"
#include "editor/ChannelClipboard.h"
#include "csv/ChannelCsv.h"
#include "csv/CsvImportFlow.h"
#include "image/ChannelRows.h"
#include "image/FormSelections.h"
#include "image/SinFile.h"
#include "interaction/StatusFeedback.h"
#include "settings/OptionsCodec.h"

using emscripten::val;

namespace {

// Opens the bytes of a file called `name` through the same check as a file
// on disk; a good file becomes the document, with a fresh history. `error`
// and `warning` in words, empty when there is none.
val LoadSin(const std::string& name, const val& bytes) {
    const OpenOutcome opened = TheDocument().Open(name, StringOfBytes(bytes));
    val out = val::object();
    out.set("ok", !opened.failure);
    out.set("empty", opened.empty);
    out.set("error", opened.failure ? Describe(*opened.failure) : std::string());
    out.set("warning", opened.warning ? Describe(*opened.warning) : std::string());
    return out;
}

// The question before unsaved changes are lost: { text, buttons, warning }, or null.
val SaveQuestion() {
    const std::optional<Question> question = TheDocument().SaveQuestion();
    if (!question) return val::null();
    val out = val::object();
    out.set("text", question->text);
    out.set("buttons", static_cast<int>(question->buttons));
    out.set("warning", question->warning);
    return out;
}

val SinBytes() { return ByteArray(TheDocument().SaveBytes()); }

std::string Cell(int row, int column) { return TheSession().Text(row, column); }
int Selection(int box) { return TheSession().Selection(static_cast<FormBox>(box)); }
val SetSelection(int box, int index) {
    return ResultValue(TheSession().SetSelection(static_cast<FormBox>(box), index));
}

val BoxTexts(int box) {
    switch (static_cast<FormBox>(box)) {
        case FormBox::Band: return TextArray(BandTexts());
        case FormBox::Model: return TextArray(ModelTexts());
        case FormBox::Manual: return TextArray(ManualTexts());
        case FormBox::PowerLevel: return TextArray(PowerLevelTexts());
    }
    return val::array();
}

// What an editor held when it was left (`enter` false) or confirmed with Enter.
val SetCell(int row, int column, const std::string& typed, bool enter) {
    return ResultValue(TheSession().SetCell(row, column, typed, enter ? CellEntry::Enter : CellEntry::Leave));
}

CellRange Range(int top, int left, int bottom, int right) { return CellRange{top, left, bottom, right}; }

std::string CopyCells(int top, int left, int bottom, int right) {
    return TheSession().Copy(Range(top, left, bottom, right));
}

val ClearCellRange(int top, int left, int bottom, int right) {
    return ResultValue(TheSession().ClearCellRange(Range(top, left, bottom, right)));
}

// Pastes over the selection top..bottom x left..right; the messages list the
// refused cells, then the frequencies written outside the band, and `block`
// is what the selection becomes.
val PasteCells(int top, int left, int bottom, int right, const std::string& text) {
    PasteResult pasted;
    val out = ResultValue(TheSession().Paste(Range(top, left, bottom, right), text, &pasted));
    out.set("messages", NoticesValue(PasteNotices(pasted)));
    val block = val::object();
    block.set("top", pasted.block.top);
    block.set("left", pasted.block.left);
    block.set("bottom", pasted.block.bottom);
    block.set("right", pasted.block.right);
    out.set("block", block);
    return out;
}

val SetField(int column, int first, int last, const std::string& text) {
    return ResultValue(TheSession().SetField(column, ChannelSpan{first, last}, text));
}

val ChannelRowsOp(int op, int first, int last) {
    EditSession& session = TheSession();
    const ChannelSpan span{first, last};
    switch (static_cast<RowsOp>(op)) {
        case RowsOp::Insert: return ResultValue(session.InsertChannels(span));
        case RowsOp::Delete: return ResultValue(session.DeleteChannels(span));
        case RowsOp::MoveUp: return ResultValue(session.MoveChannels(span, -1));
        case RowsOp::MoveDown: return ResultValue(session.MoveChannels(span, +1));
        case RowsOp::Clear: return ResultValue(session.ClearChannels(span));
    }
    EditResult refused;
    refused.refused = true;
    return ResultValue(refused);
}

// As bytes: a string would lose the byte-order mark spreadsheets look for.
val ExportCsv(bool chirpLayout) {
    return ByteArray(ExportChannelsCsv(TheSession().ImageForSave(), chirpLayout ? CsvLayout::Chirp : CsvLayout::Own));
}

// An import of the file's bytes (read as the desktop reads them: UTF-8 or
// GBK) as far as `answers` (the page's answers to the questions asked so far,
// in order) take it: the next question to ask, or the import decided. The
// document changes, as one undo step, once the import is applied.
val ImportCsv(const val& bytes, bool renumber, const val& answers) {
    CsvImportFlow flow = TheDocument().ImportCsv(StringOfBytes(bytes), renumber);
    const unsigned count = answers["length"].as<unsigned>();
    for (unsigned i = 0; i < count && flow.Question(); ++i) flow.Reply(static_cast<Answer>(answers[i].as<int>()));
    if (const auto question = flow.Question()) {
        val out = ResultValue(EditResult{});
        out.set("question", question->text);
        out.set("buttons", static_cast<int>(question->buttons));
        return out;
    }
    val out = ResultValue(TheDocument().Apply(flow));
    out.set("question", std::string());
    out.set("applied", flow.Applied());
    out.set("message", flow.Message());
    return out;
}

}  // namespace

EMSCRIPTEN_BINDINGS(ostreltz_rules) {
    using namespace emscripten;
    function("newDocument", optional_override([] { TheDocument().New(); }));
    function("loadSin", &LoadSin);
    function("title", optional_override([] { return TheDocument().Title(); }));
    function("saveQuestion", &SaveQuestion);
    function("afterAsking", optional_override([](int answer) {
                 return static_cast<int>(Document::After(static_cast<Answer>(answer)));
             }));
    function("defaultAnswer", optional_override([](int buttons, bool cancelIsDefault) {
                 return static_cast<int>(DefaultAnswer(static_cast<Buttons>(buttons), cancelIsDefault));
             }));
    function("sinBytes", &SinBytes);
    function("isSinName", &IsSinName);
    function("damagedFileText",
             optional_override([](const std::string& name) { return Describe(SinDamagedFailure(name)); }));
    function("withSinExtension", &WithSinExtension);
    function("cell", &Cell);
    function("selection", &Selection);
    function("setSelection", &SetSelection);
    function("boxTexts", &BoxTexts);
    function("columnCaption", &ColumnCaption);
    function("listEntries", optional_override([](int column) { return TextArray(ListEntries(column)); }));
    function("toneTexts", optional_override([] { return TextArray(ToneTable::Instance().Texts()); }));
    function("entryStartingWith", optional_override([](int column, const std::string& text) {
                 return EntryStartingWith(ListEntries(column), text);
             }));
    function("setCell", &SetCell);
    function("copyCells", &CopyCells);
    function("clearCells", &ClearCellRange);
    function("pasteCells", &PasteCells);
    function("setField", &SetField);
    function("channelRows", &ChannelRowsOp);
    function("undo", optional_override([] { return ResultValue(TheSession().Undo()); }));
    function("redo", optional_override([] { return ResultValue(TheSession().Redo()); }));
    function("canUndo", optional_override([] { return TheSession().CanUndo(); }));
    function("canRedo", optional_override([] { return TheSession().CanRedo(); }));
    function("isModified", optional_override([] { return TheDocument().IsModified(); }));
    function("saved", optional_override([](const std::string& name) { TheDocument().Saved(name); }));
    function("exportCsv", &ExportCsv);
    function("importCsv", &ImportCsv);
    constant("statusFeedbackMs", kStatusFeedbackMs);
}
