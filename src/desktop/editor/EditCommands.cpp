#include "editor/EditCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>

#include "ui/Messenger.h"
#include "editor/ChannelGrid.h"
#include "editor/KeshView.h"
#include "editor/SetFieldDlg.h"
#include "ui/CommandPath.h"
#include "res/ResourceIds.h"

using namespace ids;

CEditCommands::CEditCommands(CKeshView* view, const ActionOf& action, CCommandPath* commands, QMenu* gridMenu)
    : QObject(view), m_view(view), m_action(action) {
    auto on = [this, commands](int id, std::function<void()> handler) {
        commands->Connect(m_action(id), std::move(handler));
    };
    on(ID_EDIT_UNDO, [this] { OnUndo(); });
    on(ID_EDIT_REDO, [this] { OnRedo(); });
    on(ID_EDIT_COPY, [this] { OnCopy(); });
    on(ID_EDIT_CUT, [this] { OnCut(); });
    on(ID_EDIT_PASTE, [this] { OnPaste(); });
    on(ID_EDIT_CLEAR, [this] { OnClearChannels(); });
    on(ID_CHANNEL_INSERT, [this] { OnInsertChannels(); });
    on(ID_CHANNEL_DELETE, [this] { OnDeleteChannels(); });
    on(ID_CHANNEL_UP, [this] { OnMoveChannels(-1); });
    on(ID_CHANNEL_DOWN, [this] { OnMoveChannels(1); });
    on(ID_SET_FIELD, [this] { OnSetField(); });

    connect(m_view, &CKeshView::sessionChanged, this, &CEditCommands::UpdateEnabled);
    connect(m_view, &CKeshView::transferRunning, this, &CEditCommands::SetLocked);
    UpdateEnabled();

    CChannelGrid* grid = m_view->Grid();
    // The grid's keys run the same commands, and wait as they do while a transfer runs.
    connect(grid, &CChannelGrid::commandKey, this, [this, commands](GridAction command) {
        switch (command) {
            case GridAction::Copy: m_action(ID_EDIT_COPY)->trigger(); break;
            case GridAction::Cut: m_action(ID_EDIT_CUT)->trigger(); break;
            case GridAction::Paste: m_action(ID_EDIT_PASTE)->trigger(); break;
            case GridAction::ClearCells:
                if (!m_locked) commands->Run([this] { OnClearCells(); });
                break;
            default: break;
        }
    });
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, gridMenu,
            [grid, gridMenu](const QPoint& pos) { gridMenu->popup(grid->viewport()->mapToGlobal(pos)); });
}

void CEditCommands::SetLocked(bool locked) {
    m_locked = locked;
    UpdateEnabled();
}

void CEditCommands::UpdateEnabled() {
    for (int id : {ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_CLEAR, ID_CHANNEL_INSERT, ID_CHANNEL_DELETE, ID_CHANNEL_UP,
                   ID_CHANNEL_DOWN, ID_SET_FIELD})
        m_action(id)->setEnabled(!m_locked);
    m_action(ID_EDIT_UNDO)->setEnabled(!m_locked && m_view->Session().CanUndo());
    m_action(ID_EDIT_REDO)->setEnabled(!m_locked && m_view->Session().CanRedo());
}

void CEditCommands::OnUndo() {
    if (m_view->Session().CanUndo()) m_view->Change([](EditSession& s) { return s.Undo(); });
}

void CEditCommands::OnRedo() {
    if (m_view->Session().CanRedo()) m_view->Change([](EditSession& s) { return s.Redo(); });
}

void CEditCommands::OnCopy() {
    const std::string tsv = m_view->Session().Copy(m_view->Grid()->SelectedCells());
    QApplication::clipboard()->setText(QString::fromStdString(tsv));
}

void CEditCommands::OnCut() {
    OnCopy();
    const CellRange cells = m_view->Grid()->SelectedCells();
    m_view->Change([&](EditSession& s) { return s.ClearCellRange(cells); });
}

void CEditCommands::OnPaste() {
    const std::string text = QApplication::clipboard()->text().toStdString();
    CChannelGrid* grid = m_view->Grid();
    const CellRange at = grid->SelectedCells();
    PasteResult pasted;
    m_view->Change([&](EditSession& s) { return s.Paste(at, text, &pasted); });
    grid->SelectCells(pasted.block);
    // One summary of every refused cell, the accepted ones pasted; then the
    // frequencies outside the band, as typing them warns.
    grid->ShowNotices(PasteNotices(pasted));
}

ChannelSpan CEditCommands::SelectedChannels() const {
    const CellRange cells = m_view->Grid()->SelectedCells();
    return {cells.top, cells.bottom};
}

void CEditCommands::OnClearCells() {
    const CellRange cells = m_view->Grid()->SelectedCells();
    m_view->Change([&](EditSession& s) { return s.ClearCellRange(cells); });
}

void CEditCommands::OnClearChannels() {
    const ChannelSpan span = SelectedChannels();
    m_view->Change([&](EditSession& s) { return s.ClearChannels(span); });
}

void CEditCommands::OnInsertChannels() {
    const ChannelSpan span = SelectedChannels();
    const EditResult result = m_view->Change([&](EditSession& s) { return s.InsertChannels(span); });
    if (result.refused)
        Messenger::Show(m_view->Grid(), QString::fromStdString(result.refusal), Buttons::Ok, MessageIcon::Warning);
}

void CEditCommands::OnDeleteChannels() {
    const ChannelSpan span = SelectedChannels();
    m_view->Change([&](EditSession& s) { return s.DeleteChannels(span); });
}

void CEditCommands::OnMoveChannels(int delta) {
    CChannelGrid* grid = m_view->Grid();
    CellRange cells = grid->SelectedCells();
    const EditResult result = m_view->Change([&](EditSession& s) {
        return s.MoveChannels({cells.top, cells.bottom}, delta);
    });
    if (!result.selected) {
        QApplication::beep();
        return;
    }
    cells.top = result.selected->first;
    cells.bottom = result.selected->last;
    grid->SelectCells(cells);
}

void CEditCommands::OnSetField() {
    const ChannelSpan span = SelectedChannels();
    CSetFieldDlg dialog(m_view->window());
    if (dialog.exec() != QDialog::Accepted) return;
    const EditResult result =
        m_view->Change([&](EditSession& s) { return s.SetField(dialog.Column(), span, dialog.Value()); });
    if (!result.refusal.empty()) Messenger::Show(m_view, QString::fromStdString(result.refusal));
}
