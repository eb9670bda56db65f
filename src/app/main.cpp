#include "app/AppFlow.h"
#include "app/StandIns.h"
#include "frame/SharedState.h"
#include "platform/LockFileInstanceGuard.h"
#include "platform/MtRandom.h"
#include "platform/QtDialogs.h"
#include "platform/QtShell.h"
#include "platform/QtWebView.h"
#include "platform/SystemClock.h"

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

    kavoret::SilentCues cues;
    kavoret::EmptyResultsStore results(*state);
    kavoret::OfflinePageReader pages;
    kavoret::QtShell shell;
    kavoret::QtWebViewFactory webViews;

    kavoret::AppFlow flow(
        *state, {clock, random, dialogs, instanceGuard, cues, results, pages, shell, webViews},
        programFolder);
    flow.start();
    return QApplication::exec();
}
