// Many clients at once: 1000 uploads from 4 clients, and concurrent updates of
// one student's recent days, on the database the test is run for. Every loop
// is bounded in count and in time, and all traffic goes to 127.0.0.1.

#include "ServerFixture.h"
#include "frame/SharedState.h"
#include "ranking/RankingRequests.h"

#include <httplib.h>

#include <QTest>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

using namespace kavoret;

namespace {

constexpr int kClients = 4;
constexpr int kUploads = 1000;
constexpr int kStudentsPerLevel = kUploads / 4; // levels 1..4
// A bound on the whole run, far above what it needs, so a hang ends the test.
constexpr auto kDeadline = std::chrono::seconds(180);

const QDate kToday(2024, 5, 3);

struct Expected {
    int student = 0;
    int level = 0;
    int points = 0;
    int runs = 0;
    int bestTime = 0;
};

Expected expectedFor(int index) {
    return {index % kStudentsPerLevel, 1 + index / kStudentsPerLevel, (index * 37) % 1000 + 1,
            index % 90 + 1, 20 + index % 60};
}

// The request target without the server address, as a client sends it.
std::string targetOf(const QString& address, const QString& server) {
    return address.mid(server.size()).toStdString();
}

// Sends the targets of one client on one kept-alive connection; counts what
// went wrong and stops at the deadline.
void runClient(int port, const std::vector<std::string>& targets, const std::string& expected,
               std::chrono::steady_clock::time_point deadline, std::atomic<int>& answered,
               std::atomic<int>& failures, std::atomic<bool>& late) {
    httplib::Client client("127.0.0.1", port);
    client.set_keep_alive(true);
    client.set_connection_timeout(5);
    client.set_read_timeout(30);
    for (const std::string& target : targets) {
        if (std::chrono::steady_clock::now() > deadline) {
            late = true;
            return;
        }
        httplib::Result result = client.Get(target.c_str());
        if (!result || result->status != 200 || (!expected.empty() && result->body != expected)) {
            ++failures;
            continue;
        }
        ++answered;
    }
}

} // namespace

class tst_ServerLoad : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void thousandUploadsFromFourClients();
    void concurrentDayUpdatesStayWhole();

private:
    test::ServerFixture fixture_;
    std::unique_ptr<SharedState> state_;
};

void tst_ServerLoad::init() {
    QString problem;
    bool skip = false;
    if (!fixture_.start(server::Programs(), problem, skip)) {
        if (skip)
            QSKIP(qPrintable(problem));
        QFAIL(qPrintable(problem));
    }
    state_ = std::make_unique<SharedState>();
    state_->settings.rankingServer = fixture_.address();
    state_->settings.schoolNumber = QStringLiteral("1234");
    state_->settings.schoolName = QStringLiteral("本町塾");
    state_->profile.catalogueNumber = 801;
    state_->profile.programTitle = QStringLiteral("タイピング");
}

void tst_ServerLoad::cleanup() {
    fixture_.stop();
}

void tst_ServerLoad::thousandUploadsFromFourClients() {
    SharedState& state = *state_;
    // The uploads as the program builds them, dealt out to the clients in turn.
    std::vector<std::vector<std::string>> uploads(kClients);
    std::vector<std::vector<std::string>> reads(kClients);
    for (int index = 0; index < kUploads; ++index) {
        const Expected e = expectedFor(index);
        state.student.studentNo = e.student;
        state.student.studentName = QStringLiteral("生徒%1").arg(e.student);
        state.aggregates.pointTotals.at(e.level, e.student) = e.points;
        state.aggregates.validRunCounts.at(e.level, e.student) = static_cast<std::int16_t>(e.runs);
        state.results.bestTimes.at(e.level, e.student) = e.bestTime;
        uploads[static_cast<std::size_t>(index % kClients)].push_back(
            targetOf(ranking::uploadRequest(state, e.level, kToday, QTime(10, 0, index % 60)),
                     fixture_.address()));
        // A reader per client as well, asking for totals and ranks while uploads go on.
        if (index % 20 == 0) {
            reads[static_cast<std::size_t>(index % kClients)].push_back(
                targetOf(ranking::totalsRequest(state, e.level, ranking::Place::School),
                         fixture_.address()));
            reads[static_cast<std::size_t>(index % kClients)].push_back(
                targetOf(ranking::worldRankRequest(state, e.level), fixture_.address()));
        }
    }

    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    std::atomic<int> answered{0};
    std::atomic<int> failures{0};
    std::atomic<int> readsAnswered{0};
    std::atomic<int> readFailures{0};
    std::atomic<bool> late{false};
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back(runClient, fixture_.port(),
                             std::cref(uploads[static_cast<std::size_t>(c)]), std::string("OK\n"),
                             deadline, std::ref(answered), std::ref(failures), std::ref(late));
        clients.emplace_back(runClient, fixture_.port(),
                             std::cref(reads[static_cast<std::size_t>(c)]), std::string(), deadline,
                             std::ref(readsAnswered), std::ref(readFailures), std::ref(late));
    }
    for (std::thread& client : clients)
        client.join();

    QVERIFY2(!late, "the uploads did not finish before the deadline");
    QCOMPARE(failures.load(), 0);
    QCOMPARE(answered.load(), kUploads);
    QCOMPARE(readFailures.load(), 0);

    // Every upload is stored with its own figures.
    server::Store& store = fixture_.store();
    for (int index = 0; index < kUploads; ++index) {
        const Expected e = expectedFor(index);
        Result<std::optional<server::PlaceTotals>> totals =
            store.totals({QStringLiteral("1234"), 0, e.student, 801, e.level});
        QVERIFY(totals);
        QVERIFY2(totals.value().has_value(), qPrintable(QString::number(index)));
        QCOMPARE(totals.value()->points, e.points);
        QCOMPARE(totals.value()->runs, e.runs);
        QCOMPARE(totals.value()->bestTime, e.bestTime);
    }
    for (int level = 1; level <= 4; ++level) {
        Result<server::WorldRanking> ranking = store.worldRanking(801, level, 0);
        QVERIFY(ranking);
        QCOMPARE(ranking.value().students, kStudentsPerLevel);
    }
}

void tst_ServerLoad::concurrentDayUpdatesStayWhole() {
    // Each update sends ten days, all with its own number as points; whatever
    // order they are stored in, the days stored must all come from one update.
    constexpr int kUpdatesPerClient = 25;
    SharedState& state = *state_;
    state.student.studentNo = 7;
    std::vector<std::vector<std::string>> updates(kClients);
    for (int index = 0; index < kClients * kUpdatesPerClient; ++index) {
        ranking::RecentDays server;
        server.found = true;
        server.latestDate = kToday.toString(QStringLiteral("yyyy-MM-dd"));
        for (int k = 0; k < 10; ++k) {
            server.days[static_cast<std::size_t>(k)] = {
                kToday.addDays(-k).toString(QStringLiteral("yyyy-MM-dd")), QStringLiteral("1"),
                QString::number(index), QStringLiteral("50")};
        }
        state.aggregates.todayPointTotals.at(1, 7) = index;
        updates[static_cast<std::size_t>(index % kClients)].push_back(targetOf(
            ranking::recentDaysUpdateRequest(state, 1, server, kToday), fixture_.address()));
    }

    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    std::atomic<int> answered{0};
    std::atomic<int> failures{0};
    std::atomic<bool> late{false};
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c)
        clients.emplace_back(runClient, fixture_.port(),
                             std::cref(updates[static_cast<std::size_t>(c)]), std::string("OK\n"),
                             deadline, std::ref(answered), std::ref(failures), std::ref(late));
    for (std::thread& client : clients)
        client.join();
    QVERIFY(!late);
    QCOMPARE(failures.load(), 0);
    QCOMPARE(answered.load(), kClients * kUpdatesPerClient);

    Result<std::vector<server::StoredDay>> days =
        fixture_.store().recentDays({QStringLiteral("1234"), 0, 7, 801, 1});
    QVERIFY(days);
    QCOMPARE(days.value().size(), std::size_t{10});
    for (const server::StoredDay& day : days.value())
        QCOMPARE(day.points, days.value().front().points);
}

QTEST_GUILESS_MAIN(tst_ServerLoad)
#include "tst_serverload.moc"
