#pragma once
// The application's style, which hands out the pictures of the menu bar's and
// the toolbar's overflow buttons as icons drawn when first shown: looking them
// up loads the image format plug-ins, and the window appears without waiting
// for that. Everything else is the style it wraps.
#include <QProxyStyle>

class CDeferredIconStyle : public QProxyStyle {
public:
    // Wraps `base` and takes it over.
    explicit CDeferredIconStyle(QStyle* base);

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
