#include "board/Listings.h"

#include "board/LineParts.h"
#include "frame/JapaneseDate.h"
#include "frame/Text.h"
#include "results/Aggregation.h"
#include "roster/ListOrder.h"

#include <cmath>

namespace kavoret::board {
namespace {

using detail::markOf;
using detail::name5;
using detail::padRight5;

constexpr int kTodayRecords = 1000;
constexpr int kOwnRunDays = 3650;
// A run whose time text reads 90000 or more has no valid time.
constexpr int kFailedFrom = 90000;
constexpr int kNoDisplayPointsFrom = 99998;

const QString kFailedLead = QStringLiteral("　　× ");
const QString kListingNameFiller = QStringLiteral("　　　　");

// A clock time (fraction of a day) as whole seconds since midnight, rounded to
// the nearest second as the clock text shows it.
int clockSeconds(double clock) {
    if (!std::isfinite(clock))
        return 0;
    const double fraction = clock - std::floor(clock);
    const int seconds = static_cast<int>(std::lround(fraction * 86400.0));
    return seconds >= 86400 ? seconds - 86400 : seconds;
}

// h:mm:ss, the hour without a leading zero.
QString clock10(double clock) {
    const int seconds = clockSeconds(clock);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// hh:mm.
QString clock5(double clock) {
    return (QStringLiteral("00") + clock10(clock)).right(8).left(5);
}

// yyyy/mm/dd.
QString date10(double date) {
    return dateFromSerial(std::floor(date)).toString(QStringLiteral("yyyy/MM/dd"));
}

// mm/dd.
QString date5(double date) {
    return date10(date).right(5);
}

QString timeText(int seconds) {
    return QString::number(seconds) + u'秒';
}

bool isFailed(int seconds) {
    return seconds >= kFailedFrom;
}

// Collects each level's lines: normal ones and failed ones ("　　× " lines),
// and hands them over sorted, the failed ones after the others.
class LevelLines {
public:
    explicit LevelLines(int levelCount)
        : normal_(static_cast<std::size_t>(levelCount) + 1),
          failed_(static_cast<std::size_t>(levelCount) + 1) {}

    void add(int level, QString line, bool failed) {
        (failed ? failed_ : normal_)[static_cast<std::size_t>(level)].append(std::move(line));
    }

    LevelLists sorted() && {
        const roster::ListOrder order;
        for (std::size_t level = 1; level < normal_.size(); ++level) {
            order.sort(normal_[level]);
            order.sort(failed_[level]);
            normal_[level].append(failed_[level]);
        }
        return std::move(normal_);
    }

private:
    LevelLists normal_;
    LevelLists failed_;
};

// The records a listing reads and who appears on its lines.
struct ListedRun {
    const LoadedRecord& record;
    QString mark;
    QString name5;
};

// Calls listRun for every record of records[first..] on a level with a column
// whose student is a roster number that passes the class and for which
// wanted(record) holds.
template <typename Wanted, typename ListRun>
void forEachListedRun(const SharedState& state, const QString& className, std::size_t first,
                      Wanted wanted, ListRun listRun) {
    const int levelCount = detail::shownLevelCount(state);
    const std::vector<LoadedRecord>& records = state.results.loadedRecords;
    detail::ClassFilter filter(className);
    for (std::size_t i = first; i < records.size(); ++i) {
        const LoadedRecord& record = records[i];
        if (record.level < 1 || record.level > levelCount || record.student < 0 ||
            record.student > kMaxStudent || !wanted(record))
            continue;
        const int grade = detail::gradeOfStudent(state, record.student);
        if (!filter.passes(grade))
            continue;
        const QString name =
            withoutSurroundingBlanks(state.roster.names[static_cast<std::size_t>(record.student)]);
        listRun(ListedRun{record, markOf(state, record.student, grade),
                          name5(name, kListingNameFiller)});
    }
}

} // namespace

int displayPoints(int targetTime, int seconds) {
    if (seconds >= kNoDisplayPointsFrom || targetTime <= 0)
        return 0;
    const double target = targetTime;
    if (seconds <= targetTime) {
        const double share = (target - results::leadingDigitsValue(seconds)) / target;
        return static_cast<int>(std::floor(share * share * share * 50.0 + 5.0));
    }
    if (seconds < 2.0 * target)
        return 4;
    if (seconds < 10.0 * target)
        return 1;
    return 0;
}

int periodDaysBack(int periodIndex, const QDate& today) {
    // Weekday numbers run from Sunday = 1 to Saturday = 7.
    const int weekday = today.dayOfWeek() % 7 + 1;
    const bool sunday = weekday == 1;
    switch (periodIndex) {
    case 1:
        return sunday ? 7 : weekday - 1;
    case 2:
        return sunday ? 14 : weekday - 1 + 7;
    case 3:
        return 30;
    case 4:
        return 365;
    case 5:
        return 3650;
    default:
        return 0;
    }
}

LevelLists todayListing(const SharedState& state, const QString& className, double today) {
    LevelLines lines(detail::shownLevelCount(state));
    const std::size_t count = state.results.loadedRecords.size();
    const std::size_t first = count > kTodayRecords ? count - kTodayRecords : 0;
    forEachListedRun(
        state, className, first,
        [today](const LoadedRecord& record) { return std::floor(record.date) == today; },
        [&](const ListedRun& run) {
            const LoadedRecord& record = run.record;
            const QString who = clock5(record.clock) + run.mark + run.name5 + run.mark;
            if (isFailed(record.seconds)) {
                lines.add(record.level, kFailedLead + who, true);
                return;
            }
            const int points = displayPoints(
                state.criteria.targetTimes[static_cast<std::size_t>(record.level)], record.seconds);
            lines.add(record.level,
                      padRight5(timeText(record.seconds)) + u' ' + who + QString::number(points),
                      false);
        });
    return std::move(lines).sorted();
}

LevelLists periodListing(const SharedState& state, const QString& className, double today,
                         int periodIndex, int displayMode) {
    LevelLines lines(detail::shownLevelCount(state));
    const double from = today - periodDaysBack(periodIndex, dateFromSerial(today));
    const bool pointDisplay = displayMode == 2;
    forEachListedRun(
        state, className, 0, [from](const LoadedRecord& record) { return record.date > from; },
        [&](const ListedRun& run) {
            const LoadedRecord& record = run.record;
            const QString who = date5(record.date) + run.mark + run.name5 + run.mark;
            if (isFailed(record.seconds)) {
                lines.add(record.level, kFailedLead + who, true);
                return;
            }
            const QString time = timeText(record.seconds);
            const QString points = QString::number(
                displayPoints(state.criteria.targetTimes[static_cast<std::size_t>(record.level)],
                              record.seconds));
            lines.add(record.level,
                      pointDisplay ? padRight5(points) + u' ' + who + time
                                   : padRight5(time) + u' ' + who + points,
                      false);
        });
    return std::move(lines).sorted();
}

LevelLists ownListing(const SharedState& state, const QString& className, double today) {
    LevelLines lines(detail::shownLevelCount(state));
    const int student = state.student.studentNo;
    const double from = today - kOwnRunDays;
    forEachListedRun(
        state, className, 0,
        [student, from](const LoadedRecord& record) {
            return record.student == student && record.date > from;
        },
        [&](const ListedRun& run) {
            const LoadedRecord& record = run.record;
            const QString when = date10(record.date) + u' ';
            const QString clock = clock10(record.clock);
            // A failed run shows no time; its line sorts among the others by date.
            lines.add(record.level,
                      isFailed(record.seconds) ? when + (QStringLiteral("  ") + clock).right(10)
                                               : when + clock + padRight5(timeText(record.seconds)),
                      false);
        });
    return std::move(lines).sorted();
}

} // namespace kavoret::board
