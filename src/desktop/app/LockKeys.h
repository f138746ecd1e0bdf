#pragma once
// The Caps, Num and Scroll lock states for the status bar's indicator panes,
// read from the window system where it reports them (X11).
#include <memory>
#include <optional>

struct LockKeyState {
    bool caps = false;
    bool num = false;
    bool scroll = false;
    bool operator==(const LockKeyState&) const = default;
};

class ILockKeys {
public:
    virtual ~ILockKeys() = default;
    // The current states; nothing where the window system does not tell them.
    virtual std::optional<LockKeyState> Read() = 0;
};

// The reader for the platform the program runs on.
std::unique_ptr<ILockKeys> SystemLockKeys();
