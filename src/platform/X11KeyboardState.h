#pragma once

#include "platform/KeyboardState.h"

struct _XDisplay;

namespace kavoret {

// The CapsLock lock state of the X server the application runs on. Without an
// X11 display (another platform plugin) CapsLock reads as off.
class X11KeyboardState final : public KeyboardState {
public:
    // Needs the running QGuiApplication; finds its X display, if any.
    X11KeyboardState();
    bool capsLockOn() const override;

private:
    _XDisplay* display_ = nullptr;
};

} // namespace kavoret
