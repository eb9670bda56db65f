#include "FakeClock.h"
#include "LoopbackRankingServer.h"
#include "SilentServer.h"
#include "platform/CurlPageReader.h"
#include "platform/FailFastPageReader.h"

#include <QList>
#include <QStringList>
#include <QTest>

using namespace kavoret;
using namespace std::chrono_literals;
using test::LoopbackRankingServer;

namespace {

const QString kPage = QStringLiteral("/benkyouRanking/BenkyouKakoHyoujiVB.php");

// Answers each read with the next scripted result (the last one once the
// script runs out) and records the addresses read.
class ScriptedReader final : public PageReader {
public:
    QString read(const QString& url) override { return fetch(url).text; }
    PageRead fetch(const QString& url) override {
        reads.append(url);
        if (script.size() > 1)
            return script.takeFirst();
        return script.value(0);
    }
    QList<PageRead> script;
    QStringList reads;
};

PageRead answered(const QString& text) {
    return {text, PageReadOutcome::Answered};
}
PageRead failed() {
    return {{}, PageReadOutcome::Failed};
}
PageRead unreachable() {
    return {{}, PageReadOutcome::Unreachable};
}

} // namespace

class tst_FailFastPageReader : public QObject {
    Q_OBJECT
private slots:
    void onlyUnreachableServerPauses_data();
    void onlyUnreachableServerPauses();
    void pauseLastsOneMinuteFromTheFailure();
    void hangingServerIsTriedOncePerMinute();
    void errorStatusesKeepEveryRead();
};

void tst_FailFastPageReader::onlyUnreachableServerPauses_data() {
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("triesOfFourReads");
    QTest::newRow("answered") << int(PageReadOutcome::Answered) << 4;
    QTest::newRow("quick failure") << int(PageReadOutcome::Failed) << 4;
    QTest::newRow("unreachable") << int(PageReadOutcome::Unreachable) << 1;
}

void tst_FailFastPageReader::onlyUnreachableServerPauses() {
    QFETCH(int, outcome);
    QFETCH(int, triesOfFourReads);
    ScriptedReader inner;
    const auto first = static_cast<PageReadOutcome>(outcome);
    inner.script = {
        {first == PageReadOutcome::Answered ? QStringLiteral("###5<") : QString(), first}};
    test::FakeClock clock;
    FailFastPageReader reader(inner, clock);

    const PageRead read = reader.fetch(QStringLiteral("http://server/a"));
    QCOMPARE(read.outcome, first);
    QCOMPARE(read.text, inner.script[0].text);
    clock.advanceMs(10);
    QCOMPARE(reader.read(QStringLiteral("http://server/b")), inner.script[0].text);
    reader.read(QStringLiteral("http://server/c"));
    reader.read(QStringLiteral("http://server/d"));
    QCOMPARE(inner.reads.size(), triesOfFourReads);
    QCOMPARE(inner.reads.first(), QStringLiteral("http://server/a"));
    QCOMPARE(reader.pausing(), first == PageReadOutcome::Unreachable);
}

void tst_FailFastPageReader::pauseLastsOneMinuteFromTheFailure() {
    ScriptedReader inner;
    inner.script = {unreachable(), unreachable(), failed(), answered(QStringLiteral("###7<"))};
    test::FakeClock clock;
    clock.advanceMs(123456);
    FailFastPageReader reader(inner, clock);
    const QString page = QStringLiteral("http://server/p");

    QCOMPARE(reader.fetch(page).outcome, PageReadOutcome::Unreachable);
    QCOMPARE(inner.reads.size(), 1);
    // Skipped reads are empty and count as the server being down.
    clock.advanceMs(59999);
    const PageRead skipped = reader.fetch(page);
    QCOMPARE(skipped.outcome, PageReadOutcome::Unreachable);
    QCOMPARE(skipped.text, QString());
    QCOMPARE(reader.read(page), QString());
    QCOMPARE(inner.reads.size(), 1);

    // A minute later the server is tried again; down again, the next minute starts now.
    clock.advanceMs(1);
    QVERIFY(!reader.pausing());
    QCOMPARE(reader.fetch(page).outcome, PageReadOutcome::Unreachable);
    QCOMPARE(inner.reads.size(), 2);
    clock.advanceMs(59999);
    QCOMPARE(reader.read(page), QString());
    QCOMPARE(inner.reads.size(), 2);

    // The server is back: a quick failure and an answer, each read goes through.
    clock.advanceMs(1);
    QCOMPARE(reader.fetch(page).outcome, PageReadOutcome::Failed);
    QCOMPARE(reader.read(page), QStringLiteral("###7<"));
    QCOMPARE(reader.read(page), QStringLiteral("###7<"));
    QCOMPARE(inner.reads.size(), 5);
}

// The finish screen's online part reads four pages in a row: against a server
// that takes the connection and never answers, only the first one waits.
void tst_FailFastPageReader::hangingServerIsTriedOncePerMinute() {
    test::SilentServer server;
    QVERIFY(server.isRunning());
    CurlPageReader curl(300ms, 300ms);
    test::FakeClock clock;
    FailFastPageReader reader(curl, clock);

    for (const char* query : {"?athome=0", "?athome=", "?athome=1", "?rank"})
        QCOMPARE(reader.read(server.address() + kPage + QLatin1String(query)), QString());
    QCOMPARE(server.takeConnections(), 1);
    QVERIFY(reader.pausing());

    clock.advanceMs(FailFastPageReader::kPauseMs - 1);
    QCOMPARE(reader.read(server.address() + kPage), QString());
    QCOMPARE(server.takeConnections(), 0);

    clock.advanceMs(1);
    QCOMPARE(reader.read(server.address() + kPage), QString());
    QCOMPARE(reader.read(server.address() + kPage), QString());
    QCOMPARE(server.takeConnections(), 1);
}

// A server that answers "not found" is there: every read still asks it.
void tst_FailFastPageReader::errorStatusesKeepEveryRead() {
    LoopbackRankingServer server;
    QVERIFY(server.isRunning());
    server.setPage(kPage, QStringLiteral("###120<###7<"));
    CurlPageReader curl;
    test::FakeClock clock;
    FailFastPageReader reader(curl, clock);

    const QString missing = server.address() + QStringLiteral("/benkyouRanking/Missing.php");
    QCOMPARE(reader.read(missing), QString());
    QCOMPARE(reader.read(missing), QString());
    QCOMPARE(reader.read(server.address() + kPage), QStringLiteral("###120<###7<"));
    QCOMPARE(server.requests().size(), 3);
    QVERIFY(!reader.pausing());
}

QTEST_GUILESS_MAIN(tst_FailFastPageReader)
#include "tst_failfastpagereader.moc"
