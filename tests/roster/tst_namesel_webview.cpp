#include "FakeClock.h"
#include "FakePageReader.h"
#include "FamilyFixture.h"
#include "RecordingCues.h"
#include "RecordingDialogs.h"
#include "RecordingResultsStore.h"
#include "RecordingScreenFlow.h"
#include "RecordingShell.h"
#include "ScriptedRandom.h"
#include "frame/ProgramProfile.h"
#include "platform/QtWebView.h"
#include "roster/Roster.h"
#include "roster/namesel.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>
#include <memory>

using namespace kavoret;

// The name selection screen with the real web view: PageName.htm of the data
// folder is shown as it stands.
class tst_namesel_webview : public QObject {
    Q_OBJECT
private slots:
    void showsLocalPage();
};

void tst_namesel_webview::showsLocalPage() {
    test::FamilyFixture family(QStringLiteral("kavoret"));
    family.writeText(roster::kRosterFileName,
                     QStringLiteral("1,2019,0,0,\"佐藤 ひなた\",0,\"\",\"\"\n"));
    family.writeText(QStringLiteral("kavoret/PageName.htm"),
                     QStringLiteral("<html><head><title>名前の案内</title></head>"
                                    "<body>名前を選んでね</body></html>\n"));
    auto state = std::make_unique<SharedState>();
    progselbas::applyIdentity(state->profile);
    state->folders.rootFolder = family.root();
    state->folders.dataFolder = family.dataFolder();
    state->settings.schoolYearStartMonth = 4;

    test::FakeClock clock(QDate(2026, 12, 11), QTime(10, 0));
    test::ScriptedRandom random;
    test::RecordingScreenFlow flow;
    test::RecordingDialogs dialogs;
    test::RecordingCues cues;
    test::RecordingResultsStore results;
    test::FakePageReader pages;
    test::RecordingShell shell;
    QtWebViewFactory webViews;
    namesel screen(*state, {flow, dialogs, cues, results, pages, shell, webViews, clock, random});

    auto* view = screen.findChild<QWebEngineView*>(QStringLiteral("WebBrowser2"));
    QVERIFY(view);
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    QVERIFY(screen.load());
    QCOMPARE(view->url(),
             QUrl::fromLocalFile(family.dataFolder() + QStringLiteral("PageName.htm")));
    QVERIFY(loaded.wait(30000));
    QCOMPARE(loaded.first().first().toBool(), true);
    QCOMPARE(view->title(), QStringLiteral("名前の案内"));
    QVERIFY(view->isVisible());
}

QTEST_MAIN(tst_namesel_webview)
#include "tst_namesel_webview.moc"
