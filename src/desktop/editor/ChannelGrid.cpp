#include "editor/ChannelGrid.h"

#include <QAbstractButton>
#include <QApplication>
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
#include "editor/GridKeyPress.h"
#include "res/QtText.h"

namespace {

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

bool IsCommand(GridAction action) {
    return action == GridAction::ClearCells || action == GridAction::Copy || action == GridAction::Cut ||
           action == GridAction::Paste;
}

// The grid's headers. A plain header measures its sections in bold, for a
// highlighted section; these are never highlighted, so they are measured in
// the font they are drawn in, and no bold font need be loaded for them.
// The header column of channel numbers measures no section at all once the
// view has given it its fixed width (the grid's column 0); until then the
// last number, the longest, stands for all 128.
class CGridHeader : public QHeaderView {
public:
    CGridHeader(Qt::Orientation orientation, QWidget* parent) : QHeaderView(orientation, parent) {
        setSectionsClickable(true);
        setHighlightSections(false);
    }
    QSize sizeHint() const override {
        if (orientation() == Qt::Horizontal || count() == 0) return QHeaderView::sizeHint();
        if (minimumWidth() == maximumWidth()) return QSize(maximumWidth(), defaultSectionSize());
        return sectionSizeFromContents(count() - 1);
    }

protected:
    QSize sectionSizeFromContents(int section) const override {
        ensurePolished();
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.section = section;
        option.text = model()->headerData(section, orientation()).toString();
        return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
    }
};

}  // namespace

CChannelGrid::CChannelGrid(CChannelModel* model, Commit commit, QWidget* parent)
    : QTableView(parent), m_model(model), m_commit(std::move(commit)) {
    setHorizontalHeader(new CGridHeader(Qt::Horizontal, this));
    setVerticalHeader(new CGridHeader(Qt::Vertical, this));
    // The cells' font comes first: the headers are measured once, in it.
    QFont cellFont(QStringLiteral("Times New Roman"));
    cellFont.setPointSizeF(8.25);
    setFont(cellFont);
    setModel(model);
    m_delegate = new CCellDelegate(
        [this](int row, int column, const std::string& text, CellEntry entry) {
            m_committed = m_commit(row, column, text, entry);
            m_committedText = QString::fromStdString(text);
        },
        this);
    setItemDelegate(m_delegate);
    connect(m_delegate, &CCellDelegate::editorLeft, this, &CChannelGrid::OnEditorLeft);
    connect(m_delegate, &CCellDelegate::notice, this, &CChannelGrid::notice);
    setEditTriggers(QAbstractItemView::DoubleClicked);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    setTabKeyNavigation(true);  // Tab walks the cells; the key rules say when it leaves
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    // The corner holds the caption of column 0.
    setCornerButtonEnabled(false);
    m_corner = findChild<QAbstractButton*>();
    if (m_corner) m_corner->installEventFilter(this);
}

void CChannelGrid::changeEvent(QEvent* event) {
    // Every row is as tall as the editors, so an open editor covers its cell exactly.
    if (event->type() == QEvent::FontChange)
        verticalHeader()->setDefaultSectionSize(
            std::max(fontMetrics().height() + 6, CCellDelegate::EditorHeight(viewport())));
    QTableView::changeEvent(event);
}

QString CChannelGrid::TextMatrix(int row, int col) const {
    if (col == 0) return row == 0 ? m_model->Caption(0) : model()->headerData(row - 1, Qt::Vertical).toString();
    if (row == 0) return model()->headerData(col - 1, Qt::Horizontal).toString();
    return model()->index(row - 1, col - 1).data().toString();
}

void CChannelGrid::SetCurrentCell(int row, int col) { setCurrentIndex(model()->index(row - 1, col - 1)); }

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
    const QItemSelection block(model()->index(range.top - 1, range.left - 1),
                               model()->index(range.bottom - 1, range.right - 1));
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
    const int height =
        2 * frameWidth() + horizontalHeader()->sizeHint().height() + 20 * verticalHeader()->defaultSectionSize();
    return QSize(width, height);
}

QWidget* CChannelGrid::OpenEditor() const { return state() == EditingState ? indexWidget(currentIndex()) : nullptr; }

void CChannelGrid::StartCellEdit(EditorOpening opening, const QString& typed) {
    if (!m_editingEnabled || !currentIndex().isValid() || OpenEditor()) return;
    scrollTo(currentIndex());
    m_delegate->SetOpening(opening, typed);
    if (!edit(currentIndex(), AllEditTriggers, nullptr)) {
        m_delegate->SetOpening(EditorOpening::Click);
        return;
    }
    m_delegate->PlaceCaret(OpenEditor());
}

bool CChannelGrid::CommitOpenEdit() {
    QWidget* editor = OpenEditor();
    if (!editor) return true;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (!m_lastRefused) return true;
    Perform(AfterRefusedCommit(Row(), Col()), m_committedText);
    return false;
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
    const EditResult committed = std::exchange(m_committed, EditResult{});
    m_lastRefused = committed.refused;
    ShowNotices(NoticesOf(committed));
}

void CChannelGrid::ShowNotices(const std::vector<CellNotice>& notices) {
    for (const CellNotice& notice : notices) {
        const bool warning = notice.severity == NoticeSeverity::Warning;
        Messenger::Show(this, QString::fromStdString(notice.text), Buttons::Ok,
                        warning ? MessageIcon::Warning : MessageIcon::Information,
                        QString::fromStdString(notice.caption));
    }
}

void CChannelGrid::OnEditorLeft(const GridStep& step) {
    // A refused text opens again for another try, whichever key wrote it.
    Perform(AfterEditorKey(step, Row(), Col(), m_lastRefused), m_lastRefused ? m_committedText : QString());
}

void CChannelGrid::Perform(const GridStep& step, const QString& typed) {
    switch (step.action) {
        case GridAction::Move:
            setFocus();
            SetCurrentCell(step.row, step.column);
            scrollTo(currentIndex());
            break;
        case GridAction::OpenEditor:
            SetCurrentCell(step.row, step.column);
            StartCellEdit(step.opening, typed);
            break;
        case GridAction::LeaveGrid: LeaveGrid(step.forward); break;
        default:
            if (IsCommand(step.action)) emit commandKey(step.action);
            break;
    }
}

void CChannelGrid::LeaveGrid(bool forward) {
    setFocus();
    QWidget::focusNextPrevChild(forward);
}

bool CChannelGrid::focusNextPrevChild(bool next) {
    // Tab and Shift+Tab walk the cells (see keyPressEvent); an open editor
    // takes its own Tab.
    if (!OpenEditor() && currentIndex().isValid()) {
        QKeyEvent tab(QEvent::KeyPress, next ? Qt::Key_Tab : Qt::Key_Backtab, Qt::NoModifier);
        keyPressEvent(&tab);
        return true;
    }
    return QTableView::focusNextPrevChild(next);
}

bool CChannelGrid::event(QEvent* event) {
    // The grid's own keys (Ctrl+C, Del, ...) win over the window's shortcuts
    // while the grid has the focus.
    if (event->type() == QEvent::ShortcutOverride && !OpenEditor() && currentIndex().isValid()) {
        const GridStep step = KeyOnCell(Row(), Col(), GridKeyPressOf(static_cast<QKeyEvent*>(event)));
        if (IsCommand(step.action)) {
            event->accept();
            return true;
        }
    }
    return QTableView::event(event);
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
    const bool click =
        event->button() == Qt::LeftButton && m_pressed.isValid() && at == m_pressed && at == currentIndex();
    m_pressed = QModelIndex();
    if (click) StartCellEdit(EditorOpening::Click);
}

void CChannelGrid::keyPressEvent(QKeyEvent* event) {
    // A key that reached the grid while its editor opened belongs to the
    // editor: typed quickly after the first, it is not lost.
    if (QWidget* editor = OpenEditor()) {
        // A key the editor passes back up is not sent to it again.
        if (std::exchange(m_forwarding, true)) return event->ignore();
        QApplication::sendEvent(editor, event);
        m_forwarding = false;
        return;
    }
    if (!currentIndex().isValid()) return QTableView::keyPressEvent(event);
    const GridStep step = KeyOnCell(Row(), Col(), GridKeyPressOf(event));
    if (step.action == GridAction::None) {
        QTableView::keyPressEvent(event);
        // At the grid's edges the arrows stay in the grid.
        if (IsNavigation(event->key())) event->accept();
        return;
    }
    event->accept();
    Perform(step, event->text());
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
