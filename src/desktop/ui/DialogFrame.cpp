#include "ui/DialogFrame.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>
#include <algorithm>

namespace {
// The window icon, the close button and the title bar's margins.
constexpr int kTitleBarExtras = 120;
// Between a message box's icon and its text, and the text label's own margin.
constexpr int kIconGap = 12;
constexpr int kLabelSlack = 8;
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

QSize ScreenRoom(const QWidget* window) {
    const QSize screen = window->screen()->availableSize();
    return {screen.width(), screen.height() - window->style()->pixelMetric(QStyle::PM_TitleBarHeight)};
}

void ResizeWithinScreen(QWidget* window, QSize wanted) { window->resize(wanted.boundedTo(ScreenRoom(window))); }

void KeepOnScreen(QWidget* window) {
    const QRect room = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    // Past both edges, the top left corner stays in sight.
    const QPoint to(std::max(room.left(), std::min(frame.left(), room.right() + 1 - frame.width())),
                    std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - frame.height())));
    if (to != frame.topLeft()) window->move(to);
}

void FitCaption(QWidget* window) {
    window->setMinimumWidth(std::max(window->minimumWidth(), CaptionWidth(window->windowTitle())));
}

void FitMessageBox(QMessageBox* box) {
    // A message box fixes its own size from its layout: a spacer across the
    // whole grid makes the layout as wide as the caption and the longest line.
    auto* grid = qobject_cast<QGridLayout*>(box->layout());
    if (!grid) return;
    int width = CaptionWidth(box->windowTitle());
    if (const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        const QFontMetrics metrics(label->font());
        int longest = 0;
        for (const QString& line : box->text().split(QLatin1Char('\n')))
            longest = std::max(longest, metrics.horizontalAdvance(line));
        const auto* icon = box->findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"));
        const int iconWidth = icon ? icon->sizeHint().width() + kIconGap : 0;
        // Qt keeps a message box 480 pixels narrower than the screen and at
        // most 1000 wide; a line longer than that wraps.
        const QMargins margins = grid->contentsMargins();
        const int screenWidth = box->screen() ? box->screen()->availableGeometry().width() : 0;
        const int limit = std::min(screenWidth - 480, 1000) - margins.left() - margins.right();
        width = std::max(width, std::min(iconWidth + longest + kLabelSlack, limit));
    }
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}
