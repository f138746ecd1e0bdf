#pragma once
// The ports a write goes to: the chosen port, COM1 .. COM4 and the serial
// ports the system reports, each with a check box, and "其他端口…" for any
// device path. Checking several writes the radios on them at once.
#include <QWidget>

class QListWidget;
class QPushButton;

class CPortChecklist : public QWidget {
    Q_OBJECT
public:
    explicit CPortChecklist(QWidget* parent = nullptr);

    // Lists the ports again with only `chosen` checked.
    void Reset(const QString& chosen);
    QStringList CheckedPorts() const;

    QListWidget* List() const { return m_list; }
    QPushButton* AddButton() const { return m_add; }

private:
    void Add(const QString& port, bool checked);
    void AskForPath();

    QListWidget* m_list;
    QPushButton* m_add;
};
