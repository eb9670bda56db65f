#pragma once

#include "frame/SharedState.h"

namespace kavoret {

class ScreenFlow;

// What makes this member of the family this member: title, product page,
// catalogue number and its four levels.
namespace progselbas {

inline constexpr int kCatalogueNumber = 801;
inline constexpr int kLevelCount = 4;

// Called once by the folder setup after the shared settings are read.
void applyIdentity(ProfileState& profile);

// At every login: level names and flags. Names filled earlier stay.
void applyLevels(ProfileState& profile);

// applyLevels, then the results board (never the drill) is shown.
void applyLevelsAndOpenBoard(ProfileState& profile, ScreenFlow& flow);

} // namespace progselbas
} // namespace kavoret
