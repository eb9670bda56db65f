#include "FamilyFixture.h"
#include "criteria/CriteriaTable.h"
#include "frame/SharedState.h"

#include <QTest>
#include <memory>

using namespace kavoret;

class tst_Criteria : public QObject {
    Q_OBJECT
private slots:
    void readsLevelsAfterHeader();
    void splitRecordReadsLikeOneLine();
    void nonNumbersReadZero_data();
    void nonNumbersReadZero();
    void fewerLevelsKeepEarlierEntries();
    void refusesMoreThan101Records();
    void refusesAPartialRecord_data();
    void refusesAPartialRecord();
    void timedOnlyWithMinimumLine();

private:
    std::unique_ptr<CriteriaState> load(const QString& text, Status* status = nullptr) {
        auto criteria = std::make_unique<CriteriaState>();
        family_.writeText(QStringLiteral("c.txt"), text);
        const Status loaded =
            criteria::loadCriteria(*criteria, family_.root() + QStringLiteral("c.txt"));
        if (status)
            *status = loaded;
        return criteria;
    }
    test::FamilyFixture family_;
};

void tst_Criteria::readsLevelsAfterHeader() {
    auto c = load(
        QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,\n"
                       "30,60,100,5,1.5,3,200,30,7,x,y,z\n"
                       "35,70,120,6,0.5,0,0,1,0,,,\n"));
    QCOMPARE(c->targetTimes[0], 0); // the header reads as zeros
    QCOMPARE(c->targetTimes[1], 30);
    QCOMPARE(c->minimumTimes[1], 60);
    QCOMPARE(c->clearPoints[1], 100);
    QCOMPARE(c->clearCounts[1], 5);
    QCOMPARE(c->pointRates[1], 1.5f);
    QCOMPARE(c->stopCounts[1], 3.0);
    QCOMPARE(c->stopPoints[1], 200.0);
    QCOMPARE(c->judgeDays[1], 30.0);
    QCOMPARE(c->stopDays[1], 7.0);
    QCOMPARE(c->spareColumns[2][1], QStringLiteral("z"));
    QCOMPARE(c->minimumTimes[2], 70);
    QCOMPARE(c->pointRates[2], 0.5f);
    QCOMPARE(c->minimumTimes[3], 0);
}

void tst_Criteria::splitRecordReadsLikeOneLine() {
    auto oneLine =
        load(QStringLiteral("h,,,,,,,,,,,\n30,60,100,5,1,0,200,30,1,,,\n40,80,1,1,1,1,1,1,1,,,\n"));
    auto split = load(
        QStringLiteral("h,,,,,,,,,,,\n30,60,100,5\n1,0,200,30,1,,,\n40,80,1,1,1,1,1,1,1,,,\n"));
    for (int level = 0; level <= 2; ++level) {
        QCOMPARE(split->targetTimes[level], oneLine->targetTimes[level]);
        QCOMPARE(split->minimumTimes[level], oneLine->minimumTimes[level]);
        QCOMPARE(split->stopPoints[level], oneLine->stopPoints[level]);
        QCOMPARE(split->stopDays[level], oneLine->stopDays[level]);
    }
    QCOMPARE(split->targetTimes[2], 40);
}

void tst_Criteria::nonNumbersReadZero_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("value");
    QTest::newRow("text") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("quoted number") << "\"45\"" << 45;
    QTest::newRow("blanks around") << "  45  " << 45;
}

void tst_Criteria::nonNumbersReadZero() {
    QFETCH(QString, field);
    QFETCH(int, value);
    auto c = load(QStringLiteral("h,,,,,,,,,,,\n%1,60,0,0,1,0,0,1,1,,,\n").arg(field));
    QCOMPARE(c->targetTimes[1], value);
    QCOMPARE(c->minimumTimes[1], 60);
}

void tst_Criteria::fewerLevelsKeepEarlierEntries() {
    auto criteria = std::make_unique<CriteriaState>();
    criteria->minimumTimes[3] = 99;
    criteria->targetTimes[4] = 44;
    family_.writeText(QStringLiteral("c.txt"),
                      QStringLiteral("h,,,,,,,,,,,\n1,2,3,4,1,0,0,1,1,,,\n5,6,7,8,1,0,0,1,1,,,\n"));
    QVERIFY(criteria::loadCriteria(*criteria, family_.root() + QStringLiteral("c.txt")).ok());
    QCOMPARE(criteria->minimumTimes[2], 6);
    QCOMPARE(criteria->minimumTimes[3], 99);
    QCOMPARE(criteria->targetTimes[4], 44);
}

void tst_Criteria::refusesMoreThan101Records() {
    QString text = QStringLiteral("h,,,,,,,,,,,\n");
    for (int level = 1; level <= 100; ++level)
        text += QStringLiteral("%1,60,0,0,1,0,0,1,1,,,\n").arg(level);
    Status status = success();
    auto full = load(text, &status);
    QVERIFY(status.ok());
    QCOMPARE(full->targetTimes[100], 100);

    auto criteria = std::make_unique<CriteriaState>();
    criteria->targetTimes[1] = 7;
    family_.writeText(QStringLiteral("c.txt"), text + QStringLiteral("1,1,1,1,1,1,1,1,1,,,\n"));
    const Status refused =
        criteria::loadCriteria(*criteria, family_.root() + QStringLiteral("c.txt"));
    QVERIFY(!refused.ok());
    QVERIFY(refused.error().message.contains(QStringLiteral("c.txt")));
    QVERIFY(refused.error().message.contains(QStringLiteral("102件")));
    QCOMPARE(criteria->targetTimes[1], 7); // nothing read from a refused file
}

void tst_Criteria::refusesAPartialRecord_data() {
    QTest::addColumn<QString>("levels");
    QTest::addColumn<QString>("count");
    // A field missing or added shifts every later level by one column.
    QTest::newRow("a field missing") << "30,60,100,5,1,0,200,30,1,,\n35,70,120,6,1,0,0,1,0,,,\n"
                                     << "35 項目";
    QTest::newRow("a field too many") << "30,60,100,5,1,0,200,30,1,,,,\n35,70,120,6,1,0,0,1,0,,,\n"
                                      << "37 項目";
    QTest::newRow("last level cut short") << "30,60,100,5,1,0,200,30,1,,,\n35,70,120,6,1,0,0,1,0\n"
                                          << "33 項目";
}

void tst_Criteria::refusesAPartialRecord() {
    QFETCH(QString, levels);
    QFETCH(QString, count);
    auto criteria = std::make_unique<CriteriaState>();
    criteria->targetTimes[1] = 7;
    criteria->minimumTimes[2] = 8;
    family_.writeText(QStringLiteral("c.txt"), QStringLiteral("h,,,,,,,,,,,\n") + levels);
    const Status status =
        criteria::loadCriteria(*criteria, family_.root() + QStringLiteral("c.txt"));
    QVERIFY(!status.ok());
    const QString message = status.error().message;
    QVERIFY2(message.contains(family_.root() + QStringLiteral("c.txt")), qPrintable(message));
    QVERIFY2(message.contains(count), qPrintable(message));
    // Nothing is taken from a file whose columns cannot be trusted.
    QCOMPARE(criteria->targetTimes[1], 7);
    QCOMPARE(criteria->minimumTimes[2], 8);
}

void tst_Criteria::timedOnlyWithMinimumLine() {
    auto c = load(QStringLiteral("h,,,,,,,,,,,\n30,60,0,0,1,0,0,1,1,,,\n30,0,0,0,1,0,0,1,1,,,\n"));
    QVERIFY(criteria::levelCanBeTimed(*c, 1));
    QVERIFY(!criteria::levelCanBeTimed(*c, 2));
    QVERIFY(!criteria::levelCanBeTimed(*c, 0));
    QVERIFY(!criteria::levelCanBeTimed(*c, 101));
}

QTEST_GUILESS_MAIN(tst_Criteria)
#include "tst_criteria.moc"
