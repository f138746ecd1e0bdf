// What the page can ask of the rules. Every check, default and conversion
// happens here in the shared C++; the page only shows and collects texts.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdio>
#include <vector>

#include "JsValues.h"
#include "PageDocument.h"
#include "app/ToneTable.h"
#include "editor/CellRules.h"
#include "editor/ChannelClipboard.h"
#include "image/ChannelCsv.h"
#include "image/ChannelRows.h"
#include "image/FormSelections.h"
#include "image/SinFile.h"
#include "settings/OptionsCodec.h"

using emscripten::val;

namespace {

std::vector<std::uint8_t> BytesOf(const val& array) { return emscripten::convertJSArrayToNumberVector<std::uint8_t>(array); }

// Loads the bytes of a file called `name` through the same check as a file on disk.
val LoadSin(const std::string& name, const val& bytes) {
    const std::vector<std::uint8_t> data = BytesOf(bytes);
    const std::string path = "/" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
    }
    RadioImage image = TheDocument().Image();
    const SinLoadResult result = LoadSinFile(path, image);
    std::remove(path.c_str());
    if (result.ok && !result.empty) TheDocument().Replace(image);
    val out = val::object();
    out.set("ok", result.ok);
    out.set("empty", result.empty);
    out.set("error", result.error);
    return out;
}

void NewDocument() { TheDocument().Replace(NewDocumentImage()); }
val SinBytes() { return ByteArray(TheDocument().Image()); }

std::string Cell(int row, int column) { return TheDocument().Table().CellText(row, column); }
int Selection(int box) { return TheDocument().Table().Selection(static_cast<FormBox>(box)); }
void SetSelection(int box, int index) { TheDocument().Table().SetSelection(static_cast<FormBox>(box), index); }

val BoxTexts(int box) {
    switch (static_cast<FormBox>(box)) {
        case FormBox::Band: return TextArray(BandTexts());
        case FormBox::Model: return TextArray(ModelTexts());
        case FormBox::Manual: return TextArray(ManualTexts());
        case FormBox::PowerLevel: return TextArray(PowerLevelTexts());
    }
    return val::array();
}

// A typed frequency: the messages to show (in order) and whether the row changed.
val CommitFrequency(int row, int column, const std::string& typed, bool enterRule) {
    PageDocument& doc = TheDocument();
    const FrequencyCheck check = CheckFrequencyText(typed, doc.Band());
    val messages = val::array();
    for (FrequencyMessage m : check.messages) {
        val message = val::object();
        message.set("text", std::string(FrequencyMessageText(m)));
        message.set("warning", m != FrequencyMessage::OutOfBand);
        messages.call<void>("push", message);
    }
    const ChannelTexts before = RowTexts(doc.Table(), row);
    if (check.accepted) ApplyFrequencyEdit(doc.Table(), row, column, check.text, enterRule);
    val out = val::object();
    out.set("messages", messages);
    out.set("changed", before != RowTexts(doc.Table(), row));
    return out;
}

bool WriteCell(int row, int column, const std::string& text) {
    IChannelTable& table = TheDocument().Table();
    if (table.CellText(row, column) == text) return false;
    table.SetCellText(row, column, text);
    return true;
}

bool CommitTone(int row, int column, const std::string& typed) {
    return WriteCell(row, column, ToneCommitText(TheDocument().Table(), row, typed));
}

bool CommitList(int row, int column, const std::string& entry) {
    return WriteCell(row, column, ListCommitText(TheDocument().Table(), row, entry));
}

bool HasFrequency(int row) { return RowHasFrequency(TheDocument().Table(), row); }

CellRange Range(int top, int left, int bottom, int right) { return CellRange{top, left, bottom, right}; }

std::string CopyCells(int top, int left, int bottom, int right) {
    return CopyCellsTsv(TheDocument().Table(), Range(top, left, bottom, right));
}

void ClearCellRange(int top, int left, int bottom, int right) {
    ClearCells(TheDocument().Table(), Range(top, left, bottom, right));
}

// Pastes over the selection top..bottom x left..right; returns the refusal
// summary, empty when every cell was taken.
std::string PasteCells(int top, int left, int bottom, int right, const std::string& tsv) {
    PageDocument& doc = TheDocument();
    const std::string text = FillSelectionTsv(tsv, bottom - top + 1, right - left + 1);
    const PasteResult result = PasteCellsTsv(doc.Table(), top, left, text, doc.Band());
    return result.refused.empty() ? std::string() : RefusedCellsSummary(result.refused);
}

int SetField(int column, int first, int last, const std::string& text) {
    return SetFieldOfChannels(TheDocument().Table(), column, first, last, text);
}

// Whole channels: 0 insert, 1 delete, 2 move up, 3 move down, 4 clear.
bool ChannelRowsOp(int op, int first, int last) {
    PageDocument& doc = TheDocument();
    RadioImage image = doc.Image();
    const ChannelSpan span{first, last};
    bool done = true;
    switch (op) {
        case 0: done = InsertEmptyChannels(image, span); break;
        case 1: DeleteChannels(image, span); break;
        case 2: done = MoveChannels(image, span, -1); break;
        case 3: done = MoveChannels(image, span, +1); break;
        case 4: ClearChannels(image, span); break;
        default: done = false;
    }
    if (done) doc.Replace(image);
    return done;
}

// As bytes: a string would lose the byte-order mark spreadsheets look for.
val ExportCsv(bool chirpLayout) {
    return ByteArray(ExportChannelsCsv(TheDocument().Image(), chirpLayout ? CsvLayout::Chirp : CsvLayout::Own));
}

val ImportCsv(const std::string& csv, bool applyValidLines, bool renumber) {
    PageDocument& doc = TheDocument();
    RadioImage image = doc.Image();
    const CsvImport result = ImportChannelsCsv(csv, image, CsvImportOptions{applyValidLines, renumber});
    if (result.problems.empty() || applyValidLines) doc.Replace(image);
    val problems = val::array();
    for (const CsvProblem& p : result.problems) {
        val problem = val::object();
        problem.set("line", p.line);
        problem.set("reason", p.reason);
        problems.call<void>("push", problem);
    }
    val out = val::object();
    out.set("problems", problems);
    out.set("channels", result.channels);
    out.set("summary", result.droppedNames > 0 ? CsvImportSummary(result) : std::string());
    return out;
}

}  // namespace

EMSCRIPTEN_BINDINGS(ostreltz_rules) {
    using namespace emscripten;
    function("newDocument", &NewDocument);
    function("loadSin", &LoadSin);
    function("sinBytes", &SinBytes);
    function("cell", &Cell);
    function("selection", &Selection);
    function("setSelection", &SetSelection);
    function("boxTexts", &BoxTexts);
    function("columnCaption", &ColumnCaption);
    function("listEntries", optional_override([](int column) { return TextArray(ListEntries(column)); }));
    function("toneTexts", optional_override([] { return TextArray(ToneTable::Instance().Texts()); }));
    function("commitFrequency", &CommitFrequency);
    function("commitTone", &CommitTone);
    function("commitList", &CommitList);
    function("hasFrequency", &HasFrequency);
    function("entryStartingWith", optional_override([](int column, const std::string& text) {
                 return EntryStartingWith(ListEntries(column), text);
             }));
    function("copyCells", &CopyCells);
    function("clearCells", &ClearCellRange);
    function("pasteCells", &PasteCells);
    function("setField", &SetField);
    function("cellTextRefusal", optional_override([](int column, const std::string& text) {
                 return CellTextRefusal(column, text).value_or(std::string());
             }));
    function("channelRows", &ChannelRowsOp);
    function("exportCsv", &ExportCsv);
    function("importCsv", &ImportCsv);
}
