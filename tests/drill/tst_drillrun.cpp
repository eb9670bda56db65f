// moc cannot read the Japanese names of the cue numbers, and needs none of this.
#ifndef Q_MOC_RUN
#include "FakeClock.h"
#include "FakeKeyboardState.h"
#include "RecordingCues.h"
#include "RecordingDialogs.h"
#include "RecordingResultsStore.h"
#include "RecordingScreenFlow.h"
#include "ScriptedRandom.h"
#include "drill/DrillRun.h"
#include "drill/GiveUpLog.h"
#include "frame/Cp932.h"
#include "frame/ProgramProfile.h"
#include "frame/SharedState.h"
#endif

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <limits>
#include <memory>

using namespace kavoret;
using namespace kavoret::drill;

namespace {

// Records what the run asks of the screen; closing the screen leaves the run,
// as the real screen does.
class RecordingView final : public DrillView {
public:
    void processEvents() override {
        ++processed;
        if (onProcessEvents)
            onProcessEvents(processed);
    }
    void refresh() override { ++refreshes; }
    void redraw() override { ++redraws; }
    void clearPictures() override { ++clears; }
    void waitOneSecond() override { ++waits; }
    void closeScreen() override {
        ++closes;
        if (run)
            run->leave();
    }

    DrillRun* run = nullptr;
    int processed = 0;
    int refreshes = 0;
    int redraws = 0;
    int clears = 0;
    int waits = 0;
    int closes = 0;
    std::function<void(int)> onProcessEvents;
};

// One drill screen's world: a logged-in student, the criteria of four levels,
// a data folder for the give-up log, and fakes for everything outside.
struct Drill {
    std::unique_ptr<SharedState> state = std::make_unique<SharedState>();
    QTemporaryDir dir;
    test::FakeClock clock{QDate(2026, 12, 11), QTime(10, 0)};
    test::ScriptedRandom random{{0.5}};
    test::RecordingCues cues;
    test::RecordingDialogs dialogs;
    test::RecordingScreenFlow flow;
    test::RecordingResultsStore results;
    test::FakeKeyboardState keyboard;
    RecordingView view;
    std::unique_ptr<DrillRun> run;

    explicit Drill(int level = 1) {
        progselbas::applyIdentity(state->profile);
        progselbas::applyLevels(state->profile);
        const int targets[] = {30, 35, 40, 45};
        const int minimums[] = {60, 70, 80, 90};
        for (int l = 1; l <= 4; ++l) {
            state->criteria.targetTimes[l] = targets[l - 1];
            state->criteria.minimumTimes[l] = minimums[l - 1];
        }
        state->folders.dataFolder = dir.path() + u'/';
        state->settings.schoolName = QStringLiteral("かえで塾 駅前教室");
        state->student.studentNo = 7;
        state->student.studentName = QStringLiteral("  山田 太郎          ");
        state->student.loginTime = 9 * 3600 + 30 * 60;
        state->run.currentLevel = level;
    }

    DrillRun& start() {
        run = std::make_unique<DrillRun>(
            *state, DrillServices{clock, random, cues, dialogs, flow, results, keyboard}, view);
        view.run = run.get();
        run->activate();
        return *run;
    }
    // Types text, "_" as the space bar.
    void type(const QString& text) {
        for (QChar c : text)
            run->key(c == u'_' ? QChar(u' ') : c);
    }
    void typeExercise() { type(run->exercise().targetText); }
    void tickAfter(std::int64_t ms) {
        clock.advanceMs(ms);
        run->tick();
    }
    QString giveUpLogPath() const { return GiveUpLog(state->folders.dataFolder, 7).path(); }
    void writeGiveUps(const QStringList& days) const {
        QByteArray bytes;
        for (const QString& day : days)
            bytes += "#" + day.toLatin1() + "#\r\n";
        QFile file(giveUpLogPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList messages() const {
        QStringList texts;
        for (const auto& shown : dialogs.messages)
            texts.append(shown.text);
        return texts;
    }
};

} // namespace

class tst_DrillRun : public QObject {
    Q_OBJECT
private slots:
    void setsUpTheScreen();
    void warnsAboutCapsLockBeforeTheClockStarts();
    void wrongKeyResumesThreeBack_data();
    void wrongKeyResumesThreeBack();
    void judgesEveryCharacter_data();
    void judgesEveryCharacter();
    void spaceAndUnderscoreBothRightForUnderscore_data();
    void spaceAndUnderscoreBothRightForUnderscore();
    void ignoresKeysWhileWaitingForSpace();
    void thirdExerciseEndsTheRunWithTheLastTick();
    void timeLimitEndsTheRun();
    void hugeMinimumLineKeepsAPositiveTimeLimit_data();
    void hugeMinimumLineKeepsAPositiveTimeLimit();
    void drillEndRunsOnceWhenLastExerciseMeetsTimeLimit_data();
    void drillEndRunsOnceWhenLastExerciseMeetsTimeLimit();
    void elapsedTimeRunsAcrossMidnight();
    void refusesLevelsThatCannotRun_data();
    void refusesLevelsThatCannotRun();
    void giveUp_data();
    void giveUp();
    void giveUpNotTakenWhenRunEndsBehindItsMessage();
    void unreadableGiveUpLogAllowsNoGiveUp();
};

void tst_DrillRun::setsUpTheScreen() {
    Drill drill(2);
    auto& counts = drill.state->aggregates.todayRunCounts;
    counts.at(1, 7) = 2;
    counts.at(2, 7) = 3;
    counts.at(15, 7) = 1;
    counts.at(16, 7) = 10; // only levels 1 to 15 make today's total
    counts.at(2, 8) = 4;   // another student
    drill.clock.set(QDate(2026, 12, 11), QTime(10, 0, 59));
    DrillRun& run = drill.start();

    const DrillDisplay& d = run.display();
    QCOMPARE(d.title, QStringLiteral("Kavoret"));
    QCOMPARE(d.titlePointSize, 16.8);
    QCOMPARE(d.studentName, QStringLiteral("山田 太郎"));
    QCOMPARE(d.levelName, QStringLiteral("ABC"));
    QCOMPARE(d.schoolName, QStringLiteral("かえで塾 駅前教室"));
    QCOMPARE(d.minutesSinceLogin, 30);
    QCOMPARE(drill.state->run.todayRunTotal, 6);
    QCOMPARE(d.todayRunNumber, 7);
    QCOMPARE(d.levelRunNumber, 4);
    QCOMPARE(d.exercisesLeft, QStringLiteral("3"));
    QCOMPARE(d.elapsedText, QStringLiteral("0"));
    QCOMPARE(drill.state->run.timeLimitSeconds, 350);
    QCOMPARE(d.elapsedBar, 0.0);
    QCOMPARE(d.targetMark, 35.0 / 350);
    QCOMPARE(d.minimumMark, 0.2);
    QCOMPARE(d.hint, kCapitalsHint);
    QVERIFY(!d.inputShown);
    QVERIFY(!d.spacePromptShown);
    QCOMPARE(d.overlay, EndOverlay::None);
    QVERIFY(d.clockRunning);
    QCOMPARE(d.giveUpCaption, QStringLiteral("ギブアップ（後5回）"));
    QVERIFY(d.giveUpEnabled);
    QCOMPARE(run.exercise().targetText, kUpperAlphabet);
    QCOMPARE(drill.state->run.questionsPerRun, 3);
    QCOMPARE(drill.state->run.runStartTimer, 10 * 3600 + 59);
    QCOMPARE(drill.flow.calls, (QStringList{"closeBoard", "closeBackdrop"}));
    QVERIFY(drill.dialogs.messages.isEmpty());
    QVERIFY(QFile::exists(drill.giveUpLogPath())); // created on the way in

    // Minutes since login come from the minutes timer, even past midnight.
    drill.state->student.loginTime = 23 * 3600 + 50 * 60;
    drill.clock.set(QDate(2026, 12, 12), QTime(0, 5));
    run.minuteTick();
    QCOMPARE(run.display().minutesSinceLogin, 15);

    // A title longer than nine characters is set smaller.
    Drill longTitle;
    longTitle.state->profile.programTitle = QStringLiteral("0123456789");
    longTitle.start();
    QCOMPARE(longTitle.run->display().titlePointSize, 14.0);
}

void tst_DrillRun::warnsAboutCapsLockBeforeTheClockStarts() {
    Drill drill;
    drill.keyboard.setCapsLock(true);
    bool startedWhenShown = true;
    drill.dialogs.onMessage = [&](const test::RecordingDialogs::Shown&) {
        startedWhenShown = drill.run->started();
    };
    drill.start();
    QCOMPARE(drill.dialogs.messages.size(), 1);
    QCOMPARE(drill.dialogs.messages[0].text, QStringLiteral("注意！！CapsLockが ONです"));
    QCOMPARE(drill.dialogs.messages[0].title, QStringLiteral("Kavoret"));
    QVERIFY(!startedWhenShown);
    QVERIFY(drill.run->started());

    Drill off;
    off.start();
    QVERIFY(off.dialogs.messages.isEmpty());
}

void tst_DrillRun::wrongKeyResumesThreeBack_data() {
    QTest::addColumn<QString>("typedFirst");
    QTest::addColumn<int>("resumedAt");
    QTest::newRow("position 1") << "" << 1;
    QTest::newRow("position 2") << "a" << 1;
    QTest::newRow("position 4") << "abc" << 1;
    QTest::newRow("position 5") << "abcd" << 2;
    QTest::newRow("position 10") << "abcdefghi" << 7;
    QTest::newRow("position 26") << "abcdefghijklmnopqrstuvwxy" << 23;
}

void tst_DrillRun::wrongKeyResumesThreeBack() {
    QFETCH(QString, typedFirst);
    QFETCH(int, resumedAt);
    Drill drill;
    DrillRun& run = drill.start();
    drill.type(typedFirst);
    drill.type(QStringLiteral("!"));

    const int position = static_cast<int>(typedFirst.size()) + 1;
    QCOMPARE(run.exercise().errorState, 1);
    QCOMPARE(run.exercise().errorPos, position);
    QCOMPARE(run.exercise().cursorPos, position);
    QCOMPARE(run.exercise().correctCount, position - 1);
    QCOMPARE(run.exercise().typedText, typedFirst + u'!');
    QVERIFY(run.display().inputShown);
    QVERIFY(run.display().spacePromptShown);
    QCOMPARE(drill.cues.played, QStringList{"cue:3"});

    drill.type(QStringLiteral(" "));
    QCOMPARE(run.exercise().errorState, 0);
    QCOMPARE(run.exercise().errorPos, 0);
    QCOMPARE(run.exercise().cursorPos, resumedAt);
    QCOMPARE(run.exercise().correctCount, resumedAt - 1);
    QCOMPARE(run.exercise().typedText, kLowerAlphabet.left(resumedAt - 1));
    QVERIFY(!run.display().inputShown);
    QVERIFY(!run.display().spacePromptShown);

    // Typing on from there finishes the line.
    drill.type(kLowerAlphabet.mid(resumedAt - 1));
    QCOMPARE(drill.state->run.questionsDone, 1);
    QCOMPARE(drill.cues.played, (QStringList{"cue:3", "cue:2"}));
}

void tst_DrillRun::judgesEveryCharacter_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("typedFirst");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("right");
    QTest::newRow("capital for a lower-case letter") << 1 << ""
                                                     << "A" << false;
    QTest::newRow("lower-case for a capital") << 2 << "AB"
                                              << "c" << false;
    QTest::newRow("the letter itself") << 1 << "abc"
                                       << "d" << true;
    QTest::newRow("Enter") << 1 << "abc"
                           << "\r" << false;
    QTest::newRow("Backspace") << 1 << "abc"
                               << "\b" << false;
    QTest::newRow("Escape") << 1 << "abc"
                            << "\x1b" << false;
    QTest::newRow("Tab") << 1 << "abc"
                         << "\t" << false;
    QTest::newRow("space for a letter") << 1 << "abc"
                                        << " " << false;
    QTest::newRow("underscore for a letter") << 2 << ""
                                             << "_" << false;
    QTest::newRow("full-width letter") << 1 << ""
                                       << "ａ" << false;
    QTest::newRow("kana") << 1 << ""
                          << "あ" << false;
}

void tst_DrillRun::judgesEveryCharacter() {
    QFETCH(int, level);
    QFETCH(QString, typedFirst);
    QFETCH(QString, key);
    QFETCH(bool, right);
    Drill drill(level);
    DrillRun& run = drill.start();
    drill.type(typedFirst);
    run.key(key[0]);
    const int position = static_cast<int>(typedFirst.size()) + 1;
    QCOMPARE(run.exercise().typedText, typedFirst + key);
    QCOMPARE(run.exercise().errorState, right ? 0 : 1);
    QCOMPARE(run.exercise().correctCount, right ? position : position - 1);
    QCOMPARE(run.exercise().errorPos, right ? 0 : position);
    QCOMPARE(drill.cues.played, right ? QStringList() : QStringList{"cue:3"});
}

void tst_DrillRun::spaceAndUnderscoreBothRightForUnderscore_data() {
    QTest::addColumn<QChar>("key");
    QTest::newRow("space") << QChar(u' ');
    QTest::newRow("underscore") << QChar(u'_');
}

void tst_DrillRun::spaceAndUnderscoreBothRightForUnderscore() {
    QFETCH(QChar, key);
    Drill drill(4);
    drill.random.script({8.5 / 11}); // "car" every time
    DrillRun& run = drill.start();
    QCOMPARE(run.exercise().targetText, QStringLiteral("car_car_car_car_car_car_car_car"));
    QCOMPARE(run.display().hint, kWordsHint);
    drill.type(QStringLiteral("car"));
    run.key(key);
    QCOMPARE(run.exercise().errorState, 0);
    QCOMPARE(run.exercise().correctCount, 4);
    QCOMPARE(run.exercise().typedText, QStringLiteral("car") + key);
    QVERIFY(drill.cues.played.isEmpty());
}

void tst_DrillRun::ignoresKeysWhileWaitingForSpace() {
    Drill drill;
    DrillRun& run = drill.start();
    drill.type(QStringLiteral("abcx"));
    const ExerciseState before = run.exercise();
    for (QChar c : QStringLiteral("d_\r\b\x1bxyzA"))
        run.key(c);
    QCOMPARE(run.exercise().typedText, before.typedText);
    QCOMPARE(run.exercise().cursorPos, before.cursorPos);
    QCOMPARE(run.exercise().errorState, 1);
    QCOMPARE(drill.cues.played, QStringList{"cue:3"});
    QVERIFY(run.display().spacePromptShown);
    run.key(u' ');
    QCOMPARE(run.exercise().errorState, 0);
    QCOMPARE(run.exercise().cursorPos, 1);
}

void tst_DrillRun::thirdExerciseEndsTheRunWithTheLastTick() {
    Drill drill;
    DrillRun& run = drill.start();
    QStringList left;
    for (int exercise = 1; exercise <= 3; ++exercise) {
        drill.tickAfter(20'400);
        QCOMPARE(run.display().elapsedText, QString::number(exercise == 1   ? 20
                                                            : exercise == 2 ? 41
                                                                            : 61));
        drill.typeExercise();
        left.append(run.display().exercisesLeft);
    }
    QCOMPARE(left, (QStringList{"2", "1", "0"}));
    // 61.2 s at the last tick; the line was finished later but before the next tick.
    QCOMPARE(drill.state->run.elapsedSeconds, 61);
    QCOMPARE(drill.state->run.resultTime, 61);
    QCOMPARE(drill.state->run.runEndReason, 0);
    QCOMPARE(drill.state->run.runFinished, 1);
    QCOMPARE(drill.state->run.finishing, 1);
    QCOMPARE(drill.state->run.questionsDone, 3);
    QCOMPARE(drill.results.recordedLevels, QList<int>{1});
    QCOMPARE(drill.cues.played, (QStringList{"cue:2", "cue:2", "cue:2"}));
    QCOMPARE(run.display().overlay, EndOverlay::Recording);
    QVERIFY(!run.display().clockRunning);
    QCOMPARE(drill.flow.calls,
             (QStringList{"closeBoard", "closeBackdrop", "showBackdrop", "showFinish"}));
    QCOMPARE(drill.view.waits, 1);
    QCOMPARE(drill.view.closes, 1);

    // Nothing more happens on the closed screen.
    drill.tickAfter(400'000);
    drill.typeExercise();
    QCOMPARE(drill.results.recordedLevels, QList<int>{1});
    QCOMPARE(drill.state->run.resultTime, 61);
}

void tst_DrillRun::timeLimitEndsTheRun() {
    Drill drill;
    DrillRun& run = drill.start();
    QCOMPARE(drill.state->run.timeLimitSeconds, 300);
    drill.typeExercise();
    drill.tickAfter(150'000);
    QCOMPARE(run.display().elapsedBar, 0.5);
    drill.tickAfter(149'000);
    QCOMPARE(run.display().elapsedBar, 299.0 / 300);
    QCOMPARE(run.display().overlay, EndOverlay::None);
    QVERIFY(drill.results.recordedLevels.isEmpty());

    drill.tickAfter(1'000);
    QCOMPARE(run.display().elapsedText, QStringLiteral("300"));
    QCOMPARE(run.display().elapsedBar, 1.0);
    QCOMPARE(run.display().overlay, EndOverlay::TimeUp);
    QCOMPARE(drill.state->run.runEndReason, 1);
    QCOMPARE(drill.state->run.resultTime, 99999);
    QCOMPARE(drill.state->run.questionsDone, 1);
    QCOMPARE(drill.results.recordedLevels, QList<int>{1});
    QCOMPARE(drill.flow.count("showFinish"), 1);
}

void tst_DrillRun::hugeMinimumLineKeepsAPositiveTimeLimit_data() {
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("limit");
    QTest::newRow("fivefold just fits") << 400'000'000 << 2'000'000'000;
    // Five times these does not fit the 32 bits of a time: the limit stops at the top.
    QTest::newRow("fivefold past 32 bits") << 500'000'000 << std::numeric_limits<int>::max();
    QTest::newRow("largest minimum")
        << std::numeric_limits<int>::max() << std::numeric_limits<int>::max();
}

void tst_DrillRun::hugeMinimumLineKeepsAPositiveTimeLimit() {
    QFETCH(int, minimum);
    QFETCH(int, limit);
    Drill drill;
    drill.state->criteria.minimumTimes[1] = minimum;
    DrillRun& run = drill.start();
    QCOMPARE(drill.state->run.timeLimitSeconds, limit);
    QVERIFY(run.display().minimumMark > 0 && run.display().minimumMark <= 1);
    drill.tickAfter(600'000);
    QCOMPARE(drill.state->run.elapsedSeconds, 600);
    QCOMPARE(run.display().overlay, EndOverlay::None);
    QCOMPARE(drill.state->run.runEndReason, 0);
    QVERIFY(drill.results.recordedLevels.isEmpty());
}

void tst_DrillRun::drillEndRunsOnceWhenLastExerciseMeetsTimeLimit_data() {
    QTest::addColumn<QString>("meeting");
    QTest::addColumn<int>("resultTime");
    QTest::addColumn<int>("runEndReason");
    // The clock tick comes in while the finished line is being handled: time is up first.
    QTest::newRow("tick while the last line completes") << "tick" << 99999 << 1;
    // The last key comes in while the time-up end is under way: it counts for nothing.
    QTest::newRow("last key while the time runs out") << "key" << 99999 << 1;
    // The last line completes first; a later tick finds the run done.
    QTest::newRow("tick after the last line") << "tick after" << 290 << 0;
}

void tst_DrillRun::drillEndRunsOnceWhenLastExerciseMeetsTimeLimit() {
    QFETCH(QString, meeting);
    QFETCH(int, resultTime);
    QFETCH(int, runEndReason);
    Drill drill;
    DrillRun& run = drill.start();
    drill.typeExercise();
    drill.typeExercise();
    drill.tickAfter(290'000);
    const QString last = run.exercise().targetText;
    drill.clock.advanceMs(10'000); // the limit has passed, its tick not yet come

    if (meeting == QLatin1String("tick")) {
        drill.type(last.left(25));
        drill.view.onProcessEvents = [&](int) {
            drill.view.onProcessEvents = nullptr;
            run.tick();
        };
        drill.type(last.right(1));
    } else if (meeting == QLatin1String("key")) {
        drill.type(last.left(25));
        drill.view.onProcessEvents = [&](int) {
            drill.view.onProcessEvents = nullptr;
            drill.type(last.right(1));
        };
        run.tick();
    } else {
        drill.type(last);
        run.tick();
    }
    QCOMPARE(drill.results.recordedLevels, QList<int>{1});
    QCOMPARE(drill.flow.count("showFinish"), 1);
    QCOMPARE(drill.flow.count("showBackdrop"), 1);
    QCOMPARE(drill.view.closes, 1);
    QCOMPARE(drill.state->run.resultTime, resultTime);
    QCOMPARE(drill.state->run.runEndReason, runEndReason);
    QCOMPARE(drill.state->run.finishing, 1);
}

void tst_DrillRun::elapsedTimeRunsAcrossMidnight() {
    Drill drill;
    drill.clock.set(QDate(2026, 12, 11), QTime(23, 59, 50));
    DrillRun& run = drill.start();
    drill.tickAfter(30'000); // 00:00:20 on the next day
    QCOMPARE(drill.state->run.elapsedSeconds, 30);
    QCOMPARE(run.display().elapsedBar, 0.1);
}

void tst_DrillRun::refusesLevelsThatCannotRun_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<QString>("names");
    QTest::newRow("minimum line 0") << 1 << 0 << "最低Time";
    QTest::newRow("minimum line below 0") << 3 << -5 << "最低Time";
    QTest::newRow("level without exercises") << 5 << 60 << "5ﾚﾍﾞﾙ";
}

void tst_DrillRun::refusesLevelsThatCannotRun() {
    QFETCH(int, level);
    QFETCH(int, minimum);
    QFETCH(QString, names);
    Drill drill(level);
    drill.state->criteria.minimumTimes[level] = minimum;
    DrillRun& run = drill.start();
    QCOMPARE(drill.dialogs.messages.size(), 1);
    QVERIFY2(drill.dialogs.messages[0].text.contains(names),
             qPrintable(drill.dialogs.messages[0].text));
    QCOMPARE(drill.flow.calls, QStringList{"showBoard"});
    QCOMPARE(drill.view.closes, 1);
    QVERIFY(!run.started());
    drill.type(QStringLiteral("abc"));
    drill.tickAfter(1'000'000);
    QVERIFY(drill.cues.played.isEmpty());
    QVERIFY(drill.results.recordedLevels.isEmpty());
    QCOMPARE(drill.flow.calls, QStringList{"showBoard"});
}

void tst_DrillRun::giveUp_data() {
    QTest::addColumn<QStringList>("logged");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("leaves");
    const QString today = QStringLiteral("2026-12-11");
    const QString yesterday = QStringLiteral("2026-12-10");
    QTest::newRow("first of the day") << QStringList{} << "ギブアップ（後5回）"
                                      << "ギブアップできるのはあと4回です" << true;
    QTest::newRow("fifth of the day")
        << QStringList{today, today, today, today} << "ギブアップ（後1回）"
        << "ギブアップできるのはあと0回です" << true;
    QTest::newRow("sixth attempt of the day")
        << QStringList{today, today, today, today, today} << "ギブアップ"
        << "本日5回ギブアップしたので、もうギブアップできません" << false;
    QTest::newRow("yesterday's do not count")
        << QStringList{yesterday, yesterday, yesterday, yesterday, yesterday, today}
        << "ギブアップ（後4回）"
        << "ギブアップできるのはあと3回です" << true;
}

void tst_DrillRun::giveUp() {
    QFETCH(QStringList, logged);
    QFETCH(QString, caption);
    QFETCH(QString, message);
    QFETCH(bool, leaves);
    Drill drill;
    drill.writeGiveUps(logged);
    DrillRun& run = drill.start();
    QCOMPARE(run.display().giveUpCaption, caption);
    QCOMPARE(run.display().giveUpEnabled, leaves);
    drill.flow.calls.clear();

    run.giveUp();
    QCOMPARE(drill.messages(), QStringList{message});
    QCOMPARE(drill.dialogs.messages[0].title, QStringLiteral("Kavoret"));
    QFile log(drill.giveUpLogPath());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QByteArray expected;
    for (const QString& day : logged)
        expected += "#" + day.toLatin1() + "#\r\n";
    if (leaves)
        expected += "#2026-12-11#\r\n";
    QCOMPARE(log.readAll(), expected);
    QCOMPARE(drill.flow.calls, leaves ? QStringList{"showBoard"} : QStringList{});
    QCOMPARE(drill.view.closes, leaves ? 1 : 0);
    QVERIFY(drill.results.recordedLevels.isEmpty());
    QCOMPARE(drill.flow.count("showFinish"), 0);

    // A run left behind takes no more keys or ticks; one that stays goes on.
    drill.typeExercise();
    QCOMPARE(drill.state->run.questionsDone, leaves ? 0 : 1);
}

void tst_DrillRun::giveUpNotTakenWhenRunEndsBehindItsMessage() {
    Drill drill;
    DrillRun& run = drill.start();
    // The clock's timer runs while the message is up, and the time runs out.
    drill.dialogs.onMessage = [&](const test::RecordingDialogs::Shown&) {
        drill.tickAfter(300'000);
    };
    run.giveUp();
    QCOMPARE(drill.state->run.runEndReason, 1);
    QCOMPARE(drill.results.recordedLevels, QList<int>{1});
    QCOMPARE(drill.flow.count("showBoard"), 0);
    QCOMPARE(drill.flow.count("showFinish"), 1);
    QFile log(drill.giveUpLogPath());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.size(), 0);
}

void tst_DrillRun::unreadableGiveUpLogAllowsNoGiveUp() {
    Drill drill;
    QFile file(drill.giveUpLogPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#2026-12-11#\r\n\x81 \r\n");
    file.close();
    DrillRun& run = drill.start();
    QCOMPARE(drill.dialogs.messages.size(), 1);
    QVERIFY(drill.dialogs.messages[0].text.contains(drill.giveUpLogPath()));
    QCOMPARE(run.display().giveUpCaption, QStringLiteral("ギブアップ"));
    QVERIFY(!run.display().giveUpEnabled);
    // The run itself goes on.
    QVERIFY(run.started());
    drill.typeExercise();
    QCOMPARE(drill.state->run.questionsDone, 1);
}

QTEST_GUILESS_MAIN(tst_DrillRun)
#include "tst_drillrun.moc"
