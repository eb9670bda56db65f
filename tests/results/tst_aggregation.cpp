#include "results/Aggregation.h"

#include <QTest>
#include <limits>
#include <memory>

using namespace kavoret;
using namespace kavoret::results;

namespace {

constexpr double kToday = 46367; // 2026-12-11

LoadedRecord run(int student, int level, int seconds, double date = kToday) {
    LoadedRecord entry;
    entry.date = date;
    entry.clock = 0.5;
    entry.student = student;
    entry.level = level;
    entry.seconds = seconds;
    return entry;
}

template <typename T> bool sameTable(const LevelStudentTable<T>& a, const LevelStudentTable<T>& b) {
    for (int level = 0; level <= kMaxLevel; ++level)
        for (int student = 0; student <= kMaxStudent; ++student)
            if (a.at(level, student) != b.at(level, student))
                return false;
    return true;
}

template <typename T> double tableSum(const LevelStudentTable<T>& table) {
    double sum = 0;
    for (int level = 0; level <= kMaxLevel; ++level)
        for (int student = 0; student <= kMaxStudent; ++student)
            sum += static_cast<double>(table.at(level, student));
    return sum;
}

} // namespace

class tst_Aggregation : public QObject {
    Q_OBJECT
private slots:
    void init();
    void pointsOfARun_data();
    void pointsOfARun();
    void dateWindows_data();
    void dateWindows();
    void timedOutRunCountsNowhere();
    void todayTimeSumsAddTheFirstThreeDigits();
    void leadingDigits_data();
    void leadingDigits();
    void levelsOutsideTheTablesAreIgnored();
    void aCallForgetsTheEarlierOne();
    void onlyLevelsWithRunsHoldRows();

private:
    void aggregate(const std::vector<LoadedRecord>& runs) {
        resetAggregates(*tables_);
        aggregateRuns(*tables_, runs, criteria_, referenceTimes_, kToday);
    }

    std::unique_ptr<AggregateState> tables_;
    CriteriaState criteria_;
    PerLevel<double> referenceTimes_{};
};

void tst_Aggregation::init() {
    tables_ = std::make_unique<AggregateState>();
    criteria_ = CriteriaState();
    criteria_.pointRates.fill(1);
    criteria_.judgeDays.fill(10);
    criteria_.stopDays.fill(10);
    referenceTimes_.fill(50);
}

void tst_Aggregation::pointsOfARun_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<double>("reference");
    QTest::addColumn<float>("rate");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("valid");
    QTest::newRow("at the reference time") << 50 << 50.0 << 1.0f << 10 << true;
    QTest::newRow("rate 1.5") << 50 << 50.0 << 1.5f << 15 << true;
    QTest::newRow("rate 0.5") << 50 << 50.0 << 0.5f << 5 << true;
    QTest::newRow("rate truncated") << 25 << 50.0 << 0.5f << 7 << true; // 15 × 0.5
    // Rates that binary fractions cannot hold: the product is taken in single
    // precision, so 10 × 0.7 is 7, not 6.99999988 floored to 6.
    QTest::newRow("10 x 0.7") << 50 << 50.0 << 0.7f << 7 << true;
    QTest::newRow("20 x 0.7") << 5 << 50.0 << 0.7f << 14 << true;
    QTest::newRow("10 x 0.9") << 50 << 50.0 << 0.9f << 9 << true;
    QTest::newRow("10 x 1.3") << 50 << 50.0 << 1.3f << 13 << true;
    QTest::newRow("10 x 2.3") << 50 << 50.0 << 2.3f << 23 << true;
    QTest::newRow("20 x 1.15") << 5 << 50.0 << 1.15f << 23 << true;
    QTest::newRow("15 x 0.7 truncated") << 25 << 50.0 << 0.7f << 10 << true; // 10.5
    QTest::newRow("reference 0 scored against 100") << 100 << 0.0 << 1.0f << 10 << true;
    QTest::newRow("time limit reached") << 99999 << 50.0 << 1.0f << 0 << false;
    // Points of a run without a valid time still count in the sums.
    QTest::newRow("not valid, yet points") << 6000 << 5000.0 << 1.0f << 8 << false;
}

void tst_Aggregation::pointsOfARun() {
    QFETCH(int, seconds);
    QFETCH(double, reference);
    QFETCH(float, rate);
    QFETCH(int, points);
    QFETCH(bool, valid);
    referenceTimes_[3] = reference;
    criteria_.pointRates[3] = rate;
    aggregate({run(12, 3, seconds)});
    QCOMPARE(tables_->pointTotals.at(3, 12), points);
    QCOMPARE(tables_->todayPointTotals.at(3, 12), points);
    QCOMPARE(tables_->weekPointTotals.at(3, 12), double(points));
    QCOMPARE(tables_->validRunCounts.at(3, 12), valid ? 1 : 0);
    QCOMPARE(tables_->todayRunCounts.at(3, 12), valid ? 1.0f : 0.0f);
    // A reference time of 0 becomes 100 and keeps that value.
    QCOMPARE(referenceTimes_[3], reference == 0 ? 100.0 : reference);
}

void tst_Aggregation::dateWindows_data() {
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<double>("judgeDays");
    QTest::addColumn<double>("stopDays");
    QTest::addColumn<bool>("inJudge");
    QTest::addColumn<bool>("inStop");
    QTest::addColumn<bool>("inWeek");
    QTest::addColumn<bool>("inMonth");
    QTest::addColumn<bool>("inHalfYear");
    QTest::addColumn<bool>("isToday");
    QTest::newRow("today, window 1 and 0")
        << 0 << 1.0 << 0.0 << true << false << true << true << true << true;
    QTest::newRow("yesterday, window 1 and 2")
        << 1 << 1.0 << 2.0 << false << true << true << true << true << false;
    QTest::newRow("6 days ago, window 7 and 6")
        << 6 << 7.0 << 6.0 << true << false << true << true << true << false;
    QTest::newRow("7 days ago") << 7 << 10.0 << 10.0 << true << true << false << true << true
                                << false;
    QTest::newRow("29 days ago") << 29 << 10.0 << 30.0 << false << true << false << true << true
                                 << false;
    QTest::newRow("30 days ago") << 30 << 10.0 << 10.0 << false << false << false << false << true
                                 << false;
    QTest::newRow("179 days ago") << 179 << 10.0 << 10.0 << false << false << false << false << true
                                  << false;
    QTest::newRow("180 days ago") << 180 << 10.0 << 10.0 << false << false << false << false
                                  << false << false;
    // A clock set back: the run is in every window but is not today's.
    QTest::newRow("tomorrow") << -1 << 1.0 << 1.0 << true << true << true << true << true << false;
}

void tst_Aggregation::dateWindows() {
    QFETCH(int, daysAgo);
    QFETCH(double, judgeDays);
    QFETCH(double, stopDays);
    QFETCH(bool, inJudge);
    QFETCH(bool, inStop);
    QFETCH(bool, inWeek);
    QFETCH(bool, inMonth);
    QFETCH(bool, inHalfYear);
    QFETCH(bool, isToday);
    criteria_.judgeDays[2] = judgeDays;
    criteria_.stopDays[2] = stopDays;
    aggregate({run(7, 2, 50, kToday - daysAgo)}); // 10 points
    const AggregateState& t = *tables_;
    QCOMPARE(t.validRunCounts.at(2, 7), 1);
    QCOMPARE(t.pointTotals.at(2, 7), 10);
    QCOMPARE(t.judgeRunCounts.at(2, 7), inJudge ? 1 : 0);
    QCOMPARE(t.judgePointTotals.at(2, 7), inJudge ? 10 : 0);
    QCOMPARE(t.stopRunCounts.at(2, 7), inStop ? 1 : 0);
    QCOMPARE(t.stopPointTotals.at(2, 7), inStop ? 10 : 0);
    QCOMPARE(t.weekPointTotals.at(2, 7), inWeek ? 10.0 : 0.0);
    QCOMPARE(t.monthPointTotals.at(2, 7), inMonth ? 10.0 : 0.0);
    QCOMPARE(t.halfYearPointTotals.at(2, 7), inHalfYear ? 10.0 : 0.0);
    QCOMPARE(t.todayRunCounts.at(2, 7), isToday ? 1.0f : 0.0f);
    QCOMPARE(t.todayPointTotals.at(2, 7), isToday ? 10 : 0);
    QCOMPARE(t.todayTimeSums.at(2, 7), isToday ? 50.0f : 0.0f);
}

void tst_Aggregation::timedOutRunCountsNowhere() {
    aggregate({run(7, 1, 99999)});
    const AggregateState& t = *tables_;
    QCOMPARE(t.validRunCounts.at(1, 7), 0);
    QCOMPARE(t.judgeRunCounts.at(1, 7), 0);
    QCOMPARE(t.stopRunCounts.at(1, 7), 0);
    QCOMPARE(t.todayRunCounts.at(1, 7), 0.0f);
    QCOMPARE(t.pointTotals.at(1, 7), 0);
    QCOMPARE(t.todayPointTotals.at(1, 7), 0);
    QCOMPARE(t.todayTimeSums.at(1, 7), 999.0f);
}

void tst_Aggregation::todayTimeSumsAddTheFirstThreeDigits() {
    aggregate({run(7, 1, 1234), run(7, 1, 45), run(7, 1, 300, kToday - 1)});
    QCOMPARE(tables_->todayTimeSums.at(1, 7), 168.0f);
    QCOMPARE(tables_->todayRunCounts.at(1, 7), 2.0f);
    QCOMPARE(tables_->validRunCounts.at(1, 7), 3);
}

void tst_Aggregation::leadingDigits_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("value");
    QTest::newRow("one digit") << 7 << 7;
    QTest::newRow("three digits") << 999 << 999;
    QTest::newRow("four digits") << 1234 << 123;
    QTest::newRow("time limit") << 99999 << 999;
    QTest::newRow("negative") << -1234 << -12;
    QTest::newRow("most negative") << std::numeric_limits<int>::min() << -21;
}

void tst_Aggregation::leadingDigits() {
    QFETCH(int, seconds);
    QFETCH(int, value);
    QCOMPARE(leadingDigitsValue(seconds), value);
}

void tst_Aggregation::levelsOutsideTheTablesAreIgnored() {
    referenceTimes_.fill(0);
    aggregate({run(7, 0, 50), run(7, 101, 50), run(7, -3, 50), run(-1, 2, 50), run(10000, 2, 50)});
    QCOMPARE(tableSum(tables_->validRunCounts), 0.0);
    QCOMPARE(tableSum(tables_->pointTotals), 0.0);
    QCOMPARE(tableSum(tables_->todayTimeSums), 0.0);
    QCOMPARE(referenceTimes_[0], 0.0); // not even the reference time was touched
}

// Each call starts from scratch: figures of an earlier call, at levels and
// students the new records no longer name, are gone.
void tst_Aggregation::aCallForgetsTheEarlierOne() {
    criteria_.judgeDays[1] = 1;
    criteria_.stopDays[2] = 3;
    aggregate({run(7, 1, 40), run(5, 3, 20), run(9999, 100, 12, kToday - 100)});
    const std::vector<LoadedRecord> runs = {run(7, 1, 40), run(7, 1, 99999),
                                            run(8, 2, 60, kToday - 2),
                                            run(9999, 100, 12, kToday - 100)};
    aggregate(runs);
    AggregateState fresh;
    resetAggregates(fresh);
    aggregateRuns(fresh, runs, criteria_, referenceTimes_, kToday);
    const AggregateState& a = fresh;
    const AggregateState& b = *tables_;
    QVERIFY(sameTable(a.validRunCounts, b.validRunCounts));
    QVERIFY(sameTable(a.pointTotals, b.pointTotals));
    QVERIFY(sameTable(a.judgeRunCounts, b.judgeRunCounts));
    QVERIFY(sameTable(a.judgePointTotals, b.judgePointTotals));
    QVERIFY(sameTable(a.stopRunCounts, b.stopRunCounts));
    QVERIFY(sameTable(a.stopPointTotals, b.stopPointTotals));
    QVERIFY(sameTable(a.weekPointTotals, b.weekPointTotals));
    QVERIFY(sameTable(a.monthPointTotals, b.monthPointTotals));
    QVERIFY(sameTable(a.halfYearPointTotals, b.halfYearPointTotals));
    QVERIFY(sameTable(a.todayRunCounts, b.todayRunCounts));
    QVERIFY(sameTable(a.todayPointTotals, b.todayPointTotals));
    QVERIFY(sameTable(a.todayTimeSums, b.todayTimeSums));
    QCOMPARE(b.validRunCounts.at(1, 7), 1);
    QCOMPARE(b.pointTotals.at(3, 5), 0);       // only the first call had it
    QCOMPARE(b.pointTotals.at(100, 9999), 16); // r 0.24
}

// Only the levels that have runs hold memory: a family practising four levels
// keeps four rows per table, made once and reused by every later call.
void tst_Aggregation::onlyLevelsWithRunsHoldRows() {
    QCOMPARE(tables_->pointTotals.rowsMade(), 0);
    aggregate({run(7, 1, 40), run(8, 2, 40), run(9, 2, 99999), run(7, 4, 30)});
    QCOMPARE(tables_->pointTotals.rowsMade(), 3);
    QCOMPARE(tables_->halfYearPointTotals.rowsMade(), 3);
    QCOMPARE(tables_->todayRunCounts.rowsMade(), 3);
    aggregate({run(7, 3, 40)});
    QCOMPARE(tables_->pointTotals.rowsMade(), 4);
    QCOMPARE(tables_->pointTotals.at(1, 7), 0);
    QCOMPARE(tables_->pointTotals.at(3, 7), 10); // r 0.8
}

QTEST_GUILESS_MAIN(tst_Aggregation)
#include "tst_aggregation.moc"
