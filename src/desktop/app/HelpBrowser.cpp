#include "app/HelpBrowser.h"

#include <QDialogButtonBox>
#include <QTextBlock>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/DialogFrame.h"
#include "res/QtText.h"

CHelpBrowser::CHelpBrowser(QWidget* parent, const QString& section) : QDialog(parent), m_section(section) {
    setWindowTitle(QTr(TextId::HelpTitle));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("guide"));
    m_browser->setOpenExternalLinks(true);
    // From the resources, so that the guide's pictures load beside it; the
    // guide of the language the program speaks.
    const QString guide = CurrentLanguage() == Lang::En ? QStringLiteral("guide-en.md") : QStringLiteral("guide.md");
    m_browser->setSource(QUrl(QStringLiteral("qrc:/docs/") + guide), QTextDocument::MarkdownResource);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(buttons);
    FitCaption(this);
    ResizeWithinScreen(this, {760, 680});
}

void CHelpBrowser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ScrollToSection();
}

void CHelpBrowser::ScrollToSection() {
    if (m_section.isEmpty()) return;
    for (QTextBlock block = m_browser->document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 || block.text() != m_section) continue;
        // From the end back up to the heading puts the heading at the top.
        m_browser->moveCursor(QTextCursor::End);
        m_browser->ensureCursorVisible();
        m_browser->setTextCursor(QTextCursor(block));
        m_browser->ensureCursorVisible();
        return;
    }
}
