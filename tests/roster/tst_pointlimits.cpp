#include "FakePageReader.h"
#include "roster/ProgramInfo.h"

#include <QTest>
#include <memory>

using namespace kavoret;

class tst_PointLimits : public QObject {
    Q_OBJECT
private slots:
    void init();
    void answerSetsTimesAndLimits();
    void withoutAnswerEveryLevelGetsDefaults_data();
    void withoutAnswerEveryLevelGetsDefaults();

private:
    std::unique_ptr<SharedState> state_;
    test::FakePageReader reader_;
};

void tst_PointLimits::init() {
    state_ = std::make_unique<SharedState>();
    state_->profile.catalogueNumber = 801;
    reader_ = test::FakePageReader();
}

void tst_PointLimits::answerSetsTimesAndLimits() {
    state_->settings.rankingServer = QStringLiteral("http://127.0.0.1:8765");
    const QString address =
        QStringLiteral("http://127.0.0.1:8765/benkyouRanking/BenkyouSoftInfoHyouji.php?SoftNo=801");
    reader_.pages.insert(address, QStringLiteral("<p>_a_b_40_55_</p>"));
    QCOMPARE(roster::readProgramInfo(*state_, reader_), address);
    QCOMPARE(reader_.reads, QStringList{address});
    const ServerLevelState& server = state_->server;
    QCOMPARE(server.referenceTimes[1], 40.0);
    QCOMPARE(server.referenceTimes[2], 55.0);
    QCOMPARE(server.referenceTimes[3], 50.0);
    for (int level : {1, 2, 60}) {
        QCOMPARE(server.levelClearPoints[level], 150.0);
        QCOMPARE(server.levelPointLimits[0][level], 300.0);  // day
        QCOMPARE(server.levelPointLimits[1][level], 750.0);  // week
        QCOMPARE(server.levelPointLimits[2][level], 1500.0); // month
        QCOMPARE(server.levelPointLimits[3][level], 4500.0); // half-year
    }
    for (int period = 0; period < 4; ++period)
        QCOMPARE(server.levelPointLimits[period][61], 0.0);
}

void tst_PointLimits::withoutAnswerEveryLevelGetsDefaults_data() {
    QTest::addColumn<QString>("server");
    QTest::newRow("offline") << QString();
    QTest::newRow("no answer") << QStringLiteral("http://127.0.0.1:8765");
}

void tst_PointLimits::withoutAnswerEveryLevelGetsDefaults() {
    QFETCH(QString, server);
    state_->settings.rankingServer = server;
    state_->server.levelClearPoints[5] = 80; // from an earlier answer
    roster::readProgramInfo(*state_, reader_);
    QCOMPARE(reader_.reads.size(), server.isEmpty() ? 0 : 1);
    QCOMPARE(state_->server.referenceTimes[5], 50.0);
    QCOMPARE(state_->server.levelClearPoints[5], 150.0);
    QCOMPARE(state_->server.levelPointLimits[0][5], 300.0);
    QCOMPARE(state_->server.levelPointLimits[3][60], 4500.0);
}

QTEST_GUILESS_MAIN(tst_PointLimits)
#include "tst_pointlimits.moc"
