#pragma once
// 查看 › 历史记录: every image read from or written to a radio, newest first.
// An entry opens as a new document or is compared with the current one; a
// check box switches the keeping off and on.
#include <QDialog>
#include <vector>

#include "history/RadioHistory.h"

class QCheckBox;
class QPushButton;
class QTableWidget;

class CHistoryDlg : public QDialog {
    Q_OBJECT
public:
    explicit CHistoryDlg(QWidget* parent);

    QTableWidget* Table() const { return m_table; }
    // The entry chosen with "打开" or "与当前文档比较", once the dialog closed.
    enum class Choice { None, Open, Compare };
    Choice Chosen() const { return m_choice; }
    const HistoryEntry* ChosenEntry() const;
    std::optional<RadioImage> ChosenImage() const;

private:
    void Choose(Choice choice);

    mutable FolderHistoryStore m_store;
    std::vector<HistoryEntry> m_entries;
    QTableWidget* m_table = nullptr;
    QCheckBox* m_keep = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_compare = nullptr;
    Choice m_choice = Choice::None;
    int m_chosenRow = -1;
};
