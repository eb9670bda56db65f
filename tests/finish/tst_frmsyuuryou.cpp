#include "FakeClock.h"
#include "FakePageReader.h"
#include "FakeWebViews.h"
#include "LoopbackRankingServer.h"
#include "RecordingCues.h"
#include "RecordingRequestSender.h"
#include "RecordingResultsStore.h"
#include "RecordingScreenFlow.h"
#include "SilentServer.h"
#include "finish/FrmSyuuryou.h"
#include "platform/CurlPageReader.h"
#include "platform/FailFastPageReader.h"
#include "platform/QtRequestSender.h"
#include "ranking/RankingRequests.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <memory>
#include <utility>

using namespace kavoret;
using namespace std::chrono_literals;
using test::LoopbackRankingServer;

namespace {

constexpr int kLevel = 2;
constexpr int kStudent = 56;
const QString kPath = QStringLiteral("/benkyouRanking/");

LoopbackRankingServer::Page page(const QByteArray& body) {
    LoopbackRankingServer::Page answer;
    answer.body = body;
    return answer;
}

// A loopback port nobody listens on.
int closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

// Student 56 has just finished a run of 60 seconds at level 2 of four, a new
// personal best; the aggregation then finds 150 points over 15 valid runs.
std::unique_ptr<SharedState> makeState(const QString& server) {
    auto state = std::make_unique<SharedState>();
    state->settings.rankingServer = server;
    state->settings.schoolNumber = QStringLiteral("1234");
    state->settings.schoolName = QStringLiteral("さくら塾");
    state->profile.programTitle = QStringLiteral("タイピング");
    state->profile.catalogueNumber = 801;
    state->profile.levelCountAtLogin = 4;
    for (int level = 1; level <= 4; ++level) {
        state->profile.levelNames[level] = QStringLiteral("ﾚﾍﾞﾙ%1").arg(level);
        state->server.referenceTimes[level] = 50;
        state->server.levelClearPoints[level] = 150;
        state->criteria.minimumTimes[level] = 40;
        state->criteria.clearCounts[level] = 10;
        state->criteria.clearPoints[level] = 100;
    }
    state->student.studentNo = kStudent;
    state->student.studentName = QStringLiteral("山田 太郎");
    state->roster.birthYears[kStudent] = 2014;
    state->run.currentLevel = kLevel;
    state->run.resultTime = 60;
    state->results.newPersonalBest = 1;
    state->results.bestTimes.at(kLevel, kStudent) = 60;
    return state;
}

// The finish screen with its fakes; reader and sender are the given adapters.
struct Screen {
    std::unique_ptr<SharedState> state;
    test::RecordingResultsStore results;
    test::RecordingCues cues;
    test::FakeClock clock{QDate(2026, 12, 11), QTime(9, 5, 7)};
    test::FakeWebViewFactory webViews;
    test::RecordingScreenFlow flow;
    std::unique_ptr<FrmSyuuryou> window;

    Screen(std::unique_ptr<SharedState> shared, RequestSender& sender, PageReader& reader)
        : state(std::move(shared)) {
        results.onAggregate = [this] {
            state->aggregates.pointTotals.at(kLevel, kStudent) = 150;
            state->aggregates.validRunCounts.at(kLevel, kStudent) = 15;
            state->aggregates.todayRunCounts.at(kLevel, kStudent) = 3;
            state->aggregates.todayRunCounts.at(1, kStudent) = 1;
        };
        window = std::make_unique<FrmSyuuryou>(
            *state, FrmSyuuryou::Services{{results, cues, sender, reader, clock}, webViews, flow});
    }

    template <typename T> T* find(const QString& name) const { return window->findChild<T*>(name); }
    QLabel* label(const QString& name) const { return find<QLabel>(name); }
    QPushButton* button(const QString& name) const { return find<QPushButton>(name); }
    bool shown(const QString& name) const {
        const QWidget* widget = find<QWidget>(name);
        return widget && widget->isVisibleTo(window.get());
    }

    bool open() {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    bool advised() const {
        return QTest::qWaitFor([this] { return shown(QStringLiteral("Command4")); }, 5000);
    }

    void screenshot(const QString& name) const {
        const QByteArray folder = qgetenv("KAVORET_SCREENSHOT_DIR");
        if (!folder.isEmpty())
            window->grab().save(QString::fromLocal8Bit(folder) + u'/' + name);
    }
};

} // namespace

class tst_FrmSyuuryou : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void wholeSequenceAgainstTheServer();
    void againStartsTheSameLevel();
    void recentResultsCycle();
    void unreachableServer();
    void hangingServerHoldsOneRead();
    void offlineShowsEverythingLocal();
    void comingBackFromAnotherProgramChangesNothing();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void nameShownAsWritten();
};

namespace {

// Whether a label shows its text character for character: markup read as
// such would leave the tags out and take less room.
bool showsLiterally(const QLabel* label) {
    return label->sizeHint().width() >= label->fontMetrics().horizontalAdvance(label->text()) - 2;
}

} // namespace

void tst_FrmSyuuryou::initTestCase() {
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(11);
    QApplication::setFont(font);
}

void tst_FrmSyuuryou::wholeSequenceAgainstTheServer() {
    LoopbackRankingServer server;
    QVERIFY(server.isRunning());
    const QString totals = kPath + QStringLiteral("BenkyouKakoHyoujiVB.php");
    server.setPage(totals, QStringLiteral("athome=0"),
                   page("<p>***2026-12-10<</p><p>***2026-12-10<***4<***40<***160<</p>"));
    server.setPage(totals, QStringLiteral("athome="), page("<td>###120</td><td>###7</td>"));
    server.setPage(totals, QStringLiteral("athome=1"), page("<td>###30</td><td>###2</td>"));
    server.setPage(kPath + QStringLiteral("BenkyouHyouji0022.php"),
                   QStringLiteral("<tr><td>>1234_56<</td><td>*12*</td></tr>"));

    CurlPageReader reader;
    QtRequestSender sender;
    Screen screen(makeState(server.address()), sender, reader);
    QCOMPARE(screen.window->windowTitle(), QStringLiteral("終了"));
    QCOMPARE(screen.find<QTimer>(QStringLiteral("Timer4"))->interval(), 1000);
    QCOMPARE(screen.find<QTimer>(QStringLiteral("Timer1"))->interval(), 500);
    QVERIFY(screen.open());

    // At activation: the local judgement, the record, the upload.
    QCOMPARE(screen.results.aggregations, 1);
    QCOMPARE(screen.label(QStringLiteral("Label15"))->text(), QStringLiteral("タイピング"));
    QCOMPARE(screen.label(QStringLiteral("Label16"))->text(), QStringLiteral("ﾚﾍﾞﾙ2"));
    QCOMPARE(screen.label(QStringLiteral("Label17"))->text(), QStringLiteral("山田 太郎"));
    QCOMPARE(screen.label(QStringLiteral("Label18"))->text(),
             QStringLiteral("今の成績： 60秒  8ﾎﾟｲﾝﾄ"));
    QCOMPARE(screen.label(QStringLiteral("Label19"))->text(),
             QStringLiteral("獲得ポイント：8点 計：150=クリア!!"));
    QCOMPARE(screen.label(QStringLiteral("Label13"))->text(),
             QStringLiteral(" (このレベル　 3回目)"));
    QCOMPARE(screen.label(QStringLiteral("Label14"))->text(), QStringLiteral("（ 4回目)"));
    QCOMPARE(screen.label(QStringLiteral("Label20"))->text(), QStringLiteral("新記録おめでとう"));
    QVERIFY(screen.shown(QStringLiteral("Label20")));
    QCOMPARE(screen.cues.played, QStringList{QStringLiteral("cue:8")});
    QCOMPARE(screen.flow.calls, QStringList{QStringLiteral("closeBackdrop")});
    for (const QString& hidden : QStringList{"Label22", "Label24", "Label25", "Label23", "Command4",
                                             "Command5", "WebBrowser2", "WebBrowser6"})
        QVERIFY2(!screen.shown(hidden), qPrintable(hidden));

    const QString upload = kPath + QStringLiteral("BenkyouTuikaKousin.php");
    QTRY_COMPARE(server.requestsFor(upload).size(), 1);
    QCOMPARE(server.requestsFor(upload)[0].rawQuery,
             QStringLiteral("JukuNo=1234&JukuName=%E3%81%95%E3%81%8F%E3%82%89%E5%A1%BE"
                            "&SeitoNo=56&SeitoUmare=2014"
                            "&SeitoName=%E5%B1%B1%E7%94%B0%20%E5%A4%AA%E9%83%8E&SoftGroup=1"
                            "&SoftNo=801&SoftName=%E3%82%BF%E3%82%A4%E3%83%94%E3%83%B3%E3%82%B0"
                            "&Level=2&JisshiDate1=2026-12-11&JisshiTime1=09%3A05%3A07"
                            "&point=150&kaisuu=15&athome=0&KirokuTime=60"));

    // One second later: the online part, without the way on yet.
    QTRY_VERIFY_WITH_TIMEOUT(screen.shown(QStringLiteral("Label22")), 5000);
    QVERIFY(screen.shown(QStringLiteral("Label24")));
    QVERIFY(!screen.shown(QStringLiteral("Command4")));
    QVERIFY(!screen.shown(QStringLiteral("Command5")));
    QCOMPARE(screen.label(QStringLiteral("Label25"))->text(), QStringLiteral("世界12位"));
    QCOMPARE(screen.label(QStringLiteral("Label22"))->text(),
             QStringLiteral("120point(塾) +30point(家)=150point"));
    QCOMPARE(screen.label(QStringLiteral("Label24"))->text(),
             QStringLiteral("7回(塾) +2回(家)=9回"));
    QVERIFY(screen.shown(QStringLiteral("Label25")));
    QVERIFY(screen.shown(QStringLiteral("Label23")));
    QVERIFY(screen.shown(QStringLiteral("WebBrowser2")));
    QCOMPARE(screen.webViews.view(QStringLiteral("WebBrowser2"))->navigations,
             QStringList{server.address() + kPath +
                         QStringLiteral("BenkyouHyouji002.php?SoftNo=801&Level=2"
                                        "&prgname=%E3%82%BF%E3%82%A4%E3%83%94%E3%83%B3%E3%82%B0"
                                        "&Seitbangou=56&JukuNo=1234")});

    // Half a second after that: the way on.
    QTRY_VERIFY_WITH_TIMEOUT(screen.shown(QStringLiteral("Command4")), 5000);
    QVERIFY(screen.shown(QStringLiteral("Command5")));
    QVERIFY(screen.button(QStringLiteral("Command4"))->hasFocus());
    QVERIFY(!screen.shown(QStringLiteral("Label2")));
    screen.screenshot(QStringLiteral("finish-online.png"));

    // The reads in their order, then the update and both clear notifications.
    const QString reads = totals;
    QStringList readQueries;
    for (const auto& request : server.requestsFor(reads))
        readQueries.append(request.rawQuery);
    QCOMPARE(readQueries, (QStringList{"athome=0&JukuNo=1234&SeitoNo=56&SoftNo=801&Level=2",
                                       "athome=&JukuNo=1234&SeitoNo=56&SoftNo=801&Level=2",
                                       "athome=1&JukuNo=1234&SeitoNo=56&SoftNo=801&Level=2"}));
    QCOMPARE(server.requestsFor(kPath + QStringLiteral("BenkyouHyouji0022.php")).size(), 1);
    const QString update = kPath + QStringLiteral("BenkyouKakoHenkou.php");
    QTRY_COMPARE(server.requestsFor(update).size(), 1);
    QCOMPARE(server.requestsFor(update)[0].rawQuery,
             QStringLiteral("athome=0&JukuNo=1234&SeitoNo=56&SoftNo=801&Level=2"
                            "&hiduke1=2026-12-11&kaisuu1=3&pointo1=0&saikoutime1=0"
                            "&hiduke2=2026-12-10&kaisuu2=4&pointo2=40&saikoutime2=160"
                            "&hiduke3=&kaisuu3=&pointo3=&saikoutime3="
                            "&hiduke4=&kaisuu4=&pointo4=&saikoutime4="
                            "&hiduke5=&kaisuu5=&pointo5=&saikoutime5="));
    const QString clear = kPath + QStringLiteral("BenkyouTuikaKousinGouhinomi.php");
    QTRY_COMPARE(server.requestsFor(clear).size(), 2);
    QStringList clearQueries;
    for (const auto& request : server.requestsFor(clear))
        clearQueries.append(request.rawQuery);
    clearQueries.sort();
    QCOMPARE(clearQueries,
             (QStringList{"JukuNo=1234&SeitoNo=56&SoftNo=801&Level=2&gouhi=1&athome=0",
                          "JukuNo=1234&SeitoNo=56&SoftNo=801&Level=2&gouhi=1&athome=1"}));
    // Upload, three reads of the recent days and totals, world rank, update, two notifications.
    QCOMPARE(server.requests().size(), 8);

    // Two quick presses open the board once.
    QPushButton* menu = screen.button(QStringLiteral("Command4"));
    QTest::mouseClick(menu, Qt::LeftButton);
    QTest::mouseClick(menu, Qt::LeftButton);
    QCOMPARE(screen.flow.count(QStringLiteral("showBoard")), 1);
    // While the board refreshes, "もう一度" cannot start a run either.
    QVERIFY(!screen.button(QStringLiteral("Command5"))->isEnabled());
    QVERIFY(!menu->isEnabled());
    QVERIFY(!screen.window->isVisible());
    QCOMPARE(screen.flow.count(QStringLiteral("startDrillRun")), 0);
}

void tst_FrmSyuuryou::againStartsTheSameLevel() {
    test::FakePageReader reader;
    test::RecordingRequestSender sender;
    Screen screen(makeState(QStringLiteral("http://127.0.0.1:1")), sender, reader);
    QVERIFY(screen.open());
    QTRY_VERIFY_WITH_TIMEOUT(screen.shown(QStringLiteral("Command5")), 5000);
    QPushButton* again = screen.button(QStringLiteral("Command5"));
    QTest::mouseClick(again, Qt::LeftButton);
    QTest::mouseClick(again, Qt::LeftButton);
    QCOMPARE(screen.flow.calls, (QStringList{"closeBackdrop", "showBackdrop", "startDrillRun"}));
    QCOMPARE(screen.state->run.currentLevel, kLevel);
    QVERIFY(!screen.button(QStringLiteral("Command4"))->isEnabled());
    QVERIFY(!screen.window->isVisible());
}

void tst_FrmSyuuryou::recentResultsCycle() {
    test::FakePageReader reader;
    test::RecordingRequestSender sender;
    Screen screen(makeState(QStringLiteral("http://127.0.0.1:8765")), sender, reader);
    QVERIFY(screen.open());
    QTRY_VERIFY_WITH_TIMEOUT(screen.shown(QStringLiteral("Command4")), 5000);

    QPushButton* cycle = screen.button(QStringLiteral("Command7"));
    test::FakeWebView* recent = screen.webViews.view(QStringLiteral("WebBrowser6"));
    const test::FakeWebView* ranking = screen.webViews.view(QStringLiteral("WebBrowser2"));
    QCOMPARE(recent->geometry(), ranking->geometry());
    const QString base =
        QStringLiteral("http://127.0.0.1:8765/benkyouRanking/BenkyouKakoHyouji.php");
    QCOMPARE(cycle->text(), QStringLiteral("最近成績(塾)"));

    QTest::mouseClick(cycle, Qt::LeftButton);
    QVERIFY(screen.shown(QStringLiteral("WebBrowser6")));
    QCOMPARE(recent->navigations.value(0),
             base + QStringLiteral("?athome=0&JukuNo=1234&SeitoNo=56&SoftNo=801&Level=2"));
    QCOMPARE(cycle->text(), QStringLiteral("最近成績(家)"));

    QTest::mouseClick(cycle, Qt::LeftButton);
    QVERIFY(screen.shown(QStringLiteral("WebBrowser6")));
    QCOMPARE(recent->navigations.value(1),
             base + QStringLiteral("?athome=1&JukuNo=1234&SeitoNo=56&SoftNo=801&Level=2"));
    QCOMPARE(cycle->text(), QStringLiteral("世界ﾗﾝｷﾝｸﾞ"));

    QTest::mouseClick(cycle, Qt::LeftButton);
    QVERIFY(!screen.shown(QStringLiteral("WebBrowser6")));
    QVERIFY(screen.shown(QStringLiteral("WebBrowser2")));
    QCOMPARE(cycle->text(), QStringLiteral("最近成績(塾)"));
    QCOMPARE(recent->navigations.size(), 2);
}

void tst_FrmSyuuryou::unreachableServer() {
    CurlPageReader reader;
    QtRequestSender sender;
    auto state = makeState(QStringLiteral("http://127.0.0.1:%1").arg(closedPort()));
    state->run.resultTime = 99999; // the time limit was reached
    state->results.newPersonalBest = 0;
    Screen screen(std::move(state), sender, reader);
    QVERIFY(screen.open());
    QCOMPARE(screen.label(QStringLiteral("Label18"))->text(), QStringLiteral("記録なし"));
    QCOMPARE(screen.label(QStringLiteral("Label19"))->text(),
             QStringLiteral("次は最後までがんばろう！"));
    QVERIFY(!screen.shown(QStringLiteral("Label20")));
    QVERIFY(screen.cues.played.isEmpty());

    QTRY_VERIFY_WITH_TIMEOUT(screen.shown(QStringLiteral("Command4")), 10000);
    QVERIFY(screen.shown(QStringLiteral("Command5")));
    QCOMPARE(screen.label(QStringLiteral("Label25"))->text(), QStringLiteral("世界0位"));
    QCOMPARE(screen.label(QStringLiteral("Label22"))->text(),
             QStringLiteral("0point(塾) +0point(家)=0point"));
    QCOMPARE(screen.label(QStringLiteral("Label24"))->text(),
             QStringLiteral("0回(塾) +0回(家)=0回"));
    QVERIFY(screen.shown(QStringLiteral("Label22")));
    QVERIFY(!screen.shown(QStringLiteral("Label23")));
    QVERIFY(!screen.shown(QStringLiteral("Picture1")));
    // The local judgement stays as it was.
    QCOMPARE(screen.label(QStringLiteral("Label18"))->text(), QStringLiteral("記録なし"));
}

// A server that takes the connection and never answers: the online part's four
// reads wait for one time-out, not four.
void tst_FrmSyuuryou::hangingServerHoldsOneRead() {
    test::SilentServer server;
    QVERIFY(server.isRunning());
    CurlPageReader curl(300ms, 300ms);
    test::FakeClock readerClock;
    FailFastPageReader reader(curl, readerClock);
    test::RecordingRequestSender sender;
    Screen screen(makeState(server.address()), sender, reader);
    QVERIFY(screen.open());
    QVERIFY(screen.advised());
    QCOMPARE(server.takeConnections(), 1);
    QCOMPARE(screen.label(QStringLiteral("Label22"))->text(),
             QStringLiteral("0point(塾) +0point(家)=0point"));
    QCOMPARE(screen.label(QStringLiteral("Label25"))->text(), QStringLiteral("世界0位"));
    // Only the upload went out: no recent days came back to update.
    QCOMPARE(sender.sent.size(), 1);
}

void tst_FrmSyuuryou::offlineShowsEverythingLocal() {
    test::FakePageReader reader;
    test::RecordingRequestSender sender;
    auto state = makeState(QString());
    // The last level, cleared: the banner shows until the online part.
    state->run.currentLevel = 4;
    state->results.newPersonalBest = 1;
    state->results.newLevelBest = 1;
    state->aggregates.judgeRunCounts.at(4, kStudent) = 12;
    state->aggregates.judgePointTotals.at(4, kStudent) = 140;
    Screen screen(std::move(state), sender, reader);
    QVERIFY(screen.open());
    QCOMPARE(screen.label(QStringLiteral("Label18"))->text(),
             QStringLiteral("今の成績： 60秒  8ﾎﾟｲﾝﾄ"));
    QCOMPARE(screen.label(QStringLiteral("Label20"))->text(),
             QStringLiteral("！！！最高新記録！！！"));
    QVERIFY(screen.shown(QStringLiteral("Picture1")));
    QCOMPARE(screen.cues.played, (QStringList{"fixed:最高1", "fixed:合格"}));
    screen.screenshot(QStringLiteral("finish-offline-at-activation.png"));

    QTRY_VERIFY_WITH_TIMEOUT(screen.shown(QStringLiteral("Label22")), 5000);
    QCOMPARE(screen.label(QStringLiteral("Label25"))->text(), QStringLiteral("世界0位"));
    QCOMPARE(screen.label(QStringLiteral("Label22"))->text(),
             QStringLiteral("0point(塾) +0point(家)=0point"));
    QVERIFY(!screen.shown(QStringLiteral("Label23")));
    QVERIFY(!screen.shown(QStringLiteral("Picture1")));
    QVERIFY(screen.webViews.view(QStringLiteral("WebBrowser2"))
                ->navigations.value(0)
                .startsWith(QStringLiteral("data:text/html")));
    QTRY_VERIFY_WITH_TIMEOUT(screen.shown(QStringLiteral("Command4")), 5000);
    screen.screenshot(QStringLiteral("finish-offline.png"));
    QVERIFY(reader.reads.isEmpty());
    QVERIFY(sender.sent.isEmpty());
}

// The student switches to another program and back, once during the online
// part's wait and once after the advice: the run is judged, uploaded and
// celebrated once, and the online part runs once.
void tst_FrmSyuuryou::comingBackFromAnotherProgramChangesNothing() {
    test::FakePageReader reader;
    test::RecordingRequestSender sender;
    Screen screen(makeState(QStringLiteral("http://127.0.0.1:8765")), sender, reader);
    QVERIFY(screen.open());
    QCOMPARE(screen.results.aggregations, 1);
    QCOMPARE(sender.sent.size(), 1);
    auto* timer4 = screen.find<QTimer>(QStringLiteral("Timer4"));
    QVERIFY(timer4->isActive());

    QWidget other;
    other.setWindowTitle(QStringLiteral("other program"));
    other.resize(320, 200);
    auto leaveAndComeBack = [&] {
        other.show();
        other.activateWindow();
        if (!QTest::qWaitForWindowActive(&other))
            return false;
        screen.window->activateWindow();
        return QTest::qWaitForWindowActive(screen.window.get());
    };
    QVERIFY(leaveAndComeBack());
    QCOMPARE(screen.results.aggregations, 1);
    QCOMPARE(sender.sent.size(), 1);

    QVERIFY(screen.advised());
    QCOMPARE(reader.reads.size(), 4);
    QVERIFY(leaveAndComeBack());
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(screen.window.get(), &activation);
    QVERIFY(!timer4->isActive());
    QVERIFY(!screen.find<QTimer>(QStringLiteral("Timer1"))->isActive());
    QCOMPARE(screen.results.aggregations, 1);
    QCOMPARE(sender.sent.size(), 1);
    QCOMPARE(reader.reads.size(), 4);
    QCOMPARE(screen.cues.played, QStringList{QStringLiteral("cue:8")});
    QCOMPARE(screen.flow.calls, QStringList{QStringLiteral("closeBackdrop")});
    // What the judgement showed stays on screen, the record message included.
    QCOMPARE(screen.label(QStringLiteral("Label20"))->text(), QStringLiteral("新記録おめでとう"));
    QVERIFY(screen.shown(QStringLiteral("Label20")));
    QVERIFY(screen.shown(QStringLiteral("Command4")));
    QVERIFY(screen.shown(QStringLiteral("Command5")));
}

void tst_FrmSyuuryou::enterPressesTheFocusedButton_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("effect");
    for (const auto& [name, key] :
         {std::pair{"Return", Qt::Key_Return}, std::pair{"keypad Enter", Qt::Key_Enter},
          std::pair{"Space", Qt::Key_Space}}) {
        QTest::addRow("メニューへ, %s", name) << "Command4" << int(key) << "showBoard";
        QTest::addRow("もう一度, %s", name) << "Command5" << int(key) << "startDrillRun";
        QTest::addRow("最近成績, %s", name) << "Command7" << int(key) << "最近成績(家)";
    }
}

void tst_FrmSyuuryou::enterPressesTheFocusedButton() {
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(QString, effect);
    test::FakePageReader reader;
    test::RecordingRequestSender sender;
    Screen screen(makeState(QStringLiteral("http://127.0.0.1:8765")), sender, reader);
    QVERIFY(screen.open());
    QVERIFY(screen.advised());
    QPushButton* pressed = screen.button(button);
    pressed->setFocus();
    QCOMPARE(screen.window->focusWidget(), pressed);
    QTest::keyClick(pressed, Qt::Key(key));
    if (button == QStringLiteral("Command7")) {
        QCOMPARE(pressed->text(), effect);
        QVERIFY(screen.shown(QStringLiteral("WebBrowser6")));
    } else {
        QCOMPARE(screen.flow.count(effect), 1);
        QVERIFY(!screen.window->isVisible());
    }
}

void tst_FrmSyuuryou::nameShownAsWritten() {
    test::FakePageReader reader;
    test::RecordingRequestSender sender;
    auto state = makeState(QStringLiteral("http://127.0.0.1:8765"));
    state->student.studentName = QStringLiteral(" <b>x</b> ");
    Screen screen(std::move(state), sender, reader);
    QVERIFY(screen.open());
    QLabel* name = screen.label(QStringLiteral("Label17"));
    QCOMPARE(name->text(), QStringLiteral("<b>x</b>"));
    QVERIFY(showsLiterally(name));
}

QTEST_MAIN(tst_FrmSyuuryou)
#include "tst_frmsyuuryou.moc"
