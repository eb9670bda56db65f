#pragma once

#include "frame/SharedState.h"

#include <QString>

namespace kavoret::ranking {

// 1-based position of the first occurrence of marker at or after start, or 0.
// Any start, even one outside the text, is safe.
qsizetype find(const QString& text, const QString& marker, qsizetype start);

// The numeric value of a server value: its leading decimal number, 0 when none.
double numericValue(const QString& text);

// Reads the program-information page ("_"-separated: two leading values, then
// one reference time per level) into referenceTimes; then every level 1..60
// whose reference time is 0 gets 50 and clear points 150. An empty or
// malformed page changes no reference time but still sets those defaults.
void applyProgramInfo(const QString& page, ServerLevelState& server);

} // namespace kavoret::ranking
