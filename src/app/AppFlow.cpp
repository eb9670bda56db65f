#include "app/AppFlow.h"

#include "criteria/CriteriaTable.h"
#include "drill/MainFrm.h"
#include "frame/BASEFRM.h"
#include "frame/Firstfrm.h"
#include "frame/FolderSetup.h"
#include "frame/SharedState.h"
#include "frame/StartupChecks.h"
#include "platform/Dialogs.h"
#include "sound/CuePlayer.h"
#include "sound/CueTable.h"

#include <QApplication>
#include <QWidget>

namespace kavoret {

AppFlow::AppFlow(SharedState& state, Services services, QString programFolder)
    : state_(state), services_(services), programFolder_(std::move(programFolder)),
      cues_(std::make_unique<sound::CuePlayer>(state, services.soundOutput, services.random,
                                               services.dialogs, *this)) {}

AppFlow::~AppFlow() {
    delete drill_.data();
}

void AppFlow::start() {
    splash_ = new Firstfrm(state_, services_.clock, services_.random);
    splash_->setAttribute(Qt::WA_DeleteOnClose);
    splash_->setHandOver([this] { handOverFromSplash(); });
    splash_->load();
}

void AppFlow::handOverFromSplash() {
    FolderSetupLoaders loaders;
    loaders.criteria = criteria::loadCriteriaFromDataFolder;
    loaders.cueTable = sound::loadCueTable;
    if (Status setUp = setUpFolders(state_, programFolder_, loaders); !setUp) {
        fail(setUp.error().message);
        return;
    }
    showNameSelection();
}

void AppFlow::showNameSelection() {
    if (refuseDuplicateInstance(services_.instanceGuard, services_.dialogs)) {
        endProgram(0);
        return;
    }
    // The name selection screen takes over from the splash here once it exists;
    // until then the splash stays up with the settings read.
}

void AppFlow::showBoard() {
    // The results board is not built yet.
}

void AppFlow::closeBoard() {}

Cues& AppFlow::cues() {
    return *cues_;
}

void AppFlow::startDrillRun() {
    RunState& run = state_.run;
    run.runFinished = 0;
    run.finishing = 0;
    run.questionsDone = 0;
    run.runEndReason = 0;
    QCoreApplication::processEvents();
    if (!resultsStore_) {
        services_.dialogs.message(
            QStringLiteral("成績を記録する準備ができていないので、ドリルを始められません"),
            state_.profile.programTitle, Dialogs::Icon::Error);
        return;
    }
    // Every run gets a new drill screen. The last one closed itself in the middle
    // of its own handlers (whose callees process events), so it is deleted only
    // here, from another screen's handler, never on close.
    if (drill_) {
        drill_->close();
        delete drill_.data();
    }
    drill_ = new MainFrm(state_, {services_.clock, services_.random, *cues_, services_.dialogs,
                                  *this, *resultsStore_, services_.keyboard});
    drill_->showMaximized();
}

void AppFlow::showFinish() {}

void AppFlow::showBackdrop() {
    if (!backdrop_) {
        backdrop_ = new BASEFRM(state_.profile.programTitle);
        backdrop_->setAttribute(Qt::WA_DeleteOnClose);
    }
    backdrop_->show();
}

void AppFlow::closeBackdrop() {
    if (backdrop_)
        backdrop_->close();
}

void AppFlow::endProgram(int exitCode) {
    // Newest window first, as the family's programs close.
    QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        (*it)->close();
    QCoreApplication::exit(exitCode);
}

void AppFlow::fail(const QString& message) {
    services_.dialogs.message(message, QStringLiteral("Kavoret"), Dialogs::Icon::Error);
    endProgram(1);
}

} // namespace kavoret
