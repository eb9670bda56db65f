#include "BoardTestState.h"
#include "board/Rankings.h"

#include <QTest>
#include <vector>

using namespace kavoret;
using namespace kavoret::board;

Q_DECLARE_METATYPE(std::vector<int>)

namespace {

const QString kAll = QStringLiteral("全学年");

void setBest(test::BoardTestState& state, int level, int student, int seconds) {
    state->results.bestTimes.at(level, student) = seconds;
}

void setPoints(test::BoardTestState& state, int level, int student, int total, int today) {
    state->aggregates.pointTotals.at(level, student) = total;
    state->aggregates.todayPointTotals.at(level, student) = today;
}

} // namespace

class tst_Rankings : public QObject {
    Q_OBJECT
private slots:
    void mergeSortTieRule_data();
    void mergeSortTieRule();
    void mergeSortOrdersManyKeys();
    void bestTimeLines();
    void classKeepsWholeRosterRanks();
    void ranksFromHundredOnComeAfterTheOthers();
    void pointsSoFar();
    void todayPointsLeaveOutZeros();
    void studentLine_data();
    void studentLine();
};

void tst_Rankings::mergeSortTieRule_data() {
    QTest::addColumn<std::vector<int>>("keys");
    QTest::addColumn<std::vector<int>>("sortedKeys");
    QTest::addColumn<std::vector<int>>("sortedStudents"); // students start as 1, 2, 3, ...
    QTest::newRow("nothing") << std::vector<int>{} << std::vector<int>{} << std::vector<int>{};
    QTest::newRow("one") << std::vector<int>{5} << std::vector<int>{5} << std::vector<int>{1};
    QTest::newRow("distinct") << std::vector<int>{3, 1, 2} << std::vector<int>{1, 2, 3}
                              << std::vector<int>{2, 3, 1};
    QTest::newRow("two equal: the right one first")
        << std::vector<int>{5, 5} << std::vector<int>{5, 5} << std::vector<int>{2, 1};
    QTest::newRow("three equal") << std::vector<int>{5, 5, 5} << std::vector<int>{5, 5, 5}
                                 << std::vector<int>{3, 2, 1};
    QTest::newRow("pairs of equal keys")
        << std::vector<int>{2, 1, 2, 1} << std::vector<int>{1, 1, 2, 2}
        << std::vector<int>{4, 2, 3, 1};
    QTest::newRow("odd count splits after the middle")
        << std::vector<int>{7, 7, 3, 7, 3} << std::vector<int>{3, 3, 7, 7, 7}
        << std::vector<int>{5, 3, 4, 2, 1};
}

void tst_Rankings::mergeSortTieRule() {
    QFETCH(std::vector<int>, keys);
    QFETCH(std::vector<int>, sortedKeys);
    QFETCH(std::vector<int>, sortedStudents);
    std::vector<int> students(keys.size());
    for (std::size_t i = 0; i < students.size(); ++i)
        students[i] = static_cast<int>(i) + 1;
    rankMergeSort(keys, students);
    QCOMPARE(keys, sortedKeys);
    QCOMPARE(students, sortedStudents);
}

void tst_Rankings::mergeSortOrdersManyKeys() {
    // Few distinct keys over many entries: every student keeps its own key.
    std::vector<int> original(9999);
    unsigned seed = 12345;
    for (int& key : original) {
        seed = seed * 1103515245u + 12345u;
        key = static_cast<int>(seed >> 16) % 40 - 20;
    }
    std::vector<int> keys = original;
    std::vector<int> students(keys.size());
    for (std::size_t i = 0; i < students.size(); ++i)
        students[i] = static_cast<int>(i);
    rankMergeSort(keys, students);
    QVERIFY(std::is_sorted(keys.begin(), keys.end()));
    std::vector<bool> seen(keys.size(), false);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto student = static_cast<std::size_t>(students[i]);
        QVERIFY(!seen[student]);
        seen[student] = true;
        QCOMPARE(keys[i], original[student]);
    }
}

void tst_Rankings::bestTimeLines() {
    test::BoardTestState state;
    state.addStudent(1, QStringLiteral("いとう"), 3);
    state.addStudent(2, QStringLiteral("あべ"), 3);
    state.addStudent(3, QStringLiteral("うえだ"), 4);
    state.addStudent(4, QStringLiteral("えもと"), 4);
    state.addStudent(5, QStringLiteral("おおの"), 12);
    state.addStudent(6, QStringLiteral("かとう"), 4);
    state.logIn(3);
    setBest(state, 2, 1, 30);
    setBest(state, 2, 2, 30);
    setBest(state, 2, 3, 4567);
    setBest(state, 2, 4, 99998); // only failed runs
    setBest(state, 2, 5, 99999); // no run
    setBest(state, 2, 6, 99999);
    const RankingBuilder builder(*state);
    const RankedList ranked = builder.build(2, RankingKind::BestTime, kAll);
    // Equal times share rank 1 (names in text order), the next time takes
    // position 3; the failed runner comes after every time, then those
    // without a run.
    QCOMPARE(ranked.lines, QStringList({
                               QStringLiteral(" 1③あべ　　　    30 　"),
                               QStringLiteral(" 1③いとう　　    30 　"),
                               QStringLiteral(" 3●うえだ　　  4567 ●"),
                               QStringLiteral(" 4④えもと　　*失敗* 　"),
                               QStringLiteral("--　おおの　　------ 　"),
                               QStringLiteral("--④かとう　　------ 　"),
                           }));
    QCOMPARE(ranked.studentLine, 2);
    // Whose each line is and the rank it shows, none on a "--" line.
    QCOMPARE(ranked.students, (std::vector<int>{2, 1, 3, 4, 5, 6}));
    QCOMPARE(ranked.ranks, (std::vector<int>{1, 1, 3, 4, 0, 0}));
    QCOMPARE(ranked.lineOf(4), 3);
    QCOMPARE(ranked.lineOf(7), -1);
}

void tst_Rankings::classKeepsWholeRosterRanks() {
    test::BoardTestState state;
    const QString names[] = {QStringLiteral("あ"), QStringLiteral("い"), QStringLiteral("う"),
                             QStringLiteral("え"), QStringLiteral("お"), QStringLiteral("か"),
                             QStringLiteral("き"), QStringLiteral("く"), QStringLiteral("け"),
                             QStringLiteral("こ")};
    for (int student = 1; student <= 10; ++student) {
        // Grade 2 at ranks 2, 5 and 9, grade 4 elsewhere.
        const bool second = student == 2 || student == 5 || student == 9;
        state.addStudent(student, names[student - 1], second ? 2 : 4);
        setBest(state, 1, student, 20 + student);
    }
    state.logIn(5);
    const RankingBuilder builder(*state);
    QCOMPARE(builder.build(1, RankingKind::BestTime, QStringLiteral("小２")).lines,
             QStringList({QStringLiteral(" 2②い　　　　    22 　"),
                          QStringLiteral(" 5●お　　　　    25 ●"),
                          QStringLiteral(" 9②け　　　　    29 　")}));
    QCOMPARE(builder.build(1, RankingKind::BestTime, kAll).lines.size(), 10);
    QVERIFY(builder.build(1, RankingKind::BestTime, QStringLiteral("中１")).lines.isEmpty());
}

void tst_Rankings::ranksFromHundredOnComeAfterTheOthers() {
    test::BoardTestState state;
    for (int student = 1; student <= 102; ++student) {
        state.addStudent(student, QStringLiteral("N%1").arg(student, 3, 10, QLatin1Char('0')), 5);
        setBest(state, 1, student, student <= 101 ? student + 9 : 99999);
    }
    const RankedList ranked = RankingBuilder(*state).build(1, RankingKind::BestTime, kAll);
    QCOMPARE(ranked.lines.size(), 102);
    QCOMPARE(ranked.lines[0], QStringLiteral(" 1⑤N001　    10 　"));
    QCOMPARE(ranked.lines[98], QStringLiteral("99⑤N099　   108 　"));
    QCOMPARE(ranked.lines[99], QStringLiteral("00⑤N100　   109 　"));
    QCOMPARE(ranked.lines[100], QStringLiteral("01⑤N101　   110 　"));
    QCOMPARE(ranked.lines[101], QStringLiteral("--⑤N102　------ 　"));
    QCOMPARE(ranked.studentLine, -1); // nobody logged in among them
}

void tst_Rankings::pointsSoFar() {
    test::BoardTestState state;
    state.addStudent(1, QStringLiteral("いとう"), 1);
    state.addStudent(2, QStringLiteral("あべ"), 1);
    state.addStudent(3, QStringLiteral("うえだ"), 1);
    state.addStudent(4, QStringLiteral("えもと"), 1);
    state.logIn(4);
    setPoints(state, 3, 1, 120, 20);
    setPoints(state, 3, 2, 120, 5);
    setPoints(state, 3, 3, 90, 90);
    setPoints(state, 3, 4, 0, 0);
    const RankedList ranked = RankingBuilder(*state).build(3, RankingKind::PointsSoFar, kAll);
    // Equal points so far share the rank whatever today's points are, and
    // follow each other by name although today's points sorted them the other way.
    QCOMPARE(ranked.lines, QStringList({QStringLiteral(" 1①あべ　　　  5/  120"),
                                        QStringLiteral(" 1①いとう　　 20/  120"),
                                        QStringLiteral(" 3①うえだ　　 90/   90"),
                                        QStringLiteral(" 4●えもと　　  0/    0")}));
    QCOMPARE(ranked.studentLine, 3);
}

void tst_Rankings::todayPointsLeaveOutZeros() {
    test::BoardTestState state;
    state.addStudent(1, QStringLiteral("かとう"), 6);
    state.addStudent(2, QStringLiteral("いとう"), 6);
    state.addStudent(3, QStringLiteral("あべ"), 6);
    state.addStudent(4, QStringLiteral("うえだ"), 6);
    state.logIn(1);
    setPoints(state, 1, 1, 50, 20);
    setPoints(state, 1, 2, 100, 10);
    setPoints(state, 1, 3, 10, 10);
    setPoints(state, 1, 4, 500, 0); // most points so far, none today
    const RankedList ranked = RankingBuilder(*state).build(1, RankingKind::PointsToday, kAll);
    // Equal today's points share rank 2 and follow each other by mark and
    // name, not by points so far.
    QCOMPARE(ranked.lines, QStringList({QStringLiteral(" 1●かとう　　 20/   50"),
                                        QStringLiteral(" 2⑥あべ　　　 10/   10"),
                                        QStringLiteral(" 2⑥いとう　　 10/  100")}));
    QCOMPARE(ranked.studentLine, 0);
}

void tst_Rankings::studentLine_data() {
    QTest::addColumn<QString>("className");
    QTest::addColumn<int>("studentLine");
    QTest::newRow("whole roster") << kAll << 3;
    QTest::newRow("the student's grade") << QStringLiteral("中１") << 1;
    QTest::newRow("the student left out") << QStringLiteral("小１") << -1;
}

void tst_Rankings::studentLine() {
    QFETCH(QString, className);
    QFETCH(int, studentLine);
    test::BoardTestState state;
    state.addStudent(10, QStringLiteral("あ"), 1);
    state.addStudent(11, QStringLiteral("い"), 7);
    state.addStudent(12, QStringLiteral("う"), 1);
    state.addStudent(13, QStringLiteral("え"), 7);
    state.logIn(13);
    for (int student = 10; student <= 13; ++student)
        setBest(state, 4, student, student);
    const RankedList ranked = RankingBuilder(*state).build(4, RankingKind::BestTime, className);
    QCOMPARE(ranked.studentLine, studentLine);
    if (studentLine >= 0)
        QVERIFY(ranked.lines[studentLine].startsWith(QStringLiteral(" 4●え")));
}

QTEST_GUILESS_MAIN(tst_Rankings)
#include "tst_rankings.moc"
