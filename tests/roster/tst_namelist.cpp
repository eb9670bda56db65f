#include "roster/ListOrder.h"
#include "roster/NameList.h"
#include "roster/Roster.h"

#include <QTest>
#include <memory>

using namespace kavoret;
using namespace kavoret::roster;

Q_DECLARE_METATYPE(kavoret::roster::StudentFigures)

class tst_NameList : public QObject {
    Q_OBJECT
private slots:
    void init();

    void figureTexts_data();
    void figureTexts();
    void modes_data();
    void modes();
    void figuresSumAllLevels();
    void nameColumn_data();
    void nameColumn();
    void nameColumnKeepsFiguresAligned_data();
    void nameColumnKeepsFiguresAligned();
    void lineAndItsParts();
    void orderIsBirthYearThenLabelThenName();
    void classFilterNarrowsVisibleLists_data();
    void classFilterNarrowsVisibleLists();
    void chosenNameTexts();

private:
    void add(int number, int birthYear, const QString& name);

    std::unique_ptr<SharedState> state_;
    ListOrder order_;
};

void tst_NameList::init() {
    state_ = std::make_unique<SharedState>();
    state_->roster.schoolYear = 2009;
}

void tst_NameList::add(int number, int birthYear, const QString& name) {
    RosterEntry entry;
    entry.number = number;
    entry.birthYear = birthYear;
    entry.name = fixedWidth(name);
    state_->roster.records.push_back(entry);
}

void tst_NameList::figureTexts_data() {
    QTest::addColumn<long long>("sum");
    QTest::addColumn<QString>("runsToday");
    QTest::addColumn<QString>("pointsToday");
    QTest::addColumn<QString>("runsSoFar");
    QTest::addColumn<QString>("pointsSoFar");
    QTest::newRow("0") << 0LL << "     "
                       << "  　"
                       << "     　"
                       << "       ";
    QTest::newRow("5") << 5LL << "  5回"
                       << "   5"
                       << "    5回"
                       << "      5";
    QTest::newRow("123") << 123LL << "123回"
                         << " 123"
                         << "  123回"
                         << "    123";
    // Too long for the field: the last digits stay, so the columns keep their width.
    QTest::newRow("12345") << 12345LL << "345回"
                           << "2345"
                           << "12345回"
                           << "  12345";
    QTest::newRow("12345678") << 12345678LL << "678回"
                              << "5678"
                              << "45678回"
                              << "2345678";
}

void tst_NameList::figureTexts() {
    QFETCH(long long, sum);
    QFETCH(QString, runsToday);
    QFETCH(QString, pointsToday);
    QFETCH(QString, runsSoFar);
    QFETCH(QString, pointsSoFar);
    QCOMPARE(runsTodayText(static_cast<double>(sum)), runsToday);
    QCOMPARE(pointsTodayText(sum), pointsToday);
    QCOMPARE(runsSoFarText(sum), runsSoFar);
    QCOMPARE(pointsSoFarText(sum), pointsSoFar);
    // Zero or not, each figure takes the same room on the screen.
    QCOMPARE(displayWidth(runsToday), 5);
    QCOMPARE(displayWidth(pointsToday), 4);
    QCOMPARE(displayWidth(runsSoFar), 7);
    QCOMPARE(displayWidth(pointsSoFar), 7);
}

void tst_NameList::modes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<StudentFigures>("figures");
    QTest::addColumn<QString>("pair");
    const StudentFigures none;
    const StudentFigures some{2, 36, 41, 870};
    QTest::newRow("0 no runs today") << 0 << StudentFigures{0, 0, 7, 120} << "     /    7回";
    QTest::newRow("0") << 0 << some << "  2回/   41回";
    QTest::newRow("1") << 1 << some << "  36/    870";
    QTest::newRow("1 nothing") << 1 << none << "  　/       ";
    QTest::newRow("2") << 2 << some << "  36/  2回";
    QTest::newRow("2 nothing") << 2 << none << "  　/     ";
    QTest::newRow("3") << 3 << some << "    870/   41回";
    QTest::newRow("3 nothing") << 3 << none << "       /     　";
}

void tst_NameList::modes() {
    QFETCH(int, mode);
    QFETCH(StudentFigures, figures);
    QFETCH(QString, pair);
    QCOMPARE(figurePair(mode, figures), pair);
}

void tst_NameList::figuresSumAllLevels() {
    AggregateState& a = state_->aggregates;
    a.todayRunCounts.at(1, 12) = 2;
    a.todayRunCounts.at(100, 12) = 1;
    a.todayRunCounts.at(0, 12) = 50; // level 0 is no level
    a.todayPointTotals.at(3, 12) = 40;
    a.validRunCounts.at(2, 12) = 9;
    a.validRunCounts.at(4, 12) = 1;
    a.pointTotals.at(4, 12) = 300;
    a.pointTotals.at(4, 13) = 999; // another student
    const StudentFigures f = figuresOf(a, 12);
    QCOMPARE(f.runsToday, 3.0);
    QCOMPARE(f.pointsToday, 40LL);
    QCOMPARE(f.runsSoFar, 10LL);
    QCOMPARE(f.pointsSoFar, 300LL);
}

void tst_NameList::nameColumn_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("grade");
    QTest::addColumn<QString>("column");
    QTest::newRow("three characters") << "山田花" + QString(17, u' ') << 3 << "小3 山田花　　　";
    QTest::newRow("six characters fill the column") << "長谷川ひなた" << 3 << "小3 長谷川ひなた";
    QTest::newRow("longer name cut to the column") << "長谷川ひなたこ" << 3 << "小3 長谷川ひなた";
    QTest::newRow("half-width blank evened out by one blank")
        << "佐藤 ひなた" << 1 << "小1 佐藤 ひなた ";
    QTest::newRow("half-width blank, cut") << "佐藤 ひなたこ" << 1 << "小1 佐藤 ひなた ";
    QTest::newRow("half-width letters") << "Ken" << 8 << "中2 Ken 　　　　";
    QTest::newRow("kindergarten has eight") << "さとうひなた" << 0 << "幼3 さとうひなた　　";
    QTest::newRow("kindergarten cut at eight")
        << "さとうひなたちゃん" << -1 << "幼2 さとうひなたちゃ";
    QTest::newRow("surrounding blanks dropped") << "  ゆう  " << 13 << "大+ ゆう　　　　";
    QTest::newRow("full-width blanks are part of the name") << "　ゆう" << 10 << "高1 　ゆう　　　";
    QTest::newRow("empty name") << "" << 5 << "小5 　　　　　　";
}

void tst_NameList::nameColumn() {
    QFETCH(QString, name);
    QFETCH(int, grade);
    QFETCH(QString, column);
    QCOMPARE(roster::nameColumn(name, grade), column);
}

void tst_NameList::nameColumnKeepsFiguresAligned_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"あ", "佐藤 ひなた", "ｻﾄｳ ﾋﾅﾀ", "Alexander Hamilton", "李 明",
                             "中村　いつき", "ひなた⑤", "a"})
        QTest::newRow(name) << QString::fromUtf8(name);
}

void tst_NameList::nameColumnKeepsFiguresAligned() {
    QFETCH(QString, name);
    for (int grade = -4; grade <= 14; ++grade)
        QCOMPARE(displayWidth(roster::nameColumn(name, grade)), grade <= 0 ? 20 : 16);
}

void tst_NameList::lineAndItsParts() {
    RosterEntry entry;
    entry.number = 42;
    entry.birthYear = 2001;
    entry.name = fixedWidth(QStringLiteral("青木ゆう"));
    const QString line = listLine(entry, 2009, kRunsTodayAndSoFar, StudentFigures{0, 0, 12, 0});
    QCOMPARE(line, QStringLiteral("2001小2 青木ゆう　　     /   12回*42"));
    QCOMPARE(visiblePart(line), QStringLiteral("小2 青木ゆう　　     /   12回"));
    QCOMPARE(numberPart(line), QStringLiteral("42"));

    // A "*" or "/" in a name does not move the number or the figures.
    entry.name = fixedWidth(QStringLiteral("*/A"));
    const QString odd = listLine(entry, 2009, kPointsTodayAndSoFar, StudentFigures{0, 5, 0, 9});
    QCOMPARE(numberPart(odd), QStringLiteral("42"));
    QCOMPARE(visiblePart(odd), QStringLiteral("小2 */A 　　　　   5/      9"));
    QCOMPARE(doubleClickedNameText(visiblePart(odd)), QStringLiteral("小2 */A 　　　　   5"));
}

void tst_NameList::orderIsBirthYearThenLabelThenName() {
    add(1, 2001, QStringLiteral("あおき"));
    add(2, 2000, QStringLiteral("わたなべ"));
    add(3, 2001, QStringLiteral("Abe"));
    add(4, 2001, QStringLiteral("かとう"));
    add(5, 2001, QStringLiteral("abc"));
    add(6, 1975, QStringLiteral("先生"));
    add(7, 2001, QStringLiteral("アオキ"));
    const NameList list =
        buildNameList(state_->roster, state_->aggregates, 1, QStringLiteral("全学年"), order_);
    QStringList numbers;
    for (const QString& line : list.allLines)
        numbers.append(numberPart(line));
    // Born 2000 before 2001 whatever the names; within a year by name, with
    // capitals and small letters alike ("abc" before "Abe") and hiragana and
    // katakana alike (the roster number at the end decides between them).
    QCOMPARE(numbers, (QStringList{"6", "2", "5", "3", "1", "7", "4"}));
    QCOMPARE(list.visibleLines, list.allLines);
}

void tst_NameList::classFilterNarrowsVisibleLists_data() {
    QTest::addColumn<QString>("className");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("全学年") << "全学年" << QStringList{"9", "7", "3", "4", "8", "5"};
    QTest::newRow("小３") << "小３" << QStringList{"3", "4"};
    QTest::newRow("小学生全体") << "小学生全体" << QStringList{"3", "4", "8"};
    QTest::newRow("中学生全体") << "中学生全体" << QStringList{"7"};
    QTest::newRow("中３ (nobody)") << "中３" << QStringList{};
}

void tst_NameList::classFilterNarrowsVisibleLists() {
    QFETCH(QString, className);
    QFETCH(QStringList, numbers);
    // School year 2009.
    add(3, 2000, QStringLiteral("いとう"));     // grade 3
    add(4, 2000, QStringLiteral("うえだ"));     // grade 3
    add(5, 2004, QStringLiteral("えのもと"));   // grade -1, kindergarten
    add(7, 1995, QStringLiteral("おおの"));     // grade 8
    add(8, 2002, QStringLiteral("かわい"));     // grade 1
    add(9, 1980, QStringLiteral("きむら先生")); // grade 23
    const NameList list = buildNameList(state_->roster, state_->aggregates, 0, className, order_);
    QCOMPARE(list.allLines.size(), 6);
    QStringList shown;
    for (const QString& line : list.visibleLines)
        shown.append(numberPart(line));
    QCOMPARE(shown, numbers);
    QCOMPARE(list.visible.size(), list.visibleLines.size());
    for (qsizetype i = 0; i < list.visible.size(); ++i)
        QCOMPARE(list.visible[i], visiblePart(list.visibleLines[i]));
}

void tst_NameList::chosenNameTexts() {
    const QString entry = QStringLiteral("小2 青木ゆう　　  12/    870");
    QCOMPARE(clickedNameText(entry), QStringLiteral("小2 青木ゆう　　"));
    QCOMPARE(doubleClickedNameText(entry), QStringLiteral("小2 青木ゆう　　  12"));
    QCOMPARE(clickedNameText(QStringLiteral("  ab  ")), QStringLiteral("ab"));
}

QTEST_GUILESS_MAIN(tst_NameList)
#include "tst_namelist.moc"
