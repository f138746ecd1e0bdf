#include "ui/KeyboardMenus.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>

bool OpenMenuByKey(QObject* watched, const QKeyEvent& key) {
    QWidget* focus = QApplication::focusWidget();
    // Once, where the key is delivered first; an open menu takes its own keys.
    if (key.type() != QEvent::KeyPress || key.key() != Qt::Key_F10 || !focus || watched != focus ||
        QApplication::activePopupWidget())
        return false;
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ShiftModifier) {
        // Where the Menu key opens it: at the control's caret or current item.
        const QPoint at = focus->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, focus->mapToGlobal(at), key.modifiers());
        QApplication::sendEvent(focus, &menu);
        return true;
    }
    if (modifiers != Qt::NoModifier) return false;
    auto* window = qobject_cast<QMainWindow*>(focus->window());
    auto* bar = window ? qobject_cast<QMenuBar*>(window->menuWidget()) : nullptr;
    if (!bar || bar->actions().isEmpty()) return false;
    bar->setActiveAction(bar->actions().first());
    return true;
}
