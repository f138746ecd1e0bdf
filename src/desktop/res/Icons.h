#pragma once
// The program's pictures, drawn here rather than loaded from files.
#include <QIcon>

// A toolbar button picture for the command `id`.
QIcon ToolbarIcon(int id);
// The program's icon (main window, About box, desktop entry).
QIcon AppIcon();

// The same pictures drawn at `size` pixels square, for the browser page's files.
QPixmap ToolbarPixmap(int id, int size);
QPixmap AppIconPixmap(int size);
