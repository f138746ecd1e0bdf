#pragma once
// The edit commands of the channel grid: undo and redo, the clipboard, whole
// channels (clear, insert, delete, move) and the set-field dialog. Each change
// is one undoable step.
#include <QObject>
#include <functional>

#include "image/ChannelRows.h"

class CKeshView;
class QAction;
class QMenu;

class CEditCommands : public QObject {
    Q_OBJECT
public:
    using ActionOf = std::function<QAction*(int id)>;
    // Connects the commands' actions and the grid's context menu.
    CEditCommands(CKeshView* view, const ActionOf& action, QMenu* gridMenu);

    void OnUndo();
    void OnRedo();
    void OnCopy();
    void OnCut();
    void OnPaste();
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
    // Changes the image (with the grid pulled in) as a whole, then shows and
    // records it; `change` returns false when it refuses.
    bool ChangeChannels(const QString& step, const std::function<bool(RadioImage&)>& change);

    CKeshView* m_view;
    ActionOf m_action;
    bool m_locked = false;
};
