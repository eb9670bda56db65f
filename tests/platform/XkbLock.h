#pragma once

struct _XDisplay;

namespace kavoret::test {

// Locks or unlocks CapsLock on the X server, as pressing the key would.
bool setCapsLockLocked(_XDisplay* display, bool locked);

} // namespace kavoret::test
