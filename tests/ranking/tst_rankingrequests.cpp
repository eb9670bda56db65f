#include "frame/SharedState.h"
#include "ranking/RankingRequests.h"

#include <QTest>
#include <QUrl>
#include <QUrlQuery>
#include <functional>
#include <memory>

using namespace kavoret;
using ranking::Place;

namespace {

const QString kServer = QStringLiteral("http://127.0.0.1:8765");
const QString kBase = QStringLiteral("http://127.0.0.1:8765/benkyouRanking/");
// さくら塾, 山田 太郎 and " タイピング 801 " in UTF-8, percent-encoded.
const QString kSchoolName = QStringLiteral("%E3%81%95%E3%81%8F%E3%82%89%E5%A1%BE");
const QString kStudentName = QStringLiteral("%E5%B1%B1%E7%94%B0%20%E5%A4%AA%E9%83%8E");
const QString kTitle = QStringLiteral("%20%E3%82%BF%E3%82%A4%E3%83%94%E3%83%B3%E3%82%B0%20801%20");

// A logged-in student at level 2 with some totals; names carry surrounding blanks.
std::unique_ptr<SharedState> makeState() {
    auto state = std::make_unique<SharedState>();
    state->settings.rankingServer = kServer;
    state->settings.schoolNumber = QStringLiteral("1234");
    state->settings.schoolName = QStringLiteral("  さくら塾 ");
    state->settings.homeMode = 0;
    state->profile.catalogueNumber = 801;
    state->profile.catalogueNumberList = QStringLiteral("801_802_803_804_805_806_807_808_809_810");
    state->profile.programTitle = QStringLiteral(" タイピング 801 ");
    state->student.studentNo = 56;
    state->student.studentName = QStringLiteral("山田 太郎          ");
    state->roster.birthYears[56] = 2014;
    state->aggregates.pointTotals.at(2, 56) = 140;
    state->aggregates.validRunCounts.at(2, 56) = 12;
    state->results.bestTimes.at(2, 56) = 35;
    state->aggregates.todayRunCounts.at(2, 56) = 3;
    state->aggregates.todayPointTotals.at(2, 56) = 30;
    state->aggregates.todayTimeSums.at(2, 56) = 117;
    return state;
}

ranking::RecentDays serverDays(const QString& latest) {
    ranking::RecentDays days;
    days.found = true;
    days.latestDate = latest;
    for (int k = 1; k <= 10; ++k) {
        auto& day = days.days[static_cast<std::size_t>(k - 1)];
        day.date = QStringLiteral("d%1").arg(k);
        day.runs = QStringLiteral("r%1").arg(k);
        day.points = QStringLiteral("p%1").arg(k);
        day.time = QStringLiteral("t%1").arg(k);
    }
    return days;
}

using Build = std::function<QString(const SharedState&)>;

const QDate kToday(2026, 12, 11);

} // namespace

Q_DECLARE_METATYPE(Build)

class tst_RankingRequests : public QObject {
    Q_OBJECT
private slots:
    void addresses_data();
    void addresses();
    void offlineBuildsNothing();
    void valuesCannotAddParameters();
    void homeFlagFollowsTheSetting();
    void recentDaysUpdate_data();
    void recentDaysUpdate();
};

void tst_RankingRequests::addresses_data() {
    QTest::addColumn<Build>("build");
    QTest::addColumn<QString>("expected");

    QTest::newRow("1 upload")
        << Build([](const SharedState& s) {
               return ranking::uploadRequest(s, 2, kToday, QTime(9, 5, 7));
           })
        << kBase + "BenkyouTuikaKousin.php?JukuNo=1234&JukuName=" + kSchoolName +
               "&SeitoNo=56&SeitoUmare=2014&SeitoName=" + kStudentName +
               "&SoftGroup=1&SoftNo=801&SoftName=" + kTitle +
               "&Level=2&JisshiDate1=2026-12-11&JisshiTime1=09%3A05%3A07&point=140&kaisuu=12"
               "&athome=0&KirokuTime=35";
    QTest::newRow("1 upload, afternoon, student without runs")
        << Build([](const SharedState& s) {
               return ranking::uploadRequest(s, 3, QDate(2027, 1, 2), QTime(21, 0, 59));
           })
        << kBase + "BenkyouTuikaKousin.php?JukuNo=1234&JukuName=" + kSchoolName +
               "&SeitoNo=56&SeitoUmare=2014&SeitoName=" + kStudentName +
               "&SoftGroup=1&SoftNo=801&SoftName=" + kTitle +
               "&Level=3&JisshiDate1=2027-01-02&JisshiTime1=21%3A00%3A59&point=0&kaisuu=0"
               "&athome=0&KirokuTime=0";
    QTest::newRow("2 ranking page")
        << Build([](const SharedState& s) { return ranking::rankingPageRequest(s, 2); })
        << kBase + "BenkyouHyouji002.php?SoftNo=801&Level=2&prgname=" + kTitle +
               "&Seitbangou=56&JukuNo=1234";
    QTest::newRow("3 recent days")
        << Build([](const SharedState& s) { return ranking::recentDaysRequest(s, 2); })
        << kBase + "BenkyouKakoHyoujiVB.php?athome=0&JukuNo=1234&SeitoNo=56&SoftNo=801&Level=2";
    QTest::newRow("5 school totals, empty place")
        << Build([](const SharedState& s) { return ranking::totalsRequest(s, 2, Place::School); })
        << kBase + "BenkyouKakoHyoujiVB.php?athome=&JukuNo=1234&SeitoNo=56&SoftNo=801&Level=2";
    QTest::newRow("5 home totals")
        << Build([](const SharedState& s) { return ranking::totalsRequest(s, 2, Place::Home); })
        << kBase + "BenkyouKakoHyoujiVB.php?athome=1&JukuNo=1234&SeitoNo=56&SoftNo=801&Level=2";
    QTest::newRow("6 world rank") << Build([](const SharedState& s) {
        return ranking::worldRankRequest(s, 4);
    })
                                  << kBase + "BenkyouHyouji0022.php?SoftNo=801&Level=4&prgname=" +
                                         kTitle + "&Seitbangou=56&JukuNo=1234";
    QTest::newRow("7 clear at school")
        << Build([](const SharedState& s) {
               return ranking::clearNotificationRequest(s, 2, Place::School);
           })
        << kBase + "BenkyouTuikaKousinGouhinomi.php?JukuNo=1234&SeitoNo=56&SoftNo=801&Level=2"
                   "&gouhi=1&athome=0";
    QTest::newRow("7 clear at home")
        << Build([](const SharedState& s) {
               return ranking::clearNotificationRequest(s, 2, Place::Home);
           })
        << kBase + "BenkyouTuikaKousinGouhinomi.php?JukuNo=1234&SeitoNo=56&SoftNo=801&Level=2"
                   "&gouhi=1&athome=1";
    QTest::newRow("8 recent results at school") << Build([](const SharedState& s) {
        return ranking::recentResultsRequest(s, 1, Place::School);
    }) << kBase + "BenkyouKakoHyouji.php?athome=0&JukuNo=1234&SeitoNo=56&SoftNo=801&Level=1";
    QTest::newRow("8 recent results at home") << Build([](const SharedState& s) {
        return ranking::recentResultsRequest(s, 1, Place::Home);
    }) << kBase + "BenkyouKakoHyouji.php?athome=1&JukuNo=1234&SeitoNo=56&SoftNo=801&Level=1";
    QTest::newRow("9 personal passes")
        << Build([](const SharedState& s) { return ranking::personalPassRequest(s); })
        << kBase + "BenkyouGouhiHyoujikojin.php?JukuNo=1234&SeitoNo=56"
                   "&SSS=801_802_803_804_805_806_807_808_809_810";
    QTest::newRow("10 pass list") << Build([](const SharedState& s) {
        return ranking::passListRequest(s);
    })
                                  << kBase + "BenkyouGouhiHyouji.php?JukuNo=1234&SeitoNo=56"
                                             "&SSS=801_802_803_804_805_806_807_808_809_810";
    QTest::newRow("11 program information")
        << Build([](const SharedState& s) { return ranking::softInfoRequest(s); })
        << kBase + "BenkyouSoftInfoHyouji.php?SoftNo=801";
}

void tst_RankingRequests::addresses() {
    QFETCH(Build, build);
    QFETCH(QString, expected);
    const auto state = makeState();
    QCOMPARE(build(*state), expected);
}

void tst_RankingRequests::offlineBuildsNothing() {
    auto state = makeState();
    state->settings.rankingServer.clear();
    const ranking::RecentDays days = serverDays(QStringLiteral("2026-12-10"));
    const QStringList addresses{
        ranking::uploadRequest(*state, 2, kToday, QTime(9, 0)),
        ranking::rankingPageRequest(*state, 2),
        ranking::recentDaysRequest(*state, 2),
        ranking::recentDaysUpdateRequest(*state, 2, days, kToday),
        ranking::totalsRequest(*state, 2, Place::School),
        ranking::totalsRequest(*state, 2, Place::Home),
        ranking::worldRankRequest(*state, 2),
        ranking::clearNotificationRequest(*state, 2, Place::School),
        ranking::recentResultsRequest(*state, 2, Place::Home),
        ranking::personalPassRequest(*state),
        ranking::passListRequest(*state),
        ranking::softInfoRequest(*state),
    };
    for (const QString& address : addresses)
        QVERIFY2(address.isEmpty(), qPrintable(address));
}

void tst_RankingRequests::valuesCannotAddParameters() {
    auto state = makeState();
    state->student.studentName = QStringLiteral(" A&B=C#D ");
    state->settings.schoolName = QStringLiteral("x&Level=9");
    const QString address = ranking::uploadRequest(*state, 2, kToday, QTime(9, 0));
    QVERIFY(address.contains(QStringLiteral("&SeitoName=A%26B%3DC%23D&")));

    // Read back as a server would: still 15 parameters, with the values intact.
    const QUrl url(address);
    QVERIFY(url.fragment().isEmpty());
    const QUrlQuery query(url);
    QCOMPARE(query.queryItems().size(), 15);
    QCOMPARE(query.queryItemValue(QStringLiteral("SeitoName"), QUrl::FullyDecoded),
             QStringLiteral("A&B=C#D"));
    QCOMPARE(query.queryItemValue(QStringLiteral("JukuName"), QUrl::FullyDecoded),
             QStringLiteral("x&Level=9"));
    QCOMPARE(query.allQueryItemValues(QStringLiteral("Level")), QStringList{QStringLiteral("2")});
}

void tst_RankingRequests::homeFlagFollowsTheSetting() {
    auto state = makeState();
    state->settings.homeMode = 1;
    QVERIFY(ranking::uploadRequest(*state, 2, kToday, QTime(9, 0))
                .endsWith(QStringLiteral("&athome=1&KirokuTime=35")));
    QVERIFY(ranking::recentDaysRequest(*state, 2).contains(
        QStringLiteral("BenkyouKakoHyoujiVB.php?athome=1&JukuNo=")));
    // The totals and the recent results name their place whatever the setting.
    QVERIFY(ranking::totalsRequest(*state, 2, Place::School).contains(QStringLiteral("?athome=&")));
    QVERIFY(ranking::recentResultsRequest(*state, 2, Place::School)
                .contains(QStringLiteral("?athome=0&")));
}

void tst_RankingRequests::recentDaysUpdate_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("latest");
    QTest::addColumn<QString>("entries");

    const QString today =
        QStringLiteral("&hiduke1=2026-12-11&kaisuu1=3&pointo1=30&saikoutime1=117");
    const QString earlyToday =
        QStringLiteral("&hiduke1=2027-1-5&kaisuu1=3&pointo1=30&saikoutime1=117");
    auto day = [](int entry, int serverDay) {
        return QStringLiteral("&hiduke%1=d%2&kaisuu%1=r%2&pointo%1=p%2&saikoutime%1=t%2")
            .arg(entry)
            .arg(serverDay);
    };
    QString newDay = today;
    for (int entry = 2; entry <= 5; ++entry)
        newDay += day(entry, entry - 1);
    QString sameDays;
    for (int entry = 2; entry <= 10; ++entry)
        sameDays += day(entry, entry);

    QTest::newRow("new day: five entries, server days shifted") << kToday << "2026-12-10" << newDay;
    QTest::newRow("same day: ten entries, day 1 rewritten")
        << kToday << "2026-12-11" << today + sameDays;
    QTest::newRow("nothing stored yet counts as the same day")
        << kToday << "0000-00-00" << today + sameDays;
    QTest::newRow("today sent without leading zeros, compared with them")
        << QDate(2027, 1, 5) << "2027-01-05" << earlyToday + sameDays;
    QTest::newRow("the server's date without leading zeros is another day")
        << QDate(2027, 1, 5) << "2027-1-5" << earlyToday + newDay.mid(today.size());
}

void tst_RankingRequests::recentDaysUpdate() {
    QFETCH(QDate, today);
    QFETCH(QString, latest);
    QFETCH(QString, entries);
    const auto state = makeState();
    QCOMPARE(ranking::recentDaysUpdateRequest(*state, 2, serverDays(latest), today),
             kBase + "BenkyouKakoHenkou.php?athome=0&JukuNo=1234&SeitoNo=56&SoftNo=801&Level=2" +
                 entries);
}

QTEST_GUILESS_MAIN(tst_RankingRequests)
#include "tst_rankingrequests.moc"
