#pragma once

#include "frame/Result.h"
#include "frame/SharedState.h"

#include <QList>

namespace kavoret {

struct Item;

namespace sound {

inline const QString kCueTableFileName = QStringLiteral("新音ファイル.txt");
// The item that closes a cue's group of file names.
inline const QString kGroupEnd = QStringLiteral("*");

// The names of cues 1 to 10 as the cue table file spells them.
QString cueName(int cue);

// Fills the cue table from the items of a cue table file: every cue name
// starts a group of file names closed by "*"; the count of the cue is the
// number of names before it. A group with no "*" within 20 items (or cut off
// by the end of the file) leaves its cue without a count. Items outside a
// group are skipped.
void applyCueItems(SoundState& sound, const QList<Item>& items);

// Reads the cue table "新音ファイル.txt" of the sound folder.
Status loadCueTable(SharedState& state);

} // namespace sound
} // namespace kavoret
