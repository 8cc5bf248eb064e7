#include "app/LockKeys.h"

#ifdef CATFORGE_HAVE_X11
// Qt's headers first: X11's macros (None, Bool, Status) clash with names Qt declares.
#include <QGuiApplication>
// clang-format off
#include <X11/XKBlib.h>
// clang-format on
#endif

#ifdef CATFORGE_HAVE_X11
namespace {

// The indicator of one lock key, looked up by the name X gives it in every keymap.
std::optional<bool> NamedIndicator(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None)
        return std::nullopt;
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) {
        return std::nullopt;
    }
    return on != False;
}

}  // namespace
#endif

std::optional<LockKeyState> QueryLockKeys() {
#ifdef CATFORGE_HAVE_X11
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->display() == nullptr)
        return std::nullopt;
    Display* display = x11->display();
    const auto caps = NamedIndicator(display, "Caps Lock");
    const auto num = NamedIndicator(display, "Num Lock");
    const auto scroll = NamedIndicator(display, "Scroll Lock");
    if (!caps && !num && !scroll)
        return std::nullopt;
    return LockKeyState{caps.value_or(false), num.value_or(false), scroll.value_or(false)};
#else
    return std::nullopt;
#endif
}
