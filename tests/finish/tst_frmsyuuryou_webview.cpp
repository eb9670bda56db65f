#include "FakeClock.h"
#include "FakePageReader.h"
#include "LoopbackRankingServer.h"
#include "RecordingCues.h"
#include "RecordingRequestSender.h"
#include "RecordingResultsStore.h"
#include "RecordingScreenFlow.h"
#include "finish/FrmSyuuryou.h"
#include "frame/SharedState.h"
#include "platform/QtWebView.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>
#include <memory>

using namespace kavoret;

// The finish screen with the real web views: the ranking page loads in
// WebBrowser2, and neither the page nor the student leaving for another
// program and coming back judges the run a second time.
class tst_FrmSyuuryou_webview : public QObject {
    Q_OBJECT
private slots:
    void judgedOnceWhilePageLoadsAndStudentComesBack();
};

void tst_FrmSyuuryou_webview::judgedOnceWhilePageLoadsAndStudentComesBack() {
    test::LoopbackRankingServer server;
    QVERIFY(server.isRunning());
    server.setPage(QStringLiteral("/benkyouRanking/BenkyouHyouji002.php"),
                   QStringLiteral("<html><head><title>世界ランキング</title></head>"
                                  "<body>1位</body></html>"));

    SharedState state;
    state.settings.rankingServer = server.address();
    state.settings.schoolNumber = QStringLiteral("1234");
    state.profile.programTitle = QStringLiteral("タイピング");
    state.profile.catalogueNumber = 801;
    state.profile.levelCountAtLogin = 4;
    state.profile.levelNames[2] = QStringLiteral("ﾚﾍﾞﾙ2");
    state.server.referenceTimes[2] = 50;
    state.server.levelClearPoints[2] = 150;
    state.student.studentNo = 56;
    state.student.studentName = QStringLiteral("山田 太郎");
    state.run.currentLevel = 2;
    state.run.resultTime = 60;
    state.results.newPersonalBest = 1;

    test::RecordingResultsStore results;
    test::RecordingCues cues;
    test::FakePageReader reader;
    test::RecordingRequestSender sender;
    test::FakeClock clock(QDate(2026, 12, 11), QTime(9, 5, 7));
    test::RecordingScreenFlow flow;
    QtWebViewFactory webViews;
    FrmSyuuryou window(state, {{results, cues, sender, reader, clock}, webViews, flow});

    auto* ranking = window.findChild<QWebEngineView*>(QStringLiteral("WebBrowser2"));
    QVERIFY(ranking);
    QSignalSpy loaded(ranking, &QWebEngineView::loadFinished);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label20"))->text(),
             QStringLiteral("新記録おめでとう"));

    auto* menu = window.findChild<QPushButton*>(QStringLiteral("Command4"));
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 30000);
    QCOMPARE(loaded.first().first().toBool(), true);
    QCOMPARE(ranking->title(), QStringLiteral("世界ランキング"));

    // Into the page, away to another program, and back.
    QTest::mouseClick(ranking->focusProxy() ? ranking->focusProxy() : ranking, Qt::LeftButton);
    QWidget other;
    other.resize(320, 200);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QVERIFY(!window.findChild<QTimer*>(QStringLiteral("Timer4"))->isActive());
    QCOMPARE(results.aggregations, 1);
    QCOMPARE(sender.sent.size(), 1);
    QVERIFY(sender.sent[0].contains(QStringLiteral("BenkyouTuikaKousin.php")));
    QCOMPARE(cues.played, QStringList{QStringLiteral("cue:8")});
    QCOMPARE(reader.reads.size(), 4);
    QCOMPARE(server.requestsFor(QStringLiteral("/benkyouRanking/BenkyouHyouji002.php")).size(), 1);
    QVERIFY(menu->isVisible());
    QVERIFY(window.findChild<QLabel*>(QStringLiteral("Label20"))->isVisible());
}

QTEST_MAIN(tst_FrmSyuuryou_webview)
#include "tst_frmsyuuryou_webview.moc"
