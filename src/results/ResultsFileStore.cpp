#include "results/ResultsFileStore.h"

#include "frame/JapaneseDate.h"
#include "frame/ResultTimes.h"
#include "frame/ScreenFlow.h"
#include "frame/SharedState.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "results/Aggregation.h"
#include "results/LoadedResults.h"
#include "results/ResultsFile.h"

#include <algorithm>

namespace kavoret::results {
namespace {

QString outOfRange(int level, int student) {
    return QStringLiteral("記録できないレベルか番号です（レベル %1、番号 %2）")
        .arg(level)
        .arg(student);
}

} // namespace

ResultsFileStore::ResultsFileStore(SharedState& state, const Clock& clock, Dialogs& dialogs,
                                   ScreenFlow& flow, EventWait& wait)
    : state_(state), clock_(clock), dialogs_(dialogs), flow_(flow), wait_(wait) {}

QString ResultsFileStore::resultsFilePath() const {
    return state_.folders.dataFolder + kResultsFileName;
}

void ResultsFileStore::回数求() {
    if (ended_)
        return;
    resetAggregates(state_.aggregates);
    if (!成績ランダムファイル表示())
        return;
    aggregateRuns(state_.aggregates, state_.results.loadedRecords, state_.criteria,
                  state_.server.referenceTimes, serialDay(clock_.today()));
}

bool ResultsFileStore::成績ランダムファイル表示() {
    if (ended_)
        return false;
    const QString path = resultsFilePath();
    const RecordsRead read = readNewestRecords(path, wait_, kMaxLoadedRecords, isKeptRecord);
    if (!read.failure) {
        fillLoadedResults(state_.results, read.records);
        return true;
    }
    // Nothing half-loaded stays behind.
    fillLoadedResults(state_.results, {});
    const FileFailure& failure = *read.failure;
    if (failure.notFound) {
        fatal(QStringLiteral("成績ランダムファイル表示 ファイルがありません %1 %2\n%3")
                  .arg(failure.description)
                  .arg(failure.number)
                  .arg(path));
    } else {
        // The record could not be read, so only its number is known.
        fatal(QStringLiteral("成績ランダムファイル表示 %1 %2"
                             "/date/i=%3/time=/name=/Bangou=/level=/time=\n%4")
                  .arg(failure.number)
                  .arg(failure.description)
                  .arg(read.failedAtRecord)
                  .arg(path));
    }
    return false;
}

bool ResultsFileStore::成績ランダムファイル記録() {
    return append(state_.run.currentLevel);
}

bool ResultsFileStore::append(int level) {
    if (ended_)
        return false;
    const int student = state_.student.studentNo;
    if (!isRunKey(level, student)) {
        fatal(QStringLiteral("成績ランダムファイル記録 ") + outOfRange(level, student));
        return false;
    }
    const ResultRecord record =
        runRecord(serialDay(clock_.today()), clock_.secondsSinceMidnight() / double(kSecondsPerDay),
                  student, level, state_.run.resultTime, state_.settings.schoolNumber);
    const QString path = resultsFilePath();
    if (const auto failure = appendRecord(path, record, wait_)) {
        fatal(QStringLiteral("成績ランダムファイル記録 %1\n%2").arg(failure->description, path));
        return false;
    }
    return true;
}

void ResultsFileStore::Seisekikiroku(int level) {
    if (ended_)
        return;
    const int student = state_.student.studentNo;
    const int seconds = state_.run.resultTime;
    if (!isRunKey(level, student)) {
        fatal(QStringLiteral("Seisekikiroku ") + outOfRange(level, student));
        return;
    }
    ResultsState& results = state_.results;
    const CriteriaState& criteria = state_.criteria;
    const AggregateState& aggregates = state_.aggregates;
    // Taken from the last aggregation, before this run is counted.
    const bool cleared =
        aggregates.validRunCounts.at(level, student) >= criteria.clearCounts[level] &&
        aggregates.pointTotals.at(level, student) >= criteria.clearPoints[level];
    results.clearedBefore = cleared ? 1 : 0;

    int& best = results.bestTimes.at(level, student);
    if (isValidTime(seconds) && seconds < best) {
        best = seconds;
        results.newPersonalBest = 1;
    } else {
        best = std::min(best, bestTimeCandidate(seconds));
    }

    if (!append(level))
        return;

    if (isValidTime(seconds) && seconds < results.levelBestTimes[level]) {
        results.levelBestTimes[level] = seconds;
        results.newLevelBest = 1;
    }
}

void ResultsFileStore::fatal(const QString& message) {
    ended_ = true;
    dialogs_.message(message, state_.profile.programTitle, Dialogs::Icon::Error);
    flow_.endProgram(1);
}

} // namespace kavoret::results
