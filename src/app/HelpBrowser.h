#pragma once
#include <QDialog>

// The user guide that ships with the program, in a window of its own.
class CHelpBrowser : public QDialog {
    Q_OBJECT
public:
    explicit CHelpBrowser(QWidget* parent = nullptr);
    // The guide's text as shipped (Markdown).
    static QString GuideText();
};
