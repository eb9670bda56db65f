// A whole run through the real screens: the drill screen records into the real
// results file, the finish screen aggregates it and talks to the ranking server.
// moc cannot read the Japanese names of the cue numbers, and needs none of this.
#ifndef Q_MOC_RUN
#include "FakeClock.h"
#include "FakeKeyboardState.h"
#include "FakePageReader.h"
#include "FakeSoundOutput.h"
#include "FakeWebViews.h"
#include "FamilyFixture.h"
#include "LoopbackRankingServer.h"
#include "RecordingDialogs.h"
#include "RecordingRequestSender.h"
#include "ScriptedRandom.h"
#include "criteria/CriteriaTable.h"
#include "drill/DrillPicture.h"
#include "drill/MainFrm.h"
#include "finish/FrmSyuuryou.h"
#include "frame/FolderSetup.h"
#include "frame/ProgramProfile.h"
#include "frame/ScreenFlow.h"
#include "frame/SharedState.h"
#include "platform/CurlPageReader.h"
#include "platform/QtRequestSender.h"
#include "results/ResultRecord.h"
#include "results/ResultsFile.h"
#include "results/ResultsFileStore.h"
#include "roster/ProgramInfo.h"
#include "sound/CuePlayer.h"
#include "sound/CueTable.h"
#endif

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace kavoret;
using test::LoopbackRankingServer;

namespace {

constexpr int kStudent = 12;
constexpr int kLevel = 1;
const QString kPath = QStringLiteral("/benkyouRanking/");

// Returns at once: nothing else holds the results file in these tests.
class ImmediateWait final : public results::EventWait {
public:
    void waitProcessingEvents(int) override {}
};

// The family, the real results store, cue player and screens, and a screen flow
// that makes the drill and finish screens as the program does and records
// every hand-over.
class RunLoop final : public ScreenFlow {
public:
    RunLoop(PageReader& reader, RequestSender& sender, const QString& rankingServer)
        : reader_(reader), sender_(sender) {
        family.writeStandardFiles();
        if (!rankingServer.isEmpty())
            family.writeText(kRankingServerFileName, u'"' + rankingServer + QStringLiteral("\"\n"));
        QString cueTable;
        for (int cue = 1; cue <= kCueCount; ++cue)
            cueTable +=
                QStringLiteral("\"%1\",\"cue%2\",\"*\"\n").arg(sound::cueName(cue)).arg(cue);
        family.writeText(kSoundFolderName + u'/' + sound::kCueTableFileName, cueTable);
    }
    ~RunLoop() override {
        delete finish.data();
        delete drill.data();
    }

    // The folder setup with the real loaders, then a login of student 12 as
    // the name selection makes it.
    bool setUpAndLogIn() {
        FolderSetupLoaders loaders;
        loaders.criteria = criteria::loadCriteriaFromDataFolder;
        loaders.cueTable = sound::loadCueTable;
        if (Status set = setUpFolders(*state, family.programFolder(), loaders); !set) {
            qWarning("%s", qPrintable(set.error().message));
            return false;
        }
        test::FakePageReader noProgramInfo; // the defaults of every level
        roster::readProgramInfo(*state, noProgramInfo);
        state->roster.names[kStudent] = QStringLiteral("佐藤 花子").leftJustified(20);
        state->roster.birthYears[kStudent] = 2014;
        state->roster.gradeLabels[kStudent] = QStringLiteral("小5");
        StudentState& student = state->student;
        student.loginTime = clock.secondsSinceMidnight();
        student.studentNo = kStudent;
        student.studentName = state->roster.names[kStudent];
        student.studentGradeLabel = state->roster.gradeLabels[kStudent];
        progselbas::applyLevels(state->profile);
        store.回数求();
        state->run.currentLevel = kLevel;
        return true;
    }

    void showNameSelection() override { calls.append(QStringLiteral("showNameSelection")); }
    void showBoard() override { calls.append(QStringLiteral("showBoard")); }
    void closeBoard() override { calls.append(QStringLiteral("closeBoard")); }
    void startDrillRun() override {
        calls.append(QStringLiteral("startDrillRun"));
        RunState& run = state->run;
        run.runFinished = 0;
        run.finishing = 0;
        run.questionsDone = 0;
        run.runEndReason = 0;
        delete drill.data();
        drill = new MainFrm(*state, {clock, random, cues, dialogs, *this, store, keyboard});
        drill->show();
    }
    void showFinish() override {
        calls.append(QStringLiteral("showFinish"));
        // What the record left for the finish screen, before it judges the run.
        personalBestAtFinish = state->results.newPersonalBest;
        levelBestAtFinish = state->results.newLevelBest;
        delete finish.data();
        finish = new FrmSyuuryou(*state, {{store, cues, sender_, reader_, clock}, webViews, *this});
        finish->show();
        finish->activateWindow();
    }
    void showBackdrop() override { calls.append(QStringLiteral("showBackdrop")); }
    void closeBackdrop() override { calls.append(QStringLiteral("closeBackdrop")); }
    void endProgram(int exitCode) override {
        calls.append(QStringLiteral("endProgram:%1").arg(exitCode));
    }

    // Types the three lines of a level-1 run, 15.3 seconds each, with one wrong
    // key and the space that takes the student back to the start of the line.
    void typeWholeRun() {
        QVERIFY(QTest::qWaitForWindowExposed(drill.data()));
        QTRY_VERIFY_WITH_TIMEOUT(drill->run().started(), 5000);
        const QLabel* linesLeft = drill->findChild<QLabel*>(QStringLiteral("sLabel9"));
        QVERIFY(linesLeft);
        QCOMPARE(linesLeft->text(), QStringLiteral("3"));
        for (int number = 1; number <= 3; ++number) {
            const QString line = drill->run().exercise().targetText;
            QVERIFY(line.size() >= 26);
            if (number == 1) {
                QTest::keyClicks(drill.data(), QString(line.left(2)).replace(u'_', u' '));
                QTest::keyClick(drill.data(), '9');
                QVERIFY(drill->findChild<QLabel*>(QStringLiteral("Label1"))->isVisible());
                QTest::keyClick(drill.data(), Qt::Key_Space);
                QCOMPARE(drill->run().exercise().cursorPos, 1);
            }
            clock.advanceMs(15'300);
            drill->sTimer1_Timer();
            QTest::keyClicks(drill.data(), QString(line).replace(u'_', u' '));
            QCOMPARE(linesLeft->text(), QString::number(3 - number));
        }
    }

    template <typename T> T* onFinish(const QString& name) const {
        return finish ? finish->findChild<T*>(name) : nullptr;
    }
    QString finishText(const QString& name) const {
        const QLabel* label = onFinish<QLabel>(name);
        return label ? label->text() : QStringLiteral("<no %1>").arg(name);
    }
    bool finishShows(const QString& name) const {
        const QWidget* widget = onFinish<QWidget>(name);
        return widget && widget->isVisibleTo(finish.data());
    }

    std::vector<results::ResultRecord> storedRecords() const {
        QFile file(state->folders.dataFolder + results::kResultsFileName);
        return file.open(QIODevice::ReadOnly) ? results::decodeRecords(file.readAll())
                                              : std::vector<results::ResultRecord>{};
    }

    void screenshot(const QString& name) const {
        const QString folder = qEnvironmentVariable("KAVORET_SCREENSHOT_DIR");
        if (!folder.isEmpty() && finish)
            finish->grab().save(folder + u'/' + name);
    }

    test::FamilyFixture family;
    std::unique_ptr<SharedState> state = std::make_unique<SharedState>();
    test::FakeClock clock{QDate(2026, 12, 11), QTime(10, 0)};
    test::ScriptedRandom random{{0.5}};
    test::RecordingDialogs dialogs;
    test::FakeSoundOutput soundOutput;
    test::FakeKeyboardState keyboard;
    test::FakeWebViewFactory webViews;
    ImmediateWait wait;
    results::ResultsFileStore store{*state, clock, dialogs, *this, wait};
    sound::CuePlayer cues{*state, soundOutput, random, dialogs, *this};
    QPointer<MainFrm> drill;
    QPointer<FrmSyuuryou> finish;
    QStringList calls;
    int personalBestAtFinish = -1;
    int levelBestAtFinish = -1;

private:
    PageReader& reader_;
    RequestSender& sender_;
};

LoopbackRankingServer::Page page(const QByteArray& body) {
    LoopbackRankingServer::Page answer;
    answer.body = body;
    return answer;
}

} // namespace

class tst_RunLoop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void runRecordedAndUploaded();
    void runWithoutRankingServer();

private:
    // The checks every run makes, whatever the server: the record, the bests,
    // the counts and the local lines of the finish screen.
    void checkRecordedRun(RunLoop& loop);
};

void tst_RunLoop::initTestCase() {
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(11);
    QApplication::setFont(font);
}

void tst_RunLoop::checkRecordedRun(RunLoop& loop) {
    QCOMPARE(loop.calls, (QStringList{"startDrillRun", "closeBoard", "closeBackdrop",
                                      "showBackdrop", "showFinish", "closeBackdrop"}));
    QVERIFY(loop.dialogs.messages.isEmpty());
    QVERIFY(!loop.drill->isVisible());
    QCOMPARE(loop.state->run.resultTime, 46); // 3 × 15.3 s
    QCOMPARE(loop.state->run.runEndReason, 0);

    // One 44-byte record in the data folder.
    const QString resultsPath = loop.family.dataFolder() + QStringLiteral("成績累積データ.dat");
    QCOMPARE(loop.state->folders.dataFolder + results::kResultsFileName, resultsPath);
    QCOMPARE(QFileInfo(resultsPath).size(), 44);
    const std::vector<results::ResultRecord> records = loop.storedRecords();
    QCOMPARE(records.size(), std::size_t(1));
    const results::ResultRecord& record = records[0];
    QCOMPARE(record.date, double(QDate(1899, 12, 30).daysTo(QDate(2026, 12, 11))));
    QVERIFY(record.clock > 10.0 / 24 && record.clock < 10.1 / 24);
    QCOMPARE(record.student, std::int16_t(kStudent));
    QCOMPARE(record.level, std::int16_t(kLevel));
    QCOMPARE(record.seconds, 46);
    QCOMPARE(QByteArray(record.school.data(), 5), QByteArray("1234 "));
    QCOMPARE(QByteArray(record.pointsText.data(), 5), QByteArray(" 0   "));

    // The first run is a best of the student and of the level.
    QCOMPARE(loop.personalBestAtFinish, 1);
    QCOMPARE(loop.levelBestAtFinish, 1);
    QCOMPARE(loop.state->results.bestTimes.at(kLevel, kStudent), 46);
    QCOMPARE(loop.state->results.levelBestTimes[kLevel], 46);

    // The finish screen's aggregation counts the run: 46 s against 50 is 10 points.
    QCOMPARE(loop.state->aggregates.validRunCounts.at(kLevel, kStudent), 1);
    QCOMPARE(loop.state->aggregates.todayRunCounts.at(kLevel, kStudent), 1.0f);
    QCOMPARE(loop.state->aggregates.pointTotals.at(kLevel, kStudent), 10);

    QVERIFY(loop.finish->isVisible());
    QCOMPARE(loop.finishText(QStringLiteral("Label15")), QStringLiteral("Kavoret"));
    QCOMPARE(loop.finishText(QStringLiteral("Label16")), QStringLiteral("abc"));
    QCOMPARE(loop.finishText(QStringLiteral("Label17")), QStringLiteral("佐藤 花子"));
    QVERIFY2(loop.finishText(QStringLiteral("Label18")).contains(QStringLiteral("46秒")),
             qPrintable(loop.finishText(QStringLiteral("Label18"))));
    QCOMPARE(loop.finishText(QStringLiteral("Label13")), QStringLiteral(" (このレベル　 1回目)"));
    QCOMPARE(loop.finishText(QStringLiteral("Label14")), QStringLiteral("（ 1回目)"));
    QVERIFY(loop.finishShows(QStringLiteral("Label20")));

    // Every cue went through the cue table to a file of the sound folder.
    const QString sounds = loop.family.root() + QStringLiteral("音フォルダ/");
    QVERIFY(loop.soundOutput.played.size() >= 5);
    QCOMPARE(loop.soundOutput.played.mid(0, 4),
             (QStringList{sounds + "cue3.wav", sounds + "cue2.wav", sounds + "cue2.wav",
                          sounds + "cue2.wav"}));
    for (const QString& played : loop.soundOutput.played)
        QVERIFY2(played.startsWith(sounds), qPrintable(played));
}

void tst_RunLoop::runRecordedAndUploaded() {
    LoopbackRankingServer server;
    QVERIFY(server.isRunning());
    const QString totals = kPath + QStringLiteral("BenkyouKakoHyoujiVB.php");
    server.setPage(totals, QStringLiteral("athome=0"),
                   page("<p>***2026-12-10<</p><p>***2026-12-10<***4<***40<***160<</p>"));
    server.setPage(totals, QStringLiteral("athome="), page("<td>###120</td><td>###7</td>"));
    server.setPage(totals, QStringLiteral("athome=1"), page("<td>###30</td><td>###2</td>"));
    server.setPage(kPath + QStringLiteral("BenkyouHyouji0022.php"),
                   QStringLiteral("<tr><td>>1234_12<</td><td>*3*</td></tr>"));

    CurlPageReader reader;
    QtRequestSender sender;
    RunLoop loop(reader, sender, server.address());
    QVERIFY(loop.setUpAndLogIn());
    QCOMPARE(loop.state->settings.rankingServer, server.address());
    QCOMPARE(loop.state->folders.dataFolder, loop.family.dataFolder());

    loop.startDrillRun();
    loop.typeWholeRun();
    if (QTest::currentTestFailed())
        return;
    QVERIFY(loop.finish);
    QVERIFY(QTest::qWaitForWindowExposed(loop.finish.data()));
    checkRecordedRun(loop);
    QVERIFY(!loop.finishShows(QStringLiteral("Label22")));
    QVERIFY(!loop.finishShows(QStringLiteral("Command4")));

    const QString upload = kPath + QStringLiteral("BenkyouTuikaKousin.php");
    QTRY_COMPARE(server.requestsFor(upload).size(), 1);
    QCOMPARE(server.requestsFor(upload)[0].rawQuery,
             QStringLiteral("JukuNo=1234&JukuName=%E3%83%86%E3%82%B9%E3%83%88%E5%A1%BE"
                            "&SeitoNo=12&SeitoUmare=2014"
                            "&SeitoName=%E4%BD%90%E8%97%A4%20%E8%8A%B1%E5%AD%90&SoftGroup=1"
                            "&SoftNo=801&SoftName=Kavoret"
                            "&Level=1&JisshiDate1=2026-12-11&JisshiTime1=10%3A00%3A45"
                            "&point=10&kaisuu=1&athome=0&KirokuTime=46"));

    // About a second later the online totals of the server.
    QTRY_VERIFY_WITH_TIMEOUT(loop.finishShows(QStringLiteral("Label22")), 5000);
    QVERIFY(!loop.finishShows(QStringLiteral("Command4")));
    QCOMPARE(loop.finishText(QStringLiteral("Label22")),
             QStringLiteral("120point(塾) +30point(家)=150point"));
    QCOMPARE(loop.finishText(QStringLiteral("Label24")), QStringLiteral("7回(塾) +2回(家)=9回"));
    QCOMPARE(loop.finishText(QStringLiteral("Label25")), QStringLiteral("世界3位"));
    QVERIFY(loop.finishShows(QStringLiteral("Label23")));

    // Half a second after that the way on.
    QTRY_VERIFY_WITH_TIMEOUT(loop.finishShows(QStringLiteral("Command4")), 5000);
    QCOMPARE(loop.onFinish<QPushButton>(QStringLiteral("Command4"))->text(),
             QStringLiteral("メニューへ"));
    QVERIFY(loop.finishShows(QStringLiteral("Command5")));
    QApplication::processEvents();
    loop.screenshot(QStringLiteral("runloop-finish-online.png"));

    QTest::mouseClick(loop.onFinish<QPushButton>(QStringLiteral("Command4")), Qt::LeftButton);
    QCOMPARE(loop.calls.count(QStringLiteral("showBoard")), 1);
    QVERIFY(!loop.finish->isVisible());
}

void tst_RunLoop::runWithoutRankingServer() {
    test::FakePageReader reader;
    test::RecordingRequestSender sender;
    RunLoop loop(reader, sender, QString());
    QVERIFY(loop.setUpAndLogIn());
    QVERIFY(loop.state->settings.rankingServer.isEmpty());

    loop.startDrillRun();
    loop.typeWholeRun();
    if (QTest::currentTestFailed())
        return;
    QVERIFY(loop.finish);
    QVERIFY(QTest::qWaitForWindowExposed(loop.finish.data()));
    checkRecordedRun(loop);

    // The online lines come with the first tick, all zero, nothing asked.
    QTRY_VERIFY_WITH_TIMEOUT(loop.finishShows(QStringLiteral("Label22")), 5000);
    QCOMPARE(loop.finishText(QStringLiteral("Label22")),
             QStringLiteral("0point(塾) +0point(家)=0point"));
    QCOMPARE(loop.finishText(QStringLiteral("Label24")), QStringLiteral("0回(塾) +0回(家)=0回"));
    QCOMPARE(loop.finishText(QStringLiteral("Label25")), QStringLiteral("世界0位"));
    QVERIFY(!loop.finishShows(QStringLiteral("Label23")));
    QTRY_VERIFY_WITH_TIMEOUT(loop.finishShows(QStringLiteral("Command4")), 5000);
    QApplication::processEvents();
    loop.screenshot(QStringLiteral("runloop-finish-offline.png"));
    QVERIFY(reader.reads.isEmpty());
    QVERIFY(sender.sent.isEmpty());
}

QTEST_MAIN(tst_RunLoop)
#include "tst_runloop.moc"
