#include "FakeClock.h"
#include "FileModesApply.h"
#include "RecordingDialogs.h"
#include "RecordingScreenFlow.h"
#include "RecordingWait.h"
#include "results/LoadedResults.h"
#include "results/ResultsFile.h"
#include "results/ResultsFileStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace kavoret;
using namespace kavoret::results;

class tst_ResultsStore : public QObject {
    Q_OBJECT
private slots:
    void init();
    void recordsARunAndCountsIt();
    void clearedBeforeComesFromTheLastAggregation_data();
    void clearedBeforeComesFromTheLastAggregation();
    void timedOutRunIsNeverABest();
    void levelBestOfAnotherStudentStands();
    void appendUsesTheRunsLevel();
    void missingDataFolderEndsTheProgram();
    void unreadableFileEndsTheProgram();
    void failedAppendEndsTheProgram();
    void deniedFileEndsTheProgramAtOnce_data();
    void deniedFileEndsTheProgramAtOnce();
    void runOutsideTheTablesEndsTheProgram();

private:
    QString resultsPath() const { return state_->folders.dataFolder + kResultsFileName; }
    std::vector<ResultRecord> storedRecords() const {
        QFile file(resultsPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return decodeRecords(file.readAll());
    }
    void finishRun(int student, int seconds, int level) {
        state_->student.studentNo = student;
        state_->run.resultTime = seconds;
        state_->run.currentLevel = level;
        state_->results.newPersonalBest = 0; // cleared by the finish screen
        state_->results.newLevelBest = 0;
        store_->Seisekikiroku(level);
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SharedState> state_;
    test::FakeClock clock_;
    test::RecordingDialogs dialogs_;
    test::RecordingScreenFlow flow_;
    test::RecordingWait wait_;
    std::unique_ptr<ResultsFileStore> store_;
};

void tst_ResultsStore::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    state_ = std::make_unique<SharedState>();
    state_->profile.programTitle = QStringLiteral("Kavoret");
    state_->folders.dataFolder = dir_->path() + QStringLiteral("/abc1/");
    QVERIFY(QDir().mkpath(state_->folders.dataFolder));
    state_->settings.schoolNumber = QStringLiteral("801");
    state_->criteria.pointRates.fill(1);
    state_->criteria.clearCounts.fill(3);
    state_->criteria.clearPoints.fill(30);
    state_->criteria.judgeDays.fill(30);
    state_->criteria.stopDays.fill(7);
    state_->server.referenceTimes.fill(50);
    clock_.set(QDate(2026, 12, 11), QTime(10, 0));
    dialogs_.messages.clear();
    flow_.calls.clear();
    wait_.waits.clear();
    wait_.onWait = nullptr;
    store_ = std::make_unique<ResultsFileStore>(*state_, clock_, dialogs_, flow_, wait_);
}

void tst_ResultsStore::recordsARunAndCountsIt() {
    store_->回数求();
    QVERIFY(state_->results.loadedRecords.empty());
    QCOMPARE(state_->results.bestTimes.at(2, 7), kNoBestTime);

    finishRun(7, 40, 2);
    QCOMPARE(state_->results.newPersonalBest, 1);
    QCOMPARE(state_->results.newLevelBest, 1);
    QCOMPARE(state_->results.clearedBefore, 0);
    QCOMPARE(state_->results.bestTimes.at(2, 7), 40);
    QCOMPARE(state_->results.levelBestTimes[2], 40);

    const std::vector<ResultRecord> stored = storedRecords();
    QCOMPARE(stored.size(), 1u);
    QCOMPARE(encodeRecord(stored[0]),
             encodeRecord(runRecord(46367, 36000 / 86400.0, 7, 2, 40, QStringLiteral("801"))));

    store_->回数求();
    QCOMPARE(state_->results.loadedRecords.size(), 1u);
    QCOMPARE(state_->aggregates.validRunCounts.at(2, 7), 1);
    QCOMPARE(state_->aggregates.pointTotals.at(2, 7), 10); // 40 / 50 = 0.8
    QCOMPARE(state_->aggregates.todayRunCounts.at(2, 7), 1.0f);

    // A slower run is no new best; the next day's aggregation still has both.
    finishRun(7, 45, 2);
    QCOMPARE(state_->results.newPersonalBest, 0);
    QCOMPARE(state_->results.newLevelBest, 0);
    clock_.set(QDate(2026, 12, 12), QTime(9, 0));
    store_->回数求();
    QCOMPARE(state_->aggregates.validRunCounts.at(2, 7), 2);
    QCOMPARE(state_->aggregates.todayRunCounts.at(2, 7), 0.0f);
    QCOMPARE(state_->results.bestTimes.at(2, 7), 40);
    QVERIFY(dialogs_.messages.isEmpty());
    QVERIFY(flow_.calls.isEmpty());
}

void tst_ResultsStore::clearedBeforeComesFromTheLastAggregation_data() {
    QTest::addColumn<int>("earlierRuns");
    QTest::addColumn<int>("clearCounts");
    QTest::addColumn<int>("clearPoints");
    QTest::addColumn<int>("cleared");
    // Each earlier run of 50 s earns 10 points.
    QTest::newRow("runs and points reached") << 2 << 2 << 20 << 1;
    QTest::newRow("one run short") << 1 << 2 << 10 << 0;
    QTest::newRow("points short") << 2 << 2 << 21 << 0;
    QTest::newRow("nothing needed, nothing run") << 0 << 0 << 0 << 1;
}

void tst_ResultsStore::clearedBeforeComesFromTheLastAggregation() {
    QFETCH(int, earlierRuns);
    QFETCH(int, clearCounts);
    QFETCH(int, clearPoints);
    QFETCH(int, cleared);
    state_->criteria.clearCounts[1] = clearCounts;
    state_->criteria.clearPoints[1] = clearPoints;
    for (int i = 0; i < earlierRuns; ++i)
        finishRun(7, 50, 1);
    store_->回数求();
    finishRun(7, 50, 1);
    QCOMPARE(state_->results.clearedBefore, cleared);
}

void tst_ResultsStore::timedOutRunIsNeverABest() {
    store_->回数求();
    finishRun(7, 99999, 3);
    QCOMPARE(state_->results.newPersonalBest, 0);
    QCOMPARE(state_->results.newLevelBest, 0);
    QCOMPARE(state_->results.bestTimes.at(3, 7), kNoBestTime);
    QCOMPARE(storedRecords().size(), 1u); // recorded all the same
    store_->回数求();
    QCOMPARE(state_->results.bestTimes.at(3, 7), kNoBestTime);
    QCOMPARE(state_->results.levelBestTimes[3], kNoBestTime);
    QCOMPARE(state_->aggregates.validRunCounts.at(3, 7), 0);
}

void tst_ResultsStore::levelBestOfAnotherStudentStands() {
    finishRun(3, 30, 4);
    store_->回数求();
    finishRun(7, 35, 4);
    QCOMPARE(state_->results.newPersonalBest, 1);
    QCOMPARE(state_->results.newLevelBest, 0);
    QCOMPARE(state_->results.levelBestTimes[4], 30);
    finishRun(7, 29, 4);
    QCOMPARE(state_->results.newPersonalBest, 1);
    QCOMPARE(state_->results.newLevelBest, 1);
    QCOMPARE(state_->results.levelBestTimes[4], 29);
}

void tst_ResultsStore::appendUsesTheRunsLevel() {
    state_->student.studentNo = 7;
    state_->run.resultTime = 40;
    state_->run.currentLevel = 1;
    QVERIFY(store_->成績ランダムファイル記録());
    store_->Seisekikiroku(3); // the flags are for level 3, so is the record
    const std::vector<ResultRecord> stored = storedRecords();
    QCOMPARE(stored.size(), 2u);
    QCOMPARE(stored[0].level, 1);
    QCOMPARE(stored[1].level, 3);
}

void tst_ResultsStore::missingDataFolderEndsTheProgram() {
    state_->folders.dataFolder = dir_->path() + QStringLiteral("/gone/");
    state_->aggregates.pointTotals.at(1, 7) = 5; // left from an earlier aggregation
    store_->回数求();
    QCOMPARE(wait_.waits, (QList<int>{5000, 5000, 5000}));
    QCOMPARE(dialogs_.messages.size(), 1);
    const QString text = dialogs_.messages.front().text;
    QVERIFY2(text.startsWith(QStringLiteral("成績ランダムファイル表示 ファイルがありません ")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral(" 2\n"))); // the error number
    QVERIFY(text.contains(resultsPath()));
    QCOMPARE(dialogs_.messages.front().title, QStringLiteral("Kavoret"));
    QCOMPARE(flow_.calls, QStringList{QStringLiteral("endProgram:1")});
    QCOMPARE(state_->aggregates.pointTotals.at(1, 7), 0);

    // The program is ending: nothing more is tried or shown.
    store_->回数求();
    finishRun(7, 40, 1);
    QCOMPARE(dialogs_.messages.size(), 1);
    QCOMPARE(flow_.calls.size(), 1);
    QCOMPARE(wait_.waits.size(), 3);
}

void tst_ResultsStore::unreadableFileEndsTheProgram() {
    QVERIFY(QDir().mkpath(resultsPath())); // a folder where the file should be
    store_->回数求();
    QCOMPARE(dialogs_.messages.size(), 1);
    const QString text = dialogs_.messages.front().text;
    QVERIFY2(text.startsWith(QStringLiteral("成績ランダムファイル表示 21 ")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("/date/i=1/time=/name=/Bangou=/level=/time=")),
             qPrintable(text));
    QCOMPARE(flow_.calls, QStringList{QStringLiteral("endProgram:1")});
    QVERIFY(wait_.waits.isEmpty());
}

void tst_ResultsStore::failedAppendEndsTheProgram() {
    QVERIFY(QDir().mkpath(resultsPath()));
    finishRun(7, 40, 1);
    QCOMPARE(dialogs_.messages.size(), 1);
    const QString text = dialogs_.messages.front().text;
    QCOMPARE(text, QStringLiteral("成績ランダムファイル記録 ファイルではなくフォルダです。\n") +
                       resultsPath());
    QCOMPARE(flow_.calls, QStringList{QStringLiteral("endProgram:1")});
    QCOMPARE(state_->results.newLevelBest, 0); // the run never reached the file
}

void tst_ResultsStore::deniedFileEndsTheProgramAtOnce_data() {
    QTest::addColumn<bool>("appending");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("message");
    QTest::newRow("append to a file this user may not write")
        << true << 0444 << QStringLiteral("成績ランダムファイル記録 アクセスが拒否されました。\n");
    QTest::newRow("load a file this user may not read")
        << false << 0200
        << QStringLiteral("成績ランダムファイル表示 13 アクセスが拒否されました。"
                          "/date/i=0/time=/name=/Bangou=/level=/time=\n");
}

// No other copy of the program can cause "permission denied" when the file is
// opened, and waiting does not change the file's modes: the error is reported
// at once.
void tst_ResultsStore::deniedFileEndsTheProgramAtOnce() {
    QFETCH(bool, appending);
    QFETCH(int, mode);
    QFETCH(QString, message);
    finishRun(3, 30, 1);
    QCOMPARE(storedRecords().size(), 1u);
    QCOMPARE(::chmod(QFile::encodeName(resultsPath()).constData(), mode), 0);
    // Should the program wait after all, the file becomes usable so the test ends.
    wait_.onWait = [this](int count) {
        if (count == 3)
            ::chmod(QFile::encodeName(resultsPath()).constData(), 0644);
    };
    {
        const test::FileModesApply modesApply;
        const int probe =
            ::open(QFile::encodeName(resultsPath()).constData(), appending ? O_RDWR : O_RDONLY);
        const int probeError = errno;
        if (probe >= 0)
            ::close(probe);
        QVERIFY2(probe < 0 && probeError == EACCES, "the file's modes do not hold for this test");
        if (appending)
            finishRun(7, 40, 1);
        else
            store_->回数求();
    }
    QCOMPARE(wait_.waits, QList<int>{});
    QCOMPARE(dialogs_.messages.size(), 1);
    QCOMPARE(dialogs_.messages.front().text, message + resultsPath());
    QCOMPARE(dialogs_.messages.front().icon, Dialogs::Icon::Error);
    QCOMPARE(flow_.calls, QStringList{QStringLiteral("endProgram:1")});
    QCOMPARE(storedRecords().size(), 1u);
    if (appending)
        QCOMPARE(state_->results.newLevelBest, 0);
}

void tst_ResultsStore::runOutsideTheTablesEndsTheProgram() {
    finishRun(7, 40, 101);
    QCOMPARE(dialogs_.messages.size(), 1);
    QVERIFY2(dialogs_.messages.front().text.startsWith(QStringLiteral("Seisekikiroku ")),
             qPrintable(dialogs_.messages.front().text));
    QCOMPARE(flow_.calls, QStringList{QStringLiteral("endProgram:1")});
    QVERIFY(storedRecords().empty());
}

QTEST_GUILESS_MAIN(tst_ResultsStore)
#include "tst_resultsstore.moc"
