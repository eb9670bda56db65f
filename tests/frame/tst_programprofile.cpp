#include "RecordingScreenFlow.h"
#include "frame/ProgramProfile.h"

#include <QTest>

using namespace kavoret;

class tst_ProgramProfile : public QObject {
    Q_OBJECT
private slots:
    void identity();
    void levelsAtLogin();
    void loginOpensTheBoardNeverTheDrill();
};

void tst_ProgramProfile::identity() {
    ProfileState profile;
    progselbas::applyIdentity(profile);
    QCOMPARE(profile.programTitle, QStringLiteral("Kavoret"));
    QVERIFY(profile.productPageUrl.endsWith(QStringLiteral("/MorvendaSoft/kavoret.htm")));
    QCOMPARE(profile.catalogueNumber, 801);
    QCOMPARE(profile.catalogueNumberList,
             QStringLiteral("801_802_803_804_805_806_807_808_809_810"));
    QCOMPARE(profile.levelCount, 4);
    QCOMPARE(profile.levelCountAtLogin, 0); // taken only at login
}

void tst_ProgramProfile::levelsAtLogin() {
    ProfileState profile;
    progselbas::applyIdentity(profile);
    profile.levelNames[7] = QStringLiteral("kept");
    progselbas::applyLevels(profile);
    QCOMPARE(profile.levelCountAtLogin, 4);
    const QStringList builtIn{"abc", "ABC", "Abc", "word"};
    for (int level = 1; level <= 4; ++level) {
        QCOMPARE(profile.levelNames[level], builtIn[level - 1]);
        QCOMPARE(profile.levelDefined[level], 1);
    }
    QCOMPARE(profile.levelNames[5], QStringLiteral("5ﾚﾍﾞﾙ"));
    QCOMPARE(profile.levelNames[7], QStringLiteral("kept"));
    QCOMPARE(profile.levelNames[12], QStringLiteral("12ﾚﾍﾞﾙ"));
    for (int level = 13; level <= 100; ++level)
        QVERIFY(profile.levelNames[level].isEmpty());
    for (int level = 5; level <= 100; ++level)
        QCOMPARE(profile.levelDefined[level], 0);
}

void tst_ProgramProfile::loginOpensTheBoardNeverTheDrill() {
    ProfileState profile;
    test::RecordingScreenFlow flow;
    progselbas::applyLevelsAndOpenBoard(profile, flow);
    QCOMPARE(flow.calls, QStringList{QStringLiteral("showBoard")});
    QCOMPARE(profile.levelNames[1], QStringLiteral("abc"));
}

QTEST_GUILESS_MAIN(tst_ProgramProfile)
#include "tst_programprofile.moc"
