#include "frame/SharedState.h"
#include "ranking/PageParsers.h"
#include "ranking/RankingRequests.h"

#include <QTest>
#include <memory>

using namespace kavoret;

class tst_ProgramInfo : public QObject {
    Q_OBJECT
private slots:
    void parses_data();
    void parses();
    void keepsEarlierValuesWithoutSeparators();
    void softInfoRequest();
};

void tst_ProgramInfo::parses_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QList<double>>("levels1to5");
    QTest::newRow("three levels") << "info_a_b_40_55_60_" << QList<double>{40, 55, 60, 50, 50};
    QTest::newRow("last value without closing _ dropped")
        << "info_a_b_40_55_60" << QList<double>{40, 55, 50, 50, 50};
    QTest::newRow("zero becomes 50") << "x_a_b_0_30_" << QList<double>{50, 30, 50, 50, 50};
    QTest::newRow("empty value swallows separator")
        << "x_a_b__7_9_" << QList<double>{0 + 50, 9, 50, 50, 50};
    QTest::newRow("only leading values") << "x_a_b_" << QList<double>{50, 50, 50, 50, 50};
    QTest::newRow("html around the values")
        << "<html>_1_2_33_44\n_</html>" << QList<double>{33, 44, 50, 50, 50};
    QTest::newRow("empty page") << "" << QList<double>{50, 50, 50, 50, 50};
    QTest::newRow("single separator") << "_" << QList<double>{50, 50, 50, 50, 50};
}

void tst_ProgramInfo::parses() {
    QFETCH(QString, page);
    QFETCH(QList<double>, levels1to5);
    auto server = std::make_unique<ServerLevelState>();
    ranking::applyProgramInfo(page, *server);
    for (int level = 1; level <= 5; ++level)
        QCOMPARE(server->referenceTimes[level], levels1to5[level - 1]);
    QCOMPARE(server->referenceTimes[60], 50.0);
    QCOMPARE(server->referenceTimes[61], 0.0);
    QCOMPARE(server->levelClearPoints[1], 150.0);
    QCOMPARE(server->levelClearPoints[60], 150.0);
    QCOMPARE(server->levelClearPoints[61], 0.0);
}

void tst_ProgramInfo::keepsEarlierValuesWithoutSeparators() {
    auto server = std::make_unique<ServerLevelState>();
    server->referenceTimes[2] = 70;
    server->referenceTimes[80] = 9;
    ranking::applyProgramInfo(QStringLiteral("no answer"), *server);
    QCOMPARE(server->referenceTimes[2], 70.0);
    QCOMPARE(server->referenceTimes[80], 9.0);
    QCOMPARE(server->referenceTimes[1], 50.0);

    // More values than levels stop at level 100.
    QString many = QStringLiteral("x_a_b_");
    for (int i = 1; i <= 120; ++i)
        many += QString::number(i) + u'_';
    ranking::applyProgramInfo(many, *server);
    QCOMPARE(server->referenceTimes[100], 100.0);
}

void tst_ProgramInfo::softInfoRequest() {
    auto state = std::make_unique<SharedState>();
    state->profile.catalogueNumber = 801;
    QCOMPARE(ranking::softInfoRequest(*state), QString());
    state->settings.rankingServer = QStringLiteral("http://127.0.0.1:8765");
    QCOMPARE(ranking::softInfoRequest(*state),
             QStringLiteral(
                 "http://127.0.0.1:8765/benkyouRanking/BenkyouSoftInfoHyouji.php?SoftNo=801"));
}

QTEST_GUILESS_MAIN(tst_ProgramInfo)
#include "tst_programinfo.moc"
