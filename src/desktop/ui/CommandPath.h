#pragma once
// The one way a command of the window runs, however it was chosen: from a
// menu, a toolbar button, its key, the grid's context menu, a dropped file or
// the window's close button. An edit still open in a cell is written into the
// working copy first, so every command works on what the user sees.
#include <QObject>
#include <functional>

class QAction;

class CCommandPath : public QObject {
    Q_OBJECT
public:
    // `commitOpenEdit` writes an open cell edit and closes its editor.
    CCommandPath(std::function<void()> commitOpenEdit, QObject* parent);

    // Runs `command` each time `action` is triggered.
    void Connect(QAction* action, std::function<void()> command);
    // Runs `command` now and gives back what it returns.
    template <typename Command>
    auto Run(Command&& command) const {
        m_commitOpenEdit();
        return command();
    }

private:
    std::function<void()> m_commitOpenEdit;
};
