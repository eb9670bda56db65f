#include "ExportFamily.h"
#include "roster/Roster.h"

#include <QProcess>
#include <QTest>

using namespace kavoret;

class tst_ExportTool : public QObject {
    Q_OBJECT
private slots:
    void printsTheCsv();
    void filtersOnTheCommandLine();
    void badFolderFails();
    void badArgumentsGiveUsage_data();
    void badArgumentsGiveUsage();

private:
    struct Run {
        int exitCode = -1;
        QByteArray out;
        QString err;
    };
    static Run run(const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral(KAVORET_EXPORT_TOOL), arguments);
        if (!process.waitForFinished(30000))
            return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
    }
};

void tst_ExportTool::printsTheCsv() {
    test::ExportFamily family;
    family.addRun(QDate(2026, 12, 1), QTime(9, 5, 30), 1, 1, 25);
    family.addRun(QDate(2026, 12, 2), QTime(15, 0, 0), 2, 2, 99999);
    family.addTornRecord();
    const Run result = run({family.programFolder()});
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 0);
    // The grade follows today's school year, as the program shows it.
    const int schoolYear = roster::schoolYearFor(QDate::currentDate(), 4);
    const QByteArray expected =
        QByteArray("\xEF\xBB\xBF") +
        "date,time,student,name,grade,level,seconds,outcome,points\r\n" +
        QStringLiteral("2026-12-01,09:05:30,1,\"田中, ゆい\",%1,1,25,ok,5\r\n"
                       "2026-12-02,15:00:00,2,\"山田\"\"太郎\"\"\",%2,2,,timeout,0\r\n")
            .arg(roster::halfWidthGradeLabel(roster::gradeOf(schoolYear, 2019)),
                 roster::halfWidthGradeLabel(roster::gradeOf(schoolYear, 2011)))
            .toUtf8();
    QCOMPARE(result.out, expected);
}

void tst_ExportTool::filtersOnTheCommandLine() {
    test::ExportFamily family;
    family.addRun(QDate(2026, 12, 1), QTime(9, 0), 1, 1, 25);
    family.addRun(QDate(2026, 12, 2), QTime(9, 0), 3, 1, 26);
    family.addRun(QDate(2026, 12, 3), QTime(9, 0), 3, 2, 27);
    family.addRun(QDate(2026, 12, 4), QTime(9, 0), 3, 2, 28);
    const Run result =
        run({QStringLiteral("--student"), QStringLiteral("3"), family.programFolder(),
             QStringLiteral("--to"), QStringLiteral("2026-12-03"), QStringLiteral("--from"),
             QStringLiteral("2026-12-02")});
    QCOMPARE(result.exitCode, 0);
    const QList<QByteArray> lines = result.out.split('\n');
    QStringList days;
    for (const QByteArray& line : lines)
        if (line.startsWith("2026-"))
            days.append(QString::fromUtf8(line.left(10)));
    QCOMPARE(days, QStringList({QStringLiteral("2026-12-02"), QStringLiteral("2026-12-03")}));
}

void tst_ExportTool::badFolderFails() {
    test::ExportFamily family;
    const QString missing = family.root() + QStringLiteral("いない");
    const Run result = run({missing});
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.out.isEmpty());
    QVERIFY2(result.err.startsWith(QStringLiteral("kavoret-export: ")), qPrintable(result.err));
    QVERIFY2(result.err.contains(missing), qPrintable(result.err));

    family.remove(QStringLiteral("新名簿.txt"));
    const Run noRoster = run({family.programFolder()});
    QCOMPARE(noRoster.exitCode, 1);
    QVERIFY(noRoster.out.isEmpty());
    QVERIFY2(noRoster.err.contains(family.root() + QStringLiteral("新名簿.txt")),
             qPrintable(noRoster.err));
}

void tst_ExportTool::badArgumentsGiveUsage_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("problem");
    QTest::newRow("none") << QStringList{} << QStringLiteral("DATA_FOLDER is missing");
    QTest::newRow("bad date") << QStringList{QStringLiteral("x"), QStringLiteral("--from"),
                                             QStringLiteral("12/01/2026")}
                              << QStringLiteral("\"12/01/2026\"");
}

void tst_ExportTool::badArgumentsGiveUsage() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, problem);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    QVERIFY(result.out.isEmpty());
    QVERIFY2(result.err.contains(problem), qPrintable(result.err));
    QVERIFY2(result.err.contains(QStringLiteral("usage: kavoret-export DATA_FOLDER")),
             qPrintable(result.err));
}

QTEST_GUILESS_MAIN(tst_ExportTool)
#include "tst_exporttool.moc"
