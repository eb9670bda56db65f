#pragma once

#include "frame/SharedState.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace kavoret::board {

// The points a listing shows beside a run, from the level's target time T and
// the run's time t: 0 for a failed or timed-out run (99998 and up); up to T,
// the whole part of ((T - t3) / T)³ × 50 + 5 with t3 the number formed by the
// first three digits of t; 4 below 2T, 1 below 10T, 0 beyond. A target time of
// 0 or less gives 0. These are not the points the counters add up.
int displayPoints(int targetTime, int seconds);

// How many days back the period of the all-runs list reaches (a run belongs to
// it when its date is later than today minus this): 1 this week (Monday to
// today), 2 since last week's Monday, 3 a month (30), 4 a year (365), 5 ten
// years (3650). Any other index reaches no day (0).
int periodDaysBack(int periodIndex, const QDate& today);

// One list per level in the order the user sees it; index 1..levelCount, [0] empty.
using LevelLists = std::vector<QStringList>;

// Today's runs among the last 1000 loaded records: time, clock, marks, name and
// display points; failed runs as "　　× " lines after the others.
LevelLists todayListing(const SharedState& state, const QString& className, double today);

// The runs of the period periodIndex among all loaded records. displayMode 2
// leads each line with the display points, anything else with the time.
LevelLists periodListing(const SharedState& state, const QString& className, double today,
                         int periodIndex, int displayMode);

// The logged-in student's runs of the last 3650 days: date, clock and time.
LevelLists ownListing(const SharedState& state, const QString& className, double today);

} // namespace kavoret::board
