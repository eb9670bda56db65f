#include "frame/JapaneseDate.h"

#include <QTest>

using namespace kavoret;

class tst_JapaneseDate : public QObject {
    Q_OBJECT
private slots:
    void eraDate_data();
    void eraDate();
    void seasonColour_data();
    void seasonColour();
    void serialDays();
};

void tst_JapaneseDate::eraDate_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");
    QTest::newRow("today") << QDate(2026, 12, 11) << "令和8年 12月 11日（金）";
    QTest::newRow("last day of Heisei") << QDate(2019, 4, 30) << "平成31年 4月 30日（火）";
    QTest::newRow("first day of Reiwa") << QDate(2019, 5, 1) << "令和1年 5月 01日（水）";
    QTest::newRow("last day of Showa") << QDate(1989, 1, 7) << "昭和64年 1月 07日（土）";
    QTest::newRow("first day of Heisei") << QDate(1989, 1, 8) << "平成1年 1月 08日（日）";
    QTest::newRow("second year") << QDate(2020, 1, 1) << "令和2年 1月 01日（水）";
}

void tst_JapaneseDate::eraDate() {
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QCOMPARE(eraDateText(date), text);
}

void tst_JapaneseDate::seasonColour_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::newRow("January") << 1 << 255 << 128 << 0;
    QTest::newRow("February") << 2 << 255 << 128 << 0;
    QTest::newRow("March") << 3 << 192 << 255 << 192;
    QTest::newRow("May") << 5 << 192 << 255 << 192;
    QTest::newRow("June") << 6 << 0 << 192 << 192;
    QTest::newRow("August") << 8 << 0 << 192 << 192;
    QTest::newRow("September") << 9 << 192 << 64 << 0;
    QTest::newRow("November") << 11 << 192 << 64 << 0;
    QTest::newRow("December like spring") << 12 << 192 << 255 << 192;
}

void tst_JapaneseDate::seasonColour() {
    QFETCH(int, month);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QCOMPARE(seasonColourFor(month), (Rgb{red, green, blue}));
}

void tst_JapaneseDate::serialDays() {
    QCOMPARE(serialDay(QDate(1899, 12, 30)), 0.0);
    QCOMPARE(serialDay(QDate(1900, 1, 1)), 2.0);
    QCOMPARE(serialDay(QDate(2026, 12, 11)), 46367.0);
    QCOMPARE(dateFromSerial(46367.0), QDate(2026, 12, 11));
}

QTEST_GUILESS_MAIN(tst_JapaneseDate)
#include "tst_japanesedate.moc"
