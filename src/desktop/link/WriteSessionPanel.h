#pragma once
// The part of the write window for a row of radios: "连续写频" keeps the
// window open after each radio, counts the radios written and lists every
// radio's result; the list can be saved as a CSV file.
#include <QWidget>

#include "link/WriteLog.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

class CWriteSessionPanel : public QWidget {
    Q_OBJECT
public:
    explicit CWriteSessionPanel(QWidget* parent = nullptr);

    // A new session: the log emptied, the texts in the current language.
    void Reset();
    bool IsOn() const;
    // While a radio is written the choice stays as it is.
    void SetRunning(bool running);
    // Adds the result of the radio just written on `port`.
    void Record(const QString& port, const CloneResult& result);

    const WriteLog& Log() const { return m_log; }
    QCheckBox* Continuous() const { return m_continuous; }
    QLabel* Count() const { return m_count; }
    QListWidget* Entries() const { return m_entries; }
    QPushButton* SaveButton() const { return m_save; }

private:
    void ShowSession();
    void SaveLog();

    WriteLog m_log;
    QCheckBox* m_continuous;
    QLabel* m_count;
    QListWidget* m_entries;
    QPushButton* m_save;
};
