#include "results/Aggregation.h"

#include "results/LoadedResults.h"
#include "results/Points.h"

#include <cmath>
#include <cstdint>

namespace kavoret::results {

void resetAggregates(AggregateState& a) {
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

namespace {

// A run's points times the level's rate, truncated. The product is taken in
// single precision, like the rate itself: there 10 × 0.7 rounds to exactly 7,
// where the wider product 6.99999988 would floor to 6. Bounded, so that no rate
// a teacher may type makes the sums over the loaded runs overflow.
int ratedPoints(int points, float rate) {
    constexpr float kBound = 100000;
    const float rated = std::floor(static_cast<float>(points) * rate);
    if (std::isnan(rated))
        return 0;
    if (!(rated > -kBound))
        return static_cast<int>(-kBound);
    if (!(rated < kBound))
        return static_cast<int>(kBound);
    return static_cast<int>(rated);
}

} // namespace

int leadingDigitsValue(int seconds) {
    std::int64_t magnitude = seconds < 0 ? -static_cast<std::int64_t>(seconds) : seconds;
    // A minus sign takes one of the three characters.
    const std::int64_t below = seconds < 0 ? 100 : 1000;
    while (magnitude >= below)
        magnitude /= 10;
    return static_cast<int>(seconds < 0 ? -magnitude : magnitude);
}

void aggregateRuns(AggregateState& a, std::span<const LoadedRecord> records,
                   const CriteriaState& criteria, PerLevel<double>& referenceTimes, double today) {
    for (const LoadedRecord& run : records) {
        const int level = run.level;
        const int student = run.student;
        if (!isRunKey(level, student))
            continue;
        const double date = run.date;
        const bool valid = isValidTime(run.seconds);
        if (valid)
            ++a.validRunCounts.at(level, student);

        if (referenceTimes[level] == 0)
            referenceTimes[level] = 100;
        const int points =
            ratedPoints(runPoints(run.seconds, referenceTimes[level]), criteria.pointRates[level]);

        if (date > today - criteria.judgeDays[level]) {
            if (valid)
                ++a.judgeRunCounts.at(level, student);
            a.judgePointTotals.at(level, student) += points;
        }
        if (date > today - criteria.stopDays[level]) {
            if (valid)
                ++a.stopRunCounts.at(level, student);
            a.stopPointTotals.at(level, student) += points;
        }
        if (date > today - 7)
            a.weekPointTotals.at(level, student) += points;
        if (date > today - 30)
            a.monthPointTotals.at(level, student) += points;
        if (date > today - 180)
            a.halfYearPointTotals.at(level, student) += points;
        a.pointTotals.at(level, student) += points;

        if (std::floor(date) == today) {
            if (valid)
                a.todayRunCounts.at(level, student) += 1;
            a.todayTimeSums.at(level, student) +=
                static_cast<float>(leadingDigitsValue(run.seconds));
            a.todayPointTotals.at(level, student) += points;
        }
    }
}

} // namespace kavoret::results
