#include "FamilyFixture.h"
#include "frame/ItemFile.h"
#include "frame/SharedState.h"
#include "sound/CueTable.h"

#include <QFileInfo>
#include <QTest>
#include <memory>

using namespace kavoret;

class tst_CueTable : public QObject {
    Q_OBJECT
private slots:
    void groups_data();
    void groups();
    void namesEveryCue();
    void loadsFromTheSoundFolder();
    void reportsFileProblems();
    void demoTableHasEveryCueAndSound();
};

void tst_CueTable::groups_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("cue");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("a group") << "正解音2,seikai1,seikai2,*\n"
                             << 2 << "2" << QStringList{"seikai1", "seikai2"};
    QTest::newRow("one file a line") << "間違い音1\nbuzz\n*\n" << 3 << "1" << QStringList{"buzz"};
    QTest::newRow("items outside groups skipped")
        << "見出し,xx,正解音2,a,*,yy,\"zz\",間違い音1,b,*\n"
        << 3 << "1" << QStringList{"b"};
    QTest::newRow("the skipped items are no files") << "見出し,xx,正解音2,a,*,yy,間違い音1,b,*\n"
                                                    << 2 << "1" << QStringList{"a"};
    QTest::newRow("no names") << "不合格音1,*\n" << 10 << "0" << QStringList{};
    QTest::newRow("Japanese file names") << "自己最高音2,\"ファンファーレ 1\",拍手,*\n"
                                         << 8 << "2" << QStringList{"ファンファーレ 1", "拍手"};
    QStringList nineteen;
    for (int i = 1; i <= 19; ++i)
        nineteen.append(QStringLiteral("f%1").arg(i));
    QTest::newRow("19 names") << QStringLiteral("正解音2,") + nineteen.join(u',') +
                                     QStringLiteral(",*\n")
                              << 2 << "19" << nineteen;
    QStringList twenty = nineteen;
    twenty.append(QStringLiteral("f20"));
    QTest::newRow("20 names without *")
        << QStringLiteral("正解音2,") + twenty.join(u',') + QStringLiteral(",*\n") << 2 << ""
        << twenty;
    QTest::newRow("cut off by the end of the file")
        << "正解音2,a,b" << 2 << "" << QStringList{"a", "b"};
    QTest::newRow("a cue not in the file") << "正解音2,a,*" << 4 << "" << QStringList{};
    QTest::newRow("named twice: the later group")
        << "正解音2,a,b,*,正解音2,c,*" << 2 << "1" << QStringList{"c", "b"};
}

void tst_CueTable::groups() {
    QFETCH(QString, file);
    QFETCH(int, cue);
    QFETCH(QString, count);
    QFETCH(QStringList, files);
    auto sound = std::make_unique<SoundState>();
    sound::applyCueItems(*sound, parseItems(file));
    QCOMPARE(sound->cues[cue].count, count);
    for (int row = 1; row <= files.size(); ++row)
        QCOMPARE(sound->cues[cue].files[row], files[row - 1]);
    if (files.size() < kCueRows)
        QCOMPARE(sound->cues[cue].files[files.size() + 1], QString());
}

void tst_CueTable::namesEveryCue() {
    auto sound = std::make_unique<SoundState>();
    sound::applyCueItems(*sound, {});
    const QStringList names{"正解音1", "正解音2",     "間違い音1",   "間違い音2",   "最高音1",
                            "最高音2", "自己最高音1", "自己最高音2", "自己最高音3", "不合格音1"};
    for (int cue = 1; cue <= kCueCount; ++cue) {
        QCOMPARE(sound->cues[cue].name, names[cue - 1]);
        QCOMPARE(sound->cues[cue].count, QString());
    }
}

void tst_CueTable::loadsFromTheSoundFolder() {
    test::FamilyFixture family;
    family.writeText(QStringLiteral("音フォルダ/新音ファイル.txt"),
                     QStringLiteral("正解音2,ピンポン,*\n間違い音1,ブー,ブブー,*\n"));
    auto state = std::make_unique<SharedState>();
    state->folders.soundFolder = family.root() + QStringLiteral("音フォルダ/");
    Status loaded = sound::loadCueTable(*state);
    QVERIFY2(loaded.ok(), loaded.ok() ? "" : qPrintable(loaded.error().message));
    QCOMPARE(state->sound.cues[2].count, QStringLiteral("1"));
    QCOMPARE(state->sound.cues[2].files[1], QStringLiteral("ピンポン"));
    QCOMPARE(state->sound.cues[3].count, QStringLiteral("2"));
    QCOMPARE(state->sound.cues[3].files[2], QStringLiteral("ブブー"));
}

void tst_CueTable::reportsFileProblems() {
    test::FamilyFixture family;
    auto state = std::make_unique<SharedState>();
    state->folders.soundFolder = family.root() + QStringLiteral("音フォルダ/");
    Status missing = sound::loadCueTable(*state);
    QVERIFY(!missing.ok());
    QVERIFY2(missing.error().message.contains(QStringLiteral("音フォルダ/新音ファイル.txt")),
             qPrintable(missing.error().message));

    family.writeBytes(QStringLiteral("音フォルダ/新音ファイル.txt"), QByteArray("a,\x81 ,*", 6));
    Status invalid = sound::loadCueTable(*state);
    QVERIFY(!invalid.ok());
    QVERIFY2(invalid.error().message.contains(QStringLiteral("新音ファイル.txt")),
             qPrintable(invalid.error().message));
}

// The demo family's cue table names a sound file for every cue, and every
// sound it names (and the two fixed ones) has been made by the build.
void tst_CueTable::demoTableHasEveryCueAndSound() {
    auto state = std::make_unique<SharedState>();
    state->folders.soundFolder = QStringLiteral(KAVORET_DEMO_ROOT "/音フォルダ/");
    Status loaded = sound::loadCueTable(*state);
    QVERIFY2(loaded.ok(), loaded.ok() ? "" : qPrintable(loaded.error().message));
    for (int cue = 1; cue <= kCueCount; ++cue) {
        const CueEntry& entry = state->sound.cues[cue];
        bool numeric = false;
        const int count = entry.count.toInt(&numeric);
        QVERIFY2(numeric && count >= 1, qPrintable(entry.name));
        for (int row = 1; row <= count; ++row) {
            const QString path =
                state->folders.soundFolder + entry.files[row] + QStringLiteral(".wav");
            QVERIFY2(QFileInfo(path).size() > 1000, qPrintable(path));
        }
    }
    for (const QString& fixed : {QStringLiteral("最高1"), QStringLiteral("合格")})
        QVERIFY(QFileInfo(state->folders.soundFolder + fixed + QStringLiteral(".wav")).size() >
                1000);
}

QTEST_GUILESS_MAIN(tst_CueTable)
#include "tst_cuetable.moc"
