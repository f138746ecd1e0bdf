#include "editor/CellEditors.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

#include "app/Messenger.h"
#include "app/ToneTable.h"
#include "editor/CellRules.h"
#include "editor/ChannelGrid.h"
#include "editor/FocusNext.h"
#include "image/ChannelTable.h"
#include "res/ResourceIds.h"

namespace {

bool IsEnter(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

std::string Text(const QString& s) { return s.toStdString(); }

}  // namespace

CCellEditors::CCellEditors(CChannelGrid* grid, IChannelTable* table, std::function<BandLimits()> band,
                           std::function<void()> changed)
    : QObject(grid), m_grid(grid), m_table(table), m_band(std::move(band)), m_changed(std::move(changed)) {
    m_editFreq = new QLineEdit(grid);
    m_editFreq->setObjectName(QString::number(ids::IDC_EDIT_FREQ));
    m_editFreq->setFrame(false);
    m_cbSignal = MakeList(ids::IDC_LIST_SIGNAL, col::kSignal);
    m_cbPowerCell = MakeList(ids::IDC_LIST_POWER, col::kPower);
    m_cbScan = MakeList(ids::IDC_LIST_SCAN, col::kScan);
    m_cbWidth = MakeList(ids::IDC_LIST_WIDTH, col::kWidth);
    m_cbBusy = MakeList(ids::IDC_LIST_BUSY, col::kBusy);
    m_cbPttId = MakeList(ids::IDC_LIST_PTTID, col::kPttId);
    m_lists = {m_cbWidth, m_cbScan, m_cbPowerCell, m_cbSignal, m_cbPttId, m_cbBusy};
    m_cbTone = new QComboBox(grid);
    m_cbTone->setObjectName(QString::number(ids::IDC_TONE));
    m_cbTone->setEditable(true);
    m_cbTone->setInsertPolicy(QComboBox::NoInsert);
    m_cbTone->setCompleter(nullptr);
    for (const std::string& tone : ToneTable::Instance().Texts()) m_cbTone->addItem(QString::fromStdString(tone));
    m_cbTone->lineEdit()->installEventFilter(this);

    for (QWidget* editor : {static_cast<QWidget*>(m_editFreq), static_cast<QWidget*>(m_cbTone)}) {
        editor->installEventFilter(this);
        editor->hide();
    }
    m_grid->installEventFilter(this);
    connect(m_grid, &CChannelGrid::cellPressed, this, [this] { StartCellEdit(0); });
    connect(m_grid, &CChannelGrid::characterTyped, this, &CCellEditors::OnGridKey);
    connect(m_grid, &CChannelGrid::resized, this, &CCellEditors::HideAll);

    connect(m_grid, &QTableWidget::currentCellChanged, this, &CCellEditors::OnCurrentCellChanged);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] { StartCellEdit(0); });
    // Moving the grid closes an open editor without writing.
    for (QScrollBar* bar : {m_grid->verticalScrollBar(), m_grid->horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            HideAll();
            m_grid->viewport()->update();
        });
}

QComboBox* CCellEditors::MakeList(int id, int column) {
    auto* list = new QComboBox(m_grid);
    list->setObjectName(QString::number(id));
    for (const std::string& entry : ListEntries(column)) list->addItem(QString::fromStdString(entry));
    list->installEventFilter(this);
    list->view()->installEventFilter(this);
    list->hide();
    return list;
}

QWidget* CCellEditors::EditorForColumn() const { return EditorForColumn(m_grid->Col()); }

QWidget* CCellEditors::EditorForColumn(int col) const {
    if (col == col::kRxFreq || col == col::kTxFreq) return m_editFreq;
    if (IsToneColumn(col)) return m_cbTone;
    if (col >= col::kWidth && col <= col::kBusy) return m_lists[static_cast<std::size_t>(col - col::kWidth)];
    return nullptr;
}

QWidget* CCellEditors::OpenEditor() const {
    for (QWidget* e : {static_cast<QWidget*>(m_editFreq), static_cast<QWidget*>(m_cbTone)})
        if (e->isVisible()) return e;
    for (QComboBox* list : m_lists)
        if (list->isVisible()) return list;
    return nullptr;
}

void CCellEditors::HideAll() {
    for (QComboBox* list : m_lists) {
        list->hidePopup();
        list->hide();
    }
    m_editFreq->hide();
    m_cbTone->hidePopup();
    m_cbTone->hide();
}

void CCellEditors::LoadEditor() {
    QWidget* editor = EditorForColumn();
    if (!editor || m_grid->Row() < 1) return;
    const QString text = m_grid->TextMatrix(m_grid->Row(), m_grid->Col());
    if (editor == m_editFreq) {
        m_editFreq->setText(text);
        return;
    }
    auto* combo = static_cast<QComboBox*>(editor);
    std::vector<std::string> entries;
    for (int i = 0; i < combo->count(); ++i) entries.push_back(Text(combo->itemText(i)));
    combo->setCurrentIndex(EntryStartingWith(entries, Text(text)));
}

void CCellEditors::Place(QWidget* editor) {
    editor->setGeometry(m_grid->CurrentCellRect());
}

void CCellEditors::StartCellEdit(int key) {
    QWidget* editor = EditorForColumn();
    if (!editor || m_grid->Row() < 1 || !m_enabled) return;
    const bool typed = key != 0 && key != 13;
    if (key >= 32 && !(key >= '0' && key <= '9'))
        Messenger::Show(m_grid, QStringLiteral("请输入数字"), Buttons::Ok, MessageIcon::Warning);
    const QString typedText = typed ? QString(QChar(key)) : QString();
    if (editor == m_editFreq) {
        Place(editor);
        const QString cell = m_grid->TextMatrix(m_grid->Row(), m_grid->Col());
        if (cell.isEmpty()) {
            m_editFreq->setText(key >= '0' && key <= '9' ? typedText : QString());
        } else {
            m_editFreq->setText(typed ? typedText : cell);
        }
        if (typed)
            m_editFreq->end(false);
        else
            m_editFreq->selectAll();
    } else {
        Place(editor);
        if (editor == m_cbTone && typed) {
            m_cbTone->setEditText(typedText);
            m_cbTone->lineEdit()->end(false);
        }
    }
    editor->show();
    editor->raise();
    editor->setFocus();
    if (editor != m_editFreq && editor != m_cbTone) static_cast<QComboBox*>(editor)->showPopup();
}

void CCellEditors::CommitCellEdit() { CommitCellEdit(m_grid->Row(), m_grid->Col()); }

void CCellEditors::WriteCell(int row, int col, const std::string& text) {
    if (m_table->CellText(row, col) == text) return;
    m_table->SetCellText(row, col, text);
    m_changed();
}

void CCellEditors::CommitFrequency(int row, int col, bool enterRule) {
    const FrequencyCheck check = CheckFrequencyText(Text(m_editFreq->text()), m_band());
    for (FrequencyMessage message : check.messages) {
        const QString text = QString::fromUtf8(FrequencyMessageText(message));
        if (message == FrequencyMessage::OutOfBand)
            Messenger::Show(m_grid, text, Buttons::Ok, MessageIcon::Information, QStringLiteral("温馨提示"));
        else
            Messenger::Show(m_grid, text, Buttons::Ok, MessageIcon::Warning);
    }
    // A refused frequency leaves the cell, and the tone of its direction, as they were.
    if (!check.accepted) return;
    PlainChannelTable before;
    for (int c = 1; c <= 10; ++c) before.SetCellText(row, c, m_table->CellText(row, c));
    ApplyFrequencyEdit(*m_table, row, col, check.text, enterRule);
    for (int c = 1; c <= 10; ++c)
        if (before.CellText(row, c) != m_table->CellText(row, c)) {
            m_changed();
            break;
        }
}

void CCellEditors::CommitCellEdit(int row, int col) {
    QWidget* editor = EditorForColumn(col);
    if (row < 1 || !editor || !editor->isVisible()) return;
    if (editor == m_cbTone)
        WriteCell(row, col, ToneCommitText(*m_table, row, Text(m_cbTone->currentText())));
    else if (editor == m_editFreq)
        CommitFrequency(row, col, false);
    else
        WriteCell(row, col, ListCommitText(*m_table, row, Text(static_cast<QComboBox*>(editor)->currentText())));
    HideAll();
}

void CCellEditors::OnCurrentCellChanged(int row, int col, int previousRow, int previousCol) {
    if (previousRow >= 0 && previousCol >= 0) {
        QWidget* previous = EditorForColumn(previousCol + 1);
        if (previous && previous->isVisible()) CommitCellEdit(previousRow + 1, previousCol + 1);
    }
    if (row >= 0 && col >= 0) LoadEditor();
}

void CCellEditors::OnGridKey(int key) {
    if (m_grid->Row() < 1 || m_grid->Col() == col::kScan) return;
    StartCellEdit(key);
}

void CCellEditors::MoveTo(int row, int col) {
    m_grid->SetCurrentCell(row, col);
    StartCellEdit(13);
}

bool CCellEditors::HandleEnter(QObject* focus) {
    const int row = m_grid->Row();
    const int col = m_grid->Col();
    if (focus == m_grid) {
        if (col == col::kScan) {
            FocusNextControl(m_grid);
        } else if (col < col::kBusy) {
            m_grid->SetCurrentCell(row, col + 1);
        }
        return true;
    }
    if (focus == m_editFreq && m_editFreq->isVisible()) {
        CommitFrequency(row, col, true);
        HideAll();
        MoveTo(row, col + 1);
        return true;
    }
    if (m_cbTone->isVisible() && (focus == m_cbTone || focus == m_cbTone->lineEdit() || focus == m_cbTone->view())) {
        if (focus == m_cbTone->view()) m_cbTone->setCurrentIndex(m_cbTone->view()->currentIndex().row());
        WriteCell(row, col, ToneCommitText(*m_table, row, Text(m_cbTone->currentText())));
        HideAll();
        MoveTo(row, col + 1);
        return true;
    }
    for (QComboBox* list : m_lists) {
        if (!list->isVisible() || (focus != list && focus != list->view())) continue;
        if (focus == list->view()) list->setCurrentIndex(list->view()->currentIndex().row());
        if (RowHasFrequency(*m_table, row)) WriteCell(row, col, Text(list->currentText()));
        HideAll();
        m_grid->setFocus();
        if (row >= CChannelGrid::kRows - 1)
            FocusNextControl(m_grid);
        else if (col == col::kBusy)
            MoveTo(row + 1, col::kRxFreq);
        else
            MoveTo(row, col + 1);
        return true;
    }
    return false;
}

bool CCellEditors::eventFilter(QObject* watched, QEvent* event) {
    if (IsEnter(event) && HandleEnter(watched)) return true;
    // Escape abandons an edit, as scrolling does.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        (watched == m_editFreq || watched == m_cbTone->lineEdit())) {
        HideAll();
        m_grid->setFocus();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
