#include "platform/X11KeyboardState.h"

#include <QGuiApplication>

// Xlib's macros (Status, None, Bool, ...) stay confined to this file.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace kavoret {

X11KeyboardState::X11KeyboardState() {
    if (auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        display_ = x11->display();
}

bool X11KeyboardState::capsLockOn() const {
    if (!display_)
        return false;
    XkbStateRec state{};
    if (XkbGetState(display_, XkbUseCoreKbd, &state) != Success)
        return false;
    return (state.locked_mods & LockMask) != 0;
}

} // namespace kavoret
