// The grid's key rules as the page asks them: the same answers the desktop
// grid gets.
#include <emscripten/bind.h>

#include "editor/GridKeys.h"

namespace {

GridKeyPress Press(const std::string& key, bool ctrl, bool shift, bool alt) {
    return GridKeyPress{key, ctrl, shift, alt};
}

GridStep OnCell(int row, int column, const std::string& key, bool ctrl, bool shift, bool alt) {
    return KeyOnCell(row, column, Press(key, ctrl, shift, alt));
}

GridStep InEditor(int row, int column, const std::string& key, bool ctrl, bool shift, bool alt, bool dropDownOpen) {
    return KeyInEditor(row, column, Press(key, ctrl, shift, alt), dropDownOpen);
}

GridStep OnFormBox(const std::string& key, bool ctrl, bool shift, bool alt) {
    return KeyOnFormBox(Press(key, ctrl, shift, alt));
}

}  // namespace

EMSCRIPTEN_BINDINGS(ostreltz_grid_keys) {
    using namespace emscripten;
    enum_<GridAction>("GridAction")
        .value("None", GridAction::None)
        .value("Ignore", GridAction::Ignore)
        .value("CancelEdit", GridAction::CancelEdit)
        .value("Move", GridAction::Move)
        .value("OpenEditor", GridAction::OpenEditor)
        .value("LeaveGrid", GridAction::LeaveGrid)
        .value("ClearCells", GridAction::ClearCells)
        .value("Copy", GridAction::Copy)
        .value("Cut", GridAction::Cut)
        .value("Paste", GridAction::Paste);
    enum_<EditorOpening>("EditorOpening")
        .value("Click", EditorOpening::Click)
        .value("Typed", EditorOpening::Typed)
        .value("F2", EditorOpening::F2)
        .value("Walk", EditorOpening::Walk)
        .value("Retry", EditorOpening::Retry);
    enum_<CellEditorKind>("CellEditorKind")
        .value("Frequency", CellEditorKind::Frequency)
        .value("Tone", CellEditorKind::Tone)
        .value("List", CellEditorKind::List);
    value_object<GridStep>("GridStep")
        .field("action", &GridStep::action)
        .field("row", &GridStep::row)
        .field("column", &GridStep::column)
        .field("forward", &GridStep::forward)
        .field("opening", &GridStep::opening);
    value_object<EditorStart>("EditorStart")
        .field("text", &EditorStart::text)
        .field("selectAll", &EditorStart::selectAll)
        .field("notice", &EditorStart::notice);
    function("keyOnCell", &OnCell);
    function("keyOnFormBox", &OnFormBox);
    function("keyInEditor", &InEditor);
    function("afterEditorKey", &AfterEditorKey);
    function("undoKeysAreTheEditors", &UndoKeysAreTheEditors);
    function("pasteKeysAreTheEditors", &PasteKeysAreTheEditors);
    function("afterRefusedCommit", &AfterRefusedCommit);
    function("startEditor", &StartEditor);
    function("editorForColumn", &EditorForColumn);
}
