#include "results/Points.h"

#include <QTest>

using namespace kavoret;

class tst_Points : public QObject {
    Q_OBJECT
private slots:
    void table_data();
    void table();
};

void tst_Points::table_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<double>("reference");
    QTest::addColumn<int>("points");
    // Each bound belongs to its own row; just above it falls to the next.
    QTest::newRow("r 0") << 0 << 100.0 << 20;
    QTest::newRow("r exactly 0.1") << 10 << 100.0 << 20;
    QTest::newRow("r 0.11") << 11 << 100.0 << 18;
    QTest::newRow("r 0.2") << 20 << 100.0 << 18;
    QTest::newRow("r 0.3") << 30 << 100.0 << 16;
    QTest::newRow("r 0.5 (half the reference)") << 25 << 50.0 << 15;
    QTest::newRow("r 0.7") << 70 << 100.0 << 12;
    QTest::newRow("r exactly 1") << 50 << 50.0 << 10;
    QTest::newRow("r 1.01") << 101 << 100.0 << 8;
    QTest::newRow("r 1.5") << 150 << 100.0 << 8;
    QTest::newRow("r 2") << 200 << 100.0 << 5;
    QTest::newRow("r 3") << 300 << 100.0 << 3;
    QTest::newRow("r exactly 5") << 250 << 50.0 << 1;
    QTest::newRow("just above 5") << 251 << 50.0 << 0;
    QTest::newRow("reference 0 scored against 100") << 100 << 0.0 << 10;
    QTest::newRow("99997 still scored") << 99997 << 30000.0 << 1;
    QTest::newRow("time limit reached") << 99999 << 1.0e9 << 0;
}

void tst_Points::table() {
    QFETCH(int, seconds);
    QFETCH(double, reference);
    QFETCH(int, points);
    QCOMPARE(results::runPoints(seconds, reference), points);
}

QTEST_GUILESS_MAIN(tst_Points)
#include "tst_points.moc"
