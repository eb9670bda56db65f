#include "LoopbackRankingServer.h"
#include "platform/AlsaSoundOutput.h"
#include "platform/LazyPageReader.h"
#include "platform/LazyRequestSender.h"
#include "platform/LazySoundOutput.h"
#include "platform/LazyWebViewFactory.h"

#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>
#include <memory>

using namespace kavoret;
using test::LoopbackRankingServer;

class tst_PlatformModules : public QObject {
    Q_OBJECT
private slots:
    void pageReaderLoadsItsModuleWithTheFirstRead();
    void missingPageReaderModuleMakesQuickFailures();
    void missingWebViewModuleGivesPanelsThatSayWhy();
    void requestSenderLoadsTheNetworkModule();
    void missingNetworkModuleDropsRequests();
    void soundOutputLoadsItsModuleWithTheFirstSound();
    void missingSoundModuleFailsEveryPlay();
};

void tst_PlatformModules::pageReaderLoadsItsModuleWithTheFirstRead() {
    LoopbackRankingServer server;
    QVERIFY(server.isRunning());
    server.setPage(QStringLiteral("/page.php"), QStringLiteral("###40<"));

    LazyPageReader reader(QStringLiteral(KAVORET_NETWORK_MODULE));
    const PageRead first = reader.fetch(server.address() + QStringLiteral("/page.php?a=1"));
    QCOMPARE(first.outcome, PageReadOutcome::Answered);
    QCOMPARE(first.text, QStringLiteral("###40<"));
    QCOMPARE(reader.read(server.address() + QStringLiteral("/page.php?a=2")),
             QStringLiteral("###40<"));
    QVERIFY(reader.loadError().isEmpty());
    QCOMPARE(server.requests().size(), 2);
}

void tst_PlatformModules::missingPageReaderModuleMakesQuickFailures() {
    LoopbackRankingServer server;
    QVERIFY(server.isRunning());
    server.setPage(QStringLiteral("/page.php"), QStringLiteral("###40<"));
    const QString missing = QDir::temp().filePath(QStringLiteral("no-such-kavoret-module.so"));

    LazyPageReader reader(missing);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no-such-kavoret-module")));
    const PageRead read = reader.fetch(server.address() + QStringLiteral("/page.php"));
    QCOMPARE(read.outcome, PageReadOutcome::Failed);
    QVERIFY(read.text.isEmpty());
    QVERIFY2(reader.loadError().contains(QStringLiteral("no-such-kavoret-module")),
             qPrintable(reader.loadError()));
    // Tried once: later reads fail at once, without a second warning.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("no-such-kavoret-module")));
    QVERIFY(reader.read(server.address() + QStringLiteral("/page.php")).isEmpty());
    QVERIFY(server.requests().isEmpty());
}

void tst_PlatformModules::missingWebViewModuleGivesPanelsThatSayWhy() {
    LazyWebViewFactory views(QDir::temp().filePath(QStringLiteral("no-such-kavoret-module.so")));
    views.prepare();
    QVERIFY(!views.loadError().isEmpty());
    QWidget window;
    WebView* view = views.create(&window, QStringLiteral("WebBrowser1"));
    QVERIFY(view);
    QCOMPARE(view->widget()->objectName(), QStringLiteral("WebBrowser1"));
    QCOMPARE(view->widget()->parentWidget(), &window);
    auto* panel = qobject_cast<QLabel*>(view->widget());
    QVERIFY(panel);
    QVERIFY(panel->text().startsWith(QStringLiteral("ページを表示できません（")));
    QVERIFY(panel->text().contains(QStringLiteral("no-such-kavoret-module")));
    view->navigate(QStringLiteral("/tmp/page.htm")); // does nothing, and does not crash
    view->setShown(false);
    QVERIFY(panel->isHidden());
}

void tst_PlatformModules::requestSenderLoadsTheNetworkModule() {
    LoopbackRankingServer server;
    QVERIFY(server.isRunning());
    LazyRequestSender sender(QStringLiteral(KAVORET_NETWORK_MODULE));
    sender.send(server.address() + QStringLiteral("/up.php?SeitoNo=56"));
    QTRY_COMPARE_WITH_TIMEOUT(server.requests().size(), 1, 5000);
    QCOMPARE(server.requests().first().path, QStringLiteral("/up.php"));
    QVERIFY(sender.loadError().isEmpty());
}

void tst_PlatformModules::missingNetworkModuleDropsRequests() {
    LoopbackRankingServer server;
    QVERIFY(server.isRunning());
    LazyRequestSender sender(QDir::temp().filePath(QStringLiteral("no-such-kavoret-module.so")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no-such-kavoret-module")));
    sender.send(server.address() + QStringLiteral("/up.php"));
    QTest::failOnWarning(QRegularExpression(QStringLiteral("no-such-kavoret-module")));
    sender.send(server.address() + QStringLiteral("/up.php")); // no second warning
    QTest::qWait(200);
    QVERIFY(server.requests().isEmpty());
    QVERIFY(sender.loadError().contains(QStringLiteral("no-such-kavoret-module")));
}

// Played through the module: a file that is not there fails with libsndfile's
// code, whose text the module gives, naming the file.
void tst_PlatformModules::soundOutputLoadsItsModuleWithTheFirstSound() {
    LazySoundOutput sound(QStringLiteral(KAVORET_SOUND_MODULE));
    const QString missing = QDir::temp().filePath(QStringLiteral("no-such-kavoret-cue.wav"));
    const int code = sound.play(missing);
    QVERIFY2(code >= AlsaSoundOutput::kSndfileErrorBase, qPrintable(QString::number(code)));
    QVERIFY2(sound.errorText(code).contains(QStringLiteral("no-such-kavoret-cue.wav")),
             qPrintable(sound.errorText(code)));
}

void tst_PlatformModules::missingSoundModuleFailsEveryPlay() {
    LazySoundOutput sound(QDir::temp().filePath(QStringLiteral("no-such-kavoret-module.so")));
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int code = sound.play(QStringLiteral("/tmp/any.wav"));
        QCOMPARE(code, LazySoundOutput::kModuleMissing);
        QVERIFY(sound.errorText(code).startsWith(QStringLiteral("音声モジュールを読み込めません（")));
        QVERIFY(sound.errorText(code).contains(QStringLiteral("no-such-kavoret-module")));
    }
}

QTEST_MAIN(tst_PlatformModules)
#include "tst_platformmodules.moc"
