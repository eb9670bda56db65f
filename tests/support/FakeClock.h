#pragma once

#include "platform/Clock.h"

namespace kavoret::test {

// A clock set to any date and time; the monotonic count moves only when told.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDate date = QDate(2026, 12, 11), QTime time = QTime(10, 0))
        : date_(date), time_(time) {}
    QDate today() const override { return date_; }
    QTime timeOfDay() const override { return time_; }
    std::int64_t monotonicMs() const override { return monotonic_; }

    void set(QDate date, QTime time) {
        date_ = date;
        time_ = time;
    }
    // Moves wall time and the monotonic count together (wall time wraps at midnight).
    void advanceMs(std::int64_t ms) {
        monotonic_ += ms;
        const qint64 total = time_.msecsSinceStartOfDay() + ms;
        date_ = date_.addDays(total / 86400000);
        time_ = QTime::fromMSecsSinceStartOfDay(static_cast<int>(total % 86400000));
    }

private:
    QDate date_;
    QTime time_;
    std::int64_t monotonic_ = 0;
};

} // namespace kavoret::test
