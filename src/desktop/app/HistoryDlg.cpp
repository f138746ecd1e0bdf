#include "app/HistoryDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/DialogFrame.h"
#include "history/UserHistory.h"
#include "res/QtText.h"
#include "ui/Messenger.h"

CHistoryDlg::CHistoryDlg(QWidget* parent) : QDialog(parent), m_store(UserHistoryFolder()) {
    setObjectName(QStringLiteral("historyDialog"));
    setWindowTitle(QTr(TextId::HistoryTitle));
    ShowCloseButtonOnly(this);
    m_entries = RadioHistory(m_store).List();

    m_table = new QTableWidget(static_cast<int>(m_entries.size()), 5, this);
    m_table->setObjectName(QStringLiteral("historyTable"));
    m_table->setHorizontalHeaderLabels({QTr(TextId::HistoryColTime), QTr(TextId::HistoryColDirection),
                                        QTr(TextId::HistoryColPort), QTr(TextId::HistoryColIdent),
                                        QTr(TextId::HistoryColChannels)});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab goes on to the buttons; the arrows choose the entry.
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const HistoryEntry& e = m_entries[static_cast<std::size_t>(row)];
        const QString texts[] = {QString::fromStdString(HistoryTimeText(e.timeMs)),
                                 QTr(e.write ? TextId::HistoryWrite : TextId::HistoryRead),
                                 QString::fromStdString(e.port), QString::fromStdString(RadioTypeText(e.radioType)),
                                 QString::number(e.channels)};
        for (int c = 0; c < 5; ++c) m_table->setItem(row, c, new QTableWidgetItem(texts[c]));
    }
    m_table->resizeColumnsToContents();
    if (m_table->rowCount() > 0) m_table->selectRow(0);

    auto* folder = new QLabel(QString::fromStdString(TrFormat(TextId::HistoryFolderLabel, {m_store.Folder()})), this);
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_keep = new QCheckBox(QTr(TextId::HistoryKeep), this);
    m_keep->setObjectName(QStringLiteral("keepHistory"));
    m_keep->setChecked(HistoryEnabled());
    connect(m_keep, &QCheckBox::toggled, this, [this](bool on) {
        if (const std::optional<Failure> failure = SetHistoryEnabled(on)) {
            // The box shows what the program will do.
            const QSignalBlocker quiet(m_keep);
            m_keep->setChecked(!on);
            Messenger::Show(this, *failure);
        }
    });

    auto* buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(QTr(TextId::HistoryOpen), QDialogButtonBox::ActionRole);
    m_open->setObjectName(QStringLiteral("openEntry"));
    m_compare = buttons->addButton(QTr(TextId::HistoryCompare), QDialogButtonBox::ActionRole);
    m_compare->setObjectName(QStringLiteral("compareEntry"));
    QPushButton* close = buttons->addButton(QTr(TextId::PreviewClose), QDialogButtonBox::RejectRole);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_open, &QPushButton::clicked, this, [this] { Choose(Choice::Open); });
    connect(m_compare, &QPushButton::clicked, this, [this] { Choose(Choice::Compare); });
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] { Choose(Choice::Open); });
    const bool any = m_table->rowCount() > 0;
    m_open->setEnabled(any);
    m_compare->setEnabled(any);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(folder);
    layout->addWidget(m_keep);
    layout->addWidget(buttons);
    resize(640, 420);
}

void CHistoryDlg::Choose(Choice choice) {
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    if (rows.isEmpty()) return;
    m_chosenRow = rows.first().row();
    m_choice = choice;
    accept();
}

const HistoryEntry* CHistoryDlg::ChosenEntry() const {
    if (m_chosenRow < 0) return nullptr;
    return &m_entries[static_cast<std::size_t>(m_chosenRow)];
}

std::optional<RadioImage> CHistoryDlg::ChosenImage() const {
    const HistoryEntry* entry = ChosenEntry();
    if (!entry) return std::nullopt;
    return RadioHistory(m_store).Image(entry->name);
}
