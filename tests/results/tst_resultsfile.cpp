#include "RecordingWait.h"
#include "results/LoadedResults.h"
#include "results/ResultsFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <memory>

using namespace kavoret;
using namespace kavoret::results;

namespace {

ResultRecord run(int student, int level, int seconds) {
    return runRecord(46367, 0.5, student, level, seconds, QStringLiteral("801"));
}

QByteArray bytesOf(const ResultRecord& record) {
    const RecordBytes bytes = encodeRecord(record);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), kRecordSize);
}

bool keepAll(const ResultRecord&) {
    return true;
}

} // namespace

class tst_ResultsFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void missingOrEmptyFileReadsAsEmpty();
    void firstAppendCreatesRecordOne();
    void appendGoesAfterTheLastRecord();
    void tornTailIsIgnoredThenOverwritten();
    void newestRecordsAreRead_data();
    void newestRecordsAreRead();
    void newestKeptRecordsAreLoaded();
    void missingFolderIsRetriedThenReported();
    void folderAppearingDuringRetriesReadsAsEmpty();
    void otherErrorsAreNotRetried();
    void lockOfAnotherCopyIsWaitedOut();
    void concurrentAppendsKeepEveryRecord();

private:
    QString path() const { return dir_->filePath(kResultsFileName); }
    void writeFile(const QByteArray& bytes) {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QByteArray readFile() const {
        QFile file(path());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }
    // Records numbered by their time: record n has n seconds.
    static QByteArray numberedRecords(int count, int firstNumber = 1) {
        QByteArray bytes;
        for (int n = firstNumber; n < firstNumber + count; ++n)
            bytes += bytesOf(run(5, 1, n));
        return bytes;
    }

    std::unique_ptr<QTemporaryDir> dir_;
    test::RecordingWait wait_;
};

void tst_ResultsFile::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    wait_.waits.clear();
    wait_.onWait = nullptr;
}

void tst_ResultsFile::missingOrEmptyFileReadsAsEmpty() {
    RecordsRead missing = readNewestRecords(path(), wait_, kMaxLoadedRecords, keepAll);
    QVERIFY(!missing.failure);
    QVERIFY(missing.records.empty());
    QVERIFY(!QFile::exists(path())); // only an append creates it

    writeFile({});
    RecordsRead empty = readNewestRecords(path(), wait_, kMaxLoadedRecords, keepAll);
    QVERIFY(!empty.failure);
    QVERIFY(empty.records.empty());
    QVERIFY(wait_.waits.isEmpty());
}

void tst_ResultsFile::firstAppendCreatesRecordOne() {
    QVERIFY(!appendRecord(path(), run(7, 2, 40), wait_));
    QCOMPARE(readFile(), bytesOf(run(7, 2, 40)));
    QVERIFY(wait_.waits.isEmpty());
}

void tst_ResultsFile::appendGoesAfterTheLastRecord() {
    const QByteArray before = numberedRecords(3);
    writeFile(before);
    QVERIFY(!appendRecord(path(), run(8, 4, 99999), wait_));
    QCOMPARE(readFile(), before + bytesOf(run(8, 4, 99999)));

    const RecordsRead read = readNewestRecords(path(), wait_, kMaxLoadedRecords, keepAll);
    QCOMPARE(read.records.size(), 4u);
    QCOMPARE(read.records[0].seconds, 1);
    QCOMPARE(read.records[3].student, 8);
    QCOMPARE(read.records[3].seconds, 99999);
}

void tst_ResultsFile::tornTailIsIgnoredThenOverwritten() {
    const int n = 3;
    const QByteArray whole = numberedRecords(n);
    writeFile(whole + bytesOf(run(9, 9, 9)).left(17)); // 44 × n + 17: a write cut short

    const RecordsRead torn = readNewestRecords(path(), wait_, kMaxLoadedRecords, keepAll);
    QVERIFY(!torn.failure);
    QCOMPARE(torn.records.size(), std::size_t(n));
    QCOMPARE(torn.records.back().seconds, n);

    QVERIFY(!appendRecord(path(), run(7, 2, 40), wait_));
    const QByteArray after = readFile();
    QCOMPARE(after.size(), kRecordSize * (n + 1));
    QCOMPARE(after, whole + bytesOf(run(7, 2, 40)));
}

void tst_ResultsFile::newestRecordsAreRead_data() {
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("firstRead");
    QTest::addColumn<int>("readCount");
    QTest::newRow("fewer than the cap") << 5 << 1 << 5;
    QTest::newRow("exactly the cap") << 20000 << 1 << 20000;
    QTest::newRow("one more: the first is skipped") << 20001 << 2 << 20000;
    QTest::newRow("far more: the newest") << 45000 << 25001 << 20000;
}

void tst_ResultsFile::newestRecordsAreRead() {
    QFETCH(int, records);
    QFETCH(int, firstRead);
    QFETCH(int, readCount);
    writeFile(numberedRecords(records));
    const RecordsRead read = readNewestRecords(path(), wait_, kMaxLoadedRecords, keepAll);
    QVERIFY(!read.failure);
    QCOMPARE(read.records.size(), std::size_t(readCount));
    QCOMPARE(read.records.front().seconds, firstRead);
    QCOMPARE(read.records.back().seconds, records);
}

void tst_ResultsFile::newestKeptRecordsAreLoaded() {
    // 20007 records, six of the newest of them not kept (level 0): the newest
    // 20000 kept ones start at record 2.
    QByteArray bytes = numberedRecords(20007);
    for (int n = 20001; n <= 20006; ++n)
        bytes.replace((n - 1) * kRecordSize, kRecordSize, bytesOf(run(5, 0, n)));
    writeFile(bytes);

    const RecordsRead read = readNewestRecords(path(), wait_, kMaxLoadedRecords, isKeptRecord);
    QVERIFY(!read.failure);
    auto results = std::make_unique<ResultsState>();
    fillLoadedResults(*results, read.records);
    QCOMPARE(results->loadedRecords.size(), std::size_t(kMaxLoadedRecords));
    QCOMPARE(results->loadedRecords.front().seconds, 2);
    QCOMPARE(results->loadedRecords.back().seconds, 20007);
    // The record before the newest 20000 kept ones is not read at all.
    QCOMPARE(read.records.front().seconds, 2);
}

void tst_ResultsFile::missingFolderIsRetriedThenReported() {
    const QString inMissingFolder = dir_->filePath(QStringLiteral("abc1/") + kResultsFileName);
    const RecordsRead read = readNewestRecords(inMissingFolder, wait_, kMaxLoadedRecords, keepAll);
    QVERIFY(read.failure);
    QVERIFY(read.failure->notFound);
    QCOMPARE(read.failure->number, ENOENT);
    QVERIFY(!read.failure->description.isEmpty());
    // Four attempts, five seconds apart.
    QCOMPARE(wait_.waits, (QList<int>{5000, 5000, 5000}));
}

void tst_ResultsFile::folderAppearingDuringRetriesReadsAsEmpty() {
    const QString inMissingFolder = dir_->filePath(QStringLiteral("abc1/") + kResultsFileName);
    wait_.onWait = [this](int count) {
        if (count == 2)
            QDir(dir_->path()).mkdir(QStringLiteral("abc1"));
    };
    const RecordsRead read = readNewestRecords(inMissingFolder, wait_, kMaxLoadedRecords, keepAll);
    QVERIFY(!read.failure);
    QVERIFY(read.records.empty());
    QCOMPARE(wait_.waits, (QList<int>{5000, 5000}));
}

void tst_ResultsFile::otherErrorsAreNotRetried() {
    // The results file's name taken by a folder.
    QVERIFY(QDir(dir_->path()).mkdir(kResultsFileName));
    const auto appended = appendRecord(path(), run(7, 2, 40), wait_);
    QVERIFY(appended);
    QCOMPARE(appended->number, EISDIR);
    QVERIFY(!appended->notFound);
    const RecordsRead read = readNewestRecords(path(), wait_, kMaxLoadedRecords, keepAll);
    QVERIFY(read.failure);
    QCOMPARE(read.failure->number, EISDIR);

    // An append into a missing folder is an error at once; only the loader retries.
    const auto missing =
        appendRecord(dir_->filePath(QStringLiteral("abc1/x.dat")), run(7, 2, 40), wait_);
    QVERIFY(missing);
    QCOMPARE(missing->number, ENOENT);
    QVERIFY(wait_.waits.isEmpty());
}

void tst_ResultsFile::lockOfAnotherCopyIsWaitedOut() {
    writeFile(numberedRecords(2));
    QProcess holder;
    holder.start(QStringLiteral(KAVORET_APPEND_HELPER), {QStringLiteral("hold"), path()});
    QVERIFY(holder.waitForReadyRead(30000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));

    // Readers do not lock, so they are not held up.
    const RecordsRead read = readNewestRecords(path(), wait_, kMaxLoadedRecords, keepAll);
    QCOMPARE(read.records.size(), 2u);
    QVERIFY(wait_.waits.isEmpty());

    // The other copy lets go during the first one-second wait.
    wait_.onWait = [&holder](int) {
        holder.write("\n");
        holder.closeWriteChannel();
        holder.waitForFinished(30000);
    };
    QVERIFY(!appendRecord(path(), run(7, 2, 40), wait_));
    QCOMPARE(wait_.waits, QList<int>{1000});
    QCOMPARE(holder.exitCode(), 0);
    QCOMPARE(readFile(), numberedRecords(2) + bytesOf(run(7, 2, 40)));
}

void tst_ResultsFile::concurrentAppendsKeepEveryRecord() {
    constexpr int kCopies = 4;
    constexpr int kEach = 250;
    std::vector<std::unique_ptr<QProcess>> copies;
    for (int student = 1; student <= kCopies; ++student) {
        auto copy = std::make_unique<QProcess>();
        copy->start(
            QStringLiteral(KAVORET_APPEND_HELPER),
            {QStringLiteral("append"), path(), QString::number(student), QString::number(kEach)});
        copies.push_back(std::move(copy));
    }
    int sharingWaits = 0;
    for (auto& copy : copies) {
        QVERIFY(copy->waitForFinished(120000));
        QCOMPARE(copy->exitStatus(), QProcess::NormalExit);
        QCOMPARE(copy->exitCode(), 0);
        sharingWaits += copy->readAllStandardOutput().trimmed().toInt();
    }
    qInfo("lock waits across the copies: %d", sharingWaits);

    const QByteArray bytes = readFile();
    QCOMPARE(bytes.size(), kRecordSize * kCopies * kEach);
    QSet<QPair<int, int>> seen;
    for (const ResultRecord& record : decodeRecords(bytes)) {
        // Whole: every field as the copy wrote it.
        const int i = record.seconds;
        QVERIFY(record.student >= 1 && record.student <= kCopies);
        QVERIFY(i >= 0 && i < kEach);
        QCOMPARE(encodeRecord(record),
                 encodeRecord(runRecord(46367, i / 86400.0, record.student, 1 + i % 4, i,
                                        QStringLiteral("801"))));
        seen.insert({record.student, i});
    }
    // Exactly once each: as many distinct runs as records.
    QCOMPARE(seen.size(), kCopies * kEach);
}

QTEST_GUILESS_MAIN(tst_ResultsFile)
#include "tst_resultsfile.moc"
