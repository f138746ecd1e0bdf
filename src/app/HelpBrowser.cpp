#include "app/HelpBrowser.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

CHelpBrowser::CHelpBrowser(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("帮助主题 - OstrelTZ写频软件"));
    auto* browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("guide"));
    browser->setOpenExternalLinks(true);
    browser->setMarkdown(GuideText());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    resize(720, 640);
}

QString CHelpBrowser::GuideText() {
    QFile file(QStringLiteral(":/docs/guide.md"));
    if (!file.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(file.readAll());
}
