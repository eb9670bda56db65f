#include "FakePageReader.h"
#include "frame/SharedState.h"
#include "ranking/OnlineFigures.h"
#include "ranking/RankingRequests.h"

#include <QTest>
#include <memory>

using namespace kavoret;

class tst_OnlineFigures : public QObject {
    Q_OBJECT
private slots:
    void init();
    void readsTotalsAndRank();
    void emptyAnswersGiveZeros();
    void offlineReadsNothing();

private:
    std::unique_ptr<SharedState> state_;
};

void tst_OnlineFigures::init() {
    state_ = std::make_unique<SharedState>();
    state_->settings.rankingServer = QStringLiteral("http://127.0.0.1:8765");
    state_->settings.schoolNumber = QStringLiteral("1234");
    state_->student.studentNo = 56;
    state_->profile.catalogueNumber = 801;
    state_->profile.programTitle = QStringLiteral("タイピング");
}

void tst_OnlineFigures::readsTotalsAndRank() {
    test::FakePageReader reader;
    const QString school = ranking::totalsRequest(*state_, 3, ranking::Place::School);
    const QString home = ranking::totalsRequest(*state_, 3, ranking::Place::Home);
    const QString world = ranking::worldRankRequest(*state_, 3);
    reader.pages.insert(school, QStringLiteral("###120<br>###7<"));
    reader.pages.insert(home, QStringLiteral("###30<br>###2<"));
    reader.pages.insert(world, QStringLiteral(">1234_55<*1* >1234_56< *12*"));

    const ranking::OnlineFigures figures = ranking::net読み込み(reader, *state_, 3);
    QCOMPARE(reader.reads, (QStringList{school, home, world}));
    QCOMPARE(figures.school.points, QStringLiteral("120"));
    QCOMPARE(figures.school.runs, QStringLiteral("7"));
    QCOMPARE(figures.home.points, QStringLiteral("30"));
    QCOMPARE(figures.home.runs, QStringLiteral("2"));
    QCOMPARE(figures.worldRank, 12.0);
    QCOMPARE(figures.schoolTotalsPage, reader.pages.value(school));
    QCOMPARE(figures.homeTotalsPage, reader.pages.value(home));
    QCOMPARE(figures.worldRankPage, reader.pages.value(world));
}

void tst_OnlineFigures::emptyAnswersGiveZeros() {
    test::FakePageReader reader; // every read fails with the empty text
    const ranking::OnlineFigures figures = ranking::net読み込み(reader, *state_, 3);
    QCOMPARE(reader.reads.size(), 3);
    for (const QString& value :
         {figures.school.points, figures.school.runs, figures.home.points, figures.home.runs})
        QCOMPARE(value, QStringLiteral("0"));
    QCOMPARE(figures.worldRank, 0.0);
}

void tst_OnlineFigures::offlineReadsNothing() {
    state_->settings.rankingServer.clear();
    test::FakePageReader reader;
    const ranking::OnlineFigures figures = ranking::net読み込み(reader, *state_, 3);
    QVERIFY(reader.reads.isEmpty());
    QCOMPARE(figures.school.points, QStringLiteral("0"));
    QCOMPARE(figures.home.runs, QStringLiteral("0"));
    QCOMPARE(figures.worldRank, 0.0);
}

QTEST_GUILESS_MAIN(tst_OnlineFigures)
#include "tst_onlinefigures.moc"
