#pragma once
// A Qt key event in the words the grid's key rules read.
#include <QKeyEvent>

#include "editor/GridKeys.h"

inline GridKeyPress GridKeyPressOf(const QKeyEvent* event) {
    GridKeyPress press;
    const Qt::KeyboardModifiers mods = event->modifiers();
    press.ctrl = mods & (Qt::ControlModifier | Qt::MetaModifier);
    press.shift = mods & Qt::ShiftModifier;
    press.alt = mods & Qt::AltModifier;
    const int key = event->key();
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: press.key = "Enter"; return press;
        case Qt::Key_Backtab: press.shift = true; [[fallthrough]];
        case Qt::Key_Tab: press.key = "Tab"; return press;
        case Qt::Key_Delete: press.key = "Delete"; return press;
        case Qt::Key_Insert: press.key = "Insert"; return press;
        case Qt::Key_F2: press.key = "F2"; return press;
        case Qt::Key_Escape: press.key = "Escape"; return press;
        case Qt::Key_Up: press.key = "ArrowUp"; return press;
        case Qt::Key_Down: press.key = "ArrowDown"; return press;
        case Qt::Key_Left: press.key = "ArrowLeft"; return press;
        case Qt::Key_Right: press.key = "ArrowRight"; return press;
        case Qt::Key_Home: press.key = "Home"; return press;
        case Qt::Key_End: press.key = "End"; return press;
        case Qt::Key_PageUp: press.key = "PageUp"; return press;
        case Qt::Key_PageDown: press.key = "PageDown"; return press;
        default: break;
    }
    // With Ctrl held the text is a control character: the letter is the key's.
    if (press.ctrl && key >= Qt::Key_A && key <= Qt::Key_Z) {
        press.key = std::string(1, static_cast<char>('a' + (key - Qt::Key_A)));
        return press;
    }
    const QString text = event->text();
    if (text.size() >= 1 && text[0].unicode() >= 32 && text[0].unicode() != 127) press.key = text.toStdString();
    return press;
}
