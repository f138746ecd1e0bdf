#include "link/WriteSessionPanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "ui/Messenger.h"
#include "image/FileAccess.h"
#include "res/QtText.h"

CWriteSessionPanel::CWriteSessionPanel(QWidget* parent) : QWidget(parent) {
    m_continuous = new QCheckBox(this);
    m_continuous->setObjectName(QStringLiteral("continuousWrite"));
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("writtenCount"));
    m_entries = new QListWidget(this);
    m_entries->setObjectName(QStringLiteral("writeLog"));
    // Enter starts the next radio, whatever was clicked last.
    m_entries->setFocusPolicy(Qt::NoFocus);
    m_entries->setMinimumWidth(420);
    m_entries->setFixedHeight(120);
    m_save = new QPushButton(this);
    m_save->setObjectName(QStringLiteral("saveWriteLog"));
    m_save->setAutoDefault(false);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_continuous, 0, 0);
    layout->addWidget(m_count, 0, 1, Qt::AlignRight);
    layout->addWidget(m_entries, 1, 0, 1, 2);
    layout->addWidget(m_save, 2, 1, Qt::AlignRight);
    connect(m_continuous, &QCheckBox::toggled, this, &CWriteSessionPanel::ShowSession);
    connect(m_save, &QPushButton::clicked, this, &CWriteSessionPanel::SaveLog);
    Reset();
}

void CWriteSessionPanel::Reset() {
    m_log.Clear();
    m_entries->clear();
    m_continuous->setText(QTr(TextId::ContinuousWrite));
    m_save->setText(QTr(TextId::SaveWriteLog));
    m_continuous->setEnabled(true);
    ShowSession();
}

bool CWriteSessionPanel::IsOn() const { return m_continuous->isChecked(); }

void CWriteSessionPanel::SetRunning(bool running) {
    m_continuous->setEnabled(!running);
    m_save->setEnabled(!running && !m_log.Entries().empty());
}

void CWriteSessionPanel::Record(const QString& port, const CloneResult& result) {
    const QString line = QString::fromStdString(WriteLog::EntryText(m_log.Add(port.toStdString(), result)));
    auto* item = new QListWidgetItem(line, m_entries);
    if (!m_log.Entries().back().Written()) item->setForeground(Qt::darkRed);
    m_entries->scrollToItem(item);
    ShowSession();
}

void CWriteSessionPanel::ShowSession() {
    const bool on = IsOn();
    m_count->setText(QString::fromStdString(m_log.CountText()));
    m_count->setVisible(on);
    m_entries->setVisible(on);
    m_save->setVisible(on);
    m_save->setEnabled(!m_log.Entries().empty());
}

void CWriteSessionPanel::SaveLog() {
    const QString path = Messenger::AskSaveFile(window(), QTr(TextId::WriteLogFileName), true);
    if (path.isEmpty()) return;
    if (const auto failure = WriteFileAtomically(path.toStdString(), m_log.Csv()))
        Messenger::Show(window(), *failure, MessageIcon::Critical);
}
