#include "results/LoadedResults.h"

#include <algorithm>
#include <cmath>

namespace kavoret::results {
namespace {

// 9999-12-31, the last day a date of the family's files can name.
constexpr double kLastSerialDay = 2958465;

} // namespace

int bestTimeCandidate(int seconds) {
    if (isValidTime(seconds))
        return seconds;
    if (seconds < kTimedOut)
        return kOnlyFailedRuns;
    return kNoBestTime;
}

bool isKeptRecord(const ResultRecord& record) {
    return std::isfinite(record.date) && record.date >= 0 && record.date <= kLastSerialDay &&
           record.student != 0 && isRunKey(record.level, record.student);
}

void fillLoadedResults(ResultsState& results, std::span<const ResultRecord> records) {
    results.bestTimes.fill(kNoBestTime);
    results.loadedRecords.clear();
    results.loadedRecords.reserve(std::min<std::size_t>(records.size(), kMaxLoadedRecords));
    for (const ResultRecord& record : records) {
        if (LevelStudentTable<int>::inRange(record.level, record.student)) {
            int& best = results.bestTimes.at(record.level, record.student);
            best = std::min(best, bestTimeCandidate(record.seconds));
        }
        if (!isKeptRecord(record))
            continue;
        LoadedRecord entry;
        entry.date = record.date;
        entry.clock = std::isfinite(record.clock) ? record.clock : 0;
        entry.student = record.student;
        entry.level = record.level;
        entry.seconds = record.seconds;
        entry.storedPoints = storedPointsValue(record.pointsText);
        results.loadedRecords.push_back(entry);
    }
    // The file reader already stops at the cap; records handed over beyond it
    // give way to the newer ones.
    auto& loaded = results.loadedRecords;
    if (loaded.size() > static_cast<std::size_t>(kMaxLoadedRecords))
        loaded.erase(loaded.begin(), loaded.end() - kMaxLoadedRecords);

    results.levelBestTimes.fill(kNoBestTime);
    const LevelStudentTable<int>& bestTimes = results.bestTimes; // reads make no rows
    for (int level = 1; level <= kMaxLevel; ++level) {
        int& levelBest = results.levelBestTimes[level];
        for (int student = 1; student <= kLevelBestStudents; ++student)
            levelBest = std::min(levelBest, bestTimes.at(level, student));
    }
}

} // namespace kavoret::results
