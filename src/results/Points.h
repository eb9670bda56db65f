#pragma once

namespace kavoret::results {

// A run's points before the level's rate, from r = time / reference time:
// 20 up to r 0.1, then 18, 16, 15, 12, 10 (at r 1), 8, 5, 3, 1 up to r 5, and 0
// beyond. A time above 99997 (the time limit was reached) earns 0. A reference
// time of 0 is scored against 100 seconds.
int runPoints(int seconds, double referenceTime);

} // namespace kavoret::results
