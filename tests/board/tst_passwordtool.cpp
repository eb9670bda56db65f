#include "board/OverPractice.h"

#include <QDate>
#include <QProcess>
#include <QTest>

using namespace kavoret;

class tst_PasswordTool : public QObject {
    Q_OBJECT
private slots:
    void printsThisMonthsPassword_data();
    void printsThisMonthsPassword();
    void badArgumentsGiveUsage_data();
    void badArgumentsGiveUsage();

private:
    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };
    static Run run(const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral(KAVORET_PASSWORD_TOOL), arguments);
        if (!process.waitForFinished(30000))
            return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
};

void tst_PasswordTool::printsThisMonthsPassword_data() {
    QTest::addColumn<int>("student");
    QTest::addColumn<int>("level");
    QTest::newRow("student 12, level 2") << 12 << 2;
    QTest::newRow("lowest") << 0 << 1;
    QTest::newRow("highest") << 9999 << 100;
}

void tst_PasswordTool::printsThisMonthsPassword() {
    QFETCH(int, student);
    QFETCH(int, level);
    // Asked twice around the run, so a month ending meanwhile cannot fail the test.
    const QDate before = QDate::currentDate();
    const Run result = run({QString::number(student), QString::number(level)});
    const QDate after = QDate::currentDate();
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QString());
    QStringList expected;
    for (const QDate& date : {before, after})
        expected.append(
            QString::number(board::unlockPassword(student, date.year(), date.month(), level, 801)) +
            u'\n');
    QVERIFY2(expected.contains(result.out), qPrintable(result.out));
}

void tst_PasswordTool::badArgumentsGiveUsage_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("none") << QStringList();
    QTest::newRow("one") << QStringList{QStringLiteral("12")};
    QTest::newRow("three") << QStringList{QStringLiteral("12"), QStringLiteral("2"),
                                          QStringLiteral("3")};
    QTest::newRow("student too large") << QStringList{QStringLiteral("10000"), QStringLiteral("1")};
    QTest::newRow("negative student") << QStringList{QStringLiteral("-1"), QStringLiteral("1")};
    QTest::newRow("level 0") << QStringList{QStringLiteral("12"), QStringLiteral("0")};
    QTest::newRow("level 101") << QStringList{QStringLiteral("12"), QStringLiteral("101")};
    QTest::newRow("not a number") << QStringList{QStringLiteral("twelve"), QStringLiteral("2")};
    QTest::newRow("trailing text") << QStringList{QStringLiteral("12"), QStringLiteral("2x")};
    QTest::newRow("empty") << QStringList{QString(), QStringLiteral("2")};
}

void tst_PasswordTool::badArgumentsGiveUsage() {
    QFETCH(QStringList, arguments);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QString());
    QVERIFY2(result.err.contains(QStringLiteral("usage:")), qPrintable(result.err));
}

QTEST_GUILESS_MAIN(tst_PasswordTool)
#include "tst_passwordtool.moc"
