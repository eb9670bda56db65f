#include "app/AppFlow.h"
#include "frame/SharedState.h"
#include "platform/AlsaSoundOutput.h"
#include "platform/LockFileInstanceGuard.h"
#include "platform/MtRandom.h"
#include "platform/QtDialogs.h"
#include "platform/SystemClock.h"
#include "platform/X11KeyboardState.h"

#include <QApplication>
#include <QFont>
#include <memory>

int main(int argc, char* argv[]) {
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
    kavoret::AlsaSoundOutput soundOutput;
    kavoret::X11KeyboardState keyboard;

    kavoret::AppFlow flow(*state, {clock, random, dialogs, instanceGuard, soundOutput, keyboard},
                          programFolder);
    flow.start();
    return QApplication::exec();
}
