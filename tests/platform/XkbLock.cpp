#include "XkbLock.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace kavoret::test {

bool setCapsLockLocked(_XDisplay* display, bool locked) {
    const Bool sent = XkbLockModifiers(display, XkbUseCoreKbd, LockMask, locked ? LockMask : 0);
    XSync(display, False);
    return sent == True;
}

} // namespace kavoret::test
