#pragma once
// The comparison's list below the grid: every difference in the user's words
// (channels, settings and bytes), with buttons to step through the marked
// cells and to end the comparison. Hidden while nothing is compared.
#include <QDockWidget>

class CCommandPath;
class CKeshView;
class QLabel;
class QListWidget;
class QPushButton;

class CComparePanel : public QDockWidget {
    Q_OBJECT
public:
    // The buttons run through `commands`, as the menu's commands do.
    CComparePanel(CKeshView* view, CCommandPath* commands, QWidget* parent);

    QListWidget* List() const { return m_list; }
    // Sets every text in the current language.
    void ApplyTexts();

private:
    void Refill();

    CKeshView* m_view;
    QLabel* m_summary = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_end = nullptr;
};
