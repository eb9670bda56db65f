#include "XkbLock.h"
#include "platform/X11KeyboardState.h"

#include <QGuiApplication>
#include <QTest>

using namespace kavoret;

class tst_X11KeyboardState : public QObject {
    Q_OBJECT
private slots:
    void followsTheCapsLockLock();
    void cleanup();
};

// Run by hand, the display may be the desktop in use: never leave CapsLock locked.
void tst_X11KeyboardState::cleanup() {
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        test::setCapsLockLocked(x11->display(), false);
}

void tst_X11KeyboardState::followsTheCapsLockLock() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        QSKIP("not running on X11");
    X11KeyboardState keyboard;
    QVERIFY(test::setCapsLockLocked(x11->display(), true));
    QVERIFY(keyboard.capsLockOn());
    QVERIFY(test::setCapsLockLocked(x11->display(), false));
    QVERIFY(!keyboard.capsLockOn());
}

QTEST_MAIN(tst_X11KeyboardState)
#include "tst_x11keyboardstate.moc"
