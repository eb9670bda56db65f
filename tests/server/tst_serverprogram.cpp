// kavoret-ranking-server as a program: its command line, its programs file,
// serving on loopback until SIGINT or SIGTERM, and the database it leaves.

#include "Programs.h"
#include "platform/CurlPageReader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace kavoret;

namespace {

const QString kServer = QStringLiteral(KAVORET_SERVER_BINARY);

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Waits, bounded, for the line telling where the server listens.
QString listeningAddress(QProcess& server, QByteArray& errors) {
    static const QRegularExpression listening(
        QStringLiteral("listening on (http://127\\.0\\.0\\.1:\\d+)"));
    for (int attempt = 0; attempt < 200; ++attempt) {
        server.waitForReadyRead(100);
        errors += server.readAllStandardError();
        const QRegularExpressionMatch match = listening.match(QString::fromLocal8Bit(errors));
        if (match.hasMatch())
            return match.captured(1);
        if (server.state() == QProcess::NotRunning)
            break;
    }
    return {};
}

} // namespace

class tst_ServerProgram : public QObject {
    Q_OBJECT
private slots:
    void programsFileIsRead();
    void programsFileProblems_data();
    void programsFileProblems();
    void commandLineProblems_data();
    void commandLineProblems();
    void servesUntilSignalled_data();
    void servesUntilSignalled();

private:
    QTemporaryDir folder_;
};

void tst_ServerProgram::programsFileIsRead() {
    const QByteArray text = "\xef\xbb\xbf# catalogue level reference clear\r\n"
                            "801 1 40 150\r\n"
                            "\r\n"
                            "801\t2\t45.5\t200   \r\n"
                            "  # another program\n"
                            "802 3 60 120";
    Result<server::Programs> programs = server::Programs::parse(text, QStringLiteral("p.txt"));
    QVERIFY2(programs, qPrintable(programs ? QString() : programs.error().message));
    QCOMPARE(programs.value().level(801, 1).referenceTime, 40.0);
    QCOMPARE(programs.value().level(801, 2).referenceTime, 45.5);
    QCOMPARE(programs.value().level(801, 2).clearPoints, 200);
    QCOMPARE(programs.value().levelCount(801), 2);
    QCOMPARE(programs.value().levelCount(802), 3);
    // Levels and programs not listed get the defaults.
    QCOMPARE(programs.value().level(802, 1).referenceTime, 50.0);
    QCOMPARE(programs.value().level(803, 1).clearPoints, 150);
    QCOMPARE(programs.value().levelCount(803), 0);
}

void tst_ServerProgram::programsFileProblems_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("too few items") << QByteArray("801 1 40\n") << "p.txt: line 1: expected";
    QTest::newRow("too many items") << QByteArray("801 1 40 150 9\n") << "line 1: expected";
    QTest::newRow("catalogue") << QByteArray("# x\n80a 1 40 150\n") << "line 2: catalogue number";
    QTest::newRow("negative catalogue") << QByteArray("-1 1 40 150\n") << "catalogue number";
    QTest::newRow("level 0") << QByteArray("801 0 40 150\n") << "level \"0\"";
    QTest::newRow("level 101") << QByteArray("801 101 40 150\n") << "level \"101\"";
    QTest::newRow("time 0") << QByteArray("801 1 0 150\n") << "reference time \"0\"";
    QTest::newRow("time text") << QByteArray("801 1 4O 150\n") << "reference time \"4O\"";
    QTest::newRow("time too long") << QByteArray("801 1 5000 150\n") << "reference time";
    QTest::newRow("clear points 0") << QByteArray("801 1 40 0\n") << "clear points \"0\"";
    QTest::newRow("clear points fraction") << QByteArray("801 1 40 1.5\n") << "clear points";
    QTest::newRow("twice") << QByteArray("801 1 40 150\n801 1 41 150\n")
                           << "line 2: program 801 level 1 is listed twice";
    QTest::newRow("not utf-8") << QByteArray("801 1 40 150 # \x82\xa0\n") << "p.txt: is not UTF-8";
}

void tst_ServerProgram::programsFileProblems() {
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    Result<server::Programs> programs = server::Programs::parse(text, QStringLiteral("p.txt"));
    QVERIFY(!programs);
    QVERIFY2(programs.error().message.contains(message), qPrintable(programs.error().message));
}

void tst_ServerProgram::commandLineProblems_data() {
    const QString db = folder_.filePath(QStringLiteral("args.sqlite"));
    const QString badPrograms = folder_.filePath(QStringLiteral("bad-programs.txt"));
    writeFile(badPrograms, "801 1 40 150\n801 2 forty 150\n");

    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << QStringList{} << 2 << "--listen is missing";
    QTest::newRow("no database") << QStringList{"--listen", "127.0.0.1:0"} << 2
                                 << "--database is missing";
    QTest::newRow("no port") << QStringList{"--listen", "127.0.0.1", "--database", db} << 2
                             << "expected HOST:PORT";
    QTest::newRow("port too high") << QStringList{"--listen", "127.0.0.1:65536", "--database", db}
                                   << 2 << "expected HOST:PORT";
    QTest::newRow("value missing")
        << QStringList{"--listen", "127.0.0.1:0", "--database"} << 2 << "--database needs a value";
    QTest::newRow("unknown") << QStringList{"--port", "8765"} << 2 << "unknown argument: --port";
    QTest::newRow("programs file missing")
        << QStringList{"--listen", "127.0.0.1:0", "--database",
                       db,         "--programs",  folder_.filePath(QStringLiteral("none.txt"))}
        << 1 << "none.txt: cannot be read";
    QTest::newRow("programs file wrong")
        << QStringList{"--listen=127.0.0.1:0", "--database=" + db, "--programs=" + badPrograms} << 1
        << "bad-programs.txt: line 2: reference time \"forty\"";
    QTest::newRow("database folder missing")
        << QStringList{"--listen", "127.0.0.1:0", "--database",
                       folder_.filePath(QStringLiteral("no/such/folder/db.sqlite"))}
        << 1 << "SQLite database";
    QTest::newRow("postgresql unreachable")
        << QStringList{"--listen", "127.0.0.1:0", "--database",
                       "postgresql:///none?host=" + folder_.filePath(QStringLiteral("nosocket"))}
        << 1 << "PostgreSQL database";
}

void tst_ServerProgram::commandLineProblems() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QProcess server;
    server.start(kServer, arguments);
    QVERIFY(server.waitForFinished(20000));
    QCOMPARE(server.exitStatus(), QProcess::NormalExit);
    QCOMPARE(server.exitCode(), exitCode);
    const QString errors = QString::fromLocal8Bit(server.readAllStandardError());
    QVERIFY2(errors.contains(message), qPrintable(errors));
    if (exitCode == 2)
        QVERIFY(errors.contains(QStringLiteral("usage: kavoret-ranking-server")));
}

void tst_ServerProgram::servesUntilSignalled_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void tst_ServerProgram::servesUntilSignalled() {
    QFETCH(int, signalNumber);
    const QString db = folder_.filePath(QStringLiteral("serve-%1.sqlite").arg(signalNumber));
    const QString programs = folder_.filePath(QStringLiteral("programs.txt"));
    writeFile(programs, "801 1 40 150\n801 2 45 150\n");
    const QStringList arguments{"--listen", "127.0.0.1:0", "--database",
                                db,         "--programs",  programs};
    const QString upload = QStringLiteral(
        "/benkyouRanking/BenkyouTuikaKousin.php?JukuNo=1&JukuName=a&SeitoNo=5&SeitoUmare=2012"
        "&SeitoName=%E5%B1%B1&SoftGroup=1&SoftNo=801&SoftName=c&Level=1&JisshiDate1=2024-05-03"
        "&JisshiTime1=10:11:12&point=120&kaisuu=7&athome=0&KirokuTime=33");
    const QString totals = QStringLiteral(
        "/benkyouRanking/BenkyouKakoHyoujiVB.php?athome=&JukuNo=1&SeitoNo=5&SoftNo=801&Level=1");
    CurlPageReader reader;

    // Twice on the same database: what the first run stored is there for the second.
    for (int run = 1; run <= 2; ++run) {
        QProcess server;
        server.start(kServer, arguments);
        QVERIFY(server.waitForStarted(10000));
        QByteArray errors;
        const QString address = listeningAddress(server, errors);
        QVERIFY2(!address.isEmpty(), errors.constData());

        QCOMPARE(reader.read(address + QStringLiteral("/benkyouRanking/BenkyouSoftInfoHyouji.php"
                                                      "?SoftNo=801")),
                 QStringLiteral("SoftInfo_801_2_40_45_\n"));
        if (run == 1)
            QCOMPARE(reader.read(address + upload), QStringLiteral("OK\n"));
        QVERIFY(reader.read(address + totals).startsWith(QStringLiteral("###120<\n###7<\n")));

        ::kill(static_cast<pid_t>(server.processId()), signalNumber);
        QVERIFY(server.waitForFinished(20000));
        QCOMPARE(server.exitStatus(), QProcess::NormalExit);
        QCOMPARE(server.exitCode(), 0);
        errors += server.readAllStandardError();
        const QString log = QString::fromLocal8Bit(errors);
        QVERIFY2(
            log.contains(QStringLiteral("GET /benkyouRanking/BenkyouSoftInfoHyouji.php 200 22B")),
            qPrintable(log));
        QVERIFY(log.contains(QStringLiteral("GET /benkyouRanking/BenkyouKakoHyoujiVB.php 200")));
        QVERIFY(log.trimmed().endsWith(QStringLiteral("kavoret-ranking-server: stopped")));
        QVERIFY(!log.contains(QStringLiteral("SeitoName")));
    }
    QVERIFY(QFileInfo::exists(db));
}

QTEST_GUILESS_MAIN(tst_ServerProgram)
#include "tst_serverprogram.moc"
