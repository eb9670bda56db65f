#pragma once

#include "frame/SharedState.h"

#include <QString>

namespace kavoret {
class PageReader;
}

namespace kavoret::roster {

// Levels whose figures the program information sets.
inline constexpr int kProgramInfoLevels = 60;

// The over-practice point limits of levels 1..60 from their clear points:
// 2, 5, 10 and 30 times them for the day, week, month and half-year.
void setPointLimits(ServerLevelState& server);

// Reads the program information from the ranking server (nothing is read when
// the program runs offline) and sets every level's reference time, clear
// points and point limits; without an answer every level gets the defaults.
// Returns the address asked, empty when offline.
QString readProgramInfo(SharedState& state, PageReader& reader);

} // namespace kavoret::roster
