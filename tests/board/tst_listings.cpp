#include "BoardTestState.h"
#include "board/Listings.h"

#include <QTest>

using namespace kavoret;
using namespace kavoret::board;
using test::kBoardSerialToday;
using test::kBoardToday;

namespace {

// Logged in: 7, grade 3. Others: 8 grade 5, 9 grade 10 (no circled number).
void addClass(test::BoardTestState& state) {
    state.addStudent(7, QStringLiteral("山田太郎"), 3);
    state.addStudent(8, QStringLiteral("佐藤花子"), 5);
    state.addStudent(9, QStringLiteral("  Alexander Long"), 10);
    state.logIn(7);
}

const QTime kMorning(9, 5, 30);

} // namespace

class tst_Listings : public QObject {
    Q_OBJECT
private slots:
    void displayPointsTable_data();
    void displayPointsTable();
    void periodDays_data();
    void periodDays();
    void todayLine_data();
    void todayLine();
    void todayListShortestFirstAndFailedLast();
    void todayReadsOnlyTheLastThousandRecords();
    void classFilterAndColumns();
    void periodLine_data();
    void periodLine();
    void periodMembership_data();
    void periodMembership();
    void ownLine_data();
    void ownLine();
    void ownListByDateThenClockText();
};

void tst_Listings::displayPointsTable_data() {
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("points");
    QTest::newRow("at the target") << 60 << 60 << 5;
    QTest::newRow("half the target: 11.25") << 60 << 30 << 11;
    QTest::newRow("one second") << 60 << 1 << 52;
    QTest::newRow("first three digits of t count") << 2000 << 1500 << 44;
    QTest::newRow("just above the target") << 60 << 61 << 4;
    QTest::newRow("1.5 times the target") << 60 << 90 << 4;
    QTest::newRow("twice the target") << 60 << 120 << 1;
    QTest::newRow("3 times the target") << 60 << 180 << 1;
    QTest::newRow("just below 10 times") << 60 << 599 << 1;
    QTest::newRow("10 times the target") << 60 << 600 << 0;
    QTest::newRow("failed") << 60 << 99998 << 0;
    QTest::newRow("timed out") << 60 << 99999 << 0;
    QTest::newRow("no target time") << 0 << 30 << 0;
}

void tst_Listings::displayPointsTable() {
    QFETCH(int, target);
    QFETCH(int, seconds);
    QFETCH(int, points);
    QCOMPARE(displayPoints(target, seconds), points);
}

void tst_Listings::periodDays_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("periodIndex");
    QTest::addColumn<int>("days");
    const QDate sunday(2026, 12, 13);
    const QDate monday(2026, 12, 14);
    const QDate saturday(2026, 12, 12);
    QTest::newRow("this week, Sunday: 7 days") << sunday << 1 << 7;
    QTest::newRow("this week, Monday: only today") << monday << 1 << 1;
    QTest::newRow("this week, Friday") << kBoardToday << 1 << 5;
    QTest::newRow("this week, Saturday") << saturday << 1 << 6;
    QTest::newRow("since last week, Sunday") << sunday << 2 << 14;
    QTest::newRow("since last week, Monday") << monday << 2 << 8;
    QTest::newRow("since last week, Friday") << kBoardToday << 2 << 12;
    QTest::newRow("month") << monday << 3 << 30;
    QTest::newRow("year") << monday << 4 << 365;
    QTest::newRow("all") << monday << 5 << 3650;
    QTest::newRow("no such period") << monday << 6 << 0;
}

void tst_Listings::periodDays() {
    QFETCH(QDate, today);
    QFETCH(int, periodIndex);
    QFETCH(int, days);
    QCOMPARE(periodDaysBack(periodIndex, today), days);
}

void tst_Listings::todayLine_data() {
    QTest::addColumn<int>("student");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QTime>("clock");
    QTest::addColumn<QString>("line");
    QTest::newRow("45 s, own run, marks ●")
        << 7 << 45 << kMorning << QStringLiteral("  45秒 09:05●山田太郎　●5");
    QTest::newRow("120 s, grade 5 circled")
        << 8 << 120 << QTime(14, 30) << QStringLiteral(" 120秒 14:30⑤佐藤花子　⑤1");
    QTest::newRow("name cut to five, grade 10 blank mark")
        << 9 << 30 << kMorning << QStringLiteral("  30秒 09:05　Alexa　11");
    QTest::newRow("time limit reached: failed line")
        << 8 << 99999 << kMorning << QStringLiteral("　　× 09:05⑤佐藤花子　⑤");
    QTest::newRow("90000 counts as failed")
        << 7 << 90000 << kMorning << QStringLiteral("　　× 09:05●山田太郎　●");
}

void tst_Listings::todayLine() {
    QFETCH(int, student);
    QFETCH(int, seconds);
    QFETCH(QTime, clock);
    QFETCH(QString, line);
    test::BoardTestState state;
    addClass(state);
    state.addRun(student, 2, seconds, 0, clock);
    state.addRun(student, 2, seconds, 1, clock); // yesterday: not listed
    const LevelLists lists = todayListing(*state, QStringLiteral("全学年"), kBoardSerialToday);
    QCOMPARE(lists.size(), std::size_t(5));
    QCOMPARE(lists[2], QStringList{line});
    for (int level : {0, 1, 3, 4})
        QVERIFY(lists[static_cast<std::size_t>(level)].isEmpty());
}

void tst_Listings::todayListShortestFirstAndFailedLast() {
    test::BoardTestState state;
    addClass(state);
    state.addRun(8, 1, 99999, 0, QTime(8, 0));
    state.addRun(7, 1, 120, 0, QTime(9, 0));
    state.addRun(8, 1, 45, 0, QTime(10, 0));
    const LevelLists lists = todayListing(*state, QStringLiteral("全学年"), kBoardSerialToday);
    QCOMPARE(lists[1], QStringList({QStringLiteral("  45秒 10:00⑤佐藤花子　⑤5"),
                                    QStringLiteral(" 120秒 09:00●山田太郎　●1"),
                                    QStringLiteral("　　× 08:00⑤佐藤花子　⑤")}));
}

void tst_Listings::todayReadsOnlyTheLastThousandRecords() {
    test::BoardTestState state;
    addClass(state);
    state.addRun(8, 1, 40);
    for (int i = 0; i < 1000; ++i)
        state.addRun(7, 1, 50);
    const LevelLists lists = todayListing(*state, QStringLiteral("全学年"), kBoardSerialToday);
    QCOMPARE(lists[1].size(), 1000);
    QVERIFY(lists[1].filter(QStringLiteral("佐藤")).isEmpty());
}

void tst_Listings::classFilterAndColumns() {
    test::BoardTestState state;
    addClass(state);
    state.addRun(7, 1, 40);
    state.addRun(8, 1, 41);
    state.addRun(9, 1, 42);
    state.addRun(7, 5, 43); // a level without a column
    auto names = [&](const QString& className) {
        const LevelLists lists = todayListing(*state, className, kBoardSerialToday);
        return lists.size() == 5 ? lists[1].join(u'|') : QStringLiteral("wrong column count");
    };
    QCOMPARE(names(QStringLiteral("小３")), QStringLiteral("  40秒 12:00●山田太郎　●6"));
    QCOMPARE(names(QStringLiteral("小学生全体")).count(u'|'), 1);
    QCOMPARE(names(QStringLiteral("全学年")).count(u'|'), 2);
    QCOMPARE(names(QStringLiteral("中学生全体")), QString());
    QCOMPARE(periodListing(*state, QStringLiteral("小５"), kBoardSerialToday, 3, 1)[1],
             QStringList{QStringLiteral("  41秒 12/11⑤佐藤花子　⑤6")});
}

void tst_Listings::periodLine_data() {
    QTest::addColumn<int>("displayMode");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("line");
    QTest::newRow("time display") << 1 << 45 << QStringLiteral("  45秒 12/09●山田太郎　●5");
    QTest::newRow("mode 0 is the time display")
        << 0 << 120 << QStringLiteral(" 120秒 12/09●山田太郎　●1");
    QTest::newRow("point display") << 2 << 30 << QStringLiteral("   11 12/09●山田太郎　●30秒");
    QTest::newRow("failed, time display")
        << 1 << 99999 << QStringLiteral("　　× 12/09●山田太郎　●");
    QTest::newRow("failed, point display")
        << 2 << 99998 << QStringLiteral("　　× 12/09●山田太郎　●");
}

void tst_Listings::periodLine() {
    QFETCH(int, displayMode);
    QFETCH(int, seconds);
    QFETCH(QString, line);
    test::BoardTestState state;
    addClass(state);
    state.addRun(7, 3, seconds, 2);
    const LevelLists lists =
        periodListing(*state, QStringLiteral("全学年"), kBoardSerialToday, 3, displayMode);
    QCOMPARE(lists[3], QStringList{line});
}

void tst_Listings::periodMembership_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("periodIndex");
    QTest::addColumn<int>("daysBack");
    QTest::addColumn<bool>("listed");
    const QDate monday(2026, 12, 14);
    const QDate sunday(2026, 12, 13);
    QTest::newRow("Monday, this week: today") << monday << 1 << 0 << true;
    QTest::newRow("Monday, this week: not Sunday") << monday << 1 << 1 << false;
    QTest::newRow("Sunday, this week: last Monday") << sunday << 1 << 6 << true;
    QTest::newRow("Sunday, this week: not the Sunday before") << sunday << 1 << 7 << false;
    QTest::newRow("since last week: last Monday") << monday << 2 << 7 << true;
    QTest::newRow("since last week: not the Sunday before") << monday << 2 << 8 << false;
    QTest::newRow("month: 29 days back") << monday << 3 << 29 << true;
    QTest::newRow("month: not 30 days back") << monday << 3 << 30 << false;
}

void tst_Listings::periodMembership() {
    QFETCH(QDate, today);
    QFETCH(int, periodIndex);
    QFETCH(int, daysBack);
    QFETCH(bool, listed);
    test::BoardTestState state;
    addClass(state);
    const double serialToday = serialDay(today);
    state.addRun(7, 1, 40, static_cast<int>(kBoardSerialToday - serialToday) + daysBack);
    const LevelLists lists =
        periodListing(*state, QStringLiteral("全学年"), serialToday, periodIndex, 1);
    QCOMPARE(lists[1].size(), listed ? 1 : 0);
}

void tst_Listings::ownLine_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QTime>("clock");
    QTest::addColumn<QString>("line");
    QTest::newRow("45 s in the morning")
        << 45 << kMorning << QStringLiteral("2026/12/11 9:05:30  45秒");
    QTest::newRow("120 s in the afternoon")
        << 120 << QTime(14, 0, 5) << QStringLiteral("2026/12/11 14:00:05 120秒");
    QTest::newRow("failed: the clock right-aligned")
        << 99999 << kMorning << QStringLiteral("2026/12/11   9:05:30");
    QTest::newRow("failed in the afternoon")
        << 99998 << QTime(14, 0, 5) << QStringLiteral("2026/12/11   14:00:05");
}

void tst_Listings::ownLine() {
    QFETCH(int, seconds);
    QFETCH(QTime, clock);
    QFETCH(QString, line);
    test::BoardTestState state;
    addClass(state);
    state.addRun(7, 4, seconds, 0, clock);
    state.addRun(8, 4, seconds, 0, clock); // someone else's run
    const LevelLists lists = ownListing(*state, QStringLiteral("全学年"), kBoardSerialToday);
    QCOMPARE(lists[4], QStringList{line});
}

void tst_Listings::ownListByDateThenClockText() {
    test::BoardTestState state;
    addClass(state);
    state.addRun(7, 1, 50, 0, QTime(9, 30));
    state.addRun(7, 1, 40, 0, QTime(10, 5));
    state.addRun(7, 1, 60, 1, QTime(11, 0));
    state.addRun(7, 1, 70, 3650, QTime(11, 0)); // ten years back: not listed
    const LevelLists lists = ownListing(*state, QStringLiteral("全学年"), kBoardSerialToday);
    QCOMPARE(lists[1], QStringList({QStringLiteral("2026/12/10 11:00:00  60秒"),
                                    QStringLiteral("2026/12/11 10:05:00  40秒"),
                                    QStringLiteral("2026/12/11 9:30:00  50秒")}));
    // The class still filters: the logged-in student is in grade 3.
    QVERIFY(ownListing(*state, QStringLiteral("中１"), kBoardSerialToday)[1].isEmpty());
}

QTEST_GUILESS_MAIN(tst_Listings)
#include "tst_listings.moc"
