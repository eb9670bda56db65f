#include "finish/FinishJudgement.h"

#include "frame/Cues.h"
#include "frame/ResultTimes.h"
#include "frame/ResultsStore.h"
#include "frame/Text.h"
#include "platform/Clock.h"
#include "platform/PageReader.h"
#include "platform/RequestSender.h"
#include "results/Points.h"

#include <cmath>

namespace kavoret::finish {

namespace {

template <typename T> double levelValue(const PerLevel<T>& values, int level) {
    if (!isLevelIndex(level))
        return 0;
    return static_cast<double>(values[static_cast<std::size_t>(level)]);
}

// A number written with one leading blank when it is not negative.
QString withSign(double value) {
    const QString digits = ranking::decimalText(value);
    return value < 0 ? digits : u' ' + digits;
}

bool clearedLevel(const SharedState& state, int level, int student) {
    return figure(state.aggregates.judgeRunCounts, level, student) >=
               levelValue(state.criteria.clearCounts, level) &&
           figure(state.aggregates.judgePointTotals, level, student) >=
               levelValue(state.criteria.clearPoints, level);
}

} // namespace

Judgement judgeRun(const SharedState& state) {
    const int level = state.run.currentLevel;
    const int student = state.student.studentNo;
    const int time = state.run.resultTime;
    const auto& aggregates = state.aggregates;

    Judgement judgement;
    judgement.points = results::runPoints(time, levelValue(state.server.referenceTimes, level));

    if (!isValidTime(time)) {
        judgement.pointsLine = QStringLiteral("次は最後までがんばろう！");
    } else {
        const double total = figure(aggregates.pointTotals, level, student);
        const double clear = levelValue(state.server.levelClearPoints, level);
        const QString earned =
            QStringLiteral("獲得ポイント：") + QString::number(judgement.points) + u'点';
        judgement.pointsLine =
            clear > total ? earned + QStringLiteral(" あと") + ranking::decimalText(clear - total) +
                                QStringLiteral("でクリア")
                          : earned + QStringLiteral(" 計：") + ranking::decimalText(total) +
                                QStringLiteral("=クリア!!");
    }

    if (isValidTime(time))
        judgement.resultLine = QStringLiteral("今の成績：") + withSign(time) +
                               QStringLiteral("秒  ") + QString::number(judgement.points) +
                               QStringLiteral("ﾎﾟｲﾝﾄ");
    else if (time <= kLastRealTime)
        judgement.resultLine = QStringLiteral("ギブアップ");
    else
        judgement.resultLine = QStringLiteral("記録なし");

    judgement.nameLine = withoutSurroundingBlanks(state.student.studentName);
    judgement.titleLine = state.profile.programTitle;
    if (isLevelIndex(level))
        judgement.levelLine = state.profile.levelNames[static_cast<std::size_t>(level)];

    judgement.levelCounter = QStringLiteral(" (このレベル　") +
                             withSign(figure(aggregates.todayRunCounts, level, student)) +
                             QStringLiteral("回目)");
    double dayRuns = 0;
    for (int other = 1; other <= kMaxLevel; ++other)
        dayRuns = std::nearbyint(dayRuns + figure(aggregates.todayRunCounts, other, student));
    judgement.dayCounter = QStringLiteral("（") + withSign(dayRuns) + QStringLiteral("回目)");

    if (isValidTime(time)) {
        const int personal = state.results.newPersonalBest;
        const int levelBest = state.results.newLevelBest;
        if (levelBest == 1 && (personal == 1 || personal == 0)) {
            judgement.recordMessage = QStringLiteral("！！！最高新記録！！！");
            judgement.sounds.append(Sound{0, QStringLiteral("最高1")});
        } else if (personal == 1 && levelBest == 0) {
            judgement.recordMessage = QStringLiteral("新記録おめでとう");
            judgement.sounds.append(Sound{kCue自己最高音2, {}});
        } else if (personal == 0 && levelBest == 0 &&
                   time <= levelValue(state.criteria.minimumTimes, level)) {
            judgement.sounds.append(Sound{kCue不合格音1, {}});
        }
    }

    if (level == state.profile.levelCountAtLogin && clearedLevel(state, level, student)) {
        judgement.bannerShown = true;
        if (state.results.clearedBefore != 1)
            judgement.sounds.append(Sound{0, QStringLiteral("合格")});
    }
    return judgement;
}

OnlineLines onlineLines(const SharedState& state, const ranking::OnlineFigures& figures) {
    using ranking::decimalText;
    using ranking::numericValue;
    OnlineLines lines;
    lines.worldRankLine = QStringLiteral("世界") + decimalText(figures.worldRank) + u'位';
    const double points = numericValue(figures.school.points) + numericValue(figures.home.points);
    const double runs = numericValue(figures.school.runs) + numericValue(figures.home.runs);
    lines.pointsTotalLine = figures.school.points + QStringLiteral("point(塾) +") +
                            figures.home.points + QStringLiteral("point(家)=") +
                            decimalText(points) + QStringLiteral("point");
    lines.runsTotalLine = figures.school.runs + QStringLiteral("回(塾) +") + figures.home.runs +
                          QStringLiteral("回(家)=") + decimalText(runs) + u'回';
    lines.clearShown = points >= levelValue(state.server.levelClearPoints, state.run.currentLevel);
    return lines;
}

Advice adviceFor(const SharedState& state) {
    const int level = state.run.currentLevel;
    const int student = state.student.studentNo;
    const auto& criteria = state.criteria;
    const double stopCount = levelValue(criteria.stopCounts, level);
    const double stopPoints = levelValue(criteria.stopPoints, level);
    const bool overPractice =
        (stopCount != 0 && figure(state.aggregates.stopRunCounts, level, student) >= stopCount) ||
        (stopPoints != 0 && figure(state.aggregates.stopPointTotals, level, student) >= stopPoints);

    Advice advice;
    if (overPractice && clearedLevel(state, level, student)) {
        if (level != state.profile.levelCountAtLogin) {
            advice.line = Advice::Line::Show;
            advice.text = QStringLiteral("次のレベルへ進みましょう");
            advice.againShown = false;
        } else {
            advice.line = Advice::Line::Hide;
        }
    }
    return advice;
}

FinishSequence::FinishSequence(SharedState& state, Services services)
    : state_(state), services_(services) {}

void FinishSequence::send(const QString& address) {
    if (!address.isEmpty())
        services_.sender.send(address);
}

Judgement FinishSequence::judge() {
    services_.results.回数求();
    Judgement judgement = judgeRun(state_);
    send(ranking::uploadRequest(state_, state_.run.currentLevel, services_.clock.today(),
                                services_.clock.timeOfDay()));
    return judgement;
}

void FinishSequence::celebrate(const Judgement& judgement) {
    for (const Sound& sound : judgement.sounds) {
        if (sound.cue != 0)
            services_.cues.play(sound.cue);
        else
            services_.cues.playFixed(sound.fixed);
    }
    state_.results.newPersonalBest = 0;
    state_.results.newLevelBest = 0;
}

QString FinishSequence::rankingPageAddress() const {
    const QString address = ranking::rankingPageRequest(state_, state_.run.currentLevel);
    return address.isEmpty() ? ranking::offlineNoticeAddress() : address;
}

void FinishSequence::updateRecentDays() {
    const QString address = ranking::recentDaysRequest(state_, state_.run.currentLevel);
    if (address.isEmpty())
        return;
    const ranking::RecentDays recent = ranking::parseRecentDays(services_.reader.read(address));
    // Without the server's days (a failed read or a page without them) an update
    // would overwrite the stored days with empty ones.
    if (!recent.found)
        return;
    send(ranking::recentDaysUpdateRequest(state_, state_.run.currentLevel, recent,
                                          services_.clock.today()));
}

ranking::OnlineFigures FinishSequence::readFigures(int level) {
    return ranking::net読み込み(services_.reader, state_, level);
}

OnlineLines FinishSequence::applyOnlineFigures(const ranking::OnlineFigures& figures) {
    const int level = state_.run.currentLevel;
    const OnlineLines lines = onlineLines(state_, figures);
    if (lines.clearShown) {
        send(ranking::clearNotificationRequest(state_, level, ranking::Place::School));
        send(ranking::clearNotificationRequest(state_, level, ranking::Place::Home));
    }
    return lines;
}

QString FinishSequence::recentResultsAddress(ranking::Place place) const {
    const QString address = ranking::recentResultsRequest(state_, state_.run.currentLevel, place);
    return address.isEmpty() ? ranking::offlineNoticeAddress() : address;
}

} // namespace kavoret::finish
