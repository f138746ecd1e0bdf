#include "link/PortMenu.h"

#include <QAction>
#include <QMenu>
#include <QSerialPortInfo>

#include "ui/Messenger.h"
#include "res/QtText.h"

CPortMenu::CPortMenu(QMenu* menu, const QList<QAction*>& com, std::function<QString()> current,
                     std::function<void(const QString&)> choose)
    : QObject(menu), m_menu(menu), m_com(com), m_current(std::move(current)), m_choose(std::move(choose)) {
    for (QAction* action : m_com) {
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this] { UpdateChecks(); });
    }
    m_separator = m_menu->addSeparator();
    m_other = m_menu->addAction(QTr(TextId::PortOther));
    m_other->setObjectName(QStringLiteral("otherPort"));
    m_other->setCheckable(true);
    m_other->setStatusTip(QTr(TextId::TipPortOther));
    connect(m_other, &QAction::triggered, this, [this] {
        const QString path = Messenger::AskText(m_menu, QTr(TextId::PortPathPrompt), m_current());
        if (!path.isEmpty()) m_choose(path);
        UpdateChecks();
    });
    connect(m_menu, &QMenu::aboutToShow, this, &CPortMenu::Refresh);
    UpdateChecks();
}

void CPortMenu::Refresh() {
    qDeleteAll(m_system);
    m_system.clear();
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QString text = info.portName();
        if (!info.description().isEmpty()) text += QStringLiteral(" — ") + info.description();
        auto* action = new QAction(text, m_menu);
        action->setCheckable(true);
        action->setData(info.systemLocation());
        action->setStatusTip(QTr(TextId::TipPortChoose).arg(info.systemLocation()));
        connect(action, &QAction::triggered, this, [this, path = info.systemLocation()] {
            m_choose(path);
            UpdateChecks();
        });
        m_menu->insertAction(m_other, action);
        m_system << action;
    }
    UpdateChecks();
}

void CPortMenu::UpdateChecks() {
    const QString port = m_current();
    bool found = false;
    const QStringList names = {QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"),
                               QStringLiteral("COM4")};
    for (int i = 0; i < m_com.size(); ++i) {
        const bool on = port == names.value(i);
        m_com[i]->setChecked(on);
        found = found || on;
    }
    for (QAction* action : m_system) {
        const bool on = !found && action->data().toString() == port;
        action->setChecked(on);
        found = found || on;
    }
    // A port chosen by its path shows that path, so the user sees which it is.
    m_other->setChecked(!found);
    m_other->setText(
        found ? QTr(TextId::PortOther)
              : QTr(TextId::PortOtherPath).arg(QString(port).replace(QLatin1Char('&'), QStringLiteral("&&"))));
}
