#include "LoopbackRankingServer.h"
#include "SilentServer.h"
#include "platform/CurlPageReader.h"
#include "platform/QtRequestSender.h"

#include <QTcpServer>
#include <QTest>

using namespace kavoret;
using namespace std::chrono_literals;
using test::LoopbackRankingServer;

namespace {

const QString kPage = QStringLiteral("/benkyouRanking/BenkyouKakoHyoujiVB.php");

// A loopback port nobody listens on: taken from the system, then released.
int closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

} // namespace

class tst_HttpAdapters : public QObject {
    Q_OBJECT
private slots:
    void readsPageAsSent();
    void decodesByCharset_data();
    void decodesByCharset();
    void errorAnswersAreQuickFailures_data();
    void errorAnswersAreQuickFailures();
    void readEndsAtItsTimeOut();
    void addressesThatAreNoWebPageAreQuickFailures();
    void senderSendsAddressAsItStands();
    void senderIgnoresWhatItCannotSend();
};

void tst_HttpAdapters::readsPageAsSent() {
    LoopbackRankingServer server;
    QVERIFY(server.isRunning());
    server.setPage(kPage, QStringLiteral("###120<###7<"));
    LoopbackRankingServer::Page home;
    home.body = "###30<###2<";
    server.setPage(kPage, QStringLiteral("athome=1"), home);

    CurlPageReader reader;
    const QString query = QStringLiteral("athome=&JukuNo=12%2634&SeitoNo=56");
    const PageRead answered = reader.fetch(server.address() + kPage + u'?' + query);
    QCOMPARE(answered.text, QStringLiteral("###120<###7<"));
    QCOMPARE(answered.outcome, PageReadOutcome::Answered);
    QCOMPARE(reader.read(server.address() + kPage + QStringLiteral("?athome=1&JukuNo=1")),
             QStringLiteral("###30<###2<"));

    const QList<LoopbackRankingServer::Request> requests = server.requests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[0].path, kPage);
    QCOMPARE(requests[0].rawQuery, query);
    QCOMPARE(requests[1].rawQuery, QStringLiteral("athome=1&JukuNo=1"));
}

void tst_HttpAdapters::decodesByCharset_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QString>("text");
    QTest::newRow("utf-8") << QByteArray("\xe5\xa1\xbe###5<")
                           << QByteArray("text/html; charset=UTF-8") << QStringLiteral("塾###5<");
    QTest::newRow("shift_jis") << QByteArray("\x8f\x6d###5<")
                               << QByteArray("text/html; charset=Shift_JIS")
                               << QStringLiteral("塾###5<");
    QTest::newRow("quoted charset")
        << QByteArray("\x8f\x6d") << QByteArray("text/html;charset=\"cp932\"")
        << QStringLiteral("塾");
    QTest::newRow("no charset is utf-8")
        << QByteArray("\xe5\xa1\xbe") << QByteArray("text/plain") << QStringLiteral("塾");
    QTest::newRow("unknown charset is utf-8")
        << QByteArray("\xe5\xa1\xbe") << QByteArray("text/html; charset=x-unheard-of")
        << QStringLiteral("塾");
}

void tst_HttpAdapters::decodesByCharset() {
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, contentType);
    QFETCH(QString, text);
    LoopbackRankingServer server;
    LoopbackRankingServer::Page page;
    page.body = body;
    page.contentType = contentType;
    server.setPage(kPage, QString(), page);
    CurlPageReader reader;
    QCOMPARE(reader.read(server.address() + kPage), text);
}

void tst_HttpAdapters::errorAnswersAreQuickFailures_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("path");
    QTest::newRow("not found") << 200 << QStringLiteral("/benkyouRanking/Missing.php");
    QTest::newRow("server error with a body") << 500 << kPage;
    QTest::newRow("no content status outside 2xx") << 404 << kPage;
}

// The server is there and said no: empty text, but not a server that is down.
void tst_HttpAdapters::errorAnswersAreQuickFailures() {
    QFETCH(int, status);
    QFETCH(QString, path);
    LoopbackRankingServer server;
    LoopbackRankingServer::Page page;
    page.body = "###120<###7<";
    page.status = status;
    server.setPage(kPage, QString(), page);
    CurlPageReader reader;
    QCOMPARE(reader.read(server.address() + path), QString());
    const PageRead failed = reader.fetch(server.address() + path);
    QCOMPARE(failed.text, QString());
    QCOMPARE(failed.outcome, PageReadOutcome::Failed);
    QCOMPARE(server.requests().size(), 2);
}

void tst_HttpAdapters::readEndsAtItsTimeOut() {
    CurlPageReader reader(300ms, 300ms);
    // Nobody listening.
    const PageRead refused =
        reader.fetch(QStringLiteral("http://127.0.0.1:%1/x").arg(closedPort()));
    QCOMPARE(refused.text, QString());
    QCOMPARE(refused.outcome, PageReadOutcome::Unreachable);

    // A server that takes the connection and never answers.
    test::SilentServer silent;
    QVERIFY(silent.isRunning());
    const PageRead hanging = reader.fetch(silent.address() + kPage);
    QCOMPARE(hanging.text, QString());
    QCOMPARE(hanging.outcome, PageReadOutcome::Unreachable);
    QCOMPARE(silent.takeConnections(), 1);

    // An answer slower than the whole read may take.
    LoopbackRankingServer server;
    LoopbackRankingServer::Page slow;
    slow.body = "###1<";
    slow.delayMs = 1000;
    server.setPage(kPage, QString(), slow);
    const PageRead late = reader.fetch(server.address() + kPage);
    QCOMPARE(late.text, QString());
    QCOMPARE(late.outcome, PageReadOutcome::Unreachable);
    QCOMPARE(reader.read(server.address() + kPage), QString());
}

void tst_HttpAdapters::addressesThatAreNoWebPageAreQuickFailures() {
    CurlPageReader reader;
    // Only web addresses are read, and an empty address reads nothing.
    for (const QString& address : {QStringLiteral("file:///etc/hostname"), QString()}) {
        const PageRead read = reader.fetch(address);
        QCOMPARE(read.text, QString());
        QCOMPARE(read.outcome, PageReadOutcome::Failed);
        QCOMPARE(reader.read(address), QString());
    }
}

void tst_HttpAdapters::senderSendsAddressAsItStands() {
    LoopbackRankingServer server;
    server.setPage(QStringLiteral("/benkyouRanking/BenkyouTuikaKousin.php"), QStringLiteral("ok"));
    QtRequestSender sender;
    const QString query = QStringLiteral("JukuNo=1234&SeitoName=A%26B%3DC%23D%20%E5%A1%BE"
                                         "&JisshiTime1=09%3A05%3A07&athome=");
    sender.send(server.address() + QStringLiteral("/benkyouRanking/BenkyouTuikaKousin.php?") +
                query);
    // Pages the server does not know are still sent; their answer is ignored.
    sender.send(server.address() + QStringLiteral("/benkyouRanking/Unknown.php?a=1"));
    QTRY_COMPARE(server.requests().size(), 2);
    const auto upload =
        server.requestsFor(QStringLiteral("/benkyouRanking/BenkyouTuikaKousin.php"));
    QCOMPARE(upload.size(), 1);
    QCOMPARE(upload[0].rawQuery, query);
    QCOMPARE(server.requestsFor(QStringLiteral("/benkyouRanking/Unknown.php")).size(), 1);
}

void tst_HttpAdapters::senderIgnoresWhatItCannotSend() {
    LoopbackRankingServer server;
    QtRequestSender sender;
    sender.send(QString());
    sender.send(QStringLiteral("file:///etc/hostname"));
    sender.send(QStringLiteral("http://127.0.0.1:%1/x").arg(closedPort()));
    sender.send(server.address() + QStringLiteral("/last"));
    QTRY_COMPARE(server.requests().size(), 1);
    QCOMPARE(server.requests()[0].path, QStringLiteral("/last"));
}

QTEST_GUILESS_MAIN(tst_HttpAdapters)
#include "tst_httpadapters.moc"
