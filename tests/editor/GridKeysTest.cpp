// The grid's answer to every key and gesture, as one table of cases.
#include "editor/GridKeys.h"

#include <gtest/gtest.h>

#include "res/Texts.h"

namespace {

struct KeyCase {
    const char* name;
    int row, column;
    GridKeyPress press;
    bool inEditor;
    bool dropDownOpen;
    GridAction action;
    int toRow, toColumn;
    bool forward;
    EditorOpening opening;
};

GridKeyPress K(const char* key, bool ctrl = false, bool shift = false, bool alt = false) {
    return {key, ctrl, shift, alt};
}

constexpr auto kWalk = EditorOpening::Walk;
constexpr auto kTyped = EditorOpening::Typed;

const KeyCase kKeyCases[] = {
    // Tab and Shift+Tab go from cell to cell; past either end the grid is left.
    {"Tab on a cell", 5, 3, K("Tab"), false, false, GridAction::Move, 5, 4, true, kWalk},
    {"Tab at a row's end", 5, 10, K("Tab"), false, false, GridAction::Move, 6, 1, true, kWalk},
    {"Tab past the last cell", 128, 10, K("Tab"), false, false, GridAction::LeaveGrid, 0, 0, true, kWalk},
    {"Shift+Tab", 5, 3, K("Tab", false, true), false, false, GridAction::Move, 5, 2, true, kWalk},
    {"Shift+Tab at a row's start", 5, 1, K("Tab", false, true), false, false, GridAction::Move, 4, 10, true, kWalk},
    {"Shift+Tab before the first cell", 1, 1, K("Tab", false, true), false, false, GridAction::LeaveGrid, 0, 0, false,
     kWalk},
    {"Ctrl+Tab leaves", 5, 3, K("Tab", true), false, false, GridAction::LeaveGrid, 0, 0, true, kWalk},
    {"Ctrl+Shift+Tab leaves backwards", 5, 3, K("Tab", true, true), false, false, GridAction::LeaveGrid, 0, 0, false,
     kWalk},
    {"Tab in an editor writes and walks", 7, 2, K("Tab"), true, false, GridAction::Move, 7, 3, true, kWalk},
    {"Tab in the last editor leaves", 128, 10, K("Tab"), true, false, GridAction::LeaveGrid, 0, 0, true, kWalk},
    // Enter on a cell: right, and from the scan-add column as Tab, inside the grid.
    {"Enter on a cell", 3, 1, K("Enter"), false, false, GridAction::Move, 3, 2, true, kWalk},
    {"Enter on scan add", 3, 6, K("Enter"), false, false, GridAction::Move, 3, 7, true, kWalk},
    {"Enter on the last column", 3, 10, K("Enter"), false, false, GridAction::Ignore, 0, 0, true, kWalk},
    // Enter in an editor opens the next editor; on row 128 a list goes on as Tab.
    {"Enter in a frequency", 3, 1, K("Enter"), true, false, GridAction::OpenEditor, 3, 2, true, kWalk},
    {"Enter in a tone on row 128", 128, 4, K("Enter"), true, false, GridAction::OpenEditor, 128, 5, true, kWalk},
    {"Enter in a list", 3, 7, K("Enter"), true, false, GridAction::OpenEditor, 3, 8, true, kWalk},
    {"Enter in busy lockout", 5, 10, K("Enter"), true, false, GridAction::OpenEditor, 6, 1, true, kWalk},
    {"Enter in a list on row 128", 128, 7, K("Enter"), true, false, GridAction::Move, 128, 8, true, kWalk},
    {"Enter in busy lockout on row 128", 128, 10, K("Enter"), true, false, GridAction::LeaveGrid, 0, 0, true, kWalk},
    {"Enter in an open drop-down is the list's", 3, 7, K("Enter"), true, true, GridAction::None, 0, 0, true, kWalk},
    // Up and down mean the next row in every editor; in an open drop-down the next value.
    {"Down in a frequency", 3, 1, K("ArrowDown"), true, false, GridAction::Move, 4, 1, true, kWalk},
    {"Down in a closed list", 3, 5, K("ArrowDown"), true, false, GridAction::Move, 4, 5, true, kWalk},
    {"Up in a closed tone", 3, 3, K("ArrowUp"), true, false, GridAction::Move, 2, 3, true, kWalk},
    {"Up on the first row", 1, 5, K("ArrowUp"), true, false, GridAction::Move, 1, 5, true, kWalk},
    {"Down in an open drop-down", 3, 5, K("ArrowDown"), true, true, GridAction::None, 0, 0, true, kWalk},
    {"Alt+Down opens the drop-down", 3, 5, K("ArrowDown", false, false, true), true, false, GridAction::None, 0, 0,
     true, kWalk},
    {"Escape in an editor", 3, 5, K("Escape"), true, false, GridAction::CancelEdit, 0, 0, true, kWalk},
    {"Left in an editor is the editor's", 3, 1, K("ArrowLeft"), true, false, GridAction::None, 0, 0, true, kWalk},
    {"Right in a closed list changes nothing", 3, 5, K("ArrowRight"), true, false, GridAction::Ignore, 0, 0, true,
     kWalk},
    {"Left in an open drop-down is the list's", 3, 8, K("ArrowLeft"), true, true, GridAction::None, 0, 0, true, kWalk},
    {"End in a closed list changes nothing", 3, 7, K("End"), true, false, GridAction::Ignore, 0, 0, true, kWalk},
    {"Page Down in a closed tone changes nothing", 3, 4, K("PageDown"), true, false, GridAction::Ignore, 0, 0, true,
     kWalk},
    {"Home in a tone is its caret's", 3, 4, K("Home"), true, false, GridAction::None, 0, 0, true, kWalk},
    {"Page Down in an open drop-down is the list's", 3, 7, K("PageDown"), true, true, GridAction::None, 0, 0, true,
     kWalk},
    // Typing and F2 open the current cell's editor.
    {"a digit", 3, 1, K("1"), false, false, GridAction::OpenEditor, 3, 1, true, kTyped},
    {"a letter on a tone", 3, 3, K("d"), false, false, GridAction::OpenEditor, 3, 3, true, kTyped},
    {"a Chinese character", 3, 1, K("\xe5\xae\xbd"), false, false, GridAction::OpenEditor, 3, 1, true, kTyped},
    {"a digit on scan add", 3, 6, K("1"), false, false, GridAction::Ignore, 0, 0, true, kWalk},
    {"F2", 3, 4, K("F2"), false, false, GridAction::OpenEditor, 3, 4, true, EditorOpening::F2},
    // The clipboard keys and Del.
    {"Ctrl+C", 3, 4, K("c", true), false, false, GridAction::Copy, 0, 0, true, kWalk},
    {"Ctrl+C with Caps Lock", 3, 4, K("C", true), false, false, GridAction::Copy, 0, 0, true, kWalk},
    {"Ctrl+Insert", 3, 4, K("Insert", true), false, false, GridAction::Copy, 0, 0, true, kWalk},
    {"Ctrl+X", 3, 4, K("x", true), false, false, GridAction::Cut, 0, 0, true, kWalk},
    {"Shift+Del", 3, 4, K("Delete", false, true), false, false, GridAction::Cut, 0, 0, true, kWalk},
    {"Ctrl+V", 3, 4, K("v", true), false, false, GridAction::Paste, 0, 0, true, kWalk},
    {"Shift+Insert", 3, 4, K("Insert", false, true), false, false, GridAction::Paste, 0, 0, true, kWalk},
    {"Del", 3, 4, K("Delete"), false, false, GridAction::ClearCells, 0, 0, true, kWalk},
    {"Ctrl+D is not the grid's", 3, 4, K("d", true), false, false, GridAction::None, 0, 0, true, kWalk},
    {"Alt+E is not the grid's", 3, 4, K("e", false, false, true), false, false, GridAction::None, 0, 0, true, kWalk},
    {"Ctrl+C in an editor is the editor's", 3, 1, K("c", true), true, false, GridAction::None, 0, 0, true, kWalk},
};

TEST(GridKeys, EveryKeyGoesWhereTheTableSays) {
    for (const KeyCase& c : kKeyCases) {
        const GridStep step =
            c.inEditor ? KeyInEditor(c.row, c.column, c.press, c.dropDownOpen) : KeyOnCell(c.row, c.column, c.press);
        EXPECT_EQ(step.action, c.action) << c.name;
        if (c.action == GridAction::Move || c.action == GridAction::OpenEditor) {
            EXPECT_EQ(step.row, c.toRow) << c.name;
            EXPECT_EQ(step.column, c.toColumn) << c.name;
            EXPECT_EQ(step.opening, c.opening) << c.name;
        }
        if (c.action == GridAction::LeaveGrid) {
            EXPECT_EQ(step.forward, c.forward) << c.name;
        }
    }
}

TEST(GridKeys, EnterInAFormBoxMovesOnAndEveryOtherKeyIsTheBoxs) {
    const struct {
        const char* name;
        GridKeyPress press;
        GridAction action;
    } kBoxCases[] = {
        {"Enter", K("Enter"), GridAction::LeaveGrid},
        {"Ctrl+Enter", K("Enter", true), GridAction::None},
        {"Shift+Enter", K("Enter", false, true), GridAction::None},
        {"Tab", K("Tab"), GridAction::None},
        {"ArrowDown", K("ArrowDown"), GridAction::None},
        {"a letter", K("a"), GridAction::None},
    };
    for (const auto& c : kBoxCases) {
        const GridStep step = KeyOnFormBox(c.press);
        EXPECT_EQ(step.action, c.action) << c.name;
        EXPECT_TRUE(step.forward) << c.name;
    }
}

TEST(GridKeys, ARefusedTextKeepsItsCellOpenWhicheverKeyWroteIt) {
    for (const char* key : {"Enter", "Tab", "ArrowDown"}) {
        const GridStep next = KeyInEditor(9, 1, K(key), false);
        EXPECT_EQ(AfterEditorKey(next, 9, 1, false).row, next.row) << key;
        const GridStep again = AfterEditorKey(next, 9, 1, true);
        EXPECT_EQ(again.action, GridAction::OpenEditor) << key;
        EXPECT_EQ(again.row, 9) << key;
        EXPECT_EQ(again.column, 1) << key;
        EXPECT_EQ(again.opening, EditorOpening::Retry) << key;
    }
    const GridStep step = AfterRefusedCommit(9, 1);
    // With what was typed, all selected, to be typed over or mended.
    const EditorStart start = StartEditor(1, step.opening, "145.1234", "146.00000");
    EXPECT_EQ(start.text, "145.1234");
    EXPECT_TRUE(start.selectAll);
}

struct StartCase {
    const char* name;
    int column;
    EditorOpening opening;
    const char* typed;
    const char* cell;
    const char* text;
    bool selectAll;
    bool notice;
};

const StartCase kStartCases[] = {
    {"click on a frequency", 1, EditorOpening::Click, "", "145.12500", "145.12500", true, false},
    {"F2 puts the caret at the end", 1, EditorOpening::F2, "", "145.12500", "145.12500", false, false},
    {"the Enter walk", 2, EditorOpening::Walk, "", "145.12500", "145.12500", true, false},
    {"a digit over a frequency", 1, EditorOpening::Typed, "1", "145.12500", "1", false, false},
    {"a digit over an empty cell", 2, EditorOpening::Typed, "4", "", "4", false, false},
    {"a letter over an empty frequency", 1, EditorOpening::Typed, "a", "", "", false, true},
    {"a letter over a frequency", 1, EditorOpening::Typed, ".", "145.12500", ".", false, true},
    {"d starts a DCS code", 3, EditorOpening::Typed, "d", "OFF", "d", false, false},
    {"a digit starts a CTCSS tone", 4, EditorOpening::Typed, "8", "OFF", "8", false, false},
    {"a key on a list keeps its entry", 5, EditorOpening::Typed, "x", "\xe5\xae\xbd", "\xe5\xae\xbd", false, false},
};

TEST(GridKeys, EditorsStartWithTheTextTheOpeningGives) {
    SetCurrentLanguage(Lang::Zh);
    for (const StartCase& c : kStartCases) {
        const EditorStart start = StartEditor(c.column, c.opening, c.typed, c.cell);
        EXPECT_EQ(start.text, c.text) << c.name;
        EXPECT_EQ(start.selectAll, c.selectAll) << c.name;
        EXPECT_EQ(start.notice, c.notice ? "请输入数字" : "") << c.name;
    }
}

TEST(GridKeys, ColumnsGetTheirEditors) {
    const CellEditorKind kinds[] = {CellEditorKind::Frequency, CellEditorKind::Frequency, CellEditorKind::Tone,
                                    CellEditorKind::Tone,      CellEditorKind::List,      CellEditorKind::List,
                                    CellEditorKind::List,      CellEditorKind::List,      CellEditorKind::List,
                                    CellEditorKind::List};
    for (int column = 1; column <= 10; ++column) EXPECT_EQ(EditorForColumn(column), kinds[column - 1]) << column;
}

// An editor keeps Undo and Redo only for typing of its own: a list has none.
TEST(GridKeys, UndoKeysAreTheEditorsOnlyForItsOwnTyping) {
    for (int column = 1; column <= 10; ++column) {
        EXPECT_FALSE(UndoKeysAreTheEditors(column, false)) << column;
        EXPECT_EQ(UndoKeysAreTheEditors(column, true), EditorForColumn(column) != CellEditorKind::List) << column;
    }
}

// A paste is the editor's for a single value or into typing; several cells
// into an editor nothing was typed into are the grid's, as a list's always are.
TEST(GridKeys, PastesOfSeveralCellsIntoAnUntouchedEditorAreTheGrids) {
    EXPECT_TRUE(PasteKeysAreTheEditors(1, false, "145.5"));
    EXPECT_FALSE(PasteKeysAreTheEditors(1, false, "145.5\t146.0"));
    EXPECT_FALSE(PasteKeysAreTheEditors(3, false, "67.0\n"));
    EXPECT_FALSE(PasteKeysAreTheEditors(1, false, "145.5\r\n146.0\r\n"));
    EXPECT_TRUE(PasteKeysAreTheEditors(1, true, "145.5\t146.0"));
    EXPECT_FALSE(PasteKeysAreTheEditors(5, true, "宽"));
}

TEST(GridKeys, NoticesSayHowSevereEachMessageIs) {
    SetCurrentLanguage(Lang::Zh);
    EditResult result;
    result.messages = {FrequencyMessage::OutOfBand, FrequencyMessage::Step};
    result.refusal = "不是亚音码";
    const std::vector<CellNotice> notices = NoticesOf(result);
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0].text, "超出频率范围!");
    EXPECT_EQ(notices[0].caption, "温馨提示");
    EXPECT_EQ(notices[0].severity, NoticeSeverity::Information);
    EXPECT_EQ(notices[1].text, "输入数据错误，请按6.25K或 5k的倍数重新输入");
    EXPECT_EQ(notices[1].caption, "");
    EXPECT_EQ(notices[1].severity, NoticeSeverity::Warning);
    EXPECT_EQ(notices[2].text, "不是亚音码");
    EXPECT_EQ(notices[2].severity, NoticeSeverity::Warning);
}

}  // namespace
