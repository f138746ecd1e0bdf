#pragma once
// The one way a command of the window runs, however it was chosen: from a
// menu, a toolbar button, its key, the grid's context menu, a dropped file or
// the window's close button. An edit still open in a cell is written into the
// working copy first, so every command works on what the user sees; an edit
// whose text is refused stops the command (its cell is open again with the
// text), so nothing typed is lost to it.
#include <QObject>
#include <functional>
#include <type_traits>

class QAction;

class CCommandPath : public QObject {
    Q_OBJECT
public:
    // `commitOpenEdit` writes an open cell edit and closes its editor; false
    // when the text was refused.
    CCommandPath(std::function<bool()> commitOpenEdit, QObject* parent);

    // Runs `command` each time `action` is triggered.
    void Connect(QAction* action, std::function<void()> command);
    // Runs `command` now and gives back what it returns, or, when an open
    // edit was refused, what its type holds by default (false: not done).
    template <typename Command>
    auto Run(Command&& command) const {
        using Result = decltype(command());
        if (!m_commitOpenEdit()) {
            if constexpr (std::is_void_v<Result>)
                return;
            else
                return Result{};
        }
        return command();
    }

private:
    std::function<bool()> m_commitOpenEdit;
};
