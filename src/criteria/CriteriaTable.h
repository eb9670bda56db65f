#pragma once

#include "frame/Result.h"
#include "frame/SharedState.h"

#include <QList>

namespace kavoret {
struct Item;
}

namespace kavoret::criteria {

inline const QString kCriteriaFileName = QStringLiteral("タイム回数データ.txt");
inline constexpr int kFieldsPerRecord = 12;
inline constexpr int kMaxRecords = kLevelSlots; // the header and levels 1..100

// Fills the criteria table from the items of the file at path: twelve fields a
// record, counted across lines, the first record into entry 0 (the header),
// record k + 1 into level k. Entries beyond the last record keep their values.
// A file of more than 101 records, or one whose fields do not make whole
// records of twelve, is refused before anything is changed; the message names
// the file.
Status applyCriteriaItems(CriteriaState& criteria, const QList<Item>& items, const QString& path);

// Reads the criteria table file as applyCriteriaItems fills it.
Status loadCriteria(CriteriaState& criteria, const QString& path);

// The folder-setup step: the table in the data folder.
Status loadCriteriaFromDataFolder(SharedState& state);

// A level whose minimum line is 0 has no usable time limit.
inline bool levelCanBeTimed(const CriteriaState& criteria, int level) {
    return isLevel(level) && criteria.minimumTimes[level] > 0;
}

} // namespace kavoret::criteria
