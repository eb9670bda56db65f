#pragma once

#include "frame/ResultsStore.h"

#include <QList>
#include <functional>

namespace kavoret::test {

// Counts aggregations and records the levels of recorded runs; optional hooks
// let a test fill the shared tables as an aggregation would.
class RecordingResultsStore final : public ResultsStore {
public:
    void 回数求() override {
        ++aggregations;
        if (onAggregate)
            onAggregate();
    }
    void Seisekikiroku(int level) override {
        recordedLevels.append(level);
        if (onRecord)
            onRecord(level);
    }
    int aggregations = 0;
    QList<int> recordedLevels;
    std::function<void()> onAggregate;
    std::function<void(int)> onRecord;
};

} // namespace kavoret::test
