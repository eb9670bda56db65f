// moc cannot read the Japanese names of the cue numbers, and needs none of this.
#ifndef Q_MOC_RUN
#include "FakeSoundOutput.h"
#include "RecordingDialogs.h"
#include "RecordingScreenFlow.h"
#include "ScriptedRandom.h"
#include "frame/ItemFile.h"
#include "frame/SharedState.h"
#include "sound/CuePlayer.h"
#include "sound/CueTable.h"
#endif

#include <QTest>
#include <memory>

using namespace kavoret;

namespace {

const QString kFolder = QStringLiteral("/family/音フォルダ/");

// A cue player over a cue table given as file text.
struct Player {
    std::unique_ptr<SharedState> state = std::make_unique<SharedState>();
    test::FakeSoundOutput output;
    test::ScriptedRandom random{{0.0}};
    test::RecordingDialogs dialogs;
    test::RecordingScreenFlow flow;
    sound::CuePlayer player{*state, output, random, dialogs, flow};

    explicit Player(
        const QString& table = QStringLiteral("正解音2,chime,*,間違い音1,buzz,*,間違い音2,buzz2,*,"
                                              "自己最高音2,fanfare,*,不合格音1,low,*")) {
        state->profile.programTitle = QStringLiteral("Kavoret");
        state->folders.soundFolder = kFolder;
        sound::applyCueItems(state->sound, parseItems(table));
    }
};

} // namespace

class tst_CuePlayer : public QObject {
    Q_OBJECT
private slots:
    void oneFileAlwaysPlaysIt();
    void threeFilesComeUpAThirdEach();
    void fixedSounds();
    void monitoredFailures_data();
    void monitoredFailures();
    void unmonitoredFailureChangesNothing();
    void cueWithoutCountIsAnError_data();
    void cueWithoutCountIsAnError();
};

void tst_CuePlayer::oneFileAlwaysPlaysIt() {
    Player p;
    p.random.script({0.0, 0.3, 0.5, 0.999999});
    for (int i = 0; i < 4; ++i)
        p.player.play(kCue正解音2);
    QCOMPARE(p.output.played, QStringList(4, kFolder + QStringLiteral("chime.wav")));
    QCOMPARE(p.random.draws(), 4);
}

void tst_CuePlayer::threeFilesComeUpAThirdEach() {
    Player p(QStringLiteral("自己最高音2,one,two,three,*"));
    // Evenly spread draws over [0, 1).
    QList<double> draws;
    for (int i = 0; i < 300; ++i)
        draws.append((i + 0.5) / 300);
    p.random.script(draws);
    for (int i = 0; i < 300; ++i)
        p.player.play(kCue自己最高音2);
    QCOMPARE(p.output.played.count(kFolder + QStringLiteral("one.wav")), 100);
    QCOMPARE(p.output.played.count(kFolder + QStringLiteral("two.wav")), 100);
    QCOMPARE(p.output.played.count(kFolder + QStringLiteral("three.wav")), 100);
    // The draw picks the integer part of 3 × random + 1.
    QCOMPARE(p.output.played[0], kFolder + QStringLiteral("one.wav"));
    QCOMPARE(p.output.played[150], kFolder + QStringLiteral("two.wav"));
    QCOMPARE(p.output.played[299], kFolder + QStringLiteral("three.wav"));
}

void tst_CuePlayer::fixedSounds() {
    Player p;
    p.output.results = {5, 5, 5, 5, 5};
    for (int i = 0; i < 5; ++i)
        p.player.playFixed(i % 2 ? QStringLiteral("合格") : QStringLiteral("最高1"));
    QCOMPARE(p.output.played[0], kFolder + QStringLiteral("最高1.wav"));
    QCOMPARE(p.output.played[1], kFolder + QStringLiteral("合格.wav"));
    // Not monitored: failures pass unnoticed.
    QCOMPARE(p.state->sound.soundFailures, 0);
    QVERIFY(p.dialogs.messages.isEmpty());
    QVERIFY(p.flow.calls.isEmpty());
}

void tst_CuePlayer::monitoredFailures_data() {
    QTest::addColumn<int>("cue");
    QTest::newRow("正解音2") << int(kCue正解音2);
    QTest::newRow("間違い音1") << int(kCue間違い音1);
    QTest::newRow("間違い音2") << int(kCue間違い音2);
}

void tst_CuePlayer::monitoredFailures() {
    QFETCH(int, cue);
    Player p;
    // Two failures, a success, then failures until the end.
    p.output.results = {263, 263, 0, 263, 263, 263};
    for (int i = 1; i <= 6; ++i) {
        p.player.play(cue);
        const int expected[] = {0, 1, 2, 0, 1, 2, 3};
        QCOMPARE(p.state->sound.soundFailures, expected[i]);
        QVERIFY(p.dialogs.messages.isEmpty());
        QVERIFY(p.flow.calls.isEmpty());
    }
    // The fourth failure in a row.
    p.output.results = {277};
    p.player.play(cue);
    QCOMPARE(p.dialogs.messages.size(), 1);
    QCOMPARE(p.dialogs.messages[0].text,
             QStringLiteral("音声がでません。先生を呼びなさい。\r\nエラー277"));
    QCOMPARE(p.dialogs.messages[0].title, QStringLiteral("音声エラー"));
    QCOMPARE(p.flow.calls, QStringList{"endProgram:1"});
}

void tst_CuePlayer::unmonitoredFailureChangesNothing() {
    Player p;
    p.output.results = {1, 1};
    p.player.play(kCue正解音2);
    QCOMPARE(p.state->sound.soundFailures, 1);
    p.state->sound.soundFailures = 3;
    p.output.results = {9, 9, 9, 9};
    p.player.play(kCue自己最高音2);
    p.player.play(kCue不合格音1);
    p.player.playFixed(QStringLiteral("合格"));
    QCOMPARE(p.state->sound.soundFailures, 3);
    QVERIFY(p.dialogs.messages.isEmpty());
    QVERIFY(p.flow.calls.isEmpty());
    QCOMPARE(p.output.played.size(), 4);
}

void tst_CuePlayer::cueWithoutCountIsAnError_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("cue");
    QTest::newRow("not in the table") << "正解音2,chime,*" << int(kCue間違い音1);
    QString twenty = QStringLiteral("間違い音1");
    for (int i = 1; i <= 20; ++i)
        twenty += QStringLiteral(",b%1").arg(i);
    QTest::newRow("20 names without *") << twenty + QStringLiteral(",*") << int(kCue間違い音1);
    QTest::newRow("unmonitored too") << "正解音2,chime,*" << int(kCue不合格音1);
}

void tst_CuePlayer::cueWithoutCountIsAnError() {
    QFETCH(QString, table);
    QFETCH(int, cue);
    Player p(table);
    p.player.play(cue);
    QVERIFY(p.output.played.isEmpty());
    QCOMPARE(p.dialogs.messages.size(), 1);
    QVERIFY2(p.dialogs.messages[0].text.contains(sound::cueName(cue)),
             qPrintable(p.dialogs.messages[0].text));
    QVERIFY(p.dialogs.messages[0].text.contains(kFolder + QStringLiteral("新音ファイル.txt")));
    QCOMPARE(p.dialogs.messages[0].title, QStringLiteral("Kavoret"));
    QCOMPARE(p.flow.calls, QStringList{"endProgram:1"});
}

QTEST_GUILESS_MAIN(tst_CuePlayer)
#include "tst_cueplayer.moc"
