#include "ui/DialogFrame.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace {
// The window icon, the close button and the title bar's margins.
constexpr int kTitleBarExtras = 120;
}  // namespace

int CaptionWidth(const QString& caption) {
    // Title bars commonly draw the caption in the bold system font.
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(caption) + kTitleBarExtras;
}

void ShowCloseButtonOnly(QWidget* window) {
    Qt::WindowFlags flags = window->windowFlags();
    flags &= ~(Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint);
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    window->setWindowFlags(flags);
}

void FixSize(QWidget* window) {
    if (window->layout()) window->layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void FitCaption(QWidget* window) {
    window->setMinimumWidth(std::max(window->minimumWidth(), CaptionWidth(window->windowTitle())));
}

void FitCaption(QMessageBox* box) {
    // A message box fixes its own size from its layout: a spacer across the
    // whole grid makes the layout as wide as the caption.
    auto* grid = qobject_cast<QGridLayout*>(box->layout());
    if (!grid) return;
    grid->addItem(new QSpacerItem(CaptionWidth(box->windowTitle()), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}
