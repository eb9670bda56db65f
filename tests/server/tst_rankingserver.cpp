// The ranking server against the program's own side of the contract: its
// request builders, its page reader and its page parsers, over loopback, on
// the database the test is run for (SQLite or PostgreSQL).

#include "Pages.h"
#include "ServerFixture.h"
#include "frame/SharedState.h"
#include "platform/CurlPageReader.h"
#include "ranking/OnlineFigures.h"
#include "ranking/PageParsers.h"
#include "ranking/RankingRequests.h"

#include <QTest>
#include <QUrl>
#include <memory>

using namespace kavoret;
using ranking::Place;

namespace {

const QDate kToday(2024, 5, 3);
const QTime kNow(10, 11, 12);

// The program's figures of student S at level L, as its aggregation leaves them.
void setFigures(SharedState& state, int level, int points, int runs, int bestTime) {
    const int student = state.student.studentNo;
    state.aggregates.pointTotals.at(level, student) = points;
    state.aggregates.validRunCounts.at(level, student) = static_cast<std::int16_t>(runs);
    state.results.bestTimes.at(level, student) = bestTime;
}

void setToday(SharedState& state, int level, float runs, int points, float times) {
    const int student = state.student.studentNo;
    state.aggregates.todayRunCounts.at(level, student) = runs;
    state.aggregates.todayPointTotals.at(level, student) = points;
    state.aggregates.todayTimeSums.at(level, student) = times;
}

server::Upload directUpload(const QString& school, int student, qint64 points,
                            const QString& name = QStringLiteral("生徒")) {
    server::Upload upload;
    upload.key = {school, 0, student, 801, 1};
    upload.schoolName = QStringLiteral("塾") + school;
    upload.studentName = name;
    upload.softName = QStringLiteral("タイピング");
    upload.runDate = QStringLiteral("2024-05-03");
    upload.runTime = QStringLiteral("10:00:00");
    upload.points = points;
    upload.runs = 1;
    upload.bestTime = 40;
    return upload;
}

} // namespace

// Sends a request that the program sends without looking at the answer; the
// server's answer still tells whether it was stored.
#define SEND(address) QCOMPARE(read(address), server::pages::stored())

class tst_RankingServer : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void uploadThenTotalsAndWorldRank();
    void worldRankAmongAllSchools_data();
    void worldRankAmongAllSchools();
    void recentDaysFollowTheProgramsUpdates();
    void clearNotificationThenPassPages();
    void programInfoGivesReferenceTimes();
    void rankingPageShowsLeadersAndTheStudent();
    void recentResultsPageShowsThePlace();
    void hostileTextsStoredAndShownLiterally_data();
    void hostileTextsStoredAndShownLiterally();
    void badRequestsAreRefused_data();
    void badRequestsAreRefused();
    void logHasOneLinePerRequestWithoutQuery();

private:
    QString read(const QString& address) { return reader_.read(address); }
    QString htmlOf(const QString& address) {
        const HttpAnswerText answer = get(address);
        return answer.body;
    }
    struct HttpAnswerText {
        int status = 0;
        QString body;
    };
    HttpAnswerText get(const QString& address) {
        const QString target = address.mid(fixture_.address().size());
        const test::HttpAnswer answer = test::httpGet(fixture_.port(), target.toStdString());
        return {answer.status, QString::fromUtf8(answer.body)};
    }
    void startWith(const QByteArray& programsText);

    test::ServerFixture fixture_;
    CurlPageReader reader_;
    std::unique_ptr<SharedState> state_;
};

void tst_RankingServer::startWith(const QByteArray& programsText) {
    Result<server::Programs> programs =
        server::Programs::parse(programsText, QStringLiteral("programs.txt"));
    QVERIFY2(programs, qPrintable(programs ? QString() : programs.error().message));
    QString problem;
    bool skip = false;
    if (!fixture_.start(programs.value(), problem, skip)) {
        if (skip)
            QSKIP(qPrintable(problem));
        QFAIL(qPrintable(problem));
    }
    fixture_.setToday(kToday);
    state_->settings.rankingServer = fixture_.address();
}

void tst_RankingServer::init() {
    state_ = std::make_unique<SharedState>();
    SharedState& state = *state_;
    state.settings.schoolNumber = QStringLiteral("1234");
    state.settings.schoolName = QStringLiteral(" 本町塾 ");
    state.settings.homeMode = 0;
    state.profile.catalogueNumber = 801;
    state.profile.programTitle = QStringLiteral("タイピング");
    state.profile.catalogueNumberList = QStringLiteral("801_802_803");
    state.student.studentNo = 56;
    state.student.studentName = QStringLiteral(" 山田　太郎 ");
    state.roster.birthYears[56] = 2012;
    startWith("801 1 40 150\n801 2 45 150\n801 3 50 200\n801 4 60 150\n");
}

void tst_RankingServer::cleanup() {
    fixture_.stop();
}

void tst_RankingServer::uploadThenTotalsAndWorldRank() {
    SharedState& state = *state_;
    setFigures(state, 1, 120, 7, 33);
    SEND(ranking::uploadRequest(state, 1, kToday, kNow));
    state.settings.homeMode = 1;
    setFigures(state, 1, 30, 2, 41);
    SEND(ranking::uploadRequest(state, 1, kToday, kNow));
    // The program sends totals: a later upload replaces the earlier one.
    state.settings.homeMode = 0;
    setFigures(state, 1, 135, 8, 31);
    SEND(ranking::uploadRequest(state, 1, kToday, kNow));

    const ranking::OnlineFigures figures = ranking::net読み込み(reader_, state, 1);
    QCOMPARE(figures.school.points, QStringLiteral("135"));
    QCOMPARE(figures.school.runs, QStringLiteral("8"));
    QCOMPARE(figures.home.points, QStringLiteral("30"));
    QCOMPARE(figures.home.runs, QStringLiteral("2"));
    QCOMPARE(figures.worldRank, 1.0);

    // Another level and another student are apart.
    const ranking::OnlineFigures other = ranking::net読み込み(reader_, state, 2);
    QCOMPARE(other.school.points, QStringLiteral("0"));
    QCOMPARE(other.home.runs, QStringLiteral("0"));
    QCOMPARE(other.worldRank, 0.0);

    // The names, birth year and time sent are kept with the figures.
    Result<std::optional<server::StudentInfo>> info = fixture_.store().student("1234", 56);
    QVERIFY(info && info.value());
    QCOMPARE(info.value()->studentName, QStringLiteral("山田　太郎"));
    QCOMPARE(info.value()->schoolName, QStringLiteral("本町塾"));
    QCOMPARE(info.value()->birthYear, 2012);
    Result<std::optional<server::PlaceTotals>> totals =
        fixture_.store().totals({QStringLiteral("1234"), 0, 56, 801, 1});
    QVERIFY(totals && totals.value());
    QCOMPARE(totals.value()->bestTime, 31);
    QCOMPARE(totals.value()->runDate, QStringLiteral("2024-05-03"));
    QCOMPARE(totals.value()->runTime, QStringLiteral("10:11:12"));
}

void tst_RankingServer::worldRankAmongAllSchools_data() {
    // Others as "school:student:points;…", then the student's points.
    QTest::addColumn<QString>("others");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("rank");
    QTest::newRow("alone") << QString() << 10 << 1.0;
    QTest::newRow("two above at other schools") << "77:1:300;88:56:200" << 150 << 3.0;
    QTest::newRow("same number at another school") << "9:56:500" << 100 << 2.0;
    QTest::newRow("tie shares the rank") << "1234:57:150;1234:58:150;1234:59:10" << 150 << 1.0;
    QTest::newRow("after a tie the rank counts both") << "1:1:90;1:2:90" << 80 << 3.0;
    QTest::newRow("not uploaded") << "1:1:90" << -1 << 0.0;
}

void tst_RankingServer::worldRankAmongAllSchools() {
    QFETCH(QString, others);
    QFETCH(int, points);
    QFETCH(double, rank);
    for (const QString& entry : others.split(u';', Qt::SkipEmptyParts)) {
        const QStringList parts = entry.split(u':');
        QVERIFY(fixture_.store().upload(
            directUpload(parts[0], parts[1].toInt(), parts[2].toLongLong())));
    }
    // Another program and another level do not count.
    server::Upload elsewhere = directUpload(QStringLiteral("5"), 5, 100000);
    elsewhere.key.soft = 802;
    QVERIFY(fixture_.store().upload(elsewhere));
    elsewhere.key = {QStringLiteral("5"), 0, 5, 801, 2};
    QVERIFY(fixture_.store().upload(elsewhere));

    if (points >= 0) {
        // School and home points count together.
        setFigures(*state_, 1, points - points / 3, 3, 40);
        SEND(ranking::uploadRequest(*state_, 1, kToday, kNow));
        state_->settings.homeMode = 1;
        setFigures(*state_, 1, points / 3, 1, 40);
        SEND(ranking::uploadRequest(*state_, 1, kToday, kNow));
    }
    const ranking::OnlineFigures figures = ranking::net読み込み(reader_, *state_, 1);
    QCOMPARE(figures.worldRank, rank);
}

void tst_RankingServer::recentDaysFollowTheProgramsUpdates() {
    SharedState& state = *state_;
    const int level = 2;
    // What the finish screen does: read the days, then send them back updated.
    const auto finishRun = [&](const QDate& today, float runs, int points, float times) {
        setToday(state, level, runs, points, times);
        const ranking::RecentDays server =
            ranking::parseRecentDays(read(ranking::recentDaysRequest(state, level)));
        QVERIFY(server.found);
        SEND(ranking::recentDaysUpdateRequest(state, level, server, today));
    };
    const auto daysNow = [&] {
        return ranking::parseRecentDays(read(ranking::recentDaysRequest(state, level)));
    };

    ranking::RecentDays days = daysNow();
    QVERIFY(days.found);
    QCOMPARE(days.latestDate, QStringLiteral("0000-00-00"));

    finishRun(kToday, 1, 12, 45);
    days = daysNow();
    QCOMPARE(days.latestDate, QStringLiteral("2024-05-03"));
    QCOMPARE(days.days[0].date, QStringLiteral("2024-05-03"));
    QCOMPARE(days.days[0].runs, QStringLiteral("1"));
    QCOMPARE(days.days[0].points, QStringLiteral("12"));
    QCOMPARE(days.days[0].time, QStringLiteral("45"));
    QCOMPARE(days.days[1].date, QStringLiteral("0000-00-00"));

    // Later the same day: day 1 is rewritten, nothing is added.
    finishRun(kToday, 2, 25, 88);
    days = daysNow();
    QCOMPARE(days.days[0].runs, QStringLiteral("2"));
    QCOMPARE(days.days[0].points, QStringLiteral("25"));
    QCOMPARE(days.days[1].date, QStringLiteral("0000-00-00"));

    // Six more days: each new day shifts the days down; five are kept.
    for (int d = 1; d <= 6; ++d)
        finishRun(kToday.addDays(d), static_cast<float>(d), 10 * d, 100 + d);
    days = daysNow();
    QCOMPARE(days.latestDate, QStringLiteral("2024-05-09"));
    for (int k = 0; k < 5; ++k) {
        const int d = 6 - k;
        QCOMPARE(days.days[static_cast<std::size_t>(k)].date,
                 kToday.addDays(d).toString(QStringLiteral("yyyy-MM-dd")));
        QCOMPARE(days.days[static_cast<std::size_t>(k)].points, QString::number(10 * d));
    }
    QCOMPARE(days.days[5].date, QStringLiteral("0000-00-00"));
    QCOMPARE(days.days[9].time, QStringLiteral("0"));

    // The days of the other place stay apart.
    state.settings.homeMode = 1;
    QCOMPARE(daysNow().latestDate, QStringLiteral("0000-00-00"));
}

void tst_RankingServer::clearNotificationThenPassPages() {
    SharedState& state = *state_;
    setFigures(state, 1, 160, 9, 30);
    SEND(ranking::uploadRequest(state, 1, kToday, kNow));
    setFigures(state, 2, 40, 2, 44);
    SEND(ranking::uploadRequest(state, 2, kToday, kNow));
    // A classmate who uploaded but did not pass, and one who passed level 1 earlier.
    QVERIFY(fixture_.store().upload(directUpload("1234", 57, 90, QStringLiteral("鈴木　花子"))));
    QVERIFY(fixture_.store().upload(directUpload("1234", 58, 170, QStringLiteral("佐藤　一郎"))));
    QVERIFY(fixture_.store().setPass({QStringLiteral("1234"), 0, 58, 801, 1}, true,
                                     QStringLiteral("2024-04-20")));
    // A pass at another school is not on this school's list.
    QVERIFY(fixture_.store().upload(directUpload("999", 56, 170, QStringLiteral("他校　生徒"))));
    QVERIFY(fixture_.store().setPass({QStringLiteral("999"), 0, 56, 801, 1}, true,
                                     QStringLiteral("2024-04-21")));

    SEND(ranking::clearNotificationRequest(state, 1, Place::School));
    SEND(ranking::clearNotificationRequest(state, 1, Place::Home));
    // Told again a day later, the pass keeps its first date.
    fixture_.setToday(kToday.addDays(1));
    SEND(ranking::clearNotificationRequest(state, 1, Place::School));

    Result<std::vector<server::LevelRecord>> levels = fixture_.store().studentLevels("1234", 56);
    QVERIFY(levels);
    QCOMPARE(levels.value().size(), std::size_t{2});
    QVERIFY(levels.value()[0].passed);
    QCOMPARE(levels.value()[0].passedDate, QStringLiteral("2024-05-03"));
    QVERIFY(!levels.value()[1].passed);

    const QString personal = htmlOf(ranking::personalPassRequest(state));
    QVERIFY(personal.contains(QStringLiteral("山田　太郎")));
    QVERIFY(personal.contains(QStringLiteral("2024/5/3 合格")));
    // Level 2 is on its way: points against the clear points; levels 3 and 4
    // of the program are listed although not played yet.
    QVERIFY(personal.contains(QStringLiteral("40 / 150 ポイント")));
    QVERIFY(personal.contains(QStringLiteral("0 / 200 ポイント")));
    QCOMPARE(personal.count(QStringLiteral("class=\"level ok\"")), 1);
    QCOMPARE(personal.count(QStringLiteral("class=\"level\"")), 3);

    const QString list = htmlOf(ranking::passListRequest(state));
    QVERIFY(list.contains(QStringLiteral("本町塾")));
    QVERIFY(list.contains(QStringLiteral("佐藤　一郎<small>2024/4/20</small>")));
    QVERIFY(list.contains(QStringLiteral("class=\"name me\">山田　太郎<small>2024/5/3</small>")));
    QVERIFY(list.indexOf(QStringLiteral("佐藤　一郎")) <
            list.indexOf(QStringLiteral("山田　太郎")));
    QVERIFY(!list.contains(QStringLiteral("鈴木　花子")));
    QVERIFY(!list.contains(QStringLiteral("他校　生徒")));
    QVERIFY(list.contains(QStringLiteral("2人")));

    // Withdrawn (gouhi=0), the pass is gone from both pages.
    const QString withdraw = ranking::clearNotificationRequest(state, 1, Place::School)
                                 .replace(QStringLiteral("gouhi=1"), QStringLiteral("gouhi=0"));
    SEND(withdraw);
    SEND(withdraw.chopped(1) + u'1');
    QVERIFY(!htmlOf(ranking::passListRequest(state)).contains(QStringLiteral("山田　太郎")));
    QCOMPARE(htmlOf(ranking::personalPassRequest(state)).count(QStringLiteral("level ok")), 0);
}

void tst_RankingServer::programInfoGivesReferenceTimes() {
    ServerLevelState server;
    ranking::applyProgramInfo(read(ranking::softInfoRequest(*state_)), server);
    QCOMPARE(server.referenceTimes[1], 40.0);
    QCOMPARE(server.referenceTimes[2], 45.0);
    QCOMPARE(server.referenceTimes[3], 50.0);
    QCOMPARE(server.referenceTimes[4], 60.0);
    QCOMPARE(server.referenceTimes[5], 50.0);
    QCOMPARE(server.levelClearPoints[4], 150.0);

    // Fractions, a gap in the levels and a program the file does not list.
    startWith("801 1 37.5 150\n801 3 70 150\n");
    server = ServerLevelState{};
    ranking::applyProgramInfo(read(ranking::softInfoRequest(*state_)), server);
    QCOMPARE(server.referenceTimes[1], 37.5);
    QCOMPARE(server.referenceTimes[2], 50.0);
    QCOMPARE(server.referenceTimes[3], 70.0);
    state_->profile.catalogueNumber = 802;
    server = ServerLevelState{};
    const QString page = read(ranking::softInfoRequest(*state_));
    QVERIFY(!page.isEmpty());
    ranking::applyProgramInfo(page, server);
    for (int level = 1; level <= 60; ++level)
        QCOMPARE(server.referenceTimes[static_cast<std::size_t>(level)], 50.0);
}

void tst_RankingServer::rankingPageShowsLeadersAndTheStudent() {
    // 55 students above ours, two of them tied for first.
    for (int n = 1; n <= 55; ++n)
        QVERIFY(fixture_.store().upload(directUpload(
            QStringLiteral("77"), n, n <= 2 ? 5000 : 1000 - n, QStringLiteral("生徒%1").arg(n))));
    setFigures(*state_, 1, 100, 4, 38);
    SEND(ranking::uploadRequest(*state_, 1, kToday, kNow));

    const HttpAnswerText page = get(ranking::rankingPageRequest(*state_, 1));
    QCOMPARE(page.status, 200);
    QVERIFY(page.body.contains(QStringLiteral("<!DOCTYPE html>")));
    QVERIFY(page.body.contains(QStringLiteral("タイピング　レベル1　全56人")));
    QCOMPARE(page.body.count(QStringLiteral("<tr><td")), server::RankingService::kLeaders);
    QCOMPARE(page.body.count(QStringLiteral("class=\"medal m1\">1<")), 2);
    QVERIFY(page.body.contains(QStringLiteral("class=\"medal m3\">3<")));
    QVERIFY(page.body.contains(QStringLiteral("生徒50<")));
    QVERIFY(!page.body.contains(QStringLiteral("生徒51<")));
    // The student's place is told first, and the student's row follows the
    // leaders after a gap, marked.
    QVERIFY(page.body.contains(QStringLiteral("あなたは <b>56位</b>　100 / 150 ポイント")));
    const qsizetype me = page.body.indexOf(QStringLiteral("<tr class=\"me\">"));
    QVERIFY(me > page.body.indexOf(QStringLiteral("class=\"gap\"")));
    QVERIFY(page.body.indexOf(QStringLiteral(">56<"), me) > me);
    QVERIFY(page.body.indexOf(QStringLiteral("山田　太郎"), me) > me);
    QVERIFY(page.body.indexOf(QStringLiteral("38秒"), me) > me);

    // A level nobody played yet.
    const HttpAnswerText empty = get(ranking::rankingPageRequest(*state_, 3));
    QCOMPARE(empty.status, 200);
    QVERIFY(empty.body.contains(QStringLiteral("まだ記録がありません")));
}

void tst_RankingServer::recentResultsPageShowsThePlace() {
    SharedState& state = *state_;
    state.settings.homeMode = 1;
    setFigures(state, 1, 75, 5, 29);
    SEND(ranking::uploadRequest(state, 1, kToday, kNow));
    setToday(state, 1, 3, 30, 99);
    SEND(ranking::recentDaysUpdateRequest(state, 1, ranking::RecentDays{}, kToday));

    const QString home = htmlOf(ranking::recentResultsRequest(state, 1, Place::Home));
    QVERIFY(home.contains(QStringLiteral("<h1>家での成績</h1>")));
    QVERIFY(home.contains(QStringLiteral("山田　太郎さん　タイピング　レベル1")));
    QVERIFY(home.contains(QStringLiteral("<b>75</b><span>ポイント")));
    QVERIFY(home.contains(QStringLiteral("<b>29秒</b>")));
    QVERIFY(home.contains(QStringLiteral("<td>5/3(金)</td><td class=\"n\">3</td><td "
                                         "class=\"n\">30</td><td class=\"n\">99</td>")));

    const QString school = htmlOf(ranking::recentResultsRequest(state, 1, Place::School));
    QVERIFY(school.contains(QStringLiteral("<h1>塾での成績</h1>")));
    QVERIFY(school.contains(QStringLiteral("<b>0</b><span>ポイント")));
    QVERIFY(school.contains(QStringLiteral("最近の記録はまだありません")));
}

void tst_RankingServer::hostileTextsStoredAndShownLiterally_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("sql quote") << QStringLiteral("O'Brien'); DROP TABLE results; --");
    QTest::newRow("sql comment") << QStringLiteral("1 OR 1=1 /* */ UNION SELECT *");
    QTest::newRow("script") << QStringLiteral("<script>alert('x')</script>");
    QTest::newRow("attribute") << QStringLiteral("\" onmouseover=\"alert(1)");
    QTest::newRow("entity") << QStringLiteral("&amp; &lt;b&gt;");
    QTest::newRow("query characters") << QStringLiteral("a&b=c?d#e+f%41");
    QTest::newRow("markers") << QStringLiteral("###9<***1<>1234_56<*1*_2_");
    QTest::newRow("place holders") << QStringLiteral("%1 %2 %9");
    QTest::newRow("japanese") << QStringLiteral("山田＆花子　《特別》");
}

void tst_RankingServer::hostileTextsStoredAndShownLiterally() {
    QFETCH(QString, text);
    SharedState& state = *state_;
    // Every text parameter carries the text, the school number too.
    state.settings.schoolNumber = text;
    state.settings.schoolName = text;
    state.student.studentName = text;
    state.profile.programTitle = text;
    setFigures(state, 1, 120, 7, 33);
    SEND(ranking::uploadRequest(state, 1, kToday, kNow));
    SEND(ranking::clearNotificationRequest(state, 1, Place::School));
    setToday(state, 1, 2, 20, 66);
    SEND(ranking::recentDaysUpdateRequest(state, 1, ranking::RecentDays{}, kToday));

    // Stored as sent.
    Result<std::optional<server::StudentInfo>> info = fixture_.store().student(text, 56);
    QVERIFY(info && info.value());
    QCOMPARE(info.value()->studentName, text.trimmed());
    QCOMPARE(info.value()->schoolName, text.trimmed());
    Result<QString> title = fixture_.store().softName(801);
    QVERIFY(title);
    QCOMPARE(title.value(), text);

    // The marker pages still give the figures.
    const ranking::OnlineFigures figures = ranking::net読み込み(reader_, state, 1);
    QCOMPARE(figures.school.points, QStringLiteral("120"));
    QCOMPARE(figures.school.runs, QStringLiteral("7"));
    QCOMPARE(figures.worldRank, 1.0);
    QCOMPARE(ranking::parseRecentDays(read(ranking::recentDaysRequest(state, 1))).days[0].points,
             QStringLiteral("20"));

    // The pages show the text escaped and never as markup.
    const QString shown = server::pages::escaped(text.trimmed());
    for (const QString& address :
         {ranking::rankingPageRequest(state, 1),
          ranking::recentResultsRequest(state, 1, Place::School),
          ranking::personalPassRequest(state), ranking::passListRequest(state)}) {
        const HttpAnswerText page = get(address);
        QCOMPARE(page.status, 200);
        QVERIFY2(page.body.contains(shown), qPrintable(address));
        if (shown != text.trimmed())
            QVERIFY2(!page.body.contains(text.trimmed()), qPrintable(address));
    }

    // The tables are all still there: another student's upload is stored.
    state.student.studentNo = 57;
    SEND(ranking::uploadRequest(state, 1, kToday, kNow));
    Result<server::WorldRanking> ranking = fixture_.store().worldRanking(801, 1, 10);
    QVERIFY(ranking);
    QCOMPARE(ranking.value().students, 2);
}

void tst_RankingServer::badRequestsAreRefused_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    const QString upload = QStringLiteral(
        "/benkyouRanking/BenkyouTuikaKousin.php?JukuNo=1234&JukuName=a&SeitoNo=56&SeitoUmare=2012"
        "&SeitoName=b&SoftGroup=1&SoftNo=801&SoftName=c&Level=1&JisshiDate1=2024-05-03"
        "&JisshiTime1=10:11:12&point=120&kaisuu=7&athome=0&KirokuTime=33");
    const auto changed = [&](const QString& from, const QString& to) {
        QString target = upload;
        return target.replace(from, to);
    };
    QTest::newRow("unknown page") << "/benkyouRanking/Nothing.php?SoftNo=801" << 404
                                  << "no such page";
    QTest::newRow("outside the path") << "/BenkyouTuikaKousin.php" << 404 << "no such page";
    QTest::newRow("page name case")
        << "/benkyouRanking/benkyousoftinfohyouji.php?SoftNo=1" << 404 << "no such page";
    QTest::newRow("missing parameter") << changed("&kaisuu=7", "") << 400 << "kaisuu: missing";
    QTest::newRow("not a number") << changed("SeitoNo=56", "SeitoNo=5x") << 400 << "SeitoNo";
    QTest::newRow("sql in a number")
        << changed("point=120", "point=1%3BDROP%20TABLE%20results") << 400 << "point";
    QTest::newRow("negative") << changed("point=120", "point=-5") << 400 << "point";
    QTest::newRow("student too high") << changed("SeitoNo=56", "SeitoNo=10000") << 400 << "SeitoNo";
    QTest::newRow("level 0") << changed("Level=1", "Level=0") << 400 << "Level";
    QTest::newRow("level 101") << changed("Level=1", "Level=101") << 400 << "Level";
    QTest::newRow("place 2") << changed("athome=0", "athome=2") << 400 << "athome";
    QTest::newRow("empty place") << changed("athome=0", "athome=") << 400 << "athome";
    QTest::newRow("bad date") << changed("2024-05-03", "2024-02-30") << 400 << "JisshiDate1";
    QTest::newRow("bad time") << changed("10:11:12", "25:11:12") << 400 << "JisshiTime1";
    QTest::newRow("long name") << changed("SeitoName=b", "SeitoName=" + QString(65, u'x')) << 400
                               << "SeitoName: longer than 64";
    QTest::newRow("control character")
        << changed("SeitoName=b", "SeitoName=a%0Ab") << 400 << "control character";
    QTest::newRow("broken percent") << changed("SeitoName=b", "SeitoName=%E5%A") << 400 << "hex";
    QTest::newRow("not utf-8") << changed("SeitoName=b", "SeitoName=%82%A0") << 400 << "UTF-8";
    QTest::newRow("given twice") << upload + "&SeitoNo=57" << 400 << "SeitoNo: given twice";
    QTest::newRow("empty school") << changed("JukuNo=1234", "JukuNo=") << 400 << "JukuNo: empty";
    QTest::newRow("long query") << upload + "&x=" + QString(4100, u'y') << 400 << "longer than";
    QTest::newRow("catalogue list") << "/benkyouRanking/BenkyouGouhiHyouji.php?JukuNo=1&SeitoNo=1"
                                       "&SSS=801__802"
                                    << 400 << "SSS";
    QTest::newRow("day entry") << "/benkyouRanking/BenkyouKakoHenkou.php?athome=0&JukuNo=1"
                                  "&SeitoNo=1&SoftNo=801&Level=1&hiduke1=2024-5-3&kaisuu1=x"
                               << 400 << "kaisuu1";
    QTest::newRow("no day 1") << "/benkyouRanking/BenkyouKakoHenkou.php?athome=0&JukuNo=1"
                                 "&SeitoNo=1&SoftNo=801&Level=1"
                              << 400 << "hiduke1";
    QTest::newRow("gouhi 2") << "/benkyouRanking/BenkyouTuikaKousinGouhinomi.php?JukuNo=1"
                                "&SeitoNo=1&SoftNo=801&Level=1&gouhi=2&athome=0"
                             << 400 << "gouhi";
}

void tst_RankingServer::badRequestsAreRefused() {
    QFETCH(QString, target);
    QFETCH(int, status);
    QFETCH(QString, message);
    const test::HttpAnswer answer = test::httpGet(fixture_.port(), target.toStdString());
    QCOMPARE(answer.status, status);
    QVERIFY2(QString::fromUtf8(answer.body).contains(message), answer.body.constData());
    // Nothing refused is stored.
    Result<server::WorldRanking> ranking = fixture_.store().worldRanking(801, 1, 10);
    QVERIFY(ranking);
    QCOMPARE(ranking.value().students, 0);
    Result<std::vector<server::StoredDay>> days =
        fixture_.store().recentDays({QStringLiteral("1"), 0, 1, 801, 1});
    QVERIFY(days);
    QVERIFY(days.value().empty());
    Result<std::vector<server::LevelRecord>> levels = fixture_.store().studentLevels("1", 1);
    QVERIFY(levels);
    QVERIFY(levels.value().empty());
}

void tst_RankingServer::logHasOneLinePerRequestWithoutQuery() {
    setFigures(*state_, 1, 120, 7, 33);
    SEND(ranking::uploadRequest(*state_, 1, kToday, kNow));
    QCOMPARE(test::httpGet(fixture_.port(), "/benkyouRanking/BenkyouSoftInfoHyouji.php").status,
             400);
    QCOMPARE(test::httpGet(fixture_.port(), "/favicon.ico").status, 404);

    // A line is written once its answer has gone out, so lines of requests
    // close together may come in either order.
    QTRY_COMPARE_WITH_TIMEOUT(fixture_.log().size(), 3, 5000);
    const QStringList log = fixture_.log();
    const auto line = [&](const QString& part) {
        for (const QString& entry : log) {
            if (entry.contains(part))
                return entry;
        }
        return QString();
    };
    QVERIFY(!line(QStringLiteral(" 127.0.0.1 GET /benkyouRanking/BenkyouTuikaKousin.php 200 3B "))
                 .isEmpty());
    QVERIFY(line(QStringLiteral("/BenkyouSoftInfoHyouji.php 400 "))
                .endsWith(QStringLiteral("(SoftNo: missing)")));
    QVERIFY(!line(QStringLiteral("GET /favicon.ico 404 ")).isEmpty());
    // The students' names stay out of the log.
    for (const QString& line : log) {
        QVERIFY(!line.contains(u'?'));
        QVERIFY(!line.contains(QStringLiteral("%E5%B1%B1")));
    }
}

QTEST_GUILESS_MAIN(tst_RankingServer)
#include "tst_rankingserver.moc"
