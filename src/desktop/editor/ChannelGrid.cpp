#include "editor/ChannelGrid.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <utility>

#include "ui/Messenger.h"
#include "editor/CellDelegate.h"
#include "editor/ChannelModel.h"
#include "editor/FocusNext.h"
#include "res/QtText.h"

namespace {

bool IsPrintable(const QKeyEvent* event) {
    const QString text = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    return plain && text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() != 127;
}

bool IsNavigation(int key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: return true;
        default: return false;
    }
}

}  // namespace

CChannelGrid::CChannelGrid(CChannelModel* model, Commit commit, QWidget* parent)
    : QTableView(parent), m_model(model), m_commit(std::move(commit)) {
    setModel(model);
    m_delegate = new CCellDelegate(
        [this](int row, int column, const std::string& text, CellEntry entry) {
            m_committed = m_commit(row, column, text, entry);
        },
        this);
    setItemDelegate(m_delegate);
    connect(m_delegate, &CCellDelegate::enterPressed, this, &CChannelGrid::OnEnterInEditor);
    connect(m_delegate, &CCellDelegate::tabPressed, this, &CChannelGrid::LeaveGrid);
    setEditTriggers(QAbstractItemView::DoubleClicked);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    setTabKeyNavigation(false);  // Tab leaves the grid for the next control
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setMinimumSectionSize(1);
    // The corner holds the caption of column 0.
    setCornerButtonEnabled(false);
    m_corner = findChild<QAbstractButton*>();
    if (m_corner) m_corner->installEventFilter(this);
}

void CChannelGrid::changeEvent(QEvent* event) {
    // Every row is as tall as the editors, so an open editor covers its cell exactly.
    if (event->type() == QEvent::FontChange)
        verticalHeader()->setDefaultSectionSize(std::max(fontMetrics().height() + 6, CCellDelegate::EditorHeight(viewport())));
    QTableView::changeEvent(event);
}

QString CChannelGrid::TextMatrix(int row, int col) const {
    if (col == 0) return row == 0 ? m_model->Caption(0) : model()->headerData(row - 1, Qt::Vertical).toString();
    if (row == 0) return model()->headerData(col - 1, Qt::Horizontal).toString();
    return model()->index(row - 1, col - 1).data().toString();
}

void CChannelGrid::SetCurrentCell(int row, int col) {
    setCurrentIndex(model()->index(row - 1, col - 1));
}

CellRange CChannelGrid::SelectedCells() const {
    const QModelIndexList cells = selectionModel()->selectedIndexes();
    if (cells.isEmpty()) {
        const int row = std::max(Row(), 1);
        const int col = std::max(Col(), 1);
        return {row, col, row, col};
    }
    CellRange r{kRows, kCols, 0, 0};
    for (const QModelIndex& cell : cells) {
        r.top = std::min(r.top, cell.row() + 1);
        r.left = std::min(r.left, cell.column() + 1);
        r.bottom = std::max(r.bottom, cell.row() + 1);
        r.right = std::max(r.right, cell.column() + 1);
    }
    return r;
}

void CChannelGrid::SelectCells(const CellRange& range) {
    SetCurrentCell(range.top, range.left);
    const QItemSelection block(model()->index(range.top - 1, range.left - 1), model()->index(range.bottom - 1, range.right - 1));
    selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
}

int CChannelGrid::ColWidth(int col) const { return col == 0 ? verticalHeader()->width() : columnWidth(col - 1); }

void CChannelGrid::SetColWidth(int col, int width) {
    if (col == 0)
        verticalHeader()->setFixedWidth(width);
    else
        setColumnWidth(col - 1, width);
}

QRect CChannelGrid::CellRect(int row, int col) const { return visualRect(model()->index(row - 1, col - 1)); }

QSize CChannelGrid::sizeHint() const {
    int width = 2 * frameWidth() + verticalHeader()->width() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < model()->columnCount(); ++c) width += columnWidth(c);
    const int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height() + 20 * verticalHeader()->defaultSectionSize();
    return QSize(width, height);
}

QWidget* CChannelGrid::OpenEditor() const { return state() == EditingState ? indexWidget(currentIndex()) : nullptr; }

void CChannelGrid::StartCellEdit(int key) {
    if (!m_editingEnabled || !currentIndex().isValid() || OpenEditor()) return;
    if (key >= 32 && !(key >= '0' && key <= '9'))
        Messenger::Show(this, QTr(TextId::TypeDigits), Buttons::Ok, MessageIcon::Warning);
    scrollTo(currentIndex());
    m_delegate->SetStartKey(key);
    if (!edit(currentIndex(), AllEditTriggers, nullptr)) {
        m_delegate->SetStartKey(0);
        return;
    }
    // Qt selects an opened line editor's whole text: a typed character
    // starts the text and typing goes on after it.
    if (auto* line = qobject_cast<QLineEdit*>(OpenEditor()); line && key >= 32) line->end(false);
}

void CChannelGrid::CommitOpenEdit() {
    if (QWidget* editor = OpenEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void CChannelGrid::AbandonEdit() {
    if (QWidget* editor = OpenEditor()) closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void CChannelGrid::SetEditingEnabled(bool enabled) {
    if (!enabled) AbandonEdit();
    m_editingEnabled = enabled;
}

void CChannelGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
    // Messages wait until the editor is gone: a box taking the focus from an
    // open editor would write it a second time.
    ShowMessages(std::exchange(m_committed, EditResult{}));
}

void CChannelGrid::ShowMessages(const EditResult& result) {
    for (FrequencyMessage message : result.messages) {
        const QString text = QString::fromUtf8(FrequencyMessageText(message));
        if (message == FrequencyMessage::OutOfBand)
            Messenger::Show(this, text, Buttons::Ok, MessageIcon::Information, QTr(TextId::OutOfBandCaption));
        else
            Messenger::Show(this, text, Buttons::Ok, MessageIcon::Warning);
    }
    if (!result.refusal.empty()) Messenger::Show(this, QString::fromStdString(result.refusal), Buttons::Ok, MessageIcon::Warning);
}

void CChannelGrid::OnEnterInEditor(int row, int column) {
    if (column <= col::kTxTone) {
        MoveAndEdit(row, column + 1);
    } else if (row >= kChannelCount) {
        LeaveGrid();
    } else if (column == col::kBusy) {
        MoveAndEdit(row + 1, col::kRxFreq);
    } else {
        MoveAndEdit(row, column + 1);
    }
}

void CChannelGrid::MoveAndEdit(int row, int col) {
    SetCurrentCell(row, col);
    StartCellEdit(13);
}

void CChannelGrid::LeaveGrid() {
    setFocus();
    FocusNextControl(this);
}

void CChannelGrid::mousePressEvent(QMouseEvent* event) {
    const bool plain = !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    m_pressed = event->button() == Qt::LeftButton && plain ? indexAt(event->position().toPoint()) : QModelIndex();
    QTableView::mousePressEvent(event);
}

void CChannelGrid::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    // A click, pressed and released on the same cell, opens its editor; a
    // drag selects.
    const QModelIndex at = indexAt(event->position().toPoint());
    const bool click = event->button() == Qt::LeftButton && m_pressed.isValid() && at == m_pressed && at == currentIndex();
    m_pressed = QModelIndex();
    if (click) StartCellEdit(0);
}

void CChannelGrid::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter moves one cell to the right, or on from the scan-add column.
        if (Col() == col::kScan)
            LeaveGrid();
        else if (Col() >= 1 && Col() < col::kBusy)
            SetCurrentCell(Row(), Col() + 1);
        event->accept();
        return;
    }
    if (IsPrintable(event)) {
        if (Row() >= 1 && Col() != col::kScan) StartCellEdit(event->text()[0].unicode());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
    // At the grid's edges the arrows stay in the grid.
    if (IsNavigation(key)) event->accept();
}

bool CChannelGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_corner && event->type() == QEvent::Paint) {
        QPainter painter(m_corner);
        QStyleOptionHeader option;
        option.initFrom(m_corner);
        option.state |= QStyle::State_Enabled;
        option.palette = palette();  // drawn like the other captions, not greyed
        option.rect = m_corner->rect();
        option.text = m_model->Caption(0);
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        style()->drawControl(QStyle::CE_Header, &option, &painter, m_corner);
        return true;
    }
    return QTableView::eventFilter(watched, event);
}
