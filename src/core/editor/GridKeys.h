#pragma once
// How the channel grid answers keys and gestures: which editor a column gets,
// which keys open it and with what text, where Enter and Tab go, which keys
// run the clipboard commands, and how a refused or warned text is shown. The
// desktop grid and the page's grid both ask these rules; neither decides.
#include <string>
#include <vector>

#include "editor/CellNotice.h"
#include "editor/EditSession.h"

enum class CellEditorKind { Frequency, Tone, List };
CellEditorKind EditorForColumn(int column);

// A key as the grid sees it: its name as a browser spells it ("Enter",
// "Tab", "Delete", "Insert", "F2", "Escape", "ArrowUp", "ArrowLeft", …) or the
// one character it types, and the modifiers held.
struct GridKeyPress {
    std::string key;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// How an editor is being opened.
enum class EditorOpening {
    Click,  // a click or a double-click: the cell's text, all selected
    Typed,  // a typed character starts the text
    F2,     // the cell's text, the caret at its end
    Walk,   // opened by the Enter walk: the cell's text, all selected
    Retry,  // opened again after a refused text: that text, all selected
};

enum class GridAction {
    None,        // the key is not the grid's: the front end does as it would
    Ignore,      // the key is taken and nothing happens
    CancelEdit,  // the open editor closes and the cell keeps what it held
    Move,        // the current cell becomes (row, column), nothing opened
    OpenEditor,  // the current cell becomes (row, column) and its editor opens
    LeaveGrid,   // the focus leaves the grid (`forward` or backwards)
    ClearCells,  // the selected cells are emptied as an empty text would empty them
    Copy,
    Cut,
    Paste,
};

struct GridStep {
    GridAction action = GridAction::None;
    int row = 0;
    int column = 0;
    bool forward = true;
    EditorOpening opening = EditorOpening::Walk;
};

// A key pressed on the grid's current cell (row, column) with no editor open.
GridStep KeyOnCell(int row, int column, const GridKeyPress& press);

// A key pressed in the open editor of (row, column); `dropDownOpen` while a
// list's drop-down is shown. Enter, Tab and the up and down arrows write the
// editor first and then go where the step says; Escape closes it unwritten
// (CancelEdit); Ignore swallows the key and the editor stays open; None
// leaves the key to the editor.
GridStep KeyInEditor(int row, int column, const GridKeyPress& press, bool dropDownOpen);
// Undo and Redo pressed in an open editor of `column`: a text editor that
// holds typing of its own undoes that typing, as a text field does; else
// (nothing typed since it opened, or a list) they are the document's Undo
// and Redo, run as any command is, the editor's cell as it was.
bool UndoKeysAreTheEditors(int column, bool typedSinceOpened);
// Paste pressed in an open editor of `column` with `text` on the clipboard:
// a text editor takes it as a text field does, unless nothing was typed
// into it since it opened and the text holds several cells (a tab or a line
// break), which the grid's Paste puts in from the editor's cell on, as it
// would had the editor not been opened by the click that chose the cell.
bool PasteKeysAreTheEditors(int column, bool typedSinceOpened, const std::string& text);
// Where a key that wrote the editor of (row, column) leads: `step`, the key's
// own (from KeyInEditor), when the text was taken; a refused text keeps its
// cell open for another try, with what was typed, whichever key wrote it
// (Enter, Tab, an arrow).
GridStep AfterEditorKey(const GridStep& step, int row, int column, bool refused);
// A command found an edit open in (row, column) and wrote it first, and the
// text was refused: the command does not run, and the cell opens again with
// what was typed, so no keystroke is lost to the command.
GridStep AfterRefusedCommit(int row, int column);

// A key pressed in one of the four whole-radio boxes above the grid: Enter
// moves on to the next control (LeaveGrid, forward), as Tab does; every
// other key is the box's own (None).
GridStep KeyOnFormBox(const GridKeyPress& press);

// The cell after (row, column) for Tab, or before it for Shift+Tab; past the
// first or last cell the focus leaves the grid.
GridStep TabWalk(int row, int column, bool forward);

// What an editor of `column` opened by `opening` starts with.
struct EditorStart {
    std::string text;
    bool selectAll = false;  // else the caret at the end
    std::string notice;      // shown beside the grid, never in a box that takes keys
};
EditorStart StartEditor(int column, EditorOpening opening, const std::string& typed, const std::string& cellText);

// The messages an edit of a cell gives, in order.
std::vector<CellNotice> NoticesOf(const EditResult& result);
