#include "ui/LazyIcon.h"

#include <QIconEngine>
#include <utility>

namespace {

class CLazyIconEngine : public QIconEngine {
public:
    explicit CLazyIconEngine(std::function<QIcon()> make) : m_make(std::move(make)) {}

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
    QIconEngine* clone() const override { return new CLazyIconEngine(*this); }

private:
    const QIcon& Icon() {
        if (m_make) m_icon = std::exchange(m_make, nullptr)();
        return m_icon;
    }

    std::function<QIcon()> m_make;
    QIcon m_icon;
};

}  // namespace

QIcon LazyIcon(std::function<QIcon()> make) { return QIcon(new CLazyIconEngine(std::move(make))); }
