#include "board/StatisticsSheet.h"

#include "frame/ItemFile.h"
#include "frame/JapaneseDate.h"
#include "frame/Text.h"
#include "results/LoadedResults.h"
#include "roster/ListOrder.h"
#include "roster/Roster.h"

#include <algorithm>
#include <cmath>

namespace kavoret::board {
namespace {

const QString kSixBlanks = QStringLiteral("      ");
const QString kNoRunRank = QStringLiteral("---");

// Geometry of the graph, in fractions of d (x) and D (y) from the band top.
constexpr double kAxisLeft = 0.2;
constexpr double kAxisLength = 0.7; // both axes
constexpr double kAxisBottom = 0.8;
constexpr double kLabelShift = 0.025; // labels stand this far left of their point
constexpr double kAxisTextX = 0.12;   // "0秒", the axis maximum and the first best time
constexpr double kDateRowY = 0.815;   // dates under the time axis
constexpr double kZeroTextY = 0.79;
constexpr double kTopTextY = 0.1;
constexpr double kFirstTimeAbove = 0.01; // the first best's time stands above its point
constexpr double kMiddleTimeBelow = 0.01;
constexpr double kMiddleDateBelow = 0.03;
constexpr double kLastTimeBelow = 0.04;
constexpr double kLastDateBelow = 0.07;
// From this many bests on, every third one in between is labelled too.
constexpr int kBestsForMiddleLabels = 6;

QString dateText(double serial) {
    return dateFromSerial(std::floor(serial)).toString(QStringLiteral("yyyy/MM/dd"));
}

QString timeText(int seconds) {
    return QString::number(seconds) + u'秒';
}

// A rank as the hidden rankings write it: right-aligned in three characters.
QString rankText(int rank) {
    return (QStringLiteral("   ") + u' ' + QString::number(rank)).right(3);
}

// A best's date under its point: written as mm/dd when its year is the one of
// the date before it.
QString shortenedDate(const QString& date, const QString& before) {
    return date.left(5) == before.left(5) ? date.right(5) : date;
}

bool countable(int seconds) {
    // A negative time is no run a student made; a corrupt record is left out.
    return seconds >= 0 && seconds < kSheetTimeLimit;
}

void addLabels(SheetFigures& figures) {
    const std::vector<SheetBest>& bests = figures.bests;
    if (bests.empty())
        return;
    std::vector<SheetLabel>& labels = figures.labels;
    const SheetBest& first = bests.front();
    const SheetBest& last = bests.back();
    const auto c = static_cast<int>(bests.size());
    labels.push_back({last.x - kLabelShift, kDateRowY, figures.lastPeriodDate});
    labels.push_back({kAxisTextX, kZeroTextY, QStringLiteral("0秒")});
    labels.push_back({kAxisTextX, kTopTextY, timeText(figures.axisMaximum)});
    labels.push_back({kAxisTextX, first.y - kFirstTimeAbove, first.timeText});
    labels.push_back({first.x - kLabelShift, kDateRowY, first.dateText});
    figures.labelledBests.push_back(0);
    if (c >= kBestsForMiddleLabels) {
        // Bests 3, 6, 9, ... up to C - 2 (counted from 1).
        for (int k = 3; k <= c - 2; k += 3) {
            const SheetBest& best = bests[static_cast<std::size_t>(k - 1)];
            const SheetBest& before = bests[static_cast<std::size_t>(k - 2)];
            labels.push_back({best.x - kLabelShift, best.y + kMiddleTimeBelow, best.timeText});
            labels.push_back({best.x - kLabelShift, best.y + kMiddleDateBelow,
                              shortenedDate(best.dateText, before.dateText)});
            figures.labelledBests.push_back(k - 1);
        }
    }
    const QString before = c > 1 ? bests[static_cast<std::size_t>(c - 2)].dateText : QString();
    labels.push_back({last.x - kLabelShift, last.y + kLastTimeBelow, last.timeText});
    labels.push_back(
        {last.x - kLabelShift, last.y + kLastDateBelow, shortenedDate(last.dateText, before)});
    if (c > 1)
        figures.labelledBests.push_back(c - 1);
}

void addLines(SheetFigures& f) {
    auto& lines = f.lines;
    lines[1] = QStringLiteral("回数　　　　　　　") + rightNumber(f.count, 3) + u'回';
    lines[2] = QStringLiteral("タイム  　　 　    本人 / 塾全体");
    lines[3] = QStringLiteral("　　順位　　　　") + rightRank(f.timeRank, 5) + u'位';
    const QString best = f.bests.empty() ? QString() : f.bests.back().timeText;
    // 99999 stands for "no run at all": it is left blank like the student's best.
    const int schoolBest = f.schoolBest >= results::kNoBestTime ? 0 : f.schoolBest;
    lines[4] = QStringLiteral("　　最高　　　　") + (kSixBlanks + best).right(6) +
               QStringLiteral(" /") + rightNumber(schoolBest, 5) + u'秒';
    if (f.count != 0) {
        const double average = std::floor(static_cast<double>(f.timeSum) / f.count);
        const double schoolAverage =
            f.schoolCount != 0 ? static_cast<double>(f.schoolTimeSum) / f.schoolCount : 0.0;
        lines[5] = QStringLiteral("　　平均　　　　") + rightNumber(average, 5) + u'秒' +
                   QStringLiteral(" /") + rightNumber(schoolAverage, 5) + u'秒';
    }
    lines[6] = QStringLiteral("ポイント  　　　");
    lines[7] = QStringLiteral("　　順位　　　　") + rightRank(f.pointRank, 5) + u'位';
    lines[8] = QStringLiteral("　　獲得ポイント") + rightNumber(f.points, 5) + u'点';
    if (f.pointCount != 0)
        lines[9] = QStringLiteral("　　　　　　　　　　　　/") +
                   rightNumber(static_cast<double>(f.pointSum) / f.pointCount, 5) + u'点';
    lines[10] = QStringLiteral("　　　　　　　　　　　　 (塾平均)");
}

} // namespace

QString rosterListLine(const QString& gradeLabel, const QString& name, int number) {
    return gradeLabel + QStringLiteral(" /  ") + name + u'/' + QString::number(number);
}

int rosterListNumber(const QString& line) {
    const qsizetype slash = line.lastIndexOf(u'/');
    if (slash < 0)
        return -1;
    bool ok = false;
    const int number = line.mid(slash + 1).toInt(&ok);
    return ok && number >= 0 && number <= kMaxStudent ? number : -1;
}

Result<QStringList> reloadRosterList(SharedState& state, const QDate& today) {
    const QString path = state.folders.rootFolder + roster::kRosterFileName;
    Result<QList<Item>> items = readItemFile(path);
    if (!items)
        return items.error();
    Result<std::vector<roster::FileEntry>> entries = roster::parseRosterItems(items.value(), path);
    if (!entries)
        return entries.error();

    RosterState& roster = state.roster;
    roster.schoolYear = roster::schoolYearFor(today, state.settings.schoolYearStartMonth);
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(entries.value().size()));
    for (const roster::FileEntry& read : entries.value()) {
        const RosterEntry& entry = read.entry;
        const auto number = static_cast<std::size_t>(entry.number);
        roster.names[number] = entry.name;
        roster.birthYears[number] = entry.birthYear;
        const int grade = roster::gradeOf(roster.schoolYear, entry.birthYear);
        const QString label = roster::fullWidthGradeLabel(grade);
        if (!label.isEmpty())
            roster.gradeLabels[number] = label;
        if (read.status == kListedStatus)
            lines.append(rosterListLine(label, withoutSurroundingBlanks(entry.name), entry.number));
    }
    roster::ListOrder().sort(lines);
    return lines;
}

int axisMaximum(int slowest) {
    return std::min(10 * (std::max(slowest, 0) / 10 + 1), kSheetAxisCap);
}

std::vector<SheetBand> layOutBands(int sheetCount, double height) {
    std::vector<SheetBand> bands;
    bands.reserve(static_cast<std::size_t>(std::max(sheetCount, 0)));
    int page = 0;
    double top = 0.05 * height - 0.3 * height;
    for (int i = 0; i < sheetCount; ++i) {
        top += 0.3 * height;
        if (top > 0.9 * height) {
            ++page;
            top = 0.05 * height;
        }
        bands.push_back({page, top});
    }
    return bands;
}

QString rightNumber(double value, int width) {
    const long long rounded = std::isfinite(value) ? std::llround(value) : 0;
    return (kSixBlanks + (rounded == 0 ? QString() : QString::number(rounded))).right(width);
}

QString rightRank(const QString& rank, int width) {
    const QString trimmed = rank.trimmed();
    bool isNumber = false;
    const long long number = trimmed.toLongLong(&isNumber);
    return (kSixBlanks + (isNumber ? QString::number(number) : trimmed)).right(width);
}

SheetFigures sheetFigures(const SharedState& state, const RankingBuilder& rankings,
                          const SheetRequest& request) {
    SheetFigures f;
    const int level = request.level;
    const int student = request.student;
    f.level = level;
    if (level < 1 || level > kMaxLevel || student < 0 || student > kMaxStudent) {
        addLines(f);
        return f;
    }
    f.header = state.profile.programTitle + u' ' + state.profile.levelNames[level];
    f.studentName = withoutSurroundingBlanks(state.roster.names[static_cast<std::size_t>(student)]);

    // Points: the board's point ranking of the class; the school average is
    // taken over the students it lists with points so far.
    const RankingKind pointKind = request.pointRanking == RankingKind::PointsToday
                                      ? RankingKind::PointsToday
                                      : RankingKind::PointsSoFar;
    const RankedList points = rankings.build(level, pointKind, request.className);
    for (int listed : points.students) {
        const int total = state.aggregates.pointTotals.at(level, listed);
        if (total > 0) {
            ++f.pointCount;
            f.pointSum += total;
        }
    }
    if (const int line = points.lineOf(student); line >= 0) {
        f.pointRank = rankText(points.ranks[static_cast<std::size_t>(line)]);
        f.points = state.aggregates.pointTotals.at(level, student);
    }
    const RankedList times = rankings.build(level, RankingKind::BestTime, request.className);
    if (const int line = times.lineOf(student); line >= 0) {
        const int rank = times.ranks[static_cast<std::size_t>(line)];
        f.timeRank = rank == 0 ? kNoRunRank : rankText(rank);
    }

    const std::vector<LoadedRecord>& records = state.results.loadedRecords;
    const double from = request.today - kSheetPeriodDays;
    const int levelCount = std::clamp(state.profile.levelCount, 0, kMaxLevel);
    auto inPeriod = [&](const LoadedRecord& r) {
        return r.date > from && r.level >= 1 && r.level <= levelCount;
    };

    // First pass: the student's runs, for the axis and the average.
    for (const LoadedRecord& r : records) {
        if (!inPeriod(r) || r.student != student || r.level != level || !countable(r.seconds))
            continue;
        ++f.count;
        f.timeSum += r.seconds;
        f.slowest = std::max(f.slowest, r.seconds);
    }
    f.axisMaximum = axisMaximum(f.slowest);

    // Second pass, over the same records: the school's figures and the dots.
    const bool shown = roster::classPasses(
        request.className,
        roster::gradeOf(state.roster.schoolYear,
                        state.roster.birthYears[static_cast<std::size_t>(student)]));
    int runs = 0;
    for (const LoadedRecord& r : records) {
        if (!inPeriod(r))
            continue;
        f.lastPeriodDate = dateText(r.date);
        if (r.level != level)
            continue;
        if (countable(r.seconds)) {
            f.schoolTimeSum += r.seconds;
            ++f.schoolCount;
        }
        if (r.seconds >= 0)
            f.schoolBest = std::min(f.schoolBest, r.seconds);
        if (r.student != student || !countable(r.seconds))
            continue;
        ++runs;
        if (!shown || f.count == 0)
            continue;
        // A run slower than the axis maximum (which stops at 1000 seconds)
        // stands on the top of the graph.
        const double x = kAxisLeft + kAxisLength * runs / f.count;
        const double y =
            kAxisBottom - kAxisLength * std::min(r.seconds, f.axisMaximum) / f.axisMaximum;
        const bool best = f.bests.empty() || r.seconds < f.bests.back().seconds;
        f.dots.push_back({x, y, best});
        if (best)
            f.bests.push_back({x, y, r.seconds, timeText(r.seconds), dateText(r.date)});
    }

    addLabels(f);
    addLines(f);
    return f;
}

} // namespace kavoret::board
