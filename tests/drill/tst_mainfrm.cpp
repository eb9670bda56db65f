// moc cannot read the Japanese names of the cue numbers, and needs none of this.
#ifndef Q_MOC_RUN
#include "FakeClock.h"
#include "FakeKeyboardState.h"
#include "RecordingCues.h"
#include "RecordingDialogs.h"
#include "RecordingResultsStore.h"
#include "RecordingScreenFlow.h"
#include "ScriptedRandom.h"
#include "drill/DrillPicture.h"
#include "drill/GiveUpLog.h"
#include "drill/MainFrm.h"
#include "frame/ProgramProfile.h"
#include "frame/SharedState.h"
#endif

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace kavoret;

namespace {

// The drill screen with a logged-in student and fakes around it.
struct Screen {
    std::unique_ptr<SharedState> state = std::make_unique<SharedState>();
    QTemporaryDir dir;
    test::FakeClock clock{QDate(2026, 12, 11), QTime(10, 0)};
    test::ScriptedRandom random{{0.5}};
    test::RecordingCues cues;
    test::RecordingDialogs dialogs;
    test::RecordingScreenFlow flow;
    test::RecordingResultsStore results;
    test::FakeKeyboardState keyboard;
    std::unique_ptr<MainFrm> frm;

    explicit Screen(int level) {
        progselbas::applyIdentity(state->profile);
        progselbas::applyLevels(state->profile);
        for (int l = 1; l <= 4; ++l) {
            state->criteria.targetTimes[l] = 30;
            state->criteria.minimumTimes[l] = 60;
        }
        state->folders.dataFolder = dir.path() + u'/';
        state->settings.schoolName = QStringLiteral("かえで塾");
        state->student.studentNo = 12;
        state->student.studentName = QStringLiteral("佐藤 花子   ");
        state->student.loginTime = 9 * 3600 + 30 * 60;
        state->aggregates.todayRunCounts.at(level, 12) = 2;
        state->aggregates.todayRunCounts.at(level == 1 ? 2 : 1, 12) = 1;
        state->run.currentLevel = level;
    }

    // Shows the screen and lets its activation run.
    void open() {
        frm = std::make_unique<MainFrm>(
            *state, drill::DrillServices{clock, random, cues, dialogs, flow, results, keyboard});
        frm->show();
        QTRY_VERIFY(frm->run().started() || frm->run().left());
        if (frm->run().started())
            QVERIFY(QTest::qWaitForWindowExposed(frm.get()));
    }

    template <typename T> T* child(const QString& name) const {
        T* found = frm->findChild<T*>(name);
        if (!found)
            qWarning("no control %s", qPrintable(name));
        return found;
    }
    QString text(const QString& name) const { return child<QLabel>(name)->text(); }
    bool shown(const QString& name) const { return child<QWidget>(name)->isVisible(); }
    DrillPicture* picture(const QString& name) const { return child<DrillPicture>(name); }

    void tick(std::int64_t ms) {
        clock.advanceMs(ms);
        frm->sTimer1_Timer();
    }
};

// What the student types for a line: "_" is the space bar.
QString keysFor(QString line) {
    return line.replace(u'_', u' ');
}

// Saves a picture of the screen when a folder for them is given.
void screenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("KAVORET_SCREENSHOTS");
    if (!folder.isEmpty())
        widget.grab().save(folder + u'/' + name + QStringLiteral(".png"));
}

} // namespace

class tst_MainFrm : public QObject {
    Q_OBJECT
private slots:
    void wholeRunOfEveryLevel_data();
    void wholeRunOfEveryLevel();
    void timeLimitShowsTimeUp();
    void giveUpButtonLeavesForTheBoard();
    void capsLockWarning();
    void levelWithoutMinimumLineDoesNotStart();
};

void tst_MainFrm::wholeRunOfEveryLevel_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("levelName");
    QTest::addColumn<QString>("hint");
    QTest::newRow("abc") << 1 << "abc" << drill::kCapitalsHint;
    QTest::newRow("ABC") << 2 << "ABC" << drill::kCapitalsHint;
    QTest::newRow("Abc") << 3 << "Abc" << drill::kCapitalsHint;
    QTest::newRow("word") << 4 << "word" << drill::kWordsHint;
}

void tst_MainFrm::wholeRunOfEveryLevel() {
    QFETCH(int, level);
    QFETCH(QString, levelName);
    QFETCH(QString, hint);
    Screen s(level);
    s.open();
    MainFrm& frm = *s.frm;
    QVERIFY(frm.run().started());

    QCOMPARE(s.text("sLabel2"), QStringLiteral("Kavoret"));
    QCOMPARE(s.text("sLabel7"), QStringLiteral("佐藤 花子"));
    QCOMPARE(s.text("sLabel8"), levelName);
    QCOMPARE(s.text("sLabel14"), QStringLiteral("かえで塾"));
    QCOMPARE(s.text("sLabel13"), QStringLiteral("30"));
    QCOMPARE(s.text("sLabel12"), QStringLiteral("4"));
    QCOMPARE(s.text("sLabel11"), QStringLiteral("3"));
    QCOMPARE(s.text("sLabel9"), QStringLiteral("3"));
    QCOMPARE(s.text("sLabel10"), QStringLiteral("0"));
    QCOMPARE(s.text("Label2_0"), hint);
    QCOMPARE(s.child<QPushButton>("Command5")->text(), QStringLiteral("ギブアップ（後5回）"));
    QVERIFY(s.child<QPushButton>("Command5")->isEnabled());
    QVERIFY(!s.shown("Picture12"));
    QVERIFY(!s.shown("Label2_1"));
    QVERIFY(!s.shown("Label1"));
    QVERIFY(!s.shown("sPicture2"));
    // Keys reach the judging untouched: no input method on the drill screen.
    QVERIFY(!frm.testAttribute(Qt::WA_InputMethodEnabled));
    QCOMPARE(frm.focusPolicy(), Qt::StrongFocus);

    DrillPicture* exercise = s.picture("Picture1");
    DrillPicture* input = s.picture("Picture12");
    const QColor red(255, 0, 0), blue(0, 0, 255), yellow(255, 255, 0);
    int seconds = 0;
    for (int number = 1; number <= 3; ++number) {
        const QString line = exercise->shownText();
        QCOMPARE(line, frm.run().exercise().targetText);
        QVERIFY(line.size() >= 26);
        QCOMPARE(exercise->inkOf(exercise->cells()[0]), yellow);
        if (number == 1) {
            // Three right, then a wrong key: the fourth character turns red.
            QTest::keyClicks(&frm, keysFor(line.left(3)));
            QCOMPARE(exercise->inkOf(exercise->cells()[2]), blue);
            QTest::keyClick(&frm, '9');
            QVERIFY(s.shown("Label1"));
            QCOMPARE(s.text("Label1"), QStringLiteral("スペースを押しなさい"));
            QVERIFY(s.shown("Picture12"));
            QVERIFY(s.shown("Label2_1"));
            QCOMPARE(s.text("Label2_1"), QStringLiteral("あなたの入力"));
            QCOMPARE(input->shownText(), line.left(3) + u'9');
            QCOMPARE(exercise->inkOf(exercise->cells()[3]), red);
            QCOMPARE(input->inkOf(input->cells()[3]), red);
            QCOMPARE(input->inkOf(input->cells()[0]), blue);
            QCOMPARE(s.cues.played, QStringList{"cue:3"});
            QApplication::processEvents();
            screenshot(frm, QStringLiteral("drill-level%1-wrong-key").arg(level));

            // Keys other than the space are ignored; the space goes back to the start.
            QTest::keyClicks(&frm, QStringLiteral("zq"));
            QCOMPARE(frm.run().exercise().typedText, keysFor(line.left(3)) + u'9');
            QTest::keyClick(&frm, Qt::Key_Space);
            QVERIFY(!s.shown("Label1"));
            QVERIFY(!s.shown("Picture12"));
            QCOMPARE(frm.run().exercise().cursorPos, 1);
            QCOMPARE(exercise->inkOf(exercise->cells()[0]), yellow);
        }
        s.tick(15'300);
        seconds = (number * 15'300 + 500) / 1000;
        QCOMPARE(s.text("sLabel10"), QString::number(seconds));
        if (number == 1) {
            QCOMPARE(s.child<QFrame>("sShape2")->width(), 960 * 15 / 300);
            QCOMPARE(s.child<QFrame>("sShape3")->width(), 960 * 30 / 300);
            QCOMPARE(s.child<QFrame>("sShape4")->width(), 960 * 60 / 300);
        }
        if (number == 3)
            screenshot(frm, QStringLiteral("drill-level%1-last-line").arg(level));
        QTest::keyClicks(&frm, keysFor(line));
        if (number < 3) {
            QCOMPARE(s.text("sLabel9"), QString::number(3 - number));
            QCOMPARE(input->shownText(), QString()); // a fresh line, nothing typed
        }
    }

    // The third line ends the run: recorded, backdrop, the screen closes, finish.
    QCOMPARE(s.text("sLabel9"), QStringLiteral("0"));
    QVERIFY(s.child<QLabel>("lblsss1")->isVisibleTo(s.child<QWidget>("sPicture2")));
    QCOMPARE(s.text("lblsss1"), QStringLiteral("成績記録中"));
    QVERIFY(!s.child<QLabel>("lblsss2")->isVisibleTo(s.child<QWidget>("sPicture2")));
    QVERIFY(!frm.isVisible());
    QCOMPARE(s.results.recordedLevels, QList<int>{level});
    QCOMPARE(s.state->run.resultTime, seconds);
    QCOMPARE(s.state->run.runEndReason, 0);
    QCOMPARE(s.flow.calls,
             (QStringList{"closeBoard", "closeBackdrop", "showBackdrop", "showFinish"}));
    QCOMPARE(s.cues.played, (QStringList{"cue:3", "cue:2", "cue:2", "cue:2"}));
}

void tst_MainFrm::timeLimitShowsTimeUp() {
    Screen s(1);
    s.open();
    QTest::keyClicks(s.frm.get(), QStringLiteral("abcdef"));
    s.tick(299'000);
    QVERIFY(!s.shown("sPicture2"));
    s.flow.calls.clear();
    // Stop at the overlay: the backdrop is the last thing before the wait.
    bool overlayShown = false;
    s.results.onRecord = [&](int) {
        overlayShown = s.shown("sPicture2") && s.shown("lblsss2") && !s.shown("lblsss1");
        screenshot(*s.frm, QStringLiteral("drill-time-up"));
    };
    s.tick(1'000);
    QVERIFY(overlayShown);
    QCOMPARE(s.text("lblsss2"), QStringLiteral("時間切れ"));
    QCOMPARE(s.text("sLabel10"), QStringLiteral("300"));
    QCOMPARE(s.child<QFrame>("sShape2")->width(), s.child<QFrame>("sShape5")->width());
    QCOMPARE(s.state->run.resultTime, 99999);
    QCOMPARE(s.state->run.runEndReason, 1);
    QCOMPARE(s.flow.calls, (QStringList{"showBackdrop", "showFinish"}));
    QVERIFY(!s.frm->isVisible());
}

void tst_MainFrm::giveUpButtonLeavesForTheBoard() {
    Screen s(2);
    s.open();
    s.flow.calls.clear();
    QTest::mouseClick(s.child<QPushButton>("Command5"), Qt::LeftButton);
    QCOMPARE(s.dialogs.messages.size(), 1);
    QCOMPARE(s.dialogs.messages[0].text, QStringLiteral("ギブアップできるのはあと4回です"));
    QCOMPARE(s.flow.calls, QStringList{"showBoard"});
    QVERIFY(!s.frm->isVisible());
    QFile log(drill::GiveUpLog(s.state->folders.dataFolder, 12).path());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), QByteArray("#2026-12-11#\r\n"));
    QVERIFY(s.results.recordedLevels.isEmpty());
}

void tst_MainFrm::capsLockWarning() {
    Screen s(1);
    s.keyboard.setCapsLock(true);
    s.open();
    QCOMPARE(s.dialogs.messages.size(), 1);
    QCOMPARE(s.dialogs.messages[0].text, QStringLiteral("注意！！CapsLockが ONです"));
    QCOMPARE(s.dialogs.messages[0].title, QStringLiteral("Kavoret"));
    QVERIFY(s.frm->run().started());
}

void tst_MainFrm::levelWithoutMinimumLineDoesNotStart() {
    Screen s(3);
    s.state->criteria.minimumTimes[3] = 0;
    s.open();
    QVERIFY(!s.frm->run().started());
    QCOMPARE(s.dialogs.messages.size(), 1);
    QVERIFY(s.dialogs.messages[0].text.contains(QStringLiteral("最低Time")));
    QCOMPARE(s.flow.calls, QStringList{"showBoard"});
    QTRY_VERIFY(!s.frm->isVisible());
}

QTEST_MAIN(tst_MainFrm)
#include "tst_mainfrm.moc"
