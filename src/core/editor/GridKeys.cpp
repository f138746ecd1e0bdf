#include "editor/GridKeys.h"

#include <algorithm>

#include "res/Texts.h"

namespace {

GridStep Step(GridAction action, int row = 0, int column = 0, EditorOpening opening = EditorOpening::Walk) {
    GridStep step;
    step.action = action;
    step.row = row;
    step.column = column;
    step.opening = opening;
    return step;
}

GridStep Leave(bool forward) {
    GridStep step = Step(GridAction::LeaveGrid);
    step.forward = forward;
    return step;
}

bool IsDigit(const std::string& typed) { return typed.size() == 1 && typed[0] >= '0' && typed[0] <= '9'; }

// One typed character: a printable ASCII character or one UTF-8 sequence.
bool IsCharacter(const std::string& key) {
    if (key.empty()) return false;
    const auto first = static_cast<unsigned char>(key[0]);
    if (first < 0x80) return key.size() == 1 && first >= 32 && first != 127;
    const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : 2;
    return key.size() == length;
}

char Lower(const std::string& key) {
    const char c = key.size() == 1 ? key[0] : '\0';
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Ctrl+C and Ctrl+Insert copy, Ctrl+X and Shift+Delete cut, Ctrl+V and
// Shift+Insert paste, as in every table program.
GridAction ClipboardCommand(const GridKeyPress& press) {
    if (press.alt) return GridAction::None;
    if (press.ctrl && !press.shift) {
        switch (Lower(press.key)) {
            case 'c': return GridAction::Copy;
            case 'x': return GridAction::Cut;
            case 'v': return GridAction::Paste;
        }
        if (press.key == "Insert") return GridAction::Copy;
    }
    if (press.shift && !press.ctrl) {
        if (press.key == "Delete") return GridAction::Cut;
        if (press.key == "Insert") return GridAction::Paste;
    }
    return GridAction::None;
}

}  // namespace

CellEditorKind EditorForColumn(int column) {
    if (column == col::kRxFreq || column == col::kTxFreq) return CellEditorKind::Frequency;
    return IsToneColumn(column) ? CellEditorKind::Tone : CellEditorKind::List;
}

GridStep TabWalk(int row, int column, bool forward) {
    if (forward) {
        if (column < col::kBusy) return Step(GridAction::Move, row, column + 1);
        if (row < kChannelCount) return Step(GridAction::Move, row + 1, col::kRxFreq);
        return Leave(true);
    }
    if (column > col::kRxFreq) return Step(GridAction::Move, row, column - 1);
    if (row > 1) return Step(GridAction::Move, row - 1, col::kBusy);
    return Leave(false);
}

GridStep KeyOnFormBox(const GridKeyPress& press) {
    if (press.key == "Enter" && !press.ctrl && !press.alt && !press.shift) return Leave(true);
    return {};
}

GridStep KeyOnCell(int row, int column, const GridKeyPress& press) {
    if (const GridAction command = ClipboardCommand(press); command != GridAction::None) return Step(command);
    if (press.key == "Tab") return press.ctrl ? Leave(!press.shift) : TabWalk(row, column, !press.shift);
    if (press.ctrl || press.alt) return {};
    if (press.key == "Enter") {
        // On as the Right arrow, or from the scan-add column as Tab.
        if (column == col::kScan) return TabWalk(row, column, true);
        if (column < col::kBusy) return Step(GridAction::Move, row, column + 1);
        return Step(GridAction::Ignore);
    }
    if (press.key == "Delete") return Step(GridAction::ClearCells);
    if (press.key == "F2") return Step(GridAction::OpenEditor, row, column, EditorOpening::F2);
    if (IsCharacter(press.key)) {
        if (column == col::kScan) return Step(GridAction::Ignore);
        return Step(GridAction::OpenEditor, row, column, EditorOpening::Typed);
    }
    return {};
}

GridStep AfterRefusedCommit(int row, int column) {
    return Step(GridAction::OpenEditor, row, column, EditorOpening::Retry);
}

GridStep AfterEditorKey(const GridStep& step, int row, int column, bool refused) {
    return refused ? AfterRefusedCommit(row, column) : step;
}

namespace {

// Enter in an editor: on to the next cell of the row, or the next row.
GridStep AfterEnterInEditor(int row, int column) {
    if (column <= col::kTxTone) return Step(GridAction::OpenEditor, row, column + 1);
    if (row >= kChannelCount) return TabWalk(row, column, true);
    if (column == col::kBusy) return Step(GridAction::OpenEditor, row + 1, col::kRxFreq);
    return Step(GridAction::OpenEditor, row, column + 1);
}

}  // namespace

GridStep KeyInEditor(int row, int column, const GridKeyPress& press, bool dropDownOpen) {
    if (press.key == "Escape") return Step(GridAction::CancelEdit);
    if (dropDownOpen || press.alt) return {};
    // A closed list keeps its value under the keys that walk a list or a
    // page; a tone's text keeps Home and End for its caret.
    const bool pageKey = press.key == "PageUp" || press.key == "PageDown";
    const bool listKey =
        pageKey || press.key == "Home" || press.key == "End" || press.key == "ArrowLeft" || press.key == "ArrowRight";
    switch (EditorForColumn(column)) {
        case CellEditorKind::List:
            if (listKey) return Step(GridAction::Ignore);
            break;
        case CellEditorKind::Tone:
            if (pageKey) return Step(GridAction::Ignore);
            break;
        case CellEditorKind::Frequency: break;
    }
    if (press.key == "Enter") return AfterEnterInEditor(row, column);
    if (press.key == "Tab") return press.ctrl ? Leave(!press.shift) : TabWalk(row, column, !press.shift);
    // Up and down mean the row above or below in every editor; a list's
    // values change in its open drop-down.
    if (!press.ctrl && !press.shift && (press.key == "ArrowUp" || press.key == "ArrowDown")) {
        const int next = row + (press.key == "ArrowUp" ? -1 : 1);
        return Step(GridAction::Move, std::clamp(next, 1, kChannelCount), column);
    }
    return {};
}

bool UndoKeysAreTheEditors(int column, bool typedSinceOpened) {
    return typedSinceOpened && EditorForColumn(column) != CellEditorKind::List;
}

bool PasteKeysAreTheEditors(int column, bool typedSinceOpened, const std::string& text) {
    if (EditorForColumn(column) == CellEditorKind::List) return false;
    return typedSinceOpened || text.find_first_of("\t\r\n") == std::string::npos;
}

EditorStart StartEditor(int column, EditorOpening opening, const std::string& typed, const std::string& cellText) {
    EditorStart start;
    start.text = opening == EditorOpening::Retry ? typed : cellText;
    start.selectAll = opening != EditorOpening::F2 && opening != EditorOpening::Typed;
    if (opening != EditorOpening::Typed) return start;
    switch (EditorForColumn(column)) {
        case CellEditorKind::Frequency:
            // A typed digit starts a new frequency; any other key says what
            // the cell takes, beside the grid, and still opens it.
            if (!IsDigit(typed)) start.notice = Tr(TextId::TypeDigits);
            start.text = (cellText.empty() && !IsDigit(typed)) ? std::string() : typed;
            break;
        case CellEditorKind::Tone: start.text = typed; break;  // "d" starts a DCS code
        case CellEditorKind::List: break;                      // a list has no text to type into
    }
    return start;
}

std::vector<CellNotice> NoticesOf(const EditResult& result) {
    std::vector<CellNotice> notices;
    for (FrequencyMessage message : result.messages) {
        CellNotice notice;
        notice.text = FrequencyMessageText(message);
        if (message == FrequencyMessage::OutOfBand) {
            notice.caption = Tr(TextId::OutOfBandCaption);
            notice.severity = NoticeSeverity::Information;
        }
        notices.push_back(std::move(notice));
    }
    if (!result.refusal.empty()) notices.push_back(CellNotice{result.refusal, "", NoticeSeverity::Warning});
    return notices;
}
