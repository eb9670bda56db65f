#include "board/BoardColumn.h"

#include "ranking/PageParsers.h"

namespace kavoret::board {
namespace {

// The criteria file holds 9999 as clear points when a level has no point criterion.
constexpr int kNoPointCriterion = 9999;

QString rateText(float rate) {
    // Single precision as the criteria file stores it: 0.7 reads "0.7", not 0.699999988.
    return QString::number(static_cast<double>(rate), 'g', 7);
}

} // namespace

QString runMarks(int runs) {
    if (runs <= 0)
        return {};
    return QString(runs / 10, u'◎') + QString(runs % 10, u'○');
}

QString startCaption(int level) {
    return QStringLiteral("ｽﾀｰﾄ(&%1)").arg(level);
}

ColumnTexts columnTexts(const SharedState& state, int level, const ranking::OnlineFigures& server) {
    using ranking::decimalText;
    using ranking::numericValue;
    ColumnTexts texts;
    if (level < 1 || level > kMaxLevel)
        return texts;
    const int student = state.student.studentNo;
    const bool studentInRange = LevelStudentTable<int>::inRange(level, student);

    texts.levelNumber = QString::number(level);
    texts.levelName = state.profile.levelNames[level];
    texts.referenceLine = QStringLiteral("目標=%1秒/%2p")
                              .arg(decimalText(state.server.referenceTimes[level]),
                                   decimalText(state.server.levelClearPoints[level]));

    const CriteriaState& criteria = state.criteria;
    QString criteriaLine =
        QStringLiteral("　　目標=%1秒").arg(criteria.targetTimes[level]);
    if (criteria.clearPoints[level] != kNoPointCriterion)
        criteriaLine += QStringLiteral(" %1回/%2p(×%3)")
                            .arg(criteria.clearCounts[level])
                            .arg(criteria.clearPoints[level])
                            .arg(rateText(criteria.pointRates[level]));
    else
        criteriaLine += QStringLiteral(" --------");
    texts.criteriaLine = criteriaLine;

    const AggregateState& aggregates = state.aggregates;
    const int todayRuns =
        studentInRange ? static_cast<int>(aggregates.todayRunCounts.at(level, student)) : 0;
    const int todayPoints = studentInRange ? aggregates.todayPointTotals.at(level, student) : 0;
    const int judgeRuns = studentInRange ? aggregates.judgeRunCounts.at(level, student) : 0;
    texts.todayMarks = runMarks(todayRuns);
    texts.ranToday = todayRuns > 0;
    texts.judgeMarks = runMarks(judgeRuns);
    texts.ranInJudgePeriod = judgeRuns > 0;
    texts.todayLine = todayRuns > 0 ? QStringLiteral("%1回/%2p").arg(todayRuns).arg(todayPoints)
                                    : kNoRunToday;

    const double rank = server.worldRank;
    texts.worldRank =
        rank != 0 ? QStringLiteral("世界%1位").arg(decimalText(rank)) : kNoWorldRank;
    texts.worldRankHighlighted = rank >= 1 && rank <= 3;

    const double serverRuns = numericValue(server.school.runs) + numericValue(server.home.runs);
    const double serverPoints =
        numericValue(server.school.points) + numericValue(server.home.points);
    texts.hasValidRun = studentInRange && aggregates.validRunCounts.at(level, student) != 0;
    texts.serverLine = texts.hasValidRun ? QStringLiteral("%1回/%2p").arg(decimalText(serverRuns),
                                                                       decimalText(serverPoints))
                                         : kNoServerRun;
    texts.passed = state.server.levelClearPoints[level] <= serverPoints;
    return texts;
}

QString loadedStartCaption(int level, bool passed) {
    return passed ? startCaption(level) + QStringLiteral("　") + kPassedSuffix : startCaption(level);
}

QString activatedStartCaption(int level, const QString& caption, bool passed, bool unlocked) {
    if (unlocked)
        return kUnlockedCaption;
    if (caption == kUnlockedCaption)
        return passed ? startCaption(level) + kPassedSuffix : startCaption(level);
    if (passed && !caption.endsWith(kPassedSuffix))
        return caption + kPassedSuffix;
    return caption;
}

} // namespace kavoret::board
