#pragma once

#include "platform/Clock.h"

#include <QElapsedTimer>

namespace kavoret {

class SystemClock final : public Clock {
public:
    SystemClock() { timer_.start(); }
    QDate today() const override { return QDate::currentDate(); }
    QTime timeOfDay() const override { return QTime::currentTime(); }
    std::int64_t monotonicMs() const override { return timer_.elapsed(); }

private:
    QElapsedTimer timer_;
};

} // namespace kavoret
