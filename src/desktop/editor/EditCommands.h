#pragma once
// The edit commands of the channel grid: undo and redo, the clipboard, whole
// channels (clear, insert, delete, move) and the set-field dialog. Each change
// is one undoable step of the editing session; an edit still open in a cell is
// written first, as a step of its own, by the path every command runs through.
#include <QObject>
#include <functional>

#include "editor/EditSession.h"

class CCommandPath;
class CKeshView;
class QAction;
class QMenu;

class CEditCommands : public QObject {
    Q_OBJECT
public:
    using ActionOf = std::function<QAction*(int id)>;
    // Connects the commands' actions, through `commands`, and the grid's context menu.
    CEditCommands(CKeshView* view, const ActionOf& action, CCommandPath* commands, QMenu* gridMenu);

    void OnUndo();
    void OnRedo();
    void OnCopy();
    void OnCut();
    void OnPaste();
    // Del on the grid: the selected cells, as typing an empty text empties them.
    void OnClearCells();
    void OnClearChannels();
    void OnInsertChannels();
    void OnDeleteChannels();
    void OnMoveChannels(int delta);
    void OnSetField();

private:
    // While a transfer runs nothing may change the document.
    void SetLocked(bool locked);
    void UpdateEnabled();
    ChannelSpan SelectedChannels() const;

    CKeshView* m_view;
    ActionOf m_action;
    bool m_locked = false;
};
