#include "FakeClock.h"
#include "FamilyFixture.h"
#include "RecordingDialogs.h"
#include "RecordingScreenFlow.h"
#include "ScriptedRandom.h"
#include "criteria/CriteriaTable.h"
#include "frame/BASEFRM.h"
#include "frame/Firstfrm.h"
#include "frame/SharedState.h"
#include "frame/StartupChecks.h"
#include "frame/frmver.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace kavoret;

class tst_Startup : public QObject {
    Q_OBJECT
private slots:
    void splashShowsDateAndSeasonBeforeHandOver();
    void workAfterTheSplashIsPaintedRunsOnceBeforeTheHandOver();
    void workWaitsUntilTheSplashIsPainted();
    void handOverRunsSetupThenNameSelection();
    void failedSetupReportsAndEnds();
    void versionBox();
    void backdropFillsTheScreen();

private:
    static FolderSetupLoaders loaders() {
        FolderSetupLoaders l;
        l.criteria = criteria::loadCriteriaFromDataFolder;
        return l;
    }
};

void tst_Startup::splashShowsDateAndSeasonBeforeHandOver() {
    auto state = std::make_unique<SharedState>();
    test::FakeClock clock(QDate(2027, 2, 3), QTime(8, 30, 15));
    test::ScriptedRandom random;
    Firstfrm splash(*state, clock, random);
    bool visibleAtHandOver = false;
    int handOvers = 0;
    splash.setHandOver([&] {
        visibleAtHandOver = splash.isVisible();
        ++handOvers;
    });
    splash.load();

    QVERIFY(splash.isVisible());
    QCOMPARE(handOvers, 0); // the settings are read only after the splash is up
    auto* date = splash.findChild<QLabel*>(QStringLiteral("Label5"));
    QVERIFY(date);
    QCOMPARE(date->text(), QStringLiteral("令和9年 2月 03日（水）"));
    QCOMPARE(splash.findChild<QLabel*>(QStringLiteral("Label19"))->text(),
             QStringLiteral("Just a moment, please."));
    QCOMPARE(state->settings.seasonColour, (Rgb{255, 128, 0}));
    QCOMPARE(random.seeds, QList<unsigned>{8 * 3600 + 30 * 60 + 15});

    auto* timer = splash.findChild<QTimer*>(QStringLiteral("Timer1"));
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 100);
    QTRY_COMPARE_WITH_TIMEOUT(handOvers, 1, 5000);
    QVERIFY(visibleAtHandOver);
    QTest::qWait(250);
    QCOMPARE(handOvers, 1); // once

    splash.grab().save(QStringLiteral("/tmp/kavoret-splash.png"));
}

namespace {
// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
} // namespace

void tst_Startup::workAfterTheSplashIsPaintedRunsOnceBeforeTheHandOver() {
    auto state = std::make_unique<SharedState>();
    test::FakeClock clock(QDate(2027, 2, 3), QTime(8, 30, 15));
    test::ScriptedRandom random;
    Firstfrm splash(*state, clock, random);
    int handOvers = 0;
    splash.setHandOver([&] { ++handOvers; });
    int runs = 0;
    bool timerCounting = false;
    splash.setWhenShown([&] {
        ++runs;
        timerCounting = splash.findChild<QTimer*>(QStringLiteral("Timer1"))->isActive();
        QCOMPARE(handOvers, 0);
    });
    splash.load();
    QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 5000);
    QVERIFY(timerCounting); // the hand-over's 100 ms run meanwhile
    splash.repaint();
    QTRY_COMPARE_WITH_TIMEOUT(handOvers, 1, 5000);
    QCOMPARE(runs, 1); // once, however often the splash is painted
}

void tst_Startup::workWaitsUntilTheSplashIsPainted() {
    auto state = std::make_unique<SharedState>();
    test::FakeClock clock(QDate(2027, 2, 3), QTime(8, 30, 15));
    test::ScriptedRandom random;
    Firstfrm splash(*state, clock, random);
    PaintCounter counter;
    splash.installEventFilter(&counter);
    int runs = 0;
    int paintsBefore = 0;
    splash.setWhenShown([&] {
        ++runs;
        paintsBefore = counter.paints;
    });
    splash.setUpdatesEnabled(false); // shown, but not painted yet
    splash.load();
    QTest::qWait(50);
    QCOMPARE(runs, 0);
    splash.setUpdatesEnabled(true);
    QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 5000);
    QVERIFY(paintsBefore >= 1);
}

void tst_Startup::handOverRunsSetupThenNameSelection() {
    test::FamilyFixture family;
    family.writeStandardFiles();
    auto state = std::make_unique<SharedState>();
    test::RecordingDialogs dialogs;
    test::RecordingScreenFlow flow;
    handOverFromSplash(*state, family.programFolder(), loaders(), dialogs, flow);
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(flow.calls, QStringList{QStringLiteral("showNameSelection")});
    QCOMPARE(state->settings.schoolName, QStringLiteral("テスト塾"));
}

void tst_Startup::failedSetupReportsAndEnds() {
    test::FamilyFixture family;
    family.writeStandardFiles();
    family.remove(QStringLiteral("共通データ.txt"));
    auto state = std::make_unique<SharedState>();
    test::RecordingDialogs dialogs;
    test::RecordingScreenFlow flow;
    handOverFromSplash(*state, family.programFolder(), loaders(), dialogs, flow);
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages[0].text.contains(family.root() + QStringLiteral("共通データ.txt")));
    QCOMPARE(dialogs.messages[0].icon, Dialogs::Icon::Error);
    QCOMPARE(flow.calls, QStringList{QStringLiteral("endProgram:1")});
    QVERIFY(!family.exists(QStringLiteral("塾管理家庭用sw.txt")));
}

void tst_Startup::versionBox() {
    frmver box(QStringLiteral("Kavoret"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Kavoret"));
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("Label2"))->text(),
             QStringLiteral("Version1.0.56"));
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("Label4"))->text(), QStringLiteral("Morvenda"));
    QVERIFY(!box.findChild<QLabel*>(QStringLiteral("Label5"))->text().isEmpty());
    box.grab().save(QStringLiteral("/tmp/kavoret-version.png"));
    auto* ok = box.findChild<QPushButton*>(QStringLiteral("Command1"));
    QCOMPARE(ok->text(), QStringLiteral("O.K."));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!box.isVisible());
    // Enter presses O.K. as well.
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::keyClick(&box, Qt::Key_Return);
    QVERIFY(!box.isVisible());
}

void tst_Startup::backdropFillsTheScreen() {
    BASEFRM backdrop(QStringLiteral("Kavoret"));
    backdrop.show();
    QVERIFY(QTest::qWaitForWindowExposed(&backdrop));
    auto* picture = backdrop.findChild<QLabel*>(QStringLiteral("Picture1"));
    QVERIFY(picture);
    QCOMPARE(picture->geometry().center().x(), backdrop.rect().center().x());
    QCOMPARE(backdrop.findChild<QLabel*>(QStringLiteral("Label19"))->text(),
             QStringLiteral("Just a moment, please."));
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
