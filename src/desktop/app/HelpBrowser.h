#pragma once
#include <QDialog>

class QTextBrowser;

// The user guide that ships with the program, in a window of its own, opened
// at the section `section` (a heading of the guide) or at its top.
class CHelpBrowser : public QDialog {
    Q_OBJECT
public:
    explicit CHelpBrowser(QWidget* parent = nullptr, const QString& section = QString());
    QTextBrowser* Browser() const { return m_browser; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ScrollToSection();

    QTextBrowser* m_browser;
    QString m_section;
};
