#include "link/PortChecklist.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSerialPortInfo>

#include "ui/Messenger.h"
#include "res/QtText.h"

CPortChecklist::CPortChecklist(QWidget* parent) : QWidget(parent) {
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("writePorts"));
    m_list->setFixedHeight(96);
    m_add = new QPushButton(this);
    m_add->setObjectName(QStringLiteral("addWritePort"));
    m_add->setAutoDefault(false);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list, 0, 0);
    layout->addWidget(m_add, 0, 1, Qt::AlignTop);
    connect(m_add, &QPushButton::clicked, this, &CPortChecklist::AskForPath);
}

void CPortChecklist::Reset(const QString& chosen) {
    m_add->setText(QTr(TextId::PortOther));
    m_list->clear();
    if (!chosen.isEmpty()) Add(chosen, true);
    for (const char* com : {"COM1", "COM2", "COM3", "COM4"}) Add(QString::fromLatin1(com), false);
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) Add(info.systemLocation(), false);
    m_list->scrollToTop();
}

void CPortChecklist::Add(const QString& port, bool checked) {
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->text() == port) {
            if (checked) m_list->item(i)->setCheckState(Qt::Checked);
            m_list->scrollToItem(m_list->item(i));
            return;
        }
    auto* item = new QListWidgetItem(port, m_list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    m_list->scrollToItem(item);
}

QStringList CPortChecklist::CheckedPorts() const {
    QStringList ports;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->checkState() == Qt::Checked) ports << m_list->item(i)->text();
    return ports;
}

void CPortChecklist::AskForPath() {
    const QString path = Messenger::AskText(window(), QTr(TextId::PortPathPrompt), QString());
    if (!path.isEmpty()) Add(path, true);
}
