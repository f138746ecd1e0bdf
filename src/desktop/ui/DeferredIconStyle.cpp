#include "ui/DeferredIconStyle.h"

#include <QPointer>

#include "ui/LazyIcon.h"

CDeferredIconStyle::CDeferredIconStyle(QStyle* base) : QProxyStyle(base) {}

QIcon CDeferredIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                       const QWidget* widget) const {
    if (standardIcon == SP_ToolBarHorizontalExtensionButton || standardIcon == SP_ToolBarVerticalExtensionButton)
        return LazyIcon([base = QPointer<QStyle>(baseStyle()), standardIcon] {
            return base ? base->standardIcon(standardIcon) : QIcon();
        });
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}
