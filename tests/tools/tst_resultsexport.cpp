#include "ExportFamily.h"
#include "tools/ResultsExport.h"

#include <QDir>
#include <QTest>

using namespace kavoret;
using namespace kavoret::tools;

namespace {

const QDate kToday(2026, 12, 11); // school year 2026

// The runs of the family, one a day from 1 December 2026.
void addRuns(test::ExportFamily& family) {
    family.addRun(QDate(2026, 12, 1), QTime(9, 5, 30), 1, 1, 25);
    family.addRun(QDate(2026, 12, 2), QTime(15, 0, 0), 2, 2, 99999);
    family.addRun(QDate(2026, 12, 3), QTime(10, 0, 0), 3, 3, 99998);
    family.addRun(QDate(2026, 12, 3), QTime(10, 1, 0), 0, 3, 40); // no student: not kept
    family.addRun(QDate(2026, 12, 3), QTime(10, 2, 0), 3, 0, 40); // no level: not kept
    family.addRun(QDate(2026, 12, 4), QTime(23, 59, 59), 4, 4, 50);
    family.addRun(QDate(2026, 12, 5), QTime(0, 0, 1), 50, 1, 20);
}

QByteArray csv(const QStringList& rows) {
    QByteArray bytes("\xEF\xBB\xBF");
    bytes += "date,time,student,name,grade,level,seconds,outcome,points\r\n";
    for (const QString& row : rows)
        bytes += row.toUtf8() + "\r\n";
    return bytes;
}

// The student numbers of the rows, in order.
QList<int> studentsOf(const QByteArray& bytes) {
    QList<int> students;
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split(',');
        // Rows begin with a date; a name's own line break splits a row in two.
        if (fields.size() > 2 && lines[i].startsWith("20"))
            students.append(fields[2].toInt());
    }
    return students;
}

QStringList filesUnder(const QString& folder) {
    QStringList files;
    const QDir dir(folder);
    for (const QFileInfo& info :
         dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        files.append(info.fileName() + u':' + QString::number(info.size()));
        if (info.isDir())
            for (const QString& inner : filesUnder(info.filePath()))
                files.append(info.fileName() + u'/' + inner);
    }
    return files;
}

} // namespace

class tst_ResultsExport : public QObject {
    Q_OBJECT
private slots:
    void csvFields_data();
    void csvFields();
    void outcomes_data();
    void outcomes();
    void arguments_data();
    void arguments();
    void badArguments_data();
    void badArguments();
    void everyKeptRunOneRowNewestLast();
    void filters_data();
    void filters();
    void noResultsYet();
    void badFamily_data();
    void badFamily();
};

void tst_ResultsExport::csvFields_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << QStringLiteral("あべ ゆい") << QStringLiteral("あべ ゆい");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("comma") << QStringLiteral("a,b") << QStringLiteral("\"a,b\"");
    QTest::newRow("quotes doubled") << QStringLiteral("a\"b\"") << QStringLiteral("\"a\"\"b\"\"\"");
    QTest::newRow("line feed") << QStringLiteral("a\nb") << QStringLiteral("\"a\nb\"");
    QTest::newRow("carriage return") << QStringLiteral("a\rb") << QStringLiteral("\"a\rb\"");
    QTest::newRow("line separator") << QStringLiteral("a\u2028b") << QStringLiteral("\"a\u2028b\"");
    QTest::newRow("full-width comma stays") << QStringLiteral("a，b") << QStringLiteral("a，b");
}

void tst_ResultsExport::csvFields() {
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(csvField(text), field);
}

void tst_ResultsExport::outcomes_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("a run") << 45 << QStringLiteral("ok");
    QTest::newRow("slowest valid time") << 4999 << QStringLiteral("ok");
    QTest::newRow("no valid time") << 5000 << QStringLiteral("failed");
    QTest::newRow("failed") << 99998 << QStringLiteral("failed");
    QTest::newRow("time limit reached") << 99999 << QStringLiteral("timeout");
}

void tst_ResultsExport::outcomes() {
    QFETCH(int, seconds);
    QFETCH(QString, outcome);
    QCOMPARE(runOutcome(seconds), outcome);
}

void tst_ResultsExport::arguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("student"); // -1: none
    QTest::newRow("folder only") << QStringList{QStringLiteral("/d/abc1")}
                                 << QStringLiteral("/d/abc1") << QDate() << QDate() << -1;
    QTest::newRow("everything")
        << QStringList{QStringLiteral("--from"),    QStringLiteral("2026-04-01"),
                       QStringLiteral("/d/abc1"),   QStringLiteral("--student"),
                       QStringLiteral("0"),         QStringLiteral("--to"),
                       QStringLiteral("2027-03-31")}
        << QStringLiteral("/d/abc1") << QDate(2026, 4, 1) << QDate(2027, 3, 31) << 0;
    QTest::newRow("highest roster number")
        << QStringList{QStringLiteral("d"), QStringLiteral("--student"), QStringLiteral("9999")}
        << QStringLiteral("d") << QDate() << QDate() << 9999;
}

void tst_ResultsExport::arguments() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, folder);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, student);
    Result<ExportOptions> options = parseExportArguments(arguments);
    QVERIFY2(options.ok(), options.ok() ? "" : qPrintable(options.error().message));
    QCOMPARE(options.value().dataFolder, folder);
    QCOMPARE(options.value().from.value_or(QDate()), from);
    QCOMPARE(options.value().to.value_or(QDate()), to);
    QCOMPARE(options.value().student.value_or(-1), student);
}

void tst_ResultsExport::badArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("problem");
    QTest::newRow("nothing") << QStringList{} << QStringLiteral("DATA_FOLDER is missing");
    QTest::newRow("two folders") << QStringList{QStringLiteral("a"), QStringLiteral("b")}
                                 << QStringLiteral("\"b\"");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("a"), QStringLiteral("--level")}
                                    << QStringLiteral("\"--level\"");
    QTest::newRow("no value") << QStringList{QStringLiteral("a"), QStringLiteral("--from")}
                              << QStringLiteral("--from needs a value");
    QTest::newRow("short date") << QStringList{QStringLiteral("a"), QStringLiteral("--to"),
                                               QStringLiteral("2026-2-1")}
                                << QStringLiteral("\"2026-2-1\"");
    QTest::newRow("no such day") << QStringList{QStringLiteral("a"), QStringLiteral("--from"),
                                                QStringLiteral("2026-02-30")}
                                 << QStringLiteral("YYYY-MM-DD");
    QTest::newRow("student beyond the roster")
        << QStringList{QStringLiteral("a"), QStringLiteral("--student"), QStringLiteral("10000")}
        << QStringLiteral("0 to 9999");
    QTest::newRow("student not a number")
        << QStringList{QStringLiteral("a"), QStringLiteral("--student"), QStringLiteral("x1")}
        << QStringLiteral("\"x1\"");
}

void tst_ResultsExport::badArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, problem);
    Result<ExportOptions> options = parseExportArguments(arguments);
    QVERIFY(!options.ok());
    QVERIFY2(options.error().message.contains(problem), qPrintable(options.error().message));
}

void tst_ResultsExport::everyKeptRunOneRowNewestLast() {
    test::ExportFamily family;
    addRuns(family);
    family.addTornRecord();
    const QStringList before = filesUnder(family.root());
    Result<QByteArray> exported = exportResults({family.programFolder(), {}, {}, {}}, kToday);
    QVERIFY2(exported.ok(), exported.ok() ? "" : qPrintable(exported.error().message));
    // Names in quotes where they hold a comma, quotes or a line break; the
    // withdrawn student is still named; a number without a roster entry has
    // no name and no grade. Points from the target times 30 and 45.
    QCOMPARE(exported.value(),
             csv({QStringLiteral("2026-12-01,09:05:30,1,\"田中, ゆい\",小1,1,25,ok,5"),
                  QStringLiteral("2026-12-02,15:00:00,2,\"山田\"\"太郎\"\"\",中3,2,,timeout,0"),
                  QStringLiteral("2026-12-03,10:00:00,3,\"森\r\nゆうと\",小3,3,,failed,0"),
                  QStringLiteral("2026-12-04,23:59:59,4,あべ,大+,4,50,ok,4"),
                  QStringLiteral("2026-12-05,00:00:01,50,,,1,20,ok,6")}));
    // Nothing written: not even the home-use switch the program creates.
    QCOMPARE(filesUnder(family.root()), before);
}

void tst_ResultsExport::filters_data() {
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("student");
    QTest::addColumn<QList<int>>("students");
    QTest::newRow("all") << QDate() << QDate() << -1 << QList<int>{1, 2, 3, 4, 50};
    QTest::newRow("both days included")
        << QDate(2026, 12, 2) << QDate(2026, 12, 4) << -1 << QList<int>{2, 3, 4};
    QTest::newRow("from the last day") << QDate(2026, 12, 5) << QDate() << -1 << QList<int>{50};
    QTest::newRow("to the first day") << QDate() << QDate(2026, 12, 1) << -1 << QList<int>{1};
    QTest::newRow("one student") << QDate() << QDate() << 3 << QList<int>{3};
    QTest::newRow("one student outside the days")
        << QDate(2026, 12, 4) << QDate() << 3 << QList<int>{};
    QTest::newRow("from after to")
        << QDate(2026, 12, 4) << QDate(2026, 12, 2) << -1 << QList<int>{};
}

void tst_ResultsExport::filters() {
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, student);
    QFETCH(QList<int>, students);
    test::ExportFamily family;
    addRuns(family);
    ExportOptions options{family.programFolder(), {}, {}, {}};
    if (from.isValid())
        options.from = from;
    if (to.isValid())
        options.to = to;
    if (student >= 0)
        options.student = student;
    Result<QByteArray> exported = exportResults(options, kToday);
    QVERIFY(exported.ok());
    QCOMPARE(studentsOf(exported.value()), students);
}

void tst_ResultsExport::noResultsYet() {
    test::ExportFamily family;
    Result<QByteArray> exported = exportResults({family.programFolder(), {}, {}, {}}, kToday);
    QVERIFY(exported.ok());
    QCOMPARE(exported.value(), csv({}));
}

void tst_ResultsExport::badFamily_data() {
    QTest::addColumn<QString>("file"); // relative to the root; "-" removes, else written
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("named"); // relative to the root
    QTest::addColumn<QString>("problem");
    QTest::newRow("no data folder")
        << QString() << QString() << QStringLiteral("nothing") << QStringLiteral("がありません");
    QTest::newRow("no path file") << QStringLiteral("パスデータ.txt") << QStringLiteral("-")
                                  << QStringLiteral("パスデータ.txt")
                                  << QStringLiteral("がありません");
    QTest::newRow("short settings")
        << QStringLiteral("共通データ.txt") << QStringLiteral("4,\"a\",0\n")
        << QStringLiteral("共通データ.txt") << QStringLiteral("項目が足りません");
    QTest::newRow("no roster") << QStringLiteral("新名簿.txt") << QStringLiteral("-")
                               << QStringLiteral("新名簿.txt") << QStringLiteral("がありません");
    QTest::newRow("short roster entry")
        << QStringLiteral("新名簿.txt") << QStringLiteral("1,2019,0,0,\"a\"\n")
        << QStringLiteral("新名簿.txt") << QStringLiteral("項目が足りません");
    QTest::newRow("roster not CP932") << QStringLiteral("新名簿.txt") << QStringLiteral("bytes")
                                      << QStringLiteral("新名簿.txt") << QStringLiteral("CP932");
    QTest::newRow("no criteria") << QStringLiteral("abc1/タイム回数データ.txt")
                                 << QStringLiteral("-")
                                 << QStringLiteral("abc1/タイム回数データ.txt")
                                 << QStringLiteral("がありません");
    QTest::newRow("results file is a folder")
        << QStringLiteral("abc1/成績累積データ.dat/x") << QStringLiteral("x\n")
        << QStringLiteral("abc1/成績累積データ.dat") << QStringLiteral("フォルダ");
}

void tst_ResultsExport::badFamily() {
    QFETCH(QString, file);
    QFETCH(QString, content);
    QFETCH(QString, named);
    QFETCH(QString, problem);
    test::ExportFamily family;
    addRuns(family);
    if (content == u"-")
        family.remove(file);
    else if (content == u"bytes")
        family.writeBytes(file, QByteArray("1,2019,0,0,\"\x82\",0,\"\",\"\"\r\n"));
    else if (!file.isEmpty()) {
        if (file.startsWith(test::ExportFamily::resultsFile()))
            family.remove(test::ExportFamily::resultsFile());
        family.writeText(file, content);
    }
    const QString folder = file.isEmpty() ? family.root() + named : family.programFolder();
    Result<QByteArray> exported = exportResults({folder, {}, {}, {}}, kToday);
    QVERIFY(!exported.ok());
    const QString message = exported.error().message;
    QVERIFY2(message.contains(family.root() + named), qPrintable(message));
    QVERIFY2(message.contains(problem), qPrintable(message));
}

QTEST_GUILESS_MAIN(tst_ResultsExport)
#include "tst_resultsexport.moc"
