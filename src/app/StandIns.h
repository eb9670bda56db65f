#pragma once

#include "frame/Cues.h"
#include "frame/ResultsStore.h"
#include "frame/SharedState.h"
#include "platform/PageReader.h"

namespace kavoret {

// Stand-ins for the services whose adapters are not wired into the program yet.
// Each behaves as the program does without the thing it stands for.

// No sound output yet: cues are silent and never fail.
class SilentCues final : public Cues {
public:
    void play(int) override {}
    void playFixed(const QString&) override {}
};

// No results file reader yet: every figure is recomputed as 0, as for an empty
// results file, and nothing is recorded.
class EmptyResultsStore final : public ResultsStore {
public:
    explicit EmptyResultsStore(SharedState& state) : state_(state) {}
    void 回数求() override {
        AggregateState& a = state_.aggregates;
        a.validRunCounts.fill(0);
        a.pointTotals.fill(0);
        a.judgeRunCounts.fill(0);
        a.judgePointTotals.fill(0);
        a.stopRunCounts.fill(0);
        a.stopPointTotals.fill(0);
        a.weekPointTotals.fill(0);
        a.monthPointTotals.fill(0);
        a.halfYearPointTotals.fill(0);
        a.todayRunCounts.fill(0);
        a.todayPointTotals.fill(0);
        a.todayTimeSums.fill(0);
    }
    void Seisekikiroku(int) override {}

private:
    SharedState& state_;
};

// No HTTP reader yet: every page read comes back empty, as when offline.
class OfflinePageReader final : public PageReader {
public:
    QString read(const QString&) override { return {}; }
};

} // namespace kavoret
