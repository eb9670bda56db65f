#pragma once

#include <QDate>
#include <QTime>
#include <cstdint>

namespace kavoret {

// The wall clock and a monotonic millisecond counter. Logic never reads the
// system time directly, so tests can run on any date.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
    virtual QTime timeOfDay() const = 0;
    // Milliseconds from an arbitrary origin; never jumps with clock changes.
    virtual std::int64_t monotonicMs() const = 0;

    int secondsSinceMidnight() const { return timeOfDay().msecsSinceStartOfDay() / 1000; }
};

} // namespace kavoret
