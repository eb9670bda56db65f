#include "FamilyFixture.h"
#include "criteria/CriteriaTable.h"
#include "frame/FolderSetup.h"
#include "frame/SharedState.h"

#include <QTest>
#include <memory>

using namespace kavoret;

class tst_FolderSetup : public QObject {
    Q_OBJECT
private slots:
    void derivesFolders();
    void rootElsewhereMovesSettingsAndData();
    void homeSwitch_data();
    void homeSwitch();
    void schoolNameIsItemNine();
    void unquotedNumbersAreNumbers_data();
    void unquotedNumbersAreNumbers();
    void readsRankingServer();
    void failures_data();
    void failures();

private:
    static FolderSetupLoaders realLoaders() {
        FolderSetupLoaders loaders;
        loaders.criteria = criteria::loadCriteriaFromDataFolder;
        return loaders;
    }
};

void tst_FolderSetup::derivesFolders() {
    test::FamilyFixture family(QStringLiteral("abc1"));
    family.writeStandardFiles();
    auto state = std::make_unique<SharedState>();
    const Status setUp = setUpFolders(*state, family.programFolder(), realLoaders());
    QVERIFY2(setUp.ok(), qPrintable(setUp.ok() ? QString() : setUp.error().message));

    QCOMPARE(state->folders.appFolder, family.programFolder() + u'/');
    QCOMPARE(state->folders.rootFolder, family.root());
    QCOMPARE(state->folders.programFolderName, QStringLiteral("abc1"));
    QCOMPARE(state->folders.dataFolder, family.root() + QStringLiteral("abc1/"));
    QCOMPARE(state->folders.soundFolder, family.root() + QStringLiteral("音フォルダ/"));
    QCOMPARE(state->settings.schoolYearStartMonth, 4);
    QCOMPARE(state->settings.schoolNumber, QStringLiteral("1234"));
    QCOMPARE(state->profile.programTitle, QStringLiteral("Kavoret"));
    QCOMPARE(state->profile.catalogueNumber, 801);
    QCOMPARE(state->criteria.minimumTimes[1], 60);
}

void tst_FolderSetup::rootElsewhereMovesSettingsAndData() {
    test::FamilyFixture install(QStringLiteral("abc1"));
    test::FamilyFixture share(QStringLiteral("unused"));
    share.writeStandardFiles();
    // The criteria table lives in the share's folder named like the program folder.
    share.writeText(QStringLiteral("abc1/タイム回数データ.txt"),
                    QStringLiteral("h,,,,,,,,,,,\n11,22,0,0,1,0,0,1,1,,,\n"));
    share.writeText(QStringLiteral("共通データ.txt"),
                    QStringLiteral("4,\"x\",0,0,0,0,0,0,\"共有塾\",77\n"));
    install.writeText(QStringLiteral("パスデータ.txt"),
                      QStringLiteral("\"%1\",0,0,0,0,0,0,0,0,0\n").arg(share.root()));

    auto state = std::make_unique<SharedState>();
    const Status setUp = setUpFolders(*state, install.programFolder(), realLoaders());
    QVERIFY2(setUp.ok(), qPrintable(setUp.ok() ? QString() : setUp.error().message));
    QCOMPARE(state->folders.rootFolder, share.root());
    QCOMPARE(state->folders.dataFolder, share.root() + QStringLiteral("abc1/"));
    QCOMPARE(state->settings.schoolName, QStringLiteral("共有塾"));
    QCOMPARE(state->criteria.targetTimes[1], 11);
    QVERIFY(share.exists(QStringLiteral("塾管理家庭用sw.txt")));
    QVERIFY(!install.exists(QStringLiteral("塾管理家庭用sw.txt")));
}

void tst_FolderSetup::homeSwitch_data() {
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("homeMode");
    QTest::newRow("absent: created, school") << false << QString() << 0;
    QTest::newRow("empty file") << true << QString() << 0;
    QTest::newRow("last item 1") << true << QStringLiteral("0\n1\n") << 1;
    QTest::newRow("1 then empty quoted") << true << QStringLiteral("1,\"\"\n") << 0;
    QTest::newRow("any text") << true << QStringLiteral("\"家庭\"\n") << 1;
}

void tst_FolderSetup::homeSwitch() {
    QFETCH(bool, present);
    QFETCH(QString, content);
    QFETCH(int, homeMode);
    test::FamilyFixture family;
    family.writeStandardFiles();
    if (present)
        family.writeText(QStringLiteral("塾管理家庭用sw.txt"), content);
    auto state = std::make_unique<SharedState>();
    state->settings.homeMode = 7;
    QVERIFY(setUpFolders(*state, family.programFolder(), realLoaders()).ok());
    QCOMPARE(state->settings.homeMode, homeMode);
    QVERIFY(family.exists(QStringLiteral("塾管理家庭用sw.txt")));
    if (!present)
        QCOMPARE(family.readBytes(QStringLiteral("塾管理家庭用sw.txt")), QByteArray());
}

void tst_FolderSetup::schoolNameIsItemNine() {
    test::FamilyFixture family;
    family.writeStandardFiles();
    family.writeText(QStringLiteral("共通データ.txt"),
                     QStringLiteral("4,\"二番目の名前\",1,0,0,0,0,0,\"九番目の塾\",\"0012\"\n"));
    auto state = std::make_unique<SharedState>();
    QVERIFY(setUpFolders(*state, family.programFolder(), realLoaders()).ok());
    QCOMPARE(state->settings.schoolName, QStringLiteral("九番目の塾"));
    QCOMPARE(state->settings.schoolNumber, QStringLiteral("0012"));
    QCOMPARE(state->settings.includeStatus2, 1);
}

void tst_FolderSetup::unquotedNumbersAreNumbers_data() {
    QTest::addColumn<QString>("items"); // items 9 and 10 as written in the file
    QTest::addColumn<QString>("schoolName");
    QTest::addColumn<QString>("schoolNumber");
    QTest::newRow("unquoted number") << "\"テスト塾\",0012"
                                     << "テスト塾"
                                     << "12";
    QTest::newRow("quoted number as written") << "\"テスト塾\",\"0012\""
                                              << "テスト塾"
                                              << "0012";
    QTest::newRow("blanks around a number") << "\"テスト塾\",  0012  "
                                            << "テスト塾"
                                            << "12";
    QTest::newRow("fraction") << "\"テスト塾\",12.50"
                              << "テスト塾"
                              << "12.5";
    QTest::newRow("unquoted text") << "\"テスト塾\",A012"
                                   << "テスト塾"
                                   << "A012";
    QTest::newRow("numeric school name") << "007,12"
                                         << "7"
                                         << "12";
}

// An unquoted item that reads as a number is that number, wherever it is shown
// or sent; a quoted one is text and stays as written.
void tst_FolderSetup::unquotedNumbersAreNumbers() {
    QFETCH(QString, items);
    QFETCH(QString, schoolName);
    QFETCH(QString, schoolNumber);
    test::FamilyFixture family;
    family.writeStandardFiles();
    family.writeText(QStringLiteral("共通データ.txt"),
                     QStringLiteral("4,\"旧名\",0,0,0,0,0,0,") + items + u'\n');
    auto state = std::make_unique<SharedState>();
    QVERIFY(setUpFolders(*state, family.programFolder(), realLoaders()).ok());
    QCOMPARE(state->settings.schoolName, schoolName);
    QCOMPARE(state->settings.schoolNumber, schoolNumber);
}

void tst_FolderSetup::readsRankingServer() {
    test::FamilyFixture family;
    family.writeStandardFiles();
    auto state = std::make_unique<SharedState>();
    QVERIFY(setUpFolders(*state, family.programFolder(), realLoaders()).ok());
    QCOMPARE(state->settings.rankingServer, QString());

    family.writeText(QStringLiteral("ランキングサーバー.txt"),
                     QStringLiteral("http://127.0.0.1:8765/\n"));
    QVERIFY(setUpFolders(*state, family.programFolder(), realLoaders()).ok());
    QCOMPARE(state->settings.rankingServer, QStringLiteral("http://127.0.0.1:8765"));
}

void tst_FolderSetup::failures_data() {
    QTest::addColumn<QString>("file");     // relative to the root; empty: leave as is
    QTest::addColumn<QString>("content");  // null: remove the file
    QTest::addColumn<QString>("expected"); // part of the message
    QTest::newRow("no path file") << "パスデータ.txt" << QString()
                                  << "パスデータ.txt」がありません";
    QTest::newRow("short path file") << "パスデータ.txt"
                                     << "\"/x/\",1,2"
                                     << "3 項目しかありません";
    QTest::newRow("no settings") << "共通データ.txt" << QString() << "共通データ.txt」がありません";
    QTest::newRow("short settings") << "共通データ.txt"
                                    << "4,\"a\",0,0,0,0,0,0,\"b\""
                                    << "9 項目しかありません";
    QTest::newRow("no criteria") << "abc1/タイム回数データ.txt" << QString()
                                 << "タイム回数データ.txt」がありません";
    QString tooMany = QStringLiteral("header,,,,,,,,,,,\n");
    for (int level = 1; level <= 101; ++level)
        tooMany += QStringLiteral("30,60,100,5,1,0,200,30,1,,,\n");
    QTest::newRow("102 criteria records")
        << "abc1/タイム回数データ.txt" << tooMany << "102件あります";
    QTest::newRow("criteria record a field short")
        << "abc1/タイム回数データ.txt"
        << "header,,,,,,,,,,,\n30,60,100,5,1,0,200,30,1,,\n"
        << "タイム回数データ.txt」の項目の数が合いません";
}

void tst_FolderSetup::failures() {
    QFETCH(QString, file);
    QFETCH(QString, content);
    QFETCH(QString, expected);
    test::FamilyFixture family(QStringLiteral("abc1"));
    family.writeStandardFiles();
    if (content.isNull())
        family.remove(file);
    else
        family.writeText(file, content);

    auto state = std::make_unique<SharedState>();
    const Status setUp = setUpFolders(*state, family.programFolder(), realLoaders());
    QVERIFY(!setUp.ok());
    QVERIFY2(setUp.error().message.contains(expected), qPrintable(setUp.error().message));
    // A failed start-up writes nothing.
    QVERIFY(!family.exists(QStringLiteral("塾管理家庭用sw.txt")));
}

QTEST_GUILESS_MAIN(tst_FolderSetup)
#include "tst_foldersetup.moc"
