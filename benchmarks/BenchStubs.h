#pragma once

// Stand-ins for the outside world in the benchmarks: a fixed clock, silent
// dialogs, a screen flow that goes nowhere and a wait that returns at once.
#include "frame/ScreenFlow.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "results/EventWait.h"

#include <QDate>
#include <QTime>

namespace kavoret::bench {

inline constexpr double kToday = 46367; // 2026-12-11

class FixedClock final : public Clock {
public:
    QDate today() const override { return QDate(2026, 12, 11); }
    QTime timeOfDay() const override { return QTime(10, 0); }
    std::int64_t monotonicMs() const override { return 0; }
};

class NoDialogs final : public Dialogs {
public:
    void message(const QString&, const QString&, Icon) override { ++shown; }
    std::optional<QString> input(const QString&, const QString&) override { return {}; }
    int shown = 0;
};

class NoFlow final : public ScreenFlow {
public:
    void showNameSelection() override {}
    void closeNameSelection() override {}
    void showBoard() override {}
    void closeBoard() override {}
    void startDrillRun() override {}
    void showFinish() override {}
    void showBackdrop() override {}
    void closeBackdrop() override {}
    void endProgram(int) override {}
};

class NoWait final : public results::EventWait {
public:
    void waitProcessingEvents(int) override {}
};

} // namespace kavoret::bench
