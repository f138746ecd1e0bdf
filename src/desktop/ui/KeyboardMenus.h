#pragma once
// Menus reached from the keyboard as on other desktops: Shift+F10 opens the
// context menu of the control with the focus, as the Menu key does, and F10
// opens the first menu of the main window's menu bar.
class QObject;
class QKeyEvent;

// Whether `key`, on its way to `watched`, opened a menu (and is used up).
bool OpenMenuByKey(QObject* watched, const QKeyEvent& key);
