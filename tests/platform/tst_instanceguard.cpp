#include "FakeInstanceGuard.h"
#include "RecordingDialogs.h"
#include "frame/StartupChecks.h"
#include "platform/LockFileInstanceGuard.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kavoret;

class tst_InstanceGuard : public QObject {
    Q_OBJECT
private slots:
    void secondProcessIsRefused();
    void otherProgramFoldersAreIndependent();
    void refusalShowsTheNotice();

private:
    static int probe(const QString& folder) {
        QProcess process;
        process.start(QStringLiteral(KAVORET_INSTANCE_PROBE), {folder});
        if (!process.waitForFinished(30000))
            return -1;
        return process.exitCode();
    }
    QTemporaryDir dir_;
};

void tst_InstanceGuard::secondProcessIsRefused() {
    const QString folder = dir_.path() + QStringLiteral("/drill/abc1");
    {
        LockFileInstanceGuard first(folder);
        QVERIFY(first.claim());
        QCOMPARE(probe(folder), 3);
        // The first instance is unaffected by the refused second one.
        QVERIFY(first.claim());
        QCOMPARE(probe(folder), 3);
    }
    // Once the first instance has ended, a new start is allowed.
    QCOMPARE(probe(folder), 0);
}

void tst_InstanceGuard::otherProgramFoldersAreIndependent() {
    LockFileInstanceGuard first(dir_.path() + QStringLiteral("/drill/abc1"));
    QVERIFY(first.claim());
    QCOMPARE(probe(dir_.path() + QStringLiteral("/drill/abc2")), 0);
}

void tst_InstanceGuard::refusalShowsTheNotice() {
    test::RecordingDialogs dialogs;
    test::FakeInstanceGuard alone(false);
    QVERIFY(!refuseDuplicateInstance(alone, dialogs));
    QVERIFY(dialogs.messages.isEmpty());

    test::FakeInstanceGuard taken(true);
    QVERIFY(refuseDuplicateInstance(taken, dialogs));
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("注意"));
    QCOMPARE(dialogs.messages[0].icon, Dialogs::Icon::Error);
    QCOMPARE(
        dialogs.messages[0].text,
        QStringLiteral("このプログラムと同じプログラムがすでに起動され、完全に終了されていません。"
                       "同じプログラムを完全に終了させてから実行してください。"));
}

QTEST_GUILESS_MAIN(tst_InstanceGuard)
#include "tst_instanceguard.moc"
