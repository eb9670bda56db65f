#include "FakeClock.h"
#include "FakePageReader.h"
#include "RecordingCues.h"
#include "RecordingRequestSender.h"
#include "RecordingResultsStore.h"
#include "finish/FinishJudgement.h"
#include "frame/Cues.h"
#include "ranking/RankingRequests.h"

#include <QTest>
#include <memory>

using namespace kavoret;
using finish::Sound;

Q_DECLARE_METATYPE(QList<Sound>)

namespace {

constexpr int kLevel = 2;
constexpr int kStudent = 56;

// Student 56 after a run at level 2 of four: reference time 50, minimum line 40,
// clear points 150 online; criteria and aggregates far from any threshold.
std::unique_ptr<SharedState> makeState() {
    auto state = std::make_unique<SharedState>();
    state->profile.programTitle = QStringLiteral("タイピング");
    state->profile.catalogueNumber = 801;
    state->profile.levelCountAtLogin = 4;
    for (int level = 1; level <= 4; ++level) {
        state->profile.levelNames[level] = QStringLiteral("ﾚﾍﾞﾙ%1").arg(level);
        state->server.referenceTimes[level] = 50;
        state->server.levelClearPoints[level] = 150;
        state->criteria.minimumTimes[level] = 40;
        state->criteria.clearCounts[level] = 10;
        state->criteria.clearPoints[level] = 100;
    }
    state->student.studentNo = kStudent;
    state->student.studentName = QStringLiteral("  山田 太郎        ");
    state->settings.schoolNumber = QStringLiteral("1234");
    state->run.currentLevel = kLevel;
    state->run.resultTime = 60;
    state->aggregates.pointTotals.at(kLevel, kStudent) = 40;
    return state;
}

QList<Sound> cue(int number) {
    return {Sound{number, {}}};
}
QList<Sound> fixed(const QString& name) {
    return {Sound{0, name}};
}

} // namespace

class tst_FinishJudgement : public QObject {
    Q_OBJECT
private slots:
    void resultAndPoints_data();
    void resultAndPoints();
    void pointsLineAgainstClearPoints_data();
    void pointsLineAgainstClearPoints();
    void recordsAndCues_data();
    void recordsAndCues();
    void namesAndCounters();
    void lastLevelBanner_data();
    void lastLevelBanner();
    void onlineLines_data();
    void onlineLines();
    void advice_data();
    void advice();

    void judgeAggregatesFirstAndUploads();
    void celebratePlaysAndClearsFlags();
    void recentDaysUpdateNeedsTheServersDays();
    void onlineClearSendsBothNotifications();
    void unreachableServerGivesZeros_data();
    void unreachableServerGivesZeros();
    void offlineAttemptsNoRequest();
};

void tst_FinishJudgement::resultAndPoints_data() {
    QTest::addColumn<int>("time");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("resultLine");
    QTest::addColumn<QString>("pointsLine");
    const QString tryAgain = QStringLiteral("次は最後までがんばろう！");
    QTest::newRow("time limit reached") << 99999 << 0 << "記録なし" << tryAgain;
    QTest::newRow("largest give-up time") << 99997 << 0 << "ギブアップ" << tryAgain;
    QTest::newRow("first time without a valid run") << 5000 << 0 << "ギブアップ" << tryAgain;
    QTest::newRow("at the reference time") << 50 << 10 << "今の成績： 50秒  10ﾎﾟｲﾝﾄ"
                                           << "獲得ポイント：10点 あと110でクリア";
    QTest::newRow("half the reference time") << 25 << 15 << "今の成績： 25秒  15ﾎﾟｲﾝﾄ"
                                             << "獲得ポイント：15点 あと110でクリア";
    QTest::newRow("five times the reference time") << 250 << 1 << "今の成績： 250秒  1ﾎﾟｲﾝﾄ"
                                                   << "獲得ポイント：1点 あと110でクリア";
    QTest::newRow("just above five times") << 251 << 0 << "今の成績： 251秒  0ﾎﾟｲﾝﾄ"
                                           << "獲得ポイント：0点 あと110でクリア";
    QTest::newRow("slowest valid time") << 4999 << 0 << "今の成績： 4999秒  0ﾎﾟｲﾝﾄ"
                                        << "獲得ポイント：0点 あと110でクリア";
}

void tst_FinishJudgement::resultAndPoints() {
    QFETCH(int, time);
    QFETCH(int, points);
    QFETCH(QString, resultLine);
    QFETCH(QString, pointsLine);
    auto state = makeState();
    state->run.resultTime = time;
    state->aggregates.pointTotals.at(kLevel, kStudent) = 40;
    const finish::Judgement judgement = finish::judgeRun(*state);
    QCOMPARE(judgement.points, points);
    QCOMPARE(judgement.resultLine, resultLine);
    QCOMPARE(judgement.pointsLine, pointsLine);
    if (time >= 5000) {
        QVERIFY(judgement.recordMessage.isEmpty());
        QVERIFY(judgement.sounds.isEmpty());
    }
}

void tst_FinishJudgement::pointsLineAgainstClearPoints_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<double>("clearPoints");
    QTest::addColumn<QString>("pointsLine");
    // The total already holds this run's points after the level's rate.
    QTest::newRow("140 of 150") << 140 << 150.0 << "獲得ポイント：8点 あと10でクリア";
    QTest::newRow("exactly 150") << 150 << 150.0 << "獲得ポイント：8点 計：150=クリア!!";
    QTest::newRow("beyond") << 171 << 150.0 << "獲得ポイント：8点 計：171=クリア!!";
    QTest::newRow("no online clear points") << 0 << 0.0 << "獲得ポイント：8点 計：0=クリア!!";
}

void tst_FinishJudgement::pointsLineAgainstClearPoints() {
    QFETCH(int, total);
    QFETCH(double, clearPoints);
    QFETCH(QString, pointsLine);
    auto state = makeState();
    state->run.resultTime = 60; // r = 1.2: 8 points
    state->aggregates.pointTotals.at(kLevel, kStudent) = total;
    state->server.levelClearPoints[kLevel] = clearPoints;
    QCOMPARE(finish::judgeRun(*state).pointsLine, pointsLine);
}

void tst_FinishJudgement::recordsAndCues_data() {
    QTest::addColumn<int>("time");
    QTest::addColumn<int>("personalBest");
    QTest::addColumn<int>("levelBest");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QList<Sound>>("sounds");
    const QString best = QStringLiteral("！！！最高新記録！！！");
    QTest::newRow("personal and level best") << 30 << 1 << 1 << best << fixed("最高1");
    QTest::newRow("level best only") << 30 << 0 << 1 << best << fixed("最高1");
    QTest::newRow("personal best only")
        << 30 << 1 << 0 << "新記録おめでとう" << cue(kCue自己最高音2);
    QTest::newRow("at the minimum line") << 40 << 0 << 0 << "" << cue(kCue不合格音1);
    QTest::newRow("below the minimum line") << 12 << 0 << 0 << "" << cue(kCue不合格音1);
    QTest::newRow("one second slower") << 41 << 0 << 0 << "" << QList<Sound>{};
    QTest::newRow("record flags of an invalid run") << 99999 << 1 << 1 << "" << QList<Sound>{};
    QTest::newRow("give-up under the minimum line cannot happen")
        << 6000 << 0 << 0 << "" << QList<Sound>{};
}

void tst_FinishJudgement::recordsAndCues() {
    QFETCH(int, time);
    QFETCH(int, personalBest);
    QFETCH(int, levelBest);
    QFETCH(QString, message);
    QFETCH(QList<Sound>, sounds);
    auto state = makeState();
    state->run.resultTime = time;
    state->results.newPersonalBest = personalBest;
    state->results.newLevelBest = levelBest;
    const finish::Judgement judgement = finish::judgeRun(*state);
    QCOMPARE(judgement.recordMessage, message);
    QCOMPARE(judgement.sounds, sounds);
    QVERIFY(!judgement.bannerShown);
}

void tst_FinishJudgement::namesAndCounters() {
    auto state = makeState();
    state->aggregates.todayRunCounts.at(kLevel, kStudent) = 3;
    state->aggregates.todayRunCounts.at(1, kStudent) = 2;
    state->aggregates.todayRunCounts.at(100, kStudent) = 1;
    state->aggregates.todayRunCounts.at(kLevel, kStudent + 1) = 9; // another student
    const finish::Judgement judgement = finish::judgeRun(*state);
    QCOMPARE(judgement.nameLine, QStringLiteral("山田 太郎"));
    QCOMPARE(judgement.titleLine, QStringLiteral("タイピング"));
    QCOMPARE(judgement.levelLine, QStringLiteral("ﾚﾍﾞﾙ2"));
    QCOMPARE(judgement.levelCounter, QStringLiteral(" (このレベル　 3回目)"));
    QCOMPARE(judgement.dayCounter, QStringLiteral("（ 6回目)"));

    state->aggregates.todayRunCounts.fill(0);
    const finish::Judgement first = finish::judgeRun(*state);
    QCOMPARE(first.levelCounter, QStringLiteral(" (このレベル　 0回目)"));
    QCOMPARE(first.dayCounter, QStringLiteral("（ 0回目)"));
}

void tst_FinishJudgement::lastLevelBanner_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("runs");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("clearedBefore");
    QTest::addColumn<bool>("banner");
    QTest::addColumn<QList<Sound>>("sounds");
    QTest::newRow("last level cleared") << 4 << 10 << 100 << 0 << true << fixed("合格");
    QTest::newRow("cleared before: no sound") << 4 << 10 << 100 << 1 << true << QList<Sound>{};
    QTest::newRow("runs short") << 4 << 9 << 100 << 0 << false << QList<Sound>{};
    QTest::newRow("points short") << 4 << 10 << 99 << 0 << false << QList<Sound>{};
    QTest::newRow("not the last level") << 3 << 10 << 100 << 0 << false << QList<Sound>{};
}

void tst_FinishJudgement::lastLevelBanner() {
    QFETCH(int, level);
    QFETCH(int, runs);
    QFETCH(int, points);
    QFETCH(int, clearedBefore);
    QFETCH(bool, banner);
    QFETCH(QList<Sound>, sounds);
    auto state = makeState();
    state->run.currentLevel = level;
    state->run.resultTime = 45; // above the minimum line: no cue of its own
    state->aggregates.judgeRunCounts.at(level, kStudent) = static_cast<std::int16_t>(runs);
    state->aggregates.judgePointTotals.at(level, kStudent) = points;
    state->results.clearedBefore = clearedBefore;
    const finish::Judgement judgement = finish::judgeRun(*state);
    QCOMPARE(judgement.bannerShown, banner);
    QCOMPARE(judgement.sounds, sounds);
}

void tst_FinishJudgement::onlineLines_data() {
    QTest::addColumn<QStringList>("figures"); // school points, runs, home points, runs
    QTest::addColumn<double>("rank");
    QTest::addColumn<double>("clearPoints");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("clear");
    QTest::newRow("below the clear points")
        << QStringList{"120", "7", "20", "2"} << 12.0 << 150.0
        << QStringList{"世界12位", "120point(塾) +20point(家)=140point", "7回(塾) +2回(家)=9回"}
        << false;
    QTest::newRow("reaching the clear points")
        << QStringList{"120", "7", "30", "2"} << 3.0 << 150.0
        << QStringList{"世界3位", "120point(塾) +30point(家)=150point", "7回(塾) +2回(家)=9回"}
        << true;
    QTest::newRow("texts shown as found, added by value")
        << QStringList{" 12", "", "x", "1"} << 0.0 << 150.0
        << QStringList{"世界0位", " 12point(塾) +xpoint(家)=12point", "回(塾) +1回(家)=1回"}
        << false;
}

void tst_FinishJudgement::onlineLines() {
    QFETCH(QStringList, figures);
    QFETCH(double, rank);
    QFETCH(double, clearPoints);
    QFETCH(QStringList, lines);
    QFETCH(bool, clear);
    auto state = makeState();
    state->server.levelClearPoints[kLevel] = clearPoints;
    ranking::OnlineFigures online;
    online.school = {figures[0], figures[1]};
    online.home = {figures[2], figures[3]};
    online.worldRank = rank;
    const finish::OnlineLines result = finish::onlineLines(*state, online);
    QCOMPARE(result.worldRankLine, lines[0]);
    QCOMPARE(result.pointsTotalLine, lines[1]);
    QCOMPARE(result.runsTotalLine, lines[2]);
    QCOMPARE(result.clearShown, clear);
}

void tst_FinishJudgement::advice_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<double>("stopCount");
    QTest::addColumn<double>("stopPoints");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<int>("line"); // Advice::Line
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("again");
    const int unchanged = static_cast<int>(finish::Advice::Line::Unchanged);
    const int show = static_cast<int>(finish::Advice::Line::Show);
    const int hide = static_cast<int>(finish::Advice::Line::Hide);
    // The student has 5 runs and 60 points within the over-practice days.
    QTest::newRow("no limits, cleared") << 2 << 0.0 << 0.0 << true << unchanged << "" << true;
    QTest::newRow("no limits, last level") << 4 << 0.0 << 0.0 << true << unchanged << "" << true;
    QTest::newRow("run limit reached, cleared")
        << 2 << 5.0 << 0.0 << true << show << "次のレベルへ進みましょう" << false;
    QTest::newRow("point limit reached, cleared")
        << 2 << 0.0 << 60.0 << true << show << "次のレベルへ進みましょう" << false;
    QTest::newRow("limit reached at the last level")
        << 4 << 5.0 << 0.0 << true << hide << "" << true;
    QTest::newRow("limit reached, not cleared")
        << 2 << 5.0 << 60.0 << false << unchanged << "" << true;
    QTest::newRow("limits not reached") << 2 << 6.0 << 61.0 << true << unchanged << "" << true;
}

void tst_FinishJudgement::advice() {
    QFETCH(int, level);
    QFETCH(double, stopCount);
    QFETCH(double, stopPoints);
    QFETCH(bool, cleared);
    QFETCH(int, line);
    QFETCH(QString, text);
    QFETCH(bool, again);
    auto state = makeState();
    state->run.currentLevel = level;
    state->criteria.stopCounts[level] = stopCount;
    state->criteria.stopPoints[level] = stopPoints;
    state->aggregates.stopRunCounts.at(level, kStudent) = 5;
    state->aggregates.stopPointTotals.at(level, kStudent) = 60;
    state->aggregates.judgeRunCounts.at(level, kStudent) = cleared ? 10 : 9;
    state->aggregates.judgePointTotals.at(level, kStudent) = 100;
    const finish::Advice advice = finish::adviceFor(*state);
    QCOMPARE(static_cast<int>(advice.line), line);
    QCOMPARE(advice.text, text);
    QCOMPARE(advice.againShown, again);
}

namespace {

// The sequence with fakes around it, on 2026-12-11 at 09:05:07.
struct Fixture {
    std::unique_ptr<SharedState> state = makeState();
    test::RecordingResultsStore results;
    test::RecordingCues cues;
    test::RecordingRequestSender sender;
    test::FakePageReader reader;
    test::FakeClock clock{QDate(2026, 12, 11), QTime(9, 5, 7)};
    finish::FinishSequence sequence{*state, {results, cues, sender, reader, clock}};

    Fixture() { state->settings.rankingServer = QStringLiteral("http://127.0.0.1:8765"); }
};

} // namespace

void tst_FinishJudgement::judgeAggregatesFirstAndUploads() {
    Fixture f;
    f.results.onAggregate = [&f] {
        f.state->aggregates.pointTotals.at(kLevel, kStudent) = 148;
        f.state->aggregates.validRunCounts.at(kLevel, kStudent) = 15;
        f.state->results.bestTimes.at(kLevel, kStudent) = 33;
    };
    const finish::Judgement judgement = f.sequence.judge();
    QCOMPARE(f.results.aggregations, 1);
    QCOMPARE(judgement.pointsLine, QStringLiteral("獲得ポイント：8点 あと2でクリア"));
    QCOMPARE(f.sender.sent, QStringList{ranking::uploadRequest(*f.state, kLevel, f.clock.today(),
                                                               f.clock.timeOfDay())});
    QVERIFY(f.sender.sent[0].contains(
        QStringLiteral("&JisshiDate1=2026-12-11&JisshiTime1=09%3A05%3A07&point=148&kaisuu=15"
                       "&athome=0&KirokuTime=33")));
    QVERIFY(f.reader.reads.isEmpty());
}

void tst_FinishJudgement::celebratePlaysAndClearsFlags() {
    Fixture f;
    f.state->run.resultTime = 30;
    f.state->run.currentLevel = 4;
    f.state->results.newPersonalBest = 1;
    f.state->results.newLevelBest = 1;
    f.state->aggregates.judgeRunCounts.at(4, kStudent) = 10;
    f.state->aggregates.judgePointTotals.at(4, kStudent) = 100;

    const finish::Judgement first = f.sequence.judge();
    QCOMPARE(first.recordMessage, QStringLiteral("！！！最高新記録！！！"));
    f.sequence.celebrate(first);
    QCOMPARE(f.cues.played, (QStringList{"fixed:最高1", "fixed:合格"}));
    QCOMPARE(f.state->results.newPersonalBest, 0);
    QCOMPARE(f.state->results.newLevelBest, 0);

    // A second activation judges and uploads again, without the record: the
    // time is then only one at the minimum line.
    f.cues.played.clear();
    const finish::Judgement second = f.sequence.judge();
    f.sequence.celebrate(second);
    QVERIFY(second.recordMessage.isEmpty());
    QCOMPARE(f.cues.played, (QStringList{"cue:10", "fixed:合格"}));
    QCOMPARE(f.sender.sent.size(), 2);
    QCOMPARE(f.results.aggregations, 2);
}

void tst_FinishJudgement::recentDaysUpdateNeedsTheServersDays() {
    Fixture f;
    const QString read = ranking::recentDaysRequest(*f.state, kLevel);
    f.reader.pages.insert(read, QStringLiteral("***2026-12-11<***2026-12-11<***2<***20<***90<"));
    f.state->aggregates.todayRunCounts.at(kLevel, kStudent) = 3;
    f.sequence.updateRecentDays();
    QCOMPARE(f.reader.reads, QStringList{read});
    QCOMPARE(f.sender.sent.size(), 1);
    const QString update = f.sender.sent[0];
    QVERIFY(update.contains(QStringLiteral("BenkyouKakoHenkou.php?athome=0&JukuNo=1234&SeitoNo=56"
                                           "&SoftNo=801&Level=2&hiduke1=2026-12-11&kaisuu1=3&")));
    QVERIFY(update.contains(QStringLiteral("&saikoutime10=")));

    // A failed read, or a page without the days, must not wipe the server's days.
    for (const QString& page : {QString(), QStringLiteral("<html>busy</html>")}) {
        f.sender.sent.clear();
        f.reader.pages.insert(read, page);
        f.sequence.updateRecentDays();
        QVERIFY(f.sender.sent.isEmpty());
    }
}

void tst_FinishJudgement::onlineClearSendsBothNotifications() {
    Fixture f;
    f.reader.pages.insert(ranking::totalsRequest(*f.state, kLevel, ranking::Place::School),
                          QStringLiteral("###100<###6<"));
    f.reader.pages.insert(ranking::totalsRequest(*f.state, kLevel, ranking::Place::Home),
                          QStringLiteral("###50<###3<"));
    const finish::OnlineLines lines = f.sequence.applyOnlineFigures(f.sequence.readFigures(kLevel));
    QVERIFY(lines.clearShown);
    QCOMPARE(lines.pointsTotalLine, QStringLiteral("100point(塾) +50point(家)=150point"));
    QCOMPARE(
        f.sender.sent,
        (QStringList{ranking::clearNotificationRequest(*f.state, kLevel, ranking::Place::School),
                     ranking::clearNotificationRequest(*f.state, kLevel, ranking::Place::Home)}));
}

void tst_FinishJudgement::unreachableServerGivesZeros_data() {
    QTest::addColumn<double>("clearPoints");
    QTest::addColumn<bool>("clear");
    QTest::newRow("clear points 150") << 150.0 << false;
    QTest::newRow("clear points 0") << 0.0 << true;
}

void tst_FinishJudgement::unreachableServerGivesZeros() {
    QFETCH(double, clearPoints);
    QFETCH(bool, clear);
    Fixture f; // the fake reader answers every read with the empty text
    f.state->server.levelClearPoints[kLevel] = clearPoints;
    f.sequence.updateRecentDays();
    const finish::OnlineLines lines = f.sequence.applyOnlineFigures(f.sequence.readFigures(kLevel));
    QCOMPARE(lines.worldRankLine, QStringLiteral("世界0位"));
    QCOMPARE(lines.pointsTotalLine, QStringLiteral("0point(塾) +0point(家)=0point"));
    QCOMPARE(lines.runsTotalLine, QStringLiteral("0回(塾) +0回(家)=0回"));
    QCOMPARE(lines.clearShown, clear);
    QCOMPARE(f.reader.reads.size(), 4);
    QCOMPARE(f.sender.sent.size(), clear ? 2 : 0);
}

void tst_FinishJudgement::offlineAttemptsNoRequest() {
    Fixture f;
    f.state->settings.rankingServer.clear();
    f.state->server.levelClearPoints[kLevel] = 0;
    const finish::Judgement judgement = f.sequence.judge();
    f.sequence.celebrate(judgement);
    QCOMPARE(judgement.resultLine, QStringLiteral("今の成績： 60秒  8ﾎﾟｲﾝﾄ"));
    QVERIFY(f.sequence.rankingPageAddress().startsWith(QStringLiteral("data:text/html")));
    QVERIFY(f.sequence.recentResultsAddress(ranking::Place::Home)
                .startsWith(QStringLiteral("data:text/html")));
    f.sequence.updateRecentDays();
    const finish::OnlineLines lines = f.sequence.applyOnlineFigures(f.sequence.readFigures(kLevel));
    QCOMPARE(lines.pointsTotalLine, QStringLiteral("0point(塾) +0point(家)=0point"));
    QVERIFY(lines.clearShown);
    QVERIFY(f.reader.reads.isEmpty());
    QVERIFY(f.sender.sent.isEmpty());
}

QTEST_GUILESS_MAIN(tst_FinishJudgement)
#include "tst_finishjudgement.moc"
