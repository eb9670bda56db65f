#include "platform/QtShell.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kavoret;

class tst_QtShell : public QObject {
    Q_OBJECT
private slots:
    void startsProgramWithArguments();
    void reportsProgramThatCannotStart();
};

void tst_QtShell::startsProgramWithArguments() {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    QtShell shell;
    QVERIFY(shell.start(QStringLiteral("/bin/sh"),
                        {QStringLiteral("-c"), QStringLiteral("echo \"$1\" > \"$2\""),
                         QStringLiteral("sh"), QStringLiteral("001"), out}));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out) && QFile(out).size() > 0, 10000);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("001\n"));
}

void tst_QtShell::reportsProgramThatCannotStart() {
    QTemporaryDir dir;
    QtShell shell;
    QVERIFY(!shell.start(dir.filePath(QStringLiteral("../起動/プログラムメニューc.exe")),
                         {QStringLiteral("001")}));
    // A file that is there but cannot be run.
    const QString plain = dir.filePath(QStringLiteral("menu.exe"));
    QFile file(plain);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a program");
    file.close();
    QVERIFY(!shell.start(plain, {QStringLiteral("001")}));
}

QTEST_GUILESS_MAIN(tst_QtShell)
#include "tst_qtshell.moc"
