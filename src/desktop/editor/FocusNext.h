#pragma once
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

// Moves the keyboard focus on from `widget` as the Tab key does.
inline void FocusNextControl(QWidget* widget) {
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(widget, &tab);
}
