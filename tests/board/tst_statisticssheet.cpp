#include "BoardTestState.h"
#include "FamilyFixture.h"
#include "board/StatisticsSheet.h"

#include <QTest>
#include <vector>

using namespace kavoret;
using namespace kavoret::board;
using test::kBoardSerialToday;

Q_DECLARE_METATYPE(std::vector<int>)

namespace {

const QString kAll = QStringLiteral("全学年");

// The student of the sheets: 7, grade 3, logged in; 8 and 9 are classmates.
void addClass(test::BoardTestState& state) {
    state.addStudent(7, QStringLiteral("山田太郎"), 3);
    state.addStudent(8, QStringLiteral("佐藤花子"), 3);
    state.addStudent(9, QStringLiteral("鈴木一郎"), 3);
    state.logIn(7);
    state->profile.programTitle = QStringLiteral("Kavoret");
    state->profile.levelNames[1] = QStringLiteral("abc");
    state->profile.levelNames[2] = QStringLiteral("ABC");
}

SheetFigures figuresOf(test::BoardTestState& state, int student, int level,
                       const QString& className = kAll,
                       RankingKind points = RankingKind::PointsSoFar) {
    const RankingBuilder rankings(*state);
    return sheetFigures(*state, rankings, {student, level, points, className, kBoardSerialToday});
}

std::vector<int> bestTimes(const SheetFigures& figures) {
    std::vector<int> times;
    for (const SheetBest& best : figures.bests)
        times.push_back(best.seconds);
    return times;
}

// The texts written at (x, y), in the order they are written.
QStringList labelsAt(const SheetFigures& figures, double x, double y) {
    QStringList texts;
    for (const SheetLabel& label : figures.labels) {
        if (qFuzzyCompare(1 + label.x, 1 + x) && qFuzzyCompare(1 + label.y, 1 + y))
            texts.append(label.text);
    }
    return texts;
}

} // namespace

class tst_StatisticsSheet : public QObject {
    Q_OBJECT
private slots:
    void axisMaximumFromSlowestRun_data();
    void axisMaximumFromSlowestRun();
    void personalBestsAndDots();
    void bestLabels_data();
    void bestLabels();
    void noRunsOnTheLevel();
    void classFilterLeavesOutDotsAndRanks();
    void countLineShowsLastThreeDigits();
    void schoolFiguresAndPoints();
    void todayPointRanking();
    void ranksFoundByRosterNumber();
    void dotsStayInsideTheGraph();
    void periodOfTenYears();
    void bandsThreeToAPage();
    void rosterListReload();
    void rosterListReloadErrors_data();
    void rosterListReloadErrors();
    void rosterNumberOfLine_data();
    void rosterNumberOfLine();
};

void tst_StatisticsSheet::axisMaximumFromSlowestRun_data() {
    QTest::addColumn<std::vector<int>>("runs");
    QTest::addColumn<int>("slowest");
    QTest::addColumn<int>("axisMaximum");
    QTest::newRow("1234 s: capped at 1000") << std::vector<int>{40, 1234} << 1234 << 1000;
    QTest::newRow("87 s") << std::vector<int>{87, 50} << 87 << 90;
    QTest::newRow("90 s") << std::vector<int>{90} << 90 << 100;
    QTest::newRow("no runs") << std::vector<int>{} << 0 << 10;
    QTest::newRow("runs of 1800 s and more do not count")
        << std::vector<int>{1800, 99999, 35} << 35 << 40;
}

void tst_StatisticsSheet::axisMaximumFromSlowestRun() {
    QFETCH(std::vector<int>, runs);
    QFETCH(int, slowest);
    QFETCH(int, axisMaximum);
    test::BoardTestState state;
    addClass(state);
    for (int seconds : runs)
        state.addRun(7, 1, seconds);
    state.addRun(8, 1, 1500); // another student's slow run moves nothing
    const SheetFigures figures = figuresOf(state, 7, 1);
    QCOMPARE(figures.slowest, slowest);
    QCOMPARE(figures.axisMaximum, axisMaximum);
    QCOMPARE(board::axisMaximum(slowest), axisMaximum);
}

void tst_StatisticsSheet::personalBestsAndDots() {
    test::BoardTestState state;
    addClass(state);
    for (int seconds : {60, 55, 58, 50})
        state.addRun(7, 1, seconds, 4);
    state.addRun(8, 1, 45, 2);
    const SheetFigures figures = figuresOf(state, 7, 1);

    QCOMPARE(figures.count, 4);
    QCOMPARE(figures.axisMaximum, 70);
    QCOMPARE(bestTimes(figures), (std::vector<int>{60, 55, 50}));
    QCOMPARE(figures.dots.size(), std::size_t{4});
    const bool red[] = {true, true, false, true};
    for (std::size_t i = 0; i < 4; ++i) {
        QCOMPARE(figures.dots[i].personalBest, red[i]);
        // The runs spread over the time axis, the last at its right end.
        QCOMPARE(figures.dots[i].x, 0.2 + 0.7 * static_cast<double>(i + 1) / 4);
    }
    QCOMPARE(figures.dots[0].y, 0.8 - 0.7 * 60 / 70);
    QCOMPARE(figures.bests[2].x, 0.9);
    QCOMPARE(figures.bests[2].timeText, QStringLiteral("50秒"));
    QCOMPARE(figures.bests[2].dateText, QStringLiteral("2026/12/07"));
    QCOMPARE(figures.lines[4], QStringLiteral("　　最高　　　　   50秒 /   45秒"));
    QCOMPARE(figures.lines[5], QStringLiteral("　　平均　　　　   55秒 /   54秒"));
    QCOMPARE(figures.header, QStringLiteral("Kavoret abc"));
    QCOMPARE(figures.studentName, QStringLiteral("山田太郎"));
}

void tst_StatisticsSheet::bestLabels_data() {
    QTest::addColumn<int>("bests");
    QTest::addColumn<std::vector<int>>("labelled"); // indexes into the bests
    QTest::newRow("one") << 1 << std::vector<int>{0};
    QTest::newRow("five: the first and the last") << 5 << std::vector<int>{0, 4};
    QTest::newRow("six: also the third") << 6 << std::vector<int>{0, 2, 5};
    QTest::newRow("eight: the third and the sixth") << 8 << std::vector<int>{0, 2, 5, 7};
    QTest::newRow("seven: the sixth is too near the last") << 7 << std::vector<int>{0, 2, 6};
}

void tst_StatisticsSheet::bestLabels() {
    QFETCH(int, bests);
    QFETCH(std::vector<int>, labelled);
    test::BoardTestState state;
    addClass(state);
    // Each run faster than the one before, a day apart, the first 400 days ago.
    for (int k = 0; k < bests; ++k)
        state.addRun(7, 2, 100 - 5 * k, 400 - k);
    state.addRun(9, 1, 70, 0); // the newest run of the period, another student's
    const SheetFigures figures = figuresOf(state, 7, 2);
    QCOMPARE(static_cast<int>(figures.bests.size()), bests);
    QCOMPARE(figures.labelledBests, labelled);

    const SheetBest& first = figures.bests.front();
    const SheetBest& last = figures.bests.back();
    QCOMPARE(labelsAt(figures, 0.12, 0.79), QStringList{QStringLiteral("0秒")});
    QCOMPARE(labelsAt(figures, 0.12, 0.1), QStringList{QStringLiteral("110秒")});
    QCOMPARE(labelsAt(figures, 0.12, first.y - 0.01), QStringList{QStringLiteral("100秒")});
    // Under the axis: the newest date of the period (anybody's) at the last
    // best, and the first best's date.
    QStringList under = labelsAt(figures, last.x - 0.025, 0.815);
    if (bests > 1)
        under += labelsAt(figures, first.x - 0.025, 0.815);
    QCOMPARE(under, QStringList({QStringLiteral("2026/12/11"), QStringLiteral("2025/11/06")}));
    QCOMPARE(labelsAt(figures, last.x - 0.025, last.y + 0.04), QStringList{last.timeText});
    // Beside the point a date of the same year as the best before it is cut to mm/dd.
    QCOMPARE(labelsAt(figures, last.x - 0.025, last.y + 0.07),
             QStringList{bests == 1 ? QStringLiteral("2025/11/06") : last.dateText.right(5)});
    for (int index : labelled) {
        if (index == 0 || index == bests - 1)
            continue;
        const SheetBest& best = figures.bests[static_cast<std::size_t>(index)];
        QCOMPARE(labelsAt(figures, best.x - 0.025, best.y + 0.01), QStringList{best.timeText});
        QCOMPARE(labelsAt(figures, best.x - 0.025, best.y + 0.03),
                 QStringList{best.dateText.right(5)});
    }
    // Labels: date of the period, 0 and the axis maximum, the first time and
    // date, two per middle best, the last time and date.
    QCOMPARE(figures.labels.size(), 7 + 2 * (labelled.size() - (bests == 1 ? 1 : 2)));
}

void tst_StatisticsSheet::noRunsOnTheLevel() {
    test::BoardTestState state;
    addClass(state);
    state.addRun(7, 1, 40);
    state.addRun(8, 2, 70); // the school has runs on level 2
    state.addRun(9, 2, 80);
    state->results.bestTimes.fill(99999);
    state->results.bestTimes.at(2, 8) = 70;
    state->results.bestTimes.at(2, 9) = 80;
    const SheetFigures figures = figuresOf(state, 7, 2);

    QCOMPARE(figures.header, QStringLiteral("Kavoret ABC"));
    QCOMPARE(figures.axisMaximum, 10);
    QVERIFY(figures.dots.empty());
    QVERIFY(figures.bests.empty());
    QVERIFY(figures.labels.empty());
    QCOMPARE(figures.lines[1], QStringLiteral("回数　　　　　　　   回"));
    QCOMPARE(figures.timeRank, QStringLiteral("---"));
    QCOMPARE(figures.lines[3], QStringLiteral("　　順位　　　　  ---位"));
    QCOMPARE(figures.lines[4], QStringLiteral("　　最高　　　　       /   70秒"));
    QVERIFY(figures.lines[5].isEmpty());
    QCOMPARE(figures.lines[2], QStringLiteral("タイム  　　 　    本人 / 塾全体"));
    QCOMPARE(figures.lines[6], QStringLiteral("ポイント  　　　"));
    QCOMPARE(figures.lines[10], QStringLiteral("　　　　　　　　　　　　 (塾平均)"));
}

void tst_StatisticsSheet::classFilterLeavesOutDotsAndRanks() {
    test::BoardTestState state;
    addClass(state);
    state.addStudent(20, QStringLiteral("中学生"), 8);
    for (int seconds : {60, 50})
        state.addRun(7, 1, seconds);
    state.addRun(20, 1, 40);
    state->results.bestTimes.at(1, 7) = 50;
    state->results.bestTimes.at(1, 20) = 40;
    state->aggregates.pointTotals.at(1, 7) = 30;
    state->aggregates.pointTotals.at(1, 20) = 12;
    const SheetFigures figures = figuresOf(state, 7, 1, QStringLiteral("中学生全体"));

    QVERIFY(figures.dots.empty());
    QVERIFY(figures.bests.empty());
    QVERIFY(figures.timeRank.isEmpty());
    QVERIFY(figures.pointRank.isEmpty());
    QCOMPARE(figures.points, 0);
    QCOMPARE(figures.lines[3], QStringLiteral("　　順位　　　　     位"));
    QCOMPARE(figures.lines[7], QStringLiteral("　　順位　　　　     位"));
    QCOMPARE(figures.lines[8], QStringLiteral("　　獲得ポイント     点"));
    // The school's figures are everybody's; the points average is the class's.
    QCOMPARE(figures.schoolCount, 3);
    QCOMPARE(figures.schoolBest, 40);
    QCOMPARE(figures.lines[5], QStringLiteral("　　平均　　　　   55秒 /   50秒"));
    QCOMPARE(figures.lines[9], QStringLiteral("　　　　　　　　　　　　/   12点"));
}

void tst_StatisticsSheet::countLineShowsLastThreeDigits() {
    test::BoardTestState state;
    addClass(state);
    for (int k = 0; k < 1234; ++k)
        state.addRun(7, 1, 30 + k % 20, k % 300);
    const SheetFigures figures = figuresOf(state, 7, 1);
    QCOMPARE(figures.count, 1234);
    QCOMPARE(figures.lines[1], QStringLiteral("回数　　　　　　　234回"));
}

void tst_StatisticsSheet::schoolFiguresAndPoints() {
    test::BoardTestState state;
    addClass(state);
    state.addRun(7, 1, 61);
    state.addRun(7, 1, 50);
    state.addRun(8, 1, 40);
    state.addRun(8, 1, 1900);  // too slow to count
    state.addRun(9, 1, 99999); // timed out
    state.addRun(9, 3, 20);    // another level
    state->aggregates.pointTotals.at(1, 7) = 30;
    state->aggregates.pointTotals.at(1, 8) = 21;
    const SheetFigures figures = figuresOf(state, 7, 1);

    QCOMPARE(figures.schoolCount, 3);
    QCOMPARE(figures.schoolTimeSum, 151LL);
    QCOMPARE(figures.schoolBest, 40);
    // 111 / 2 cut to 55; the school's 151 / 3 rounded to 50.
    QCOMPARE(figures.lines[5], QStringLiteral("　　平均　　　　   55秒 /   50秒"));
    QCOMPARE(figures.pointRank, QStringLiteral("  1"));
    QCOMPARE(figures.lines[7], QStringLiteral("　　順位　　　　    1位"));
    QCOMPARE(figures.lines[8], QStringLiteral("　　獲得ポイント   30点"));
    // Two students with points: 51 / 2 rounded.
    QCOMPARE(figures.pointCount, 2);
    QCOMPARE(figures.pointSum, 51LL);
    QCOMPARE(figures.lines[9], QStringLiteral("　　　　　　　　　　　　/   26点"));
}

void tst_StatisticsSheet::todayPointRanking() {
    test::BoardTestState state;
    addClass(state);
    state->aggregates.pointTotals.at(1, 7) = 90;
    state->aggregates.todayPointTotals.at(1, 7) = 5;
    state->aggregates.pointTotals.at(1, 8) = 40;
    state->aggregates.todayPointTotals.at(1, 8) = 15;
    state->aggregates.pointTotals.at(1, 9) = 300; // no points today: not listed
    const SheetFigures today = figuresOf(state, 7, 1, kAll, RankingKind::PointsToday);
    QCOMPARE(today.pointRank, QStringLiteral("  2"));
    QCOMPARE(today.points, 90);
    QCOMPARE(today.pointCount, 2);
    QCOMPARE(today.pointSum, 130LL);
    const SheetFigures soFar = figuresOf(state, 7, 1, kAll, RankingKind::PointsSoFar);
    QCOMPARE(soFar.pointRank, QStringLiteral("  2"));
    QCOMPARE(soFar.pointCount, 3);
    QCOMPARE(soFar.pointSum, 430LL);
}

void tst_StatisticsSheet::ranksFoundByRosterNumber() {
    test::BoardTestState state;
    // The first five characters of the names are the same; the lines of the
    // rankings hold no more of them.
    state.addStudent(31, QStringLiteral("ながいなまえのA"), 4);
    state.addStudent(32, QStringLiteral("ながいなまえのB"), 4);
    state.addStudent(33, QStringLiteral("ながい"), 4);
    for (int k = 0; k < 120; ++k) {
        state.addStudent(100 + k, QStringLiteral("S%1").arg(k), 4);
        state->results.bestTimes.at(1, 100 + k) = 10 + k;
    }
    state->results.bestTimes.at(1, 31) = 500;
    state->results.bestTimes.at(1, 32) = 20;
    state->results.bestTimes.at(1, 33) = 99999;
    state->aggregates.pointTotals.at(1, 31) = 1;
    state->aggregates.pointTotals.at(1, 32) = 9;

    const SheetFigures a = figuresOf(state, 31, 1);
    const SheetFigures b = figuresOf(state, 32, 1);
    const SheetFigures c = figuresOf(state, 33, 1);
    QCOMPARE(a.timeRank, QStringLiteral("122")); // past 99: all three digits
    QCOMPARE(a.lines[3], QStringLiteral("　　順位　　　　  122位"));
    QCOMPARE(b.timeRank, QStringLiteral(" 11")); // equal to the 11th time
    QCOMPARE(c.timeRank, QStringLiteral("---"));
    QCOMPARE(a.pointRank, QStringLiteral("  2"));
    QCOMPARE(a.points, 1);
    QCOMPARE(b.pointRank, QStringLiteral("  1"));
    QCOMPARE(b.points, 9);
}

void tst_StatisticsSheet::dotsStayInsideTheGraph() {
    test::BoardTestState state;
    addClass(state);
    // More records than the loader keeps from a file, and runs that the graph
    // cannot show: 1800 s and more, timed out, slower than the axis cap.
    for (int k = 0; k < 25000; ++k)
        state.addRun(7, 1, 20 + k % 40, k % 3000);
    state.addRun(7, 1, 99999);
    state.addRun(7, 1, 2500);
    state.addRun(7, 1, 1500);
    state.addRun(7, 1, 1700);
    const SheetFigures figures = figuresOf(state, 7, 1);
    QCOMPARE(figures.count, 25002);
    QCOMPARE(figures.axisMaximum, 1000);
    QCOMPARE(figures.dots.size(), std::size_t{25002});
    for (const SheetDot& dot : figures.dots) {
        QVERIFY(dot.x > 0.2 && dot.x <= 0.9 + 1e-12);
        QVERIFY(dot.y >= 0.1 - 1e-12 && dot.y <= 0.8);
    }
    QCOMPARE(figures.dots.back().x, 0.9);
    QCOMPARE(figures.dots.back().y, 0.1); // 1700 s stands on the top of the graph
    QCOMPARE(bestTimes(figures), (std::vector<int>{20}));
}

void tst_StatisticsSheet::periodOfTenYears() {
    test::BoardTestState state;
    addClass(state);
    state.addRun(7, 1, 40, 3650); // one day too old
    state.addRun(7, 1, 45, 3649);
    state.addRun(7, 5, 10, 0); // a level without a column
    state.addRun(8, 1, 30, 3650);
    const SheetFigures figures = figuresOf(state, 7, 1);
    QCOMPARE(figures.count, 1);
    QCOMPARE(bestTimes(figures), (std::vector<int>{45}));
    QCOMPARE(figures.schoolBest, 45);
    QCOMPARE(figures.lastPeriodDate, QStringLiteral("2016/12/14"));
}

void tst_StatisticsSheet::bandsThreeToAPage() {
    const double h = 1000;
    const std::vector<SheetBand> bands = layOutBands(7, h);
    const int pages[] = {0, 0, 0, 1, 1, 1, 2};
    const double tops[] = {50, 350, 650, 50, 350, 650, 50};
    QCOMPARE(bands.size(), std::size_t{7});
    for (std::size_t i = 0; i < bands.size(); ++i) {
        QCOMPARE(bands[i].page, pages[i]);
        QCOMPARE(bands[i].top, tops[i]);
    }
    QVERIFY(layOutBands(0, h).empty());
}

void tst_StatisticsSheet::rosterListReload() {
    test::FamilyFixture family;
    test::BoardTestState state;
    state->folders.rootFolder = family.root();
    state->settings.schoolYearStartMonth = 4;
    state->settings.includeStatus2 = 1; // not applied to this list
    state->roster.gradeLabels[6] = QStringLiteral("小２");
    family.writeText(QStringLiteral("新名簿.txt"),
                     QStringLiteral("3,2019,0,0,\" 田中, ゆい \",0,\"\",\"\"\n"
                                    "4,2017,0,0,\"いとう/けん\",0,\"\",\"\"\n"
                                    "5,2017,0,0,\"あべ\",1,\"\",\"\"\n"
                                    "6,2004,0,0,\"うえの\",0,\"\",\"\"\n"
                                    "9,2011,0,0,\"えだ\",2,\"\",\"\"\n"));
    Result<QStringList> lines = reloadRosterList(*state, test::kBoardToday);
    QVERIFY2(lines.ok(), lines.ok() ? "" : qPrintable(lines.error().message));
    // Grade 1 and 3 in the school year 2026; 16 has no full-width label.
    QCOMPARE(lines.value(),
             QStringList({QStringLiteral(" /  うえの/6"), QStringLiteral("小１ /  田中, ゆい/3"),
                          QStringLiteral("小３ /  いとう/けん/4")}));
    QCOMPARE(state->roster.schoolYear, 2026);
    // Withdrawn entries are still found by number.
    QCOMPARE(state->roster.names[5], roster::fixedWidth(QStringLiteral("あべ")));
    QCOMPARE(state->roster.birthYears[9], 2011);
    QCOMPARE(state->roster.gradeLabels[9], QStringLiteral("中３"));
    QCOMPARE(state->roster.gradeLabels[6], QStringLiteral("小２")); // kept
    QCOMPARE(rosterListNumber(lines.value()[2]), 4);
}

void tst_StatisticsSheet::rosterListReloadErrors_data() {
    QTest::addColumn<QString>("content"); // empty: no file
    QTest::addColumn<QString>("problem");
    QTest::newRow("missing") << QString() << QStringLiteral("新名簿.txt");
    QTest::newRow("short entry") << QStringLiteral("1,2019,0,0,\"あ\",0,\"\"\n")
                                 << QStringLiteral("項目が足りません");
    QTest::newRow("number out of range")
        << QStringLiteral("10000,2019,0,0,\"あ\",0,\"\",\"\"\n") << QStringLiteral("0〜9999");
}

void tst_StatisticsSheet::rosterListReloadErrors() {
    QFETCH(QString, content);
    QFETCH(QString, problem);
    test::FamilyFixture family;
    if (!content.isEmpty())
        family.writeText(QStringLiteral("新名簿.txt"), content);
    test::BoardTestState state;
    state->folders.rootFolder = family.root();
    state->roster.names[1] = QStringLiteral("before");
    Result<QStringList> lines = reloadRosterList(*state, test::kBoardToday);
    QVERIFY(!lines.ok());
    QVERIFY2(lines.error().message.contains(family.root() + QStringLiteral("新名簿.txt")),
             qPrintable(lines.error().message));
    QVERIFY2(lines.error().message.contains(problem), qPrintable(lines.error().message));
    QCOMPARE(state->roster.names[1], QStringLiteral("before"));
}

void tst_StatisticsSheet::rosterNumberOfLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("number");
    QTest::newRow("plain") << QStringLiteral("小１ /  あべ/12") << 12;
    QTest::newRow("a name with a slash") << QStringLiteral("小１ /  a/b/7") << 7;
    QTest::newRow("no number") << QStringLiteral("小１ /  あべ/") << -1;
    QTest::newRow("no slash") << QStringLiteral("あべ") << -1;
    QTest::newRow("beyond the roster") << QStringLiteral("小１ /  あべ/10000") << -1;
}

void tst_StatisticsSheet::rosterNumberOfLine() {
    QFETCH(QString, line);
    QFETCH(int, number);
    QCOMPARE(board::rosterListNumber(line), number);
}

QTEST_GUILESS_MAIN(tst_StatisticsSheet)
#include "tst_statisticssheet.moc"
