#include "ui/DeferredIconStyle.h"

#include <QIconEngine>
#include <QPointer>

namespace {

// A standard icon of `style`, looked up the first time it is drawn or measured.
class CDeferredIconEngine : public QIconEngine {
public:
    CDeferredIconEngine(QStyle* style, QStyle::StandardPixmap which) : m_style(style), m_which(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return Icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new CDeferredIconEngine(*this); }

private:
    const QIcon& Icon() {
        if (!m_looked && m_style) m_icon = m_style->standardIcon(m_which);
        m_looked = true;
        return m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    QIcon m_icon;
    bool m_looked = false;
};

}  // namespace

CDeferredIconStyle::CDeferredIconStyle(QStyle* base) : QProxyStyle(base) {}

QIcon CDeferredIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                       const QWidget* widget) const {
    if (standardIcon == SP_ToolBarHorizontalExtensionButton || standardIcon == SP_ToolBarVerticalExtensionButton)
        return QIcon(new CDeferredIconEngine(baseStyle(), standardIcon));
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}
