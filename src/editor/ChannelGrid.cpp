#include "editor/ChannelGrid.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>

CChannelGrid::CChannelGrid(QWidget* parent) : QTableWidget(kRows - 1, kCols - 1, parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
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
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            setItem(r, c, item);
        }
    for (int c = 0; c < columnCount(); ++c) setHorizontalHeaderItem(c, new QTableWidgetItem);
    for (int r = 0; r < rowCount(); ++r) setVerticalHeaderItem(r, new QTableWidgetItem);
    // The corner holds the caption of column 0.
    setCornerButtonEnabled(false);
    m_corner = findChild<QAbstractButton*>();
    if (m_corner) m_corner->installEventFilter(this);
}

void CChannelGrid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QTableWidget::changeEvent(event);
}

void CChannelGrid::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event);
    if (event->button() != Qt::RightButton && indexAt(event->position().toPoint()).isValid()) emit cellPressed();
}

void CChannelGrid::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plain && text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() != 127) {
        emit characterTyped(text[0].unicode());
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void CChannelGrid::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    emit resized();
}

QSize CChannelGrid::sizeHint() const {
    int width = 2 * frameWidth() + verticalHeader()->width() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < columnCount(); ++c) width += columnWidth(c);
    const int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height() + 20 * verticalHeader()->defaultSectionSize();
    return QSize(width, height);
}

QString CChannelGrid::TextMatrix(int row, int col) const {
    if (row == 0 && col == 0) return m_cornerText;
    if (row == 0) return horizontalHeaderItem(col - 1)->text();
    if (col == 0) return verticalHeaderItem(row - 1)->text();
    return item(row - 1, col - 1)->text();
}

void CChannelGrid::SetTextMatrix(int row, int col, const QString& text) {
    if (row == 0 && col == 0) {
        m_cornerText = text;
        if (m_corner) m_corner->update();
    } else if (row == 0) {
        horizontalHeaderItem(col - 1)->setText(text);
    } else if (col == 0) {
        verticalHeaderItem(row - 1)->setText(text);
    } else {
        item(row - 1, col - 1)->setText(text);
    }
}

CellRange CChannelGrid::SelectedCells() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) {
        const int row = std::max(Row(), 1);
        const int col = std::max(Col(), 1);
        return {row, col, row, col};
    }
    CellRange r{kRows, kCols, 0, 0};
    for (const QTableWidgetSelectionRange& s : ranges) {
        r.top = std::min(r.top, s.topRow() + 1);
        r.left = std::min(r.left, s.leftColumn() + 1);
        r.bottom = std::max(r.bottom, s.bottomRow() + 1);
        r.right = std::max(r.right, s.rightColumn() + 1);
    }
    return r;
}

void CChannelGrid::SelectCells(const CellRange& range) {
    SetCurrentCell(range.top, range.left);
    clearSelection();
    setRangeSelected(QTableWidgetSelectionRange(range.top - 1, range.left - 1, range.bottom - 1, range.right - 1), true);
}

int CChannelGrid::ColWidth(int col) const {
    return col == 0 ? verticalHeader()->width() : columnWidth(col - 1);
}

void CChannelGrid::SetColWidth(int col, int width) {
    if (col == 0)
        verticalHeader()->setFixedWidth(width);
    else
        setColumnWidth(col - 1, width);
}

QRect CChannelGrid::CurrentCellRect() const {
    QRect r = visualRect(currentIndex());
    return r.translated(viewport()->pos());
}

bool CChannelGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_corner && event->type() == QEvent::Paint) {
        QPainter painter(m_corner);
        QStyleOptionHeader option;
        option.initFrom(m_corner);
        option.state |= QStyle::State_Enabled;
        option.palette = palette();  // drawn like the other captions, not greyed
        option.rect = m_corner->rect();
        option.text = m_cornerText;
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        style()->drawControl(QStyle::CE_Header, &option, &painter, m_corner);
        return true;
    }
    return QTableWidget::eventFilter(watched, event);
}
