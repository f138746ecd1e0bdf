#include "print/PreviewLayout.h"

#include <QAction>
#include <QCoreApplication>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>

namespace {

// Marks a page the preview has laid out: a page without it is new (the
// preview draws its pages again after a change of orientation or paper).
constexpr int kLaidOut = 0;

// Qt's overview of all pages puts as many pages across as fit a square;
// the report reads two across. Fitted to the width whenever pages are new or
// moved, so no zoom left from the pages before stays.
void ShowTwoPagesAcross(QPrintPreviewWidget* widget, QGraphicsView* view) {
    if (widget->viewMode() != QPrintPreviewWidget::AllPagesView || !view->scene()) return;
    QList<QGraphicsItem*> pages;
    for (QGraphicsItem* item : view->scene()->items())
        if (!item->parentItem()) pages << item;
    if (pages.isEmpty()) return;
    std::sort(pages.begin(), pages.end(), [](QGraphicsItem* a, QGraphicsItem* b) {
        return a->pos().y() != b->pos().y() ? a->pos().y() < b->pos().y() : a->pos().x() < b->pos().x();
    });
    const QSizeF size = pages.first()->boundingRect().size();
    bool changed = false;
    for (int i = 0; i < pages.size(); ++i) {
        const QPointF place((i % 2) * size.width(), (i / 2) * size.height());
        changed = changed || pages[i]->pos() != place || !pages[i]->data(kLaidOut).toBool();
        pages[i]->setPos(place);
        pages[i]->setData(kLaidOut, true);
    }
    if (!changed) return;
    view->scene()->setSceneRect(view->scene()->itemsBoundingRect());
    widget->setZoomMode(QPrintPreviewWidget::FitToWidth);
}

// The keys and the wheel of the pages; zooming goes through the window's own
// zoom buttons, so its zoom box follows.
class PreviewKeys : public QObject {
public:
    PreviewKeys(QGraphicsView* view, QToolButton* zoomOut, QToolButton* zoomIn)
        : QObject(view), m_view(view), m_zoomOut(zoomOut), m_zoomIn(zoomIn) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel && watched == m_view->viewport()) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (!(wheel->modifiers() & Qt::ControlModifier) || wheel->angleDelta().y() == 0) return false;
            Zoom(wheel->angleDelta().y() > 0);
            return true;
        }
        if (event->type() != QEvent::KeyPress || watched != m_view) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        // Ctrl and + comes with Shift on most keyboards; Ctrl and = is the same key.
        const bool control = key->modifiers() & Qt::ControlModifier;
        if (key->matches(QKeySequence::ZoomIn) ||
            (control && (key->key() == Qt::Key_Plus || key->key() == Qt::Key_Equal))) {
            Zoom(true);
            return true;
        }
        if (key->matches(QKeySequence::ZoomOut)) {
            Zoom(false);
            return true;
        }
        if (key->key() == Qt::Key_Home || key->key() == Qt::Key_End) {
            const bool end = key->key() == Qt::Key_End;
            for (QScrollBar* bar : {m_view->verticalScrollBar(), m_view->horizontalScrollBar()})
                bar->setValue(end && bar == m_view->verticalScrollBar() ? bar->maximum() : bar->minimum());
            return true;
        }
        return false;
    }

private:
    void Zoom(bool in) {
        if (QToolButton* button = in ? m_zoomIn : m_zoomOut) button->click();
    }

    QGraphicsView* m_view;
    QToolButton* m_zoomOut;
    QToolButton* m_zoomIn;
};

}  // namespace

void LayOutPreview(QPrintPreviewDialog* preview) {
    auto* widget = preview->findChild<QPrintPreviewWidget*>();
    auto* view = widget ? widget->findChild<QGraphicsView*>() : nullptr;
    if (!view) return;
    QObject::connect(widget, &QPrintPreviewWidget::previewChanged, widget,
                     [widget, view] { ShowTwoPagesAcross(widget, view); });
    // Chosen as its own button chooses it, so the buttons show the view
    // that is shown.
    if (auto* overview = preview->findChild<QAction*>(QStringLiteral("overviewModeAction"))) overview->trigger();
    // The window's two buttons that repeat while held are zoom out and zoom in.
    QList<QToolButton*> zoom;
    if (auto* toolbar = preview->findChild<QToolBar*>())
        for (QAction* action : toolbar->actions())
            if (auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(action));
                button && button->autoRepeat())
                zoom << button;
    new PreviewKeys(view, zoom.size() == 2 ? zoom[0] : nullptr, zoom.size() == 2 ? zoom[1] : nullptr);
    // Every button of the window is reached with Tab, and Ctrl+P prints, as
    // in the main window.
    if (auto* toolbar = preview->findChild<QToolBar*>()) {
        for (QToolButton* button : toolbar->findChildren<QToolButton*>()) button->setFocusPolicy(Qt::TabFocus);
        const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
        for (QAction* action : toolbar->actions())
            if (action->text() == print) action->setShortcut(QKeySequence::Print);
    }
    // The pages take the keys first: Page Down, the arrows, Home and End move through them.
    view->setFocus();
}
