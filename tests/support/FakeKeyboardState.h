#pragma once

#include "platform/KeyboardState.h"

namespace kavoret::test {

class FakeKeyboardState final : public KeyboardState {
public:
    explicit FakeKeyboardState(bool capsLock = false) : capsLock_(capsLock) {}
    bool capsLockOn() const override { return capsLock_; }
    void setCapsLock(bool on) { capsLock_ = on; }

private:
    bool capsLock_;
};

} // namespace kavoret::test
