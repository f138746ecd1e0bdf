#pragma once
// The port menu "端口设置": COM1 .. COM4, then the serial ports the system
// reports (refreshed each time the menu opens) and "其他端口…" for any device
// path. Exactly one entry carries the check mark: the chosen port.
#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;

class CPortMenu : public QObject {
    Q_OBJECT
public:
    // `com` are the four COM actions; `current` and `choose` read and set the
    // chosen port name.
    CPortMenu(QMenu* menu, const QList<QAction*>& com, std::function<QString()> current,
              std::function<void(const QString&)> choose);

    // Rebuilds the system ports and sets the check marks.
    void Refresh();

private:
    void UpdateChecks();

    QMenu* m_menu;
    QList<QAction*> m_com;
    QList<QAction*> m_system;
    QAction* m_separator = nullptr;
    QAction* m_other = nullptr;
    std::function<QString()> m_current;
    std::function<void(const QString&)> m_choose;
};
