#include "res/Icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTimer>
#include <algorithm>
#include <iterator>
#include <map>
#include <memory>

#include "res/ResourceIds.h"
#include "ui/LazyIcon.h"

namespace {

constexpr int kSize = 18;

QPixmap Canvas(int size = kSize) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void Page(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    QPainterPath path;
    path.moveTo(4, 2);
    path.lineTo(11, 2);
    path.lineTo(14, 5);
    path.lineTo(14, 16);
    path.lineTo(4, 16);
    path.closeSubpath();
    p.drawPath(path);
    p.drawLine(11, 2, 11, 5);
    p.drawLine(11, 5, 14, 5);
}

void Radio(QPainter& p, const QColor& body) {
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(5.5, 5.5, 7, 11), 1.5, 1.5);
    p.drawLine(7, 5, 7, 1);
    p.setBrush(QColor(200, 230, 255));
    p.drawRect(QRectF(7, 7, 4, 3));
}

void Arrow(QPainter& p, bool down, const QColor& color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    QPolygonF arrow;
    if (down)
        arrow << QPointF(13, 9) << QPointF(17, 9) << QPointF(15, 13);
    else
        arrow << QPointF(13, 13) << QPointF(17, 13) << QPointF(15, 9);
    p.drawPolygon(arrow);
    p.drawRect(QRectF(14.2, down ? 5 : 13, 1.6, 4));
}

QPixmap Draw(int id, int size) {
    QPixmap pixmap = Canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / double(kSize), size / double(kSize));
    switch (id) {
        case ids::ID_FILE_NEW:
            Page(p);
            p.setPen(QPen(QColor(230, 160, 0), 1.5));
            p.drawLine(12, 11, 16, 15);
            p.drawLine(16, 11, 12, 15);
            break;
        case ids::ID_FILE_OPEN:
            p.setPen(QPen(QColor(120, 90, 20), 1));
            p.setBrush(QColor(240, 200, 90));
            p.drawRect(QRectF(1.5, 5.5, 13, 10));
            p.setBrush(QColor(255, 225, 130));
            p.drawPolygon(QPolygonF() << QPointF(4, 8.5) << QPointF(17, 8.5) << QPointF(14.5, 15.5)
                                      << QPointF(1.5, 15.5));
            break;
        case ids::ID_FILE_SAVE:
            p.setPen(QPen(QColor(20, 40, 90), 1));
            p.setBrush(QColor(60, 100, 180));
            p.drawRect(QRectF(2.5, 2.5, 13, 13));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(5, 2.5, 8, 5));
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(QRectF(5, 10.5, 8, 5));
            break;
        case ids::ID_READ:
            Radio(p, QColor(90, 90, 90));
            Arrow(p, true, QColor(0, 140, 0));
            break;
        case ids::ID_WRITE:
            Radio(p, QColor(90, 90, 90));
            Arrow(p, false, QColor(200, 40, 40));
            break;
        case ids::ID_TUNING:
            Radio(p, QColor(90, 90, 90));
            p.setPen(QPen(QColor(0, 90, 200), 1.2));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(11, 4, 6, 6), -60 * 16, 120 * 16);
            p.drawArc(QRectF(9, 2, 10, 10), -60 * 16, 120 * 16);
            break;
        case ids::ID_EDIT_CHANNELS:
            p.setPen(QPen(QColor(80, 80, 80), 1));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(1.5, 2.5, 15, 13));
            for (int y = 6; y < 16; y += 3) p.drawLine(2, y, 16, y);
            p.drawLine(6, 3, 6, 15);
            p.setPen(QPen(QColor(200, 60, 0), 1.6));
            p.drawLine(9, 13, 15, 7);
            break;
        case ids::ID_FILE_PRINT:
            p.setPen(QPen(QColor(50, 50, 50), 1));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(5.5, 1.5, 7, 6));
            p.setBrush(QColor(170, 170, 170));
            p.drawRoundedRect(QRectF(1.5, 7.5, 15, 6), 1, 1);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(5.5, 11.5, 7, 5));
            break;
        case ids::ID_CONTEXT_HELP:
        case ids::ID_APP_ABOUT: {
            p.setPen(QPen(QColor(0, 60, 150), 1));
            p.setBrush(QColor(220, 235, 255));
            p.drawEllipse(QRectF(2.5, 2.5, 13, 13));
            // The mark is drawn, not written: no font to load, the same on every machine.
            p.setPen(QPen(QColor(0, 60, 150), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            if (id == ids::ID_APP_ABOUT) {
                p.drawLine(QPointF(9, 8.5), QPointF(9, 12.5));
                p.drawPoint(QPointF(9, 5.5));
            } else {
                QPainterPath hook;
                hook.moveTo(6.8, 7);
                hook.cubicTo(6.8, 4.6, 11.2, 4.6, 11.2, 7);
                hook.cubicTo(11.2, 8.6, 9, 8.6, 9, 10.5);
                p.drawPath(hook);
                p.drawPoint(QPointF(9, 13));
            }
            break;
        }
        default: break;
    }
    return pixmap;
}

}  // namespace

// Drawn the first time it is shown, not while the window is being built.
QIcon ToolbarIcon(int id) {
    return LazyIcon([id] { return QIcon(Draw(id, kSize)); });
}

QPixmap ToolbarPixmap(int id, int size) { return Draw(id, size); }

QPixmap AppIconPixmap(int size) {
    QPixmap pixmap = Canvas(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(QColor(20, 20, 20), 1.2));
    p.setBrush(QColor(45, 55, 70));
    p.drawRoundedRect(QRectF(9, 9, 14, 21), 3, 3);
    p.setBrush(QColor(45, 55, 70));
    p.drawRect(QRectF(11, 1.5, 2.5, 8));
    p.setBrush(QColor(120, 210, 255));
    p.drawRect(QRectF(11.5, 12, 9, 6));
    p.setBrush(QColor(230, 120, 0));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) p.drawEllipse(QRectF(11.8 + c * 3, 20.5 + r * 3, 2, 2));
    p.setPen(QPen(QColor(230, 120, 0), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(20, 2, 8, 8), -30 * 16, 120 * 16);
    p.drawArc(QRectF(18, 0, 12, 12), -30 * 16, 120 * 16);
    p.end();
    return pixmap;
}

namespace {

constexpr int kAppIconSizes[] = {16, 32, 48, 64, 128, 256};

// The icon drawn at one of its sizes when a picture is asked for. A window
// takes its copies when it is made (twice over); the pictures are kept only
// until the event loop next turns, so the program holds none it does not show.
class CAppIconEngine : public QIconEngine {
public:
    QIconEngine* clone() const override { return new CAppIconEngine; }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off)
            for (int size : kAppIconSizes) sizes << QSize(size, size);
        return sizes;
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Drawn(size).actualSize(size, mode, state);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        // Other sizes and looks go through an icon, which keeps what it makes.
        if (mode == QIcon::Normal && size.width() == size.height() && std::ranges::count(kAppIconSizes, size.width()))
            return Picture(size.width());
        return Drawn(size).pixmap(size, mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const QSize size = rect.size() * painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(size, mode, state));
    }

private:
    QPixmap Picture(int size) {
        if (m_drawn->empty())
            QTimer::singleShot(0, [drawn = std::weak_ptr(m_drawn)] {
                if (const auto pictures = drawn.lock()) pictures->clear();
            });
        auto [at, added] = m_drawn->try_emplace(size);
        if (added) at->second = AppIconPixmap(size);
        return at->second;
    }

    // The size an icon holding every size would choose for `wanted`: the
    // smallest at least as large, or else the largest; scaled and greyed the
    // same way, as an icon of that one picture.
    QIcon Drawn(const QSize& wanted) {
        const int area = wanted.width() * wanted.height();
        int chosen = kAppIconSizes[std::size(kAppIconSizes) - 1];
        for (int size : kAppIconSizes)
            if (size * size >= area) {
                chosen = size;
                break;
            }
        return QIcon(Picture(chosen));
    }

    std::shared_ptr<std::map<int, QPixmap>> m_drawn = std::make_shared<std::map<int, QPixmap>>();
};

}  // namespace

QIcon AppIcon() { return QIcon(new CAppIconEngine); }
