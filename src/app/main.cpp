#include "app/AppFlow.h"
#include "app/EventLoopWait.h"
#include "frame/SharedState.h"
#include "platform/FailFastPageReader.h"
#include "platform/HeapTuning.h"
#include "platform/LazyPageReader.h"
#include "platform/LazyRequestSender.h"
#include "platform/LazySoundOutput.h"
#include "platform/LazyWebViewFactory.h"
#include "platform/LockFileInstanceGuard.h"
#include "platform/MtRandom.h"
#include "platform/QtDialogs.h"
#include "platform/QtSheetPrinter.h"
#include "platform/QtShell.h"
#include "platform/SystemClock.h"
#include "platform/X11KeyboardState.h"

#include <QApplication>
#include <QFont>
#include <memory>

// The composition root: every adapter to the outside world is made here and
// handed to the screen flow.
int main(int argc, char* argv[]) {
    kavoret::keepFreedHeapForReuse();
    // The web views compose their pages in software (see the web view module):
    // the few pages the program shows need no OpenGL, so the window system's GL
    // integration (and with it a software GL driver of tens of megabytes) is not
    // loaded at all. The web engine asks for shared contexts before the
    // application exists, even when it comes later as a module.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kavoret"));
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(11);
    QApplication::setFont(font);

    auto state = std::make_unique<kavoret::SharedState>();
    kavoret::SystemClock clock;
    kavoret::MtRandom random;
    kavoret::QtDialogs dialogs;
    const QString programFolder = QCoreApplication::applicationDirPath();
    kavoret::LockFileInstanceGuard instanceGuard(programFolder);
    // The sound, network and web view adapters live in modules beside the
    // program, loaded when first used: their libraries stay out of the start-up.
    kavoret::LazySoundOutput soundOutput(programFolder + QStringLiteral("/" KAVORET_SOUND_MODULE));
    kavoret::X11KeyboardState keyboard;
    const QString networkModule = programFolder + QStringLiteral("/" KAVORET_NETWORK_MODULE);
    kavoret::LazyPageReader httpPageReader(networkModule);
    // One reader for every screen, so a ranking server found down by one screen
    // is not waited for again by the next.
    kavoret::FailFastPageReader pageReader(httpPageReader, clock);
    // The ranking server's adapters live as long as the program, so that a
    // request sent just before a screen closes still goes out.
    kavoret::LazyRequestSender requestSender(networkModule);
    kavoret::LazyWebViewFactory webViews(programFolder +
                                         QStringLiteral("/" KAVORET_WEBVIEW_MODULE));
    kavoret::QtShell shell;
    kavoret::QtSheetPrinter sheetPrinter;
    kavoret::EventLoopWait resultsWait;

    kavoret::AppFlow flow(*state,
                          {clock, random, dialogs, instanceGuard, soundOutput, keyboard, pageReader,
                           requestSender, webViews, shell, sheetPrinter, resultsWait},
                          programFolder);
    flow.start();
    return QApplication::exec();
}
