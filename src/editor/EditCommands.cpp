#include "editor/EditCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QUndoStack>

#include "app/Messenger.h"
#include "editor/CellRules.h"
#include "editor/ChannelClipboard.h"
#include "editor/ChannelGrid.h"
#include "editor/KeshView.h"
#include "editor/SetFieldDlg.h"
#include "res/ResourceIds.h"

using namespace ids;

CEditCommands::CEditCommands(CKeshView* view, const ActionOf& action, QMenu* gridMenu)
    : QObject(view), m_view(view), m_action(action) {
    auto on = [this](int id, auto handler) { connect(m_action(id), &QAction::triggered, this, handler); };
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

    QUndoStack* stack = m_view->UndoStack();
    connect(stack, &QUndoStack::canUndoChanged, this, &CEditCommands::UpdateEnabled);
    connect(stack, &QUndoStack::canRedoChanged, this, &CEditCommands::UpdateEnabled);
    connect(m_view, &CKeshView::transferRunning, this, &CEditCommands::SetLocked);
    UpdateEnabled();

    CChannelGrid* grid = m_view->Grid();
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
    m_action(ID_EDIT_UNDO)->setEnabled(!m_locked && m_view->UndoStack()->canUndo());
    m_action(ID_EDIT_REDO)->setEnabled(!m_locked && m_view->UndoStack()->canRedo());
}

// An open cell edit is written first, so that it is a step of its own.
void CEditCommands::OnUndo() {
    m_view->CommitCellEdit();
    m_view->UndoStack()->undo();
}

void CEditCommands::OnRedo() {
    m_view->CommitCellEdit();
    m_view->UndoStack()->redo();
}

void CEditCommands::OnCopy() {
    m_view->CommitCellEdit();
    const std::string tsv = CopyCellsTsv(*m_view, m_view->Grid()->SelectedCells());
    QApplication::clipboard()->setText(QString::fromStdString(tsv));
}

void CEditCommands::OnCut() {
    OnCopy();
    ClearCells(*m_view, m_view->Grid()->SelectedCells());
    m_view->RecordStep(QStringLiteral("剪切"));
}

void CEditCommands::OnPaste() {
    m_view->CommitCellEdit();
    const QString text = QApplication::clipboard()->text();
    if (text.isEmpty()) return;
    CChannelGrid* grid = m_view->Grid();
    const CellRange at = grid->SelectedCells();
    const std::string tsv = FillSelectionTsv(text.toStdString(), at.bottom - at.top + 1, at.right - at.left + 1);
    const PasteResult result = PasteCellsTsv(*m_view, at.top, at.left, tsv, m_view->Band());
    m_view->RecordStep(QStringLiteral("粘贴"));
    grid->SelectCells({at.top, at.left, std::min(at.top + std::max(result.rows, 1) - 1, kChannelCount),
                       std::min(at.left + std::max(result.columns, 1) - 1, CChannelGrid::kCols - 1)});
    // One summary of every refused cell; the accepted ones are pasted.
    if (!result.refused.empty())
        Messenger::Show(grid, QString::fromStdString(RefusedCellsSummary(result.refused)), Buttons::Ok,
                        MessageIcon::Warning);
}

ChannelSpan CEditCommands::SelectedChannels() const {
    const CellRange cells = m_view->Grid()->SelectedCells();
    return {cells.top, cells.bottom};
}

bool CEditCommands::ChangeChannels(const QString& step, const std::function<bool(RadioImage&)>& change) {
    m_view->CommitCellEdit();
    RadioImage image = m_view->ImageWithGrid();
    if (!change(image)) return false;
    m_view->ReplaceImage(image, step);
    return true;
}

void CEditCommands::OnClearChannels() {
    const ChannelSpan span = SelectedChannels();
    ChangeChannels(QStringLiteral("清除频道"), [span](RadioImage& image) {
        ClearChannels(image, span);
        return true;
    });
}

void CEditCommands::OnInsertChannels() {
    const ChannelSpan span = SelectedChannels();
    if (!ChangeChannels(QStringLiteral("插入空频道"),
                        [span](RadioImage& image) { return InsertEmptyChannels(image, span); }))
        Messenger::Show(m_view->Grid(),
                        QStringLiteral("频道表末尾的 %1 个频道中有数据，不能插入空频道。").arg(span.Count()),
                        Buttons::Ok, MessageIcon::Warning);
}

void CEditCommands::OnDeleteChannels() {
    const ChannelSpan span = SelectedChannels();
    ChangeChannels(QStringLiteral("删除频道"), [span](RadioImage& image) {
        DeleteChannels(image, span);
        return true;
    });
}

void CEditCommands::OnMoveChannels(int delta) {
    CChannelGrid* grid = m_view->Grid();
    CellRange cells = grid->SelectedCells();
    const ChannelSpan span{cells.top, cells.bottom};
    if (!ChangeChannels(QStringLiteral("移动频道"), [&](RadioImage& image) { return MoveChannels(image, span, delta); })) {
        QApplication::beep();
        return;
    }
    // The selection moves with the channels.
    cells.top += delta;
    cells.bottom += delta;
    grid->SelectCells(cells);
}

void CEditCommands::OnSetField() {
    m_view->CommitCellEdit();
    const ChannelSpan span = SelectedChannels();
    CSetFieldDlg dialog(m_view->window());
    if (dialog.exec() != QDialog::Accepted) return;
    SetFieldOfChannels(*m_view, dialog.Column(), span.first, span.last, dialog.Value());
    m_view->RecordStep(QStringLiteral("批量设置"));
}
