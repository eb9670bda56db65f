// The whole loop through the program's own screen flow, with fakes for the
// outside world: splash, name selection, login, results board, a run typed on
// the drill screen into the real results file, the finish screen talking to a
// ranking server, back to the board and back to the name selection.
// moc cannot read the Japanese names of the cue numbers, and needs none of this.
#ifndef Q_MOC_RUN
#include "FakeClock.h"
#include "FakeInstanceGuard.h"
#include "FakeKeyboardState.h"
#include "FakePageReader.h"
#include "FakeSoundOutput.h"
#include "FakeWebViews.h"
#include "FamilyFixture.h"
#include "PdfSheetPrinter.h"
#include "LoopbackRankingServer.h"
#include "RecordingDialogs.h"
#include "RecordingRequestSender.h"
#include "RecordingShell.h"
#include "ScriptedRandom.h"
#include "app/AppFlow.h"
#include "board/seisekitime1.h"
#include "drill/MainFrm.h"
#include "finish/FrmSyuuryou.h"
#include "frame/FolderSetup.h"
#include "frame/SharedState.h"
#include "platform/CurlPageReader.h"
#include "platform/QtRequestSender.h"
#include "results/EventWait.h"
#include "results/ResultRecord.h"
#include "results/ResultsFile.h"
#include "roster/Roster.h"
#include "roster/namesel.h"
#include "sound/CueTable.h"
#endif

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace kavoret;
using test::LoopbackRankingServer;

namespace {

constexpr int kStudent = 12;
const QString kPath = QStringLiteral("/benkyouRanking/");

// Returns at once: nothing else holds the results file in these tests.
class ImmediateWait final : public results::EventWait {
public:
    void waitProcessingEvents(int) override {}
};

// A family on disk and the program's own flow over fakes of the outside world;
// the page reader and request sender are the test's choice.
class Program {
public:
    Program(PageReader& reader, RequestSender& sender, const QString& rankingServer)
        : flow(*state,
               {clock, random, dialogs, instanceGuard, soundOutput, keyboard, reader, sender,
                webViews, shell, printer, wait},
               family.programFolder()) {
        family.writeStandardFiles();
        if (!rankingServer.isEmpty())
            family.writeText(kRankingServerFileName, u'"' + rankingServer + QStringLiteral("\"\n"));
        QString cueTable;
        for (int cue = 1; cue <= kCueCount; ++cue)
            cueTable +=
                QStringLiteral("\"%1\",\"cue%2\",\"*\"\n").arg(sound::cueName(cue)).arg(cue);
        family.writeText(kSoundFolderName + u'/' + sound::kCueTableFileName, cueTable);
        family.writeText(roster::kRosterFileName,
                         QStringLiteral("3,2017,0,0,\"伊藤 さくら\",0,\"\",\"\"\n"
                                        "12,2014,0,0,\"佐藤 花子\",0,\"\",\"\"\n"
                                        "90,1980,0,0,\"木村先生\",0,\"\",\"\"\n"));
    }

    template <typename T> static T* control(QWidget* screen, const QString& name) {
        return screen ? screen->findChild<T*>(name) : nullptr;
    }
    static QString text(QWidget* screen, const QString& name) {
        const QLabel* label = control<QLabel>(screen, name);
        return label ? label->text() : QStringLiteral("<no %1>").arg(name);
    }
    static bool shows(QWidget* screen, const QString& name) {
        const QWidget* widget = control<QWidget>(screen, name);
        return widget && widget->isVisibleTo(screen);
    }

    // From the start of the program to the name selection, then the login of
    // student 12 as a student does it: the row, then the login button.
    void startAndLogIn() {
        flow.start();
        QTRY_VERIFY_WITH_TIMEOUT(flow.nameSelection() && flow.nameSelection()->isVisible(), 5000);
        QVERIFY(dialogs.messages.isEmpty());
        chooseStudent();
        QTest::mouseClick(control<QPushButton>(flow.nameSelection(), QStringLiteral("Command14")),
                          Qt::LeftButton);
        QVERIFY(flow.board());
        QTRY_VERIFY(flow.board()->isVisible() && flow.board()->boardReady());
        // The board closes the name selection once it is up.
        QTRY_VERIFY(!flow.nameSelection());
    }

    void chooseStudent() {
        QListWidget* names = control<QListWidget>(flow.nameSelection(), QStringLiteral("List1"));
        QVERIFY(names);
        for (int row = 1; row < names->count(); ++row)
            if (names->item(row)->text().contains(QStringLiteral("佐藤"))) {
                names->setCurrentRow(row);
                return;
            }
        QFAIL("student 12 is not listed");
    }

    // Types the three lines of a level-1 run, 15.3 seconds each, with one wrong
    // key and the space that takes the student back to the start of the line.
    void typeWholeRun() {
        MainFrm* drill = flow.drill();
        QVERIFY(drill);
        QVERIFY(QTest::qWaitForWindowExposed(drill));
        QTRY_VERIFY_WITH_TIMEOUT(drill->run().started(), 5000);
        const QLabel* linesLeft = drill->findChild<QLabel*>(QStringLiteral("sLabel9"));
        QVERIFY(linesLeft);
        QCOMPARE(linesLeft->text(), QStringLiteral("3"));
        for (int number = 1; number <= 3; ++number) {
            const QString line = drill->run().exercise().targetText;
            QVERIFY(line.size() >= 26);
            if (number == 1) {
                QTest::keyClicks(drill, QString(line.left(2)).replace(u'_', u' '));
                QTest::keyClick(drill, '9');
                QVERIFY(drill->findChild<QLabel*>(QStringLiteral("Label1"))->isVisible());
                QTest::keyClick(drill, Qt::Key_Space);
                QCOMPARE(drill->run().exercise().cursorPos, 1);
            }
            clock.advanceMs(15'300);
            drill->sTimer1_Timer();
            QTest::keyClicks(drill, QString(line).replace(u'_', u' '));
            if (number < 3)
                QCOMPARE(linesLeft->text(), QString::number(3 - number));
        }
    }

    std::vector<results::ResultRecord> storedRecords() const {
        QFile file(state->folders.dataFolder + results::kResultsFileName);
        return file.open(QIODevice::ReadOnly) ? results::decodeRecords(file.readAll())
                                              : std::vector<results::ResultRecord>{};
    }

    void screenshot(QWidget* screen, const QString& name) const {
        const QString folder = qEnvironmentVariable("KAVORET_SCREENSHOT_DIR");
        if (!folder.isEmpty() && screen)
            screen->grab().save(folder + u'/' + name);
    }

    test::FamilyFixture family;
    std::unique_ptr<SharedState> state = std::make_unique<SharedState>();
    test::FakeClock clock{QDate(2026, 12, 11), QTime(10, 0)};
    test::ScriptedRandom random{{0.5}};
    test::RecordingDialogs dialogs;
    test::FakeInstanceGuard instanceGuard;
    test::FakeSoundOutput soundOutput;
    test::FakeKeyboardState keyboard;
    test::FakeWebViewFactory webViews;
    test::RecordingShell shell;
    QTemporaryDir printed;
    test::PdfSheetPrinter printer{printed.path()};
    ImmediateWait wait;
    AppFlow flow;
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
    void wholeLoopWithRankingServer();
    void wholeLoopOffline();

private:
    // What every run leaves, whatever the server: the record, the bests, the
    // counts and the local lines of the finish screen.
    void checkRecordedRun(Program& program);
    // "メニューへ" back to the board, the run in today's list and the counters,
    // then "0" back to a fresh name selection with the new figures.
    void backToBoardAndNameSelection(Program& program);
};

void tst_RunLoop::initTestCase() {
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(11);
    QApplication::setFont(font);
}

void tst_RunLoop::checkRecordedRun(Program& program) {
    FrmSyuuryou* finish = program.flow.finish();
    QVERIFY(finish);
    QVERIFY(QTest::qWaitForWindowExposed(finish));
    QVERIFY2(program.dialogs.messages.isEmpty(),
             qPrintable(program.dialogs.messages.value(0).text));
    QVERIFY(!program.flow.drill()->isVisible());
    QVERIFY(!program.flow.board()->isVisible());
    QCOMPARE(program.state->run.resultTime, 46); // 3 × 15.3 s
    QCOMPARE(program.state->run.runEndReason, 0);

    const std::vector<results::ResultRecord> records = program.storedRecords();
    QCOMPARE(records.size(), std::size_t(1));
    const results::ResultRecord& record = records[0];
    QCOMPARE(record.date, double(QDate(1899, 12, 30).daysTo(QDate(2026, 12, 11))));
    QVERIFY(record.clock > 10.0 / 24 && record.clock < 10.1 / 24);
    QCOMPARE(record.student, std::int16_t(kStudent));
    QCOMPARE(record.level, std::int16_t(1));
    QCOMPARE(record.seconds, 46);
    QCOMPARE(QByteArray(record.school.data(), 5), QByteArray("1234 "));
    QCOMPARE(QByteArray(record.pointsText.data(), 5), QByteArray(" 0   "));

    // The first run is a best: the finish screen says so.
    QVERIFY(Program::shows(finish, QStringLiteral("Label20")));
    QCOMPARE(program.state->results.bestTimes.at(1, kStudent), 46);
    // 46 s against the reference of 50 is 10 points.
    QCOMPARE(program.state->aggregates.validRunCounts.at(1, kStudent), 1);
    QCOMPARE(program.state->aggregates.pointTotals.at(1, kStudent), 10);

    QCOMPARE(Program::text(finish, QStringLiteral("Label17")), QStringLiteral("佐藤 花子"));
    QVERIFY(Program::text(finish, QStringLiteral("Label18")).contains(QStringLiteral("46秒")));
    QCOMPARE(Program::text(finish, QStringLiteral("Label13")),
             QStringLiteral(" (このレベル　 1回目)"));
    const QString sounds = program.family.root() + QStringLiteral("音フォルダ/");
    QVERIFY(program.soundOutput.played.size() >= 5);
    for (const QString& played : program.soundOutput.played)
        QVERIFY2(played.startsWith(sounds), qPrintable(played));
}

void tst_RunLoop::backToBoardAndNameSelection(Program& program) {
    FrmSyuuryou* finish = program.flow.finish();
    QTRY_VERIFY_WITH_TIMEOUT(Program::shows(finish, QStringLiteral("Command4")), 5000);
    auto* menu = Program::control<QPushButton>(finish, QStringLiteral("Command4"));
    QCOMPARE(menu->text(), QStringLiteral("メニューへ"));
    QCOMPARE(finish->focusWidget(), menu);
    QTest::keyClick(menu, Qt::Key_Space);

    seisekitime1* board = program.flow.board();
    QVERIFY(board);
    QTRY_VERIFY(board->isVisible() && board->boardReady());
    QVERIFY(!finish->isVisible());
    // The counters of level 1 count the run; the best-time ranking lists it.
    QCOMPARE(Program::text(board, QStringLiteral("Label14_1")), QStringLiteral("1回/10p"));
    QCOMPARE(Program::text(board, QStringLiteral("Label2_1")), QStringLiteral("○"));
    QCOMPARE(Program::text(board, QStringLiteral("Label14_2")), QStringLiteral("-----"));
    QCOMPARE(Program::text(board, QStringLiteral("Label18")), QStringLiteral("本日総回数＝1回"));
    QVERIFY(board->listLines(1).join(u'\n').contains(QStringLiteral("●佐藤 花子")));

    // Today's runs: 46 s at 10:00, the student's marks, 4 display points (30 < 46 < 60).
    QTest::mouseClick(Program::control<QRadioButton>(board, QStringLiteral("Option1_2")),
                      Qt::LeftButton);
    QCOMPARE(board->listLines(1), QStringList{QStringLiteral("  46秒 10:00●佐藤 花子●4")});
    QVERIFY(board->listLines(2).isEmpty());
    program.screenshot(board, QStringLiteral("runloop-board-today.png"));

    // "0" goes back to the name selection, which is loaded afresh.
    QTest::keyClick(board, '0');
    QTRY_VERIFY(program.flow.nameSelection() && program.flow.nameSelection()->isVisible());
    QTRY_VERIFY(!program.flow.board());
    QListWidget* names =
        Program::control<QListWidget>(program.flow.nameSelection(), QStringLiteral("List1"));
    QString line;
    for (int row = 1; row < names->count(); ++row)
        if (names->item(row)->text().contains(QStringLiteral("佐藤")))
            line = names->item(row)->text();
    QVERIFY2(line.contains(QStringLiteral("10")), qPrintable(line));

    // The next login gets a new board with the run already counted.
    program.chooseStudent();
    QTest::mouseClick(
        Program::control<QPushButton>(program.flow.nameSelection(), QStringLiteral("Command14")),
        Qt::LeftButton);
    QTRY_VERIFY(program.flow.board() && program.flow.board()->boardReady());
    QCOMPARE(Program::text(program.flow.board(), QStringLiteral("Label14_1")),
             QStringLiteral("1回/10p"));
}

void tst_RunLoop::wholeLoopWithRankingServer() {
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
    Program program(reader, sender, server.address());
    program.startAndLogIn();
    if (QTest::currentTestFailed())
        return;
    seisekitime1* board = program.flow.board();
    // The board's load read the server's figures of every level.
    QCOMPARE(Program::text(board, QStringLiteral("Label31_1")), QStringLiteral("世界3位"));
    QCOMPARE(Program::text(board, QStringLiteral("Label15_1")), QStringLiteral("------"));
    program.screenshot(board, QStringLiteral("runloop-board-online.png"));

    // The key "1" starts a level-1 run.
    QTest::keyClick(board, '1');
    QCOMPARE(program.state->run.currentLevel, 1);
    program.typeWholeRun();
    if (QTest::currentTestFailed())
        return;
    checkRecordedRun(program);
    if (QTest::currentTestFailed())
        return;

    const QString upload = kPath + QStringLiteral("BenkyouTuikaKousin.php");
    QTRY_COMPARE(server.requestsFor(upload).size(), 1);
    QVERIFY(server.requestsFor(upload)[0].rawQuery.contains(
        QStringLiteral("&SeitoNo=12&SeitoUmare=2014&SeitoName=%E4%BD%90%E8%97%A4%20%E8%8A%B1%E5%AD%90"
                       "&SoftGroup=1&SoftNo=801&SoftName=")));
    QVERIFY(server.requestsFor(upload)[0].rawQuery.endsWith(
        QStringLiteral("&Level=1&JisshiDate1=2026-12-11&JisshiTime1=10%3A00%3A45"
                       "&point=10&kaisuu=1&athome=0&KirokuTime=46")));
    QTRY_VERIFY_WITH_TIMEOUT(Program::shows(program.flow.finish(), QStringLiteral("Label22")),
                             5000);
    QCOMPARE(Program::text(program.flow.finish(), QStringLiteral("Label22")),
             QStringLiteral("120point(塾) +30point(家)=150point"));
    QCOMPARE(Program::text(program.flow.finish(), QStringLiteral("Label25")),
             QStringLiteral("世界3位"));
    program.screenshot(program.flow.finish(), QStringLiteral("runloop-finish-online.png"));

    backToBoardAndNameSelection(program);
    // Back on the board the server's figures count for the level with a run.
    QCOMPARE(Program::text(program.flow.board(), QStringLiteral("Label15_1")),
             QStringLiteral("9回/150p"));
    QCOMPARE(server.requestsFor(upload).size(), 1);
}

void tst_RunLoop::wholeLoopOffline() {
    test::FakePageReader reader;
    test::RecordingRequestSender sender;
    Program program(reader, sender, QString());
    program.startAndLogIn();
    if (QTest::currentTestFailed())
        return;
    seisekitime1* board = program.flow.board();
    QCOMPARE(Program::text(board, QStringLiteral("Label31_1")), QStringLiteral("---"));
    // Keys other than the levels' do nothing; "5" names no level of this program.
    QTest::keyClick(board, '5');
    QVERIFY(!program.flow.drill());

    QTest::mouseClick(Program::control<QPushButton>(board, QStringLiteral("Command4_1")),
                      Qt::LeftButton);
    QVERIFY(!board->boardReady());
    program.typeWholeRun();
    if (QTest::currentTestFailed())
        return;
    checkRecordedRun(program);
    if (QTest::currentTestFailed())
        return;
    QTRY_VERIFY_WITH_TIMEOUT(Program::shows(program.flow.finish(), QStringLiteral("Label22")),
                             5000);
    QCOMPARE(Program::text(program.flow.finish(), QStringLiteral("Label22")),
             QStringLiteral("0point(塾) +0point(家)=0point"));
    backToBoardAndNameSelection(program);
    QVERIFY(reader.reads.isEmpty());
    QVERIFY(sender.sent.isEmpty());
}

QTEST_MAIN(tst_RunLoop)
#include "tst_runloop.moc"
