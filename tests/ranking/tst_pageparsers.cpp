#include "ranking/PageParsers.h"

#include <QTest>

using namespace kavoret;

class tst_PageParsers : public QObject {
    Q_OBJECT
private slots:
    void totals_data();
    void totals();
    void totalsCutShortAtEveryLength();
    void worldRank_data();
    void worldRank();
    void recentDays();
    void recentDaysMalformed_data();
    void recentDaysMalformed();
    void recentDaysCutShortAtEveryLength();
    void numbers_data();
    void numbers();
};

void tst_PageParsers::totals_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("runs");
    QTest::newRow("points and runs") << "<html><td>###120</td><td>###7</td></html>"
                                     << "120"
                                     << "7";
    QTest::newRow("no marker") << "<html>no figures</html>"
                               << "0"
                               << "0";
    QTest::newRow("empty page") << ""
                                << "0"
                                << "0";
    QTest::newRow("only one marker") << "###120<"
                                     << "120"
                                     << "0";
    QTest::newRow("first marker without <") << "###120 ###7"
                                            << "0"
                                            << "0";
    QTest::newRow("second marker without <") << "###120<###7"
                                             << "120"
                                             << "0";
    QTest::newRow("empty first value") << "###<###7<"
                                       << ""
                                       << "7";
    QTest::newRow("page ends in a marker") << "###"
                                           << "0"
                                           << "0";
    QTest::newRow("page ends in part of a marker") << "###5<##"
                                                   << "5"
                                                   << "0";
    QTest::newRow("four hashes") << "####9<###3<"
                                 << "#9"
                                 << "3";
    QTest::newRow("more markers than needed") << "###1<###2<###3<"
                                              << "1"
                                              << "2";
}

void tst_PageParsers::totals() {
    QFETCH(QString, page);
    QFETCH(QString, points);
    QFETCH(QString, runs);
    const ranking::Totals totals = ranking::parseTotals(page);
    QCOMPARE(totals.points, points);
    QCOMPARE(totals.runs, runs);
}

void tst_PageParsers::totalsCutShortAtEveryLength() {
    // A page cut off anywhere gives the whole of each value or 0, never a part
    // and never a read past the text.
    const QString page = QStringLiteral("<p>###120</p><p>###7</p>");
    for (qsizetype length = 0; length <= page.size(); ++length) {
        const ranking::Totals totals = ranking::parseTotals(page.left(length));
        QVERIFY2(totals.points == QStringLiteral("120") || totals.points == QStringLiteral("0"),
                 qPrintable(QString::number(length)));
        QVERIFY2(totals.runs == QStringLiteral("7") || totals.runs == QStringLiteral("0"),
                 qPrintable(QString::number(length)));
        if (totals.runs == QStringLiteral("7"))
            QCOMPARE(totals.points, QStringLiteral("120"));
    }
}

void tst_PageParsers::worldRank_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<double>("rank");
    QTest::newRow("rank after the key")
        << "<tr><td>>1234_56<</td><td>ranked *12* of 80</td></tr>" << 12.0;
    QTest::newRow("only one star") << "<td>>1234_56<</td><td>*12</td>" << 0.0;
    QTest::newRow("no key") << "<td>>1234_57<</td><td>*3*</td>" << 0.0;
    QTest::newRow("star before the key does not count") << "*5*<td>>1234_56<</td>*" << 0.0;
    QTest::newRow("another student's key is not a prefix match")
        << ">1234_5<*9* >1234_56<*4*" << 4.0;
    QTest::newRow("key at the very end") << "*1*>1234_56<" << 0.0;
    QTest::newRow("empty rank") << ">1234_56<**" << 0.0;
    QTest::newRow("rank with blanks") << ">1234_56< * 31 *" << 31.0;
    QTest::newRow("empty page") << "" << 0.0;
}

void tst_PageParsers::worldRank() {
    QFETCH(QString, page);
    QFETCH(double, rank);
    QCOMPARE(ranking::parseWorldRank(page, QStringLiteral("1234"), 56), rank);
}

void tst_PageParsers::recentDays() {
    QString page = QStringLiteral("<html>***2026-12-10<br>");
    for (int k = 1; k <= 10; ++k)
        page += QStringLiteral("<tr><td>***2026-12-%1</td><td>***%2</td><td>***%3</td>"
                               "<td>***%4</td></tr>")
                    .arg(11 - k)
                    .arg(k)
                    .arg(10 * k)
                    .arg(100 + k);
    page += QStringLiteral("***extra<</html>");
    const ranking::RecentDays recent = ranking::parseRecentDays(page);
    QVERIFY(recent.found);
    QCOMPARE(recent.latestDate, QStringLiteral("2026-12-10"));
    for (int k = 1; k <= 10; ++k) {
        const ranking::StoredDay& day = recent.days[static_cast<std::size_t>(k - 1)];
        QCOMPARE(day.date, QStringLiteral("2026-12-%1").arg(11 - k));
        QCOMPARE(day.runs, QString::number(k));
        QCOMPARE(day.points, QString::number(10 * k));
        QCOMPARE(day.time, QString::number(100 + k));
    }
}

void tst_PageParsers::recentDaysMalformed_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("latest");
    QTest::addColumn<QStringList>("firstDays"); // date, runs, points, time of days 1 and 2
    QTest::newRow("no marker") << "<html></html>" << false << "" << QStringList(8);
    QTest::newRow("date without <") << "***2026-12-10" << false << "" << QStringList(8);
    QTest::newRow("nothing stored") << "***0000-00-00<" << true << "0000-00-00" << QStringList(8);
    QTest::newRow("one and a half days") << "***D0<***a<***1<***2<***3<***b<***4<" << true << "D0"
                                         << QStringList{"a", "1", "2", "3", "b", "4", "", ""};
    QTest::newRow("a day cut in its value") << "***D0<***a<***1<***2<***3<***b<***4" << true << "D0"
                                            << QStringList{"a", "1", "2", "3", "b", "", "", ""};
    QTest::newRow("empty values stay empty")
        << "***<***<***<***<***<" << true << "" << QStringList{"", "", "", "", "", "", "", ""};
}

void tst_PageParsers::recentDaysMalformed() {
    QFETCH(QString, page);
    QFETCH(bool, found);
    QFETCH(QString, latest);
    QFETCH(QStringList, firstDays);
    const ranking::RecentDays recent = ranking::parseRecentDays(page);
    QCOMPARE(recent.found, found);
    QCOMPARE(recent.latestDate, latest);
    const QStringList read{recent.days[0].date,   recent.days[0].runs, recent.days[0].points,
                           recent.days[0].time,   recent.days[1].date, recent.days[1].runs,
                           recent.days[1].points, recent.days[1].time};
    QCOMPARE(read, firstDays);
    for (std::size_t k = 2; k < recent.days.size(); ++k)
        QVERIFY(recent.days[k].date.isEmpty() && recent.days[k].time.isEmpty());
}

void tst_PageParsers::recentDaysCutShortAtEveryLength() {
    QString page = QStringLiteral("***2026-12-10<");
    for (int k = 1; k <= 10; ++k)
        page += QStringLiteral("***d%1<***%1<***%1%1<***t%1<").arg(k);
    const ranking::RecentDays whole = ranking::parseRecentDays(page);
    for (qsizetype length = 0; length <= page.size(); ++length) {
        const ranking::RecentDays cut = ranking::parseRecentDays(page.left(length));
        // Every value read is the whole value; the rest stays empty.
        QVERIFY(cut.latestDate.isEmpty() || cut.latestDate == whole.latestDate);
        for (std::size_t k = 0; k < cut.days.size(); ++k) {
            const auto& part = cut.days[k];
            const auto& full = whole.days[k];
            QVERIFY(part.date.isEmpty() || part.date == full.date);
            QVERIFY(part.runs.isEmpty() || part.runs == full.runs);
            QVERIFY(part.points.isEmpty() || part.points == full.points);
            QVERIFY(part.time.isEmpty() || part.time == full.time);
        }
    }
}

void tst_PageParsers::numbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("written");
    QTest::newRow("whole") << "120" << 120.0 << "120";
    QTest::newRow("blanks and a tail") << " 42point" << 42.0 << "42";
    QTest::newRow("fraction") << "2.5" << 2.5 << "2.5";
    QTest::newRow("negative") << "-10" << -10.0 << "-10";
    QTest::newRow("no number") << "abc" << 0.0 << "0";
    QTest::newRow("empty") << "" << 0.0 << "0";
    QTest::newRow("full-width digits are not a number") << "１２" << 0.0 << "0";
}

void tst_PageParsers::numbers() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(QString, written);
    QCOMPARE(ranking::numericValue(text), value);
    QCOMPARE(ranking::decimalText(value), written);
}

QTEST_GUILESS_MAIN(tst_PageParsers)
#include "tst_pageparsers.moc"
