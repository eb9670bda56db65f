#include "results/LoadedResults.h"

#include <QTest>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>

using namespace kavoret;
using namespace kavoret::results;

namespace {

ResultRecord record(int student, int level, int seconds, double date = 46367) {
    return runRecord(date, 0.5, student, level, seconds, QStringLiteral("801"));
}

} // namespace

class tst_LoadedResults : public QObject {
    Q_OBJECT
private slots:
    void init();
    void nothingLoadedMeansNoBestTimes();
    void keptRecords_data();
    void keptRecords();
    void unkeptRecordsStillLowerBestTimesOfIndexZero();
    void bestTimes_data();
    void bestTimes();
    void levelBestIsOverStudentsUpTo1000();
    void reloadingStartsAfresh();
    void moreThanTheCapKeepsTheNewest();

private:
    std::unique_ptr<ResultsState> results_;
};

void tst_LoadedResults::init() {
    results_ = std::make_unique<ResultsState>();
}

void tst_LoadedResults::nothingLoadedMeansNoBestTimes() {
    fillLoadedResults(*results_, {});
    QVERIFY(results_->loadedRecords.empty());
    for (int level : {0, 1, 50, 100}) {
        QCOMPARE(results_->levelBestTimes[level], kNoBestTime);
        for (int student : {0, 1, 1000, 9999})
            QCOMPARE(results_->bestTimes.at(level, student), kNoBestTime);
    }
}

void tst_LoadedResults::keptRecords_data() {
    QTest::addColumn<int>("student");
    QTest::addColumn<int>("level");
    QTest::addColumn<double>("date");
    QTest::addColumn<bool>("kept");
    QTest::newRow("ordinary run") << 7 << 2 << 46367.0 << true;
    QTest::newRow("first roster number and level") << 1 << 1 << 0.0 << true;
    QTest::newRow("last roster number and level") << 9999 << 100 << 46367.0 << true;
    QTest::newRow("student 0") << 0 << 2 << 46367.0 << false;
    QTest::newRow("level 0") << 7 << 0 << 46367.0 << false;
    QTest::newRow("negative date") << 7 << 2 << -1.0 << false;
    // Not in the tables the results are counted in.
    QTest::newRow("negative student") << -7 << 2 << 46367.0 << false;
    QTest::newRow("student 10000") << 10000 << 2 << 46367.0 << false;
    QTest::newRow("level 101") << 7 << 101 << 46367.0 << false;
    QTest::newRow("date past 9999-12-31") << 7 << 2 << 2958466.0 << false;
    QTest::newRow("date not a number")
        << 7 << 2 << std::numeric_limits<double>::quiet_NaN() << false;
    QTest::newRow("infinite date") << 7 << 2 << std::numeric_limits<double>::infinity() << false;
}

void tst_LoadedResults::keptRecords() {
    QFETCH(int, student);
    QFETCH(int, level);
    QFETCH(double, date);
    QFETCH(bool, kept);
    const ResultRecord stored = record(student, level, 40, date);
    QCOMPARE(isKeptRecord(stored), kept);
    fillLoadedResults(*results_, std::vector<ResultRecord>{stored});
    QCOMPARE(results_->loadedRecords.size(), kept ? 1u : 0u);
    if (kept) {
        const LoadedRecord& entry = results_->loadedRecords.front();
        QCOMPARE(entry.student, student);
        QCOMPARE(entry.level, level);
        QCOMPARE(entry.date, date);
        QCOMPARE(entry.clock, 0.5);
        QCOMPARE(entry.seconds, 40);
        QCOMPARE(entry.storedPoints, 0);
    }
}

void tst_LoadedResults::unkeptRecordsStillLowerBestTimesOfIndexZero() {
    std::vector<ResultRecord> records = {record(0, 3, 40), record(7, 0, 30), record(0, 0, 20),
                                         record(7, 3, 50)};
    // An entry that is not kept is overwritten by the next one, not left in between.
    fillLoadedResults(*results_, records);
    QCOMPARE(results_->loadedRecords.size(), 1u);
    QCOMPARE(results_->loadedRecords.front().seconds, 50);
    QCOMPARE(results_->bestTimes.at(3, 0), 40);
    QCOMPARE(results_->bestTimes.at(0, 7), 30);
    QCOMPARE(results_->bestTimes.at(0, 0), 20);
    QCOMPARE(results_->bestTimes.at(3, 7), 50);
    // Index 0 takes no part in the level best.
    QCOMPARE(results_->levelBestTimes[3], 50);
    QCOMPARE(results_->levelBestTimes[0], kNoBestTime);
}

void tst_LoadedResults::bestTimes_data() {
    QTest::addColumn<QList<int>>("times");
    QTest::addColumn<int>("best");
    QTest::newRow("smallest wins") << QList<int>{60, 45, 50} << 45;
    QTest::newRow("timed out is never a best") << QList<int>{99999} << kNoBestTime;
    QTest::newRow("timed out after a run") << QList<int>{70, 99999} << 70;
    QTest::newRow("only runs without a valid time") << QList<int>{6000, 99998} << kOnlyFailedRuns;
    QTest::newRow("a valid time beats a failed run") << QList<int>{6000, 4999} << 4999;
    QTest::newRow("5000 is not valid") << QList<int>{5000} << kOnlyFailedRuns;
}

void tst_LoadedResults::bestTimes() {
    QFETCH(QList<int>, times);
    QFETCH(int, best);
    std::vector<ResultRecord> records;
    for (int t : times)
        records.push_back(record(7, 2, t));
    fillLoadedResults(*results_, records);
    QCOMPARE(results_->bestTimes.at(2, 7), best);
    QCOMPARE(results_->levelBestTimes[2], best);
    QCOMPARE(results_->loadedRecords.size(), std::size_t(times.size())); // all listed
}

void tst_LoadedResults::levelBestIsOverStudentsUpTo1000() {
    fillLoadedResults(*results_, std::vector<ResultRecord>{record(1001, 4, 20), record(1000, 4, 30),
                                                           record(3, 4, 35), record(3, 1, 10)});
    QCOMPARE(results_->bestTimes.at(4, 1001), 20);
    QCOMPARE(results_->levelBestTimes[4], 30);
    QCOMPARE(results_->levelBestTimes[1], 10);
    QCOMPARE(results_->levelBestTimes[2], kNoBestTime);
}

void tst_LoadedResults::reloadingStartsAfresh() {
    fillLoadedResults(*results_, std::vector<ResultRecord>{record(7, 2, 30)});
    fillLoadedResults(*results_, std::vector<ResultRecord>{record(8, 2, 40)});
    // Only the level with runs holds a row; the level-best pass over every
    // level reads and makes none.
    QCOMPARE(results_->bestTimes.rowsMade(), 1);
    QCOMPARE(std::as_const(results_->bestTimes).at(3, 8), kNoBestTime);
    QCOMPARE(results_->loadedRecords.size(), 1u);
    QCOMPARE(results_->bestTimes.at(2, 7), kNoBestTime);
    QCOMPARE(results_->levelBestTimes[2], 40);
}

void tst_LoadedResults::moreThanTheCapKeepsTheNewest() {
    std::vector<ResultRecord> records;
    for (int n = 1; n <= kMaxLoadedRecords + 3; ++n)
        records.push_back(record(7, 2, n));
    fillLoadedResults(*results_, records);
    QCOMPARE(results_->loadedRecords.size(), std::size_t(kMaxLoadedRecords));
    QCOMPARE(results_->loadedRecords.front().seconds, 4);
    QCOMPARE(results_->loadedRecords.back().seconds, kMaxLoadedRecords + 3);
}

QTEST_GUILESS_MAIN(tst_LoadedResults)
#include "tst_loadedresults.moc"
