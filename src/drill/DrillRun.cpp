#include "drill/DrillRun.h"

#include "criteria/CriteriaTable.h"
#include "drill/GiveUpLog.h"
#include "frame/Cues.h"
#include "frame/ResultTimes.h"
#include "frame/ResultsStore.h"
#include "frame/ScreenFlow.h"
#include "frame/SharedState.h"
#include "frame/Text.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/KeyboardState.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kavoret::drill {
namespace {

constexpr int kLevelsInTodayTotal = 15;

// Five times the minimum line. A minimum whose fivefold leaves the range of a
// time gives the largest time, not a wrapped (possibly negative) one.
int timeLimitFor(int minimumSeconds) {
    const std::int64_t limit = std::int64_t{kTimeLimitFactor} * minimumSeconds;
    return static_cast<int>(std::clamp<std::int64_t>(limit, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

} // namespace

DrillRun::DrillRun(SharedState& state, DrillServices services, DrillView& view)
    : state_(state), services_(services), view_(view) {}

void DrillRun::activate() {
    if (activated_ || left_)
        return;
    activated_ = true;
    if (refuseLevel())
        return;

    countGiveUps();
    display_.overlay = EndOverlay::None;
    初期設定();
    view_.refresh();

    if (services_.keyboard.capsLockOn())
        message(kCapsLockWarning);
    if (left_)
        return;

    レベル別設定();
    スタート();
    問題作成表示();
    // The first exercise has set the exercises of a run: show them from the start.
    レベル別設定();
    display_.inputShown = false;
    view_.refresh();
}

bool DrillRun::refuseLevel() {
    const int level = state_.run.currentLevel;
    const QString name = isLevel(level) && !state_.profile.levelNames[level].isEmpty()
                             ? state_.profile.levelNames[level]
                             : QString::number(level);
    QString why;
    if (!isLevel(level) || state_.profile.levelDefined[level] != 1 || !hasExerciseKind(level)) {
        why = QStringLiteral("レベル「%1」には問題がないので、始められません。").arg(name);
    } else if (!criteria::levelCanBeTimed(state_.criteria, level)) {
        why = QStringLiteral(
                  "レベル「%1」は「%2」の最低Timeが 0 なので、制限時間が決まらず始められません。"
                  "先生に知らせてください。")
                  .arg(name, criteria::kCriteriaFileName);
    }
    if (why.isEmpty())
        return false;
    services_.dialogs.message(why, state_.profile.programTitle, Dialogs::Icon::Warning);
    services_.flow.showBoard();
    view_.closeScreen();
    left_ = true;
    return true;
}

bool DrillRun::runOver() const {
    return state_.run.runEndReason == 1 || state_.run.runFinished == 1;
}

bool DrillRun::acceptsKeys() const {
    return started_ && !left_ && !runOver() && state_.run.finishing == 0;
}

int DrillRun::minutesSinceLogin() const {
    int seconds = services_.clock.secondsSinceMidnight() - state_.student.loginTime;
    if (seconds < 0)
        seconds += kSecondsPerDay; // logged in before midnight
    return seconds / 60;
}

bool DrillRun::countGiveUps() {
    const GiveUpLog log(state_.folders.dataFolder, state_.student.studentNo);
    Result<int> counted = log.countOn(services_.clock.today());
    if (!counted) {
        // Without the log the daily limit cannot be kept: no give-up this run.
        giveUpCount_ = kGiveUpsPerDay;
        display_.giveUpCaption = giveUpCaption(giveUpCount_);
        display_.giveUpEnabled = false;
        services_.dialogs.message(counted.error().message, state_.profile.programTitle,
                                  Dialogs::Icon::Error);
        return false;
    }
    giveUpCount_ = counted.value();
    display_.giveUpCaption = giveUpCaption(giveUpCount_);
    display_.giveUpEnabled = giveUpAllowed(giveUpCount_);
    return true;
}

void DrillRun::初期設定() {
    services_.flow.closeBoard();
    services_.flow.closeBackdrop();
    // A new run starts from a clean hand-over, however the last one ended.
    RunState& run = state_.run;
    run.runFinished = 0;
    run.finishing = 0;
    run.judgeResult = 0;
    run.questionsDone = 0;
    run.runEndReason = 0;

    const int level = run.currentLevel;
    const CriteriaState& criteria = state_.criteria;
    if (isLevel(level) && state_.profile.levelDefined[level] == 1) {
        run.timeLimitSeconds = timeLimitFor(criteria.minimumTimes[level]);
        display_.elapsedText = QStringLiteral("0");
        timeBarScale_ = run.timeLimitSeconds > 0 ? 1.0 / run.timeLimitSeconds : 0.0;
        display_.elapsedBar = 0;
        display_.targetMark = criteria.targetTimes[level] * timeBarScale_;
        display_.minimumMark = criteria.minimumTimes[level] * timeBarScale_;
    }

    const QString& title = state_.profile.programTitle;
    display_.title = title;
    display_.titlePointSize = title.size() > 9 ? 14.0 : 16.8;
    display_.studentName = withoutSurroundingBlanks(state_.student.studentName);
    display_.levelName = isLevel(level) ? state_.profile.levelNames[level] : QString();
    display_.schoolName = state_.settings.schoolName;
    display_.minutesSinceLogin = minutesSinceLogin();

    const int student = state_.student.studentNo;
    double total = 0;
    double thisLevel = 0;
    if (LevelStudentTable<float>::inRange(level, student)) {
        const LevelStudentTable<float>& counts = state_.aggregates.todayRunCounts;
        for (int l = 1; l <= kLevelsInTodayTotal; ++l)
            total += counts.at(l, student);
        thisLevel = counts.at(level, student);
    }
    run.todayRunTotal = static_cast<int>(total);
    display_.todayRunNumber = run.todayRunTotal + 1;
    display_.levelRunNumber = static_cast<int>(thisLevel) + 1;
}

void DrillRun::レベル別設定() {
    display_.exercisesLeft = QString::number(state_.run.questionsPerRun - state_.run.questionsDone);
}

void DrillRun::スタート() {
    state_.run.runStartTimer = services_.clock.secondsSinceMidnight();
    state_.run.elapsedSeconds = 0;
    startMs_ = services_.clock.monotonicMs();
    display_.clockRunning = true;
    started_ = true;
}

void DrillRun::問題作成表示() {
    if (runOver())
        return;
    newExercise();
}

void DrillRun::newExercise() {
    const int level = state_.run.currentLevel;
    QString line;
    display_.hint = hintFor(level);
    if (hasExerciseKind(level)) {
        line = makeExercise(level, services_.random);
        state_.run.questionsPerRun = kQuestionsPerRun;
    }
    view_.clearPictures();
    exercise_.reset(line);
    display_.inputShown = false;
    redraw();
}

void DrillRun::redraw() {
    view_.redraw();
    view_.refresh();
    if (exercise_.targetText.isEmpty() || !exercise_.complete())
        return;
    view_.processEvents();
    if (left_)
        return;
    state_.run.judgeResult = 1;
    判定後処理();
}

void DrillRun::key(QChar character) {
    if (!acceptsKeys())
        return;
    ExerciseState& e = exercise_;
    if (e.errorState == 1) {
        if (character == u' ')
            resume();
        return;
    }
    // Keys that arrive while a finished line is being handled have nothing to match.
    if (e.complete())
        return;
    if (e.cursorPos <= 0)
        e.cursorPos = 1;
    e.typedText += character;

    const qsizetype at = e.cursorPos - 1;
    const QChar expected = at < e.targetText.size() ? e.targetText[at] : QChar();
    const bool right =
        !expected.isNull() && (character == expected || (expected == u'_' && character == u' '));
    if (right) {
        e.correctCount = e.cursorPos;
        ++e.cursorPos;
    } else {
        e.errorState = 1;
        e.errorPos = e.cursorPos;
        display_.inputShown = true;
        display_.spacePromptShown = true;
        view_.refresh();
        view_.processEvents();
        if (left_)
            return;
        services_.cues.play(kCue間違い音1);
        if (left_)
            return;
    }
    redraw();
}

void DrillRun::resume() {
    ExerciseState& e = exercise_;
    display_.spacePromptShown = false;
    view_.clearPictures();
    e.errorState = 0;
    e.cursorPos = std::max(1, e.cursorPos - 3);
    e.correctCount = std::max(0, e.cursorPos - 1);
    e.errorPos = 0;
    e.typedText = e.targetText.left(e.correctCount);
    display_.inputShown = false;
    redraw();
}

void DrillRun::判定後処理() {
    RunState& run = state_.run;
    if (runOver() || run.judgeResult != 1)
        return;
    run.judgeResult = 0;
    services_.cues.play(kCue正解音2);
    if (left_)
        return;
    ++run.questionsDone;
    レベル別設定();
    if (run.questionsDone < run.questionsPerRun) {
        newExercise();
        return;
    }
    display_.clockRunning = false;
    run.runFinished = 1;
    view_.refresh();
    drillEnd();
}

void DrillRun::tick() {
    if (!display_.clockRunning || left_)
        return;
    RunState& run = state_.run;
    const std::int64_t ms = std::max<std::int64_t>(0, services_.clock.monotonicMs() - startMs_);
    run.elapsedSeconds = static_cast<int>((ms + 500) / 1000);
    const int level = run.currentLevel;
    if (isLevel(level) && state_.profile.levelDefined[level] == 1)
        display_.elapsedText = QString::number(run.elapsedSeconds);
    if (run.elapsedSeconds < run.timeLimitSeconds) {
        display_.elapsedBar = run.elapsedSeconds * timeBarScale_;
    } else {
        display_.elapsedBar = 1.0;
        if (run.finishing == 0 && run.runFinished == 0) {
            run.runEndReason = 1;
            display_.clockRunning = false;
            view_.refresh();
            drillEnd();
            return;
        }
    }
    view_.refresh();
}

void DrillRun::minuteTick() {
    if (left_)
        return;
    display_.minutesSinceLogin = minutesSinceLogin();
    view_.refresh();
}

void DrillRun::drillEnd() {
    RunState& run = state_.run;
    view_.processEvents();
    if (left_ || run.finishing == 1)
        return;
    run.finishing = 1;
    display_.overlay = run.runEndReason == 1 ? EndOverlay::TimeUp : EndOverlay::Recording;
    display_.giveUpEnabled = false;
    view_.refresh();
    view_.processEvents();
    if (left_)
        return;

    const int level = run.currentLevel;
    if (!isLevel(level) || state_.profile.levelDefined[level] != 1)
        return;
    display_.clockRunning = false;
    run.resultTime = run.runEndReason == 0 ? run.elapsedSeconds : kTimedOut;
    view_.refresh();
    services_.results.Seisekikiroku(level);
    if (left_)
        return; // the results store has ended the program
    services_.flow.showBackdrop();
    view_.processEvents();
    view_.waitOneSecond();
    view_.closeScreen();
    left_ = true;
    services_.flow.showFinish();
}

void DrillRun::giveUp() {
    if (!started_ || left_ || runOver() || state_.run.finishing == 1)
        return;
    if (!countGiveUps()) {
        view_.refresh();
        return;
    }
    view_.refresh();
    if (!giveUpAllowed(giveUpCount_)) {
        message(QStringLiteral("本日%1回ギブアップしたので、もうギブアップできません")
                    .arg(giveUpCount_));
        return;
    }
    message(
        QStringLiteral("ギブアップできるのはあと%1回です").arg(kGiveUpsPerDay - giveUpCount_ - 1));
    // The clock runs on behind the message: a run that ended meanwhile is not given up.
    if (left_ || runOver() || state_.run.finishing == 1)
        return;
    const GiveUpLog log(state_.folders.dataFolder, state_.student.studentNo);
    if (Status logged = log.append(services_.clock.today()); !logged) {
        services_.dialogs.message(logged.error().message, state_.profile.programTitle,
                                  Dialogs::Icon::Error);
        return;
    }
    display_.clockRunning = false;
    view_.refresh();
    services_.flow.showBoard();
    view_.closeScreen();
    left_ = true;
}

void DrillRun::leave() {
    left_ = true;
    display_.clockRunning = false;
}

void DrillRun::message(const QString& text) {
    services_.dialogs.message(text, state_.profile.programTitle, Dialogs::Icon::None);
}

} // namespace kavoret::drill
