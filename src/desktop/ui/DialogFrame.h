#pragma once
// The frames of the program's boxes and small dialogs: a close button only
// (nothing to minimise or maximise), and never narrower than their caption,
// which a window manager would otherwise cut short ("温… 示").
#include <QSize>
#include <QString>

class QMessageBox;
class QWidget;

// The width a window needs so that its title bar shows `caption` in full,
// with room for the icon and the close button.
int CaptionWidth(const QString& caption);

// Gives `window` a title bar with the close button only.
void ShowCloseButtonOnly(QWidget* window);

// Keeps `window` at the size its layout asks for: with nothing to maximise,
// window managers that offer maximising any resizable window leave it off.
void FixSize(QWidget* window);

// The size a window can have on its screen, its title bar left out.
QSize ScreenRoom(const QWidget* window);
// Gives `window` the size `wanted`, or less where the screen is smaller.
void ResizeWithinScreen(QWidget* window, QSize wanted);
// Moves `window`, frame and all, back onto its screen where it reaches past
// an edge (a window that grew downwards from near the bottom).
void KeepOnScreen(QWidget* window);

// Makes `window` at least as wide as its caption needs.
void FitCaption(QWidget* window);
// A message box, which sizes itself from its text, as wide as its caption and
// its longest line: a line breaks only where the text breaks it, unless it
// is wider than the screen allows.
void FitMessageBox(QMessageBox* box);
