#include "FamilyFixture.h"
#include "roster/Roster.h"

#include <QTest>
#include <memory>

using namespace kavoret;

class tst_Roster : public QObject {
    Q_OBJECT
private slots:
    void init();

    void schoolYearAndGrade_data();
    void schoolYearAndGrade();
    void gradeLabels_data();
    void gradeLabels();
    void withdrawnEntryKeepsItsNumberedCells();
    void status2_data();
    void status2();
    void textFieldsAreTwentyCharacters();
    void gradeWithoutFullWidthLabelKeepsEarlierOne();
    void classFilter_data();
    void classFilter();
    void circledNumbers_data();
    void circledNumbers();
    void badFilesStopWithFileAndEntry_data();
    void badFilesStopWithFileAndEntry();
    void tooManyActiveEntries();

private:
    Status load(const QString& rosterText, QDate today = QDate(2009, 5, 1));

    std::unique_ptr<test::FamilyFixture> family_;
    std::unique_ptr<SharedState> state_;
};

void tst_Roster::init() {
    family_ = std::make_unique<test::FamilyFixture>();
    state_ = std::make_unique<SharedState>();
    state_->folders.rootFolder = family_->root();
    state_->settings.schoolYearStartMonth = 4;
    state_->settings.includeStatus2 = 0;
}

Status tst_Roster::load(const QString& rosterText, QDate today) {
    family_->writeText(roster::kRosterFileName, rosterText);
    return roster::loadRoster(*state_, today);
}

void tst_Roster::schoolYearAndGrade_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("startMonth");
    QTest::addColumn<int>("schoolYear");
    QTest::addColumn<int>("grade");
    QTest::addColumn<QString>("fullWidth");
    QTest::addColumn<QString>("halfWidth");
    // Born (by school year) in 2001.
    QTest::newRow("15 March 2009, year starts in April")
        << QDate(2009, 3, 15) << 4 << 2008 << 1 << "小１"
        << "小1";
    QTest::newRow("31 March 2009") << QDate(2009, 3, 31) << 4 << 2008 << 1 << "小１"
                                   << "小1";
    QTest::newRow("1 April 2009") << QDate(2009, 4, 1) << 4 << 2009 << 2 << "小２"
                                  << "小2";
    QTest::newRow("year starts in January") << QDate(2009, 1, 1) << 1 << 2009 << 2 << "小２"
                                            << "小2";
    QTest::newRow("year starts in September, August")
        << QDate(2009, 8, 31) << 9 << 2008 << 1 << "小１"
        << "小1";
}

void tst_Roster::schoolYearAndGrade() {
    QFETCH(QDate, today);
    QFETCH(int, startMonth);
    QFETCH(int, schoolYear);
    QFETCH(int, grade);
    QFETCH(QString, fullWidth);
    QFETCH(QString, halfWidth);
    state_->settings.schoolYearStartMonth = startMonth;
    QVERIFY(load(QStringLiteral("7,2001,0,0,\"青木 ゆう\",0,\"\",\"\"\n"), today));
    QCOMPARE(state_->roster.schoolYear, schoolYear);
    QCOMPARE(roster::gradeOf(state_->roster.schoolYear, state_->roster.birthYears[7]), grade);
    QCOMPARE(state_->roster.gradeLabels[7], fullWidth);
    QCOMPARE(roster::halfWidthGradeLabel(grade), halfWidth);
}

void tst_Roster::gradeLabels_data() {
    QTest::addColumn<int>("grade");
    QTest::addColumn<QString>("fullWidth");
    QTest::addColumn<QString>("halfWidth");
    QTest::newRow("-5") << -5 << ""
                        << "幼-";
    QTest::newRow("-3") << -3 << ""
                        << "幼-";
    QTest::newRow("-2") << -2 << ""
                        << "幼1";
    QTest::newRow("-1") << -1 << ""
                        << "幼2";
    QTest::newRow("0") << 0 << "幼３"
                       << "幼3";
    QTest::newRow("1") << 1 << "小１"
                       << "小1";
    QTest::newRow("6") << 6 << "小６"
                       << "小6";
    QTest::newRow("7") << 7 << "中１"
                       << "中1";
    QTest::newRow("9") << 9 << "中３"
                       << "中3";
    QTest::newRow("10") << 10 << "高１"
                        << "高1";
    QTest::newRow("11") << 11 << ""
                        << "高2";
    QTest::newRow("12") << 12 << ""
                        << "高3";
    QTest::newRow("13") << 13 << ""
                        << "大+";
    QTest::newRow("40") << 40 << ""
                        << "大+";
}

void tst_Roster::gradeLabels() {
    QFETCH(int, grade);
    QFETCH(QString, fullWidth);
    QFETCH(QString, halfWidth);
    QCOMPARE(roster::fullWidthGradeLabel(grade), fullWidth);
    QCOMPARE(roster::halfWidthGradeLabel(grade), halfWidth);
}

void tst_Roster::withdrawnEntryKeepsItsNumberedCells() {
    QVERIFY(load(QStringLiteral("3,2001,0,0,\"青木 ゆう\",0,\"\",\"\"\n"
                                "8,2002,0,0,\"井上 けん\",1,\"\",\"\"\n"
                                "5,2000,0,0,\"上田 まい\",0,\"\",\"\"\n")));
    const RosterState& r = state_->roster;
    QCOMPARE(r.count, 2);
    QCOMPARE(int(r.records.size()), 2);
    QCOMPARE(r.records[0].number, 3);
    QCOMPARE(r.records[1].number, 5); // takes the withdrawn entry's position
    QCOMPARE(r.listNumbers[1], 3);
    QCOMPARE(r.listNumbers[2], 5);
    // The withdrawn student is still found by number.
    QCOMPARE(r.names[8], roster::fixedWidth(QStringLiteral("井上 けん")));
    QCOMPARE(r.birthYears[8], 2002);
    QCOMPARE(r.gradeLabels[8], QStringLiteral("小１"));
}

void tst_Roster::status2_data() {
    QTest::addColumn<int>("includeStatus2");
    QTest::addColumn<int>("count");
    QTest::newRow("not included") << 0 << 1;
    QTest::newRow("included") << 1 << 2;
}

void tst_Roster::status2() {
    QFETCH(int, includeStatus2);
    QFETCH(int, count);
    state_->settings.includeStatus2 = includeStatus2;
    QVERIFY(load(QStringLiteral("1,2001,0,0,\"青木\",0,\"\",\"\"\n"
                                "2,2001,0,0,\"井上\",2,\"\",\"\"\n"
                                "3,2001,0,0,\"上田\",3,\"\",\"\"\n")));
    QCOMPARE(state_->roster.count, count);
    QCOMPARE(int(state_->roster.records.size()), count);
    QCOMPARE(state_->roster.records.back().number, count);
}

void tst_Roster::textFieldsAreTwentyCharacters() {
    const QString longName = QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねの");
    QCOMPARE(longName.size(), 25);
    QVERIFY(load(QStringLiteral("1,2001,4,-2,\"%1\",0,\"abc\",\"\"\n"
                                "2,2001,0,0,\"ゆう\",0,\"%1\",\"x y\"\n")
                     .arg(longName)));
    const RosterEntry& first = state_->roster.records[0];
    QCOMPARE(first.name, longName.left(20));
    QCOMPARE(first.extra1, 4);
    QCOMPARE(first.extra2, -2);
    QCOMPARE(first.extra3, QStringLiteral("abc") + QString(17, u' '));
    QCOMPARE(first.extra4, QString(20, u' '));
    const RosterEntry& second = state_->roster.records[1];
    QCOMPARE(second.name, QStringLiteral("ゆう") + QString(18, u' '));
    QCOMPARE(second.extra3, longName.left(20));
    QCOMPARE(second.extra4, QStringLiteral("x y") + QString(17, u' '));
    QCOMPARE(state_->roster.names[2], second.name);
}

void tst_Roster::gradeWithoutFullWidthLabelKeepsEarlierOne() {
    RosterState& r = state_->roster;
    r.gradeLabels[5] = QStringLiteral("小３");
    r.names[6] = QStringLiteral("earlier");
    // School year 2009: born 1992 is grade 11.
    QVERIFY(load(QStringLiteral("5,1992,0,0,\"上田 まい\",0,\"\",\"\"\n")));
    QCOMPARE(r.gradeLabels[5], QStringLiteral("小３"));
    QCOMPARE(r.birthYears[5], 1992);
    QCOMPARE(r.names[6], QStringLiteral("earlier")); // not in the file: kept
}

void tst_Roster::classFilter_data() {
    QTest::addColumn<QString>("className");
    QTest::addColumn<int>("grade");
    QTest::addColumn<bool>("passes");
    QTest::newRow("全学年 -5") << "全学年" << -5 << true;
    QTest::newRow("全学年 15") << "全学年" << 15 << true;
    QTest::newRow("家族 40") << "家族" << 40 << true;
    QTest::newRow("小学生全体 0") << "小学生全体" << 0 << false;
    QTest::newRow("小学生全体 1") << "小学生全体" << 1 << true;
    QTest::newRow("小学生全体 6") << "小学生全体" << 6 << true;
    QTest::newRow("小学生全体 7") << "小学生全体" << 7 << false;
    QTest::newRow("中学生全体 6") << "中学生全体" << 6 << false;
    QTest::newRow("中学生全体 7") << "中学生全体" << 7 << true;
    QTest::newRow("中学生全体 9") << "中学生全体" << 9 << true;
    QTest::newRow("中学生全体 10") << "中学生全体" << 10 << false;
    QTest::newRow("小３ 3") << "小３" << 3 << true;
    QTest::newRow("小３ 2") << "小３" << 2 << false;
    QTest::newRow("小３ 4") << "小３" << 4 << false;
    QTest::newRow("小１ 1") << "小１" << 1 << true;
    QTest::newRow("小６ 6") << "小６" << 6 << true;
    QTest::newRow("中１ 7") << "中１" << 7 << true;
    QTest::newRow("中１ 1") << "中１" << 1 << false;
    QTest::newRow("中３ 9") << "中３" << 9 << true;
    QTest::newRow("half-width 小3 is no class") << "小3" << 3 << false;
    QTest::newRow("高１ is no class") << "高１" << 10 << false;
    QTest::newRow("empty") << "" << 1 << false;
}

void tst_Roster::classFilter() {
    QFETCH(QString, className);
    QFETCH(int, grade);
    QFETCH(bool, passes);
    QCOMPARE(roster::classPasses(className, grade), passes);
}

void tst_Roster::circledNumbers_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "　";
    QTest::newRow("1") << 1 << "①";
    QTest::newRow("5") << 5 << "⑤";
    QTest::newRow("9") << 9 << "⑨";
    QTest::newRow("10") << 10 << "　";
    QTest::newRow("-1") << -1 << "　";
}

void tst_Roster::circledNumbers() {
    QFETCH(int, n);
    QFETCH(QString, text);
    QCOMPARE(roster::circledNumber(n), text);
}

void tst_Roster::badFilesStopWithFileAndEntry_data() {
    QTest::addColumn<QString>("text"); // empty: no file at all
    QTest::addColumn<QStringList>("mentions");
    const QString good = QStringLiteral("1,2001,0,0,\"青木\",0,\"\",\"\"\n");
    QTest::newRow("missing file") << QString() << QStringList{"がありません"};
    QTest::newRow("last entry short") << good + QStringLiteral("2,2001,0,0,\"井上\",0,\"\"\n")
                                      << QStringList{"2 件目", "2 行目", "8 項目必要", "7 項目"};
    QTest::newRow("number 10000") << good + QStringLiteral("10000,2001,0,0,\"井上\",0,\"\",\"\"\n")
                                  << QStringList{"2 件目", "10000", "0〜9999"};
    QTest::newRow("number -1") << QStringLiteral("-1,2001,0,0,\"井上\",0,\"\",\"\"\n")
                               << QStringList{"1 件目", "-1"};
    QTest::newRow("entry short in the middle shifts a name into a number")
        << QStringLiteral("1,2001,0,0,\"青木\",0,\"\"\n"
                          "2,2001,0,0,\"井上\",0,\"\",\"\"\n"
                          "3,2001,0,0,\"上田\",0,\"\",\"\"\n")
        << QStringList{"2 件目", "2 行目", "予備2", "「井上」", "8 項目"};
    QTest::newRow("text as status") << QStringLiteral("1,2001,0,0,\"青木\",\"やめた\",\"\",\"\"\n")
                                    << QStringList{"1 件目", "状態", "やめた"};
    QTest::newRow("birth year beyond 16 bits")
        << QStringLiteral("1,40000,0,0,\"青木\",0,\"\",\"\"\n") << QStringList{"生まれ年", "40000"};
}

void tst_Roster::badFilesStopWithFileAndEntry() {
    QFETCH(QString, text);
    QFETCH(QStringList, mentions);
    // An earlier load stays as it was.
    QVERIFY(load(QStringLiteral("4,2003,0,0,\"前の人\",0,\"\",\"\"\n")));
    if (text.isEmpty())
        family_->remove(roster::kRosterFileName);
    else
        family_->writeText(roster::kRosterFileName, text);
    const Status loaded = roster::loadRoster(*state_, QDate(2009, 5, 1));
    QVERIFY(!loaded);
    QVERIFY2(loaded.error().message.contains(family_->root() + roster::kRosterFileName),
             qPrintable(loaded.error().message));
    for (const QString& mention : mentions)
        QVERIFY2(loaded.error().message.contains(mention), qPrintable(loaded.error().message));
    QCOMPARE(state_->roster.count, 1);
    QCOMPARE(state_->roster.records[0].number, 4);
}

void tst_Roster::tooManyActiveEntries() {
    QString text;
    for (int n = 0; n < 9999; ++n)
        text += QStringLiteral("%1,2001,0,0,\"名前\",0,\"\",\"\"\n").arg(n);
    // 9999 active entries and one withdrawn after them are fine.
    QVERIFY(load(text + QStringLiteral("9999,2001,0,0,\"やめた人\",1,\"\",\"\"\n")));
    QCOMPARE(state_->roster.count, 9999);
    QCOMPARE(state_->roster.listNumbers[9999], 9998);
    QCOMPARE(state_->roster.names[9999], roster::fixedWidth(QStringLiteral("やめた人")));

    const Status tooMany = load(text + QStringLiteral("9999,2001,0,0,\"一人多い\",0,\"\",\"\"\n"));
    QVERIFY(!tooMany);
    QVERIFY2(tooMany.error().message.contains(QStringLiteral("10000 件目")),
             qPrintable(tooMany.error().message));
    QVERIFY(tooMany.error().message.contains(roster::kRosterFileName));
}

QTEST_GUILESS_MAIN(tst_Roster)
#include "tst_roster.moc"
