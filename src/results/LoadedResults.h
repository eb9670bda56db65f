#pragma once

#include "frame/ResultTimes.h"
#include "frame/SharedState.h"
#include "results/ResultRecord.h"

#include <span>

namespace kavoret::results {

// The newest kept records are loaded, at most this many.
inline constexpr int kMaxLoadedRecords = 20000;
// The result-time marks of the frame, by the names the results store uses.
using kavoret::kNoBestTime;
using kavoret::kOnlyFailedRuns;
using kavoret::kTimedOut;
using kavoret::kValidTimeLimit;
// The level best is taken over roster numbers 1 to this.
inline constexpr int kLevelBestStudents = 1000;

using kavoret::isValidTime;

// What a run of this time lowers a best-time entry to: a valid time itself;
// a run without a valid time at most marks "only failed runs" (99998); a
// time-limit run or anything larger leaves it alone.
int bestTimeCandidate(int seconds);

// A record stays in the loaded table when its date is a day the calendar can
// show (0 up to 9999-12-31), its student is a roster number 1..9999 and its
// level one of 1..100.
bool isKeptRecord(const ResultRecord& record);

// Fills the loaded table and the best times from the records read, oldest
// first: every record lowers bestTimes of its (level, student) where both are
// table indexes, also index 0; the kept ones become entries. levelBestTimes of
// a level is its smallest best time over students 1..1000.
void fillLoadedResults(ResultsState& results, std::span<const ResultRecord> records);

} // namespace kavoret::results
