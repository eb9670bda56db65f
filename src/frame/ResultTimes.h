#pragma once

namespace kavoret {

// Result times are whole seconds. Above every time a run really takes stand
// two marks, which the results file, the best-time tables and the screens all
// read the same way.

// A time below this is a valid run; anything else is stored and listed but is
// never counted as a run and never a best time.
inline constexpr int kValidTimeLimit = 5000;
// A best-time entry of a student whose runs at the level all lack a valid time.
inline constexpr int kOnlyFailedRuns = 99998;
// The result time of a run that reached the time limit.
inline constexpr int kTimedOut = 99999;
// A best-time entry with no run at all; a timed-out run leaves it so.
inline constexpr int kNoBestTime = kTimedOut;
// The largest time a run really takes; the marks above it earn no points.
inline constexpr int kLastRealTime = kOnlyFailedRuns - 1;

inline constexpr int kSecondsPerDay = 86400;

inline bool isValidTime(int seconds) {
    return seconds < kValidTimeLimit;
}

} // namespace kavoret
