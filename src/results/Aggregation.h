#pragma once

#include "frame/SharedState.h"

#include <span>

namespace kavoret::results {

// Sets every entry of the twelve tables to 0, one fill per table.
void resetAggregates(AggregateState& aggregates);

// The number formed by the first three characters of the time written in
// decimal: 1234 gives 123, 99999 gives 999, 45 gives 45, -1234 gives -12.
int leadingDigitsValue(int seconds);

// Adds every loaded run to the tables (reset them first). Per entry of level L
// (1..100, others are skipped) and student S: a valid run (below 5000 s) counts
// as a run; its points are runPoints against referenceTimes[L] (a 0 there
// becomes 100 and stays), times pointRates[L] in single precision, floored;
// counts and points go to the all-dates tables and to each window the run's
// date d lies in: judgeDays, stopDays, 7, 30 and 180 days (d > today - n), and
// today.
void aggregateRuns(AggregateState& aggregates, std::span<const LoadedRecord> records,
                   const CriteriaState& criteria, PerLevel<double>& referenceTimes, double today);

} // namespace kavoret::results
