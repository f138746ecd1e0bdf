#include "app/LockKeys.h"

#include <QGuiApplication>

#ifdef OSTRELTZ_HAVE_XKB
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#endif

namespace {

class NoLockKeys : public ILockKeys {
public:
    std::optional<LockKeyState> Read() override { return std::nullopt; }
};

#ifdef OSTRELTZ_HAVE_XKB
// The keyboard's named indicators, as X reports them to every client.
class X11LockKeys : public ILockKeys {
public:
    explicit X11LockKeys(Display* display)
        : m_display(display),
          m_caps(XInternAtom(display, "Caps Lock", False)),
          m_num(XInternAtom(display, "Num Lock", False)),
          m_scroll(XInternAtom(display, "Scroll Lock", False)) {}

    std::optional<LockKeyState> Read() override {
        LockKeyState state;
        if (!Indicator(m_caps, state.caps) || !Indicator(m_num, state.num) || !Indicator(m_scroll, state.scroll))
            return std::nullopt;
        return state;
    }

private:
    bool Indicator(Atom name, bool& on) const {
        Bool value = False;
        if (!XkbGetNamedIndicator(m_display, name, nullptr, &value, nullptr, nullptr)) return false;
        on = value != False;
        return true;
    }

    Display* m_display;
    Atom m_caps, m_num, m_scroll;
};
#endif

}  // namespace

std::unique_ptr<ILockKeys> SystemLockKeys() {
#ifdef OSTRELTZ_HAVE_XKB
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        if (Display* display = x11->display()) return std::make_unique<X11LockKeys>(display);
#endif
    return std::make_unique<NoLockKeys>();
}
