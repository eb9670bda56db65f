#pragma once

namespace kavoret {

class KeyboardState {
public:
    virtual ~KeyboardState() = default;
    virtual bool capsLockOn() const = 0;
};

} // namespace kavoret
