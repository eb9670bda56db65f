#include "app/AppFlow.h"

#include "criteria/CriteriaTable.h"
#include "drill/MainFrm.h"
#include "finish/FrmSyuuryou.h"
#include "frame/BASEFRM.h"
#include "frame/Firstfrm.h"
#include "frame/FolderSetup.h"
#include "frame/SharedState.h"
#include "frame/StartupChecks.h"
#include "platform/CurlPageReader.h"
#include "platform/Dialogs.h"
#include "platform/QtRequestSender.h"
#include "platform/QtShell.h"
#include "platform/QtWebView.h"
#include "results/ResultsFileStore.h"
#include "roster/namesel.h"
#include "sound/CuePlayer.h"
#include "sound/CueTable.h"

#include <QApplication>
#include <QWidget>

namespace kavoret {

AppFlow::AppFlow(SharedState& state, Services services, QString programFolder)
    : state_(state), services_(services), programFolder_(std::move(programFolder)),
      resultsStore_(std::make_unique<results::ResultsFileStore>(
          state_, services_.clock, services_.dialogs, *this, eventWait_)),
      cues_(std::make_unique<sound::CuePlayer>(state, services.soundOutput, services.random,
                                               services.dialogs, *this)),
      pageReader_(std::make_unique<CurlPageReader>()),
      requestSender_(std::make_unique<QtRequestSender>()),
      webViews_(std::make_unique<QtWebViewFactory>()), shell_(std::make_unique<QtShell>()) {}

AppFlow::~AppFlow() {
    delete finish_.data();
    delete drill_.data();
}

void AppFlow::start() {
    splash_ = new Firstfrm(state_, services_.clock, services_.random);
    splash_->setAttribute(Qt::WA_DeleteOnClose);
    splash_->setHandOver([this] {
        FolderSetupLoaders loaders;
        loaders.criteria = criteria::loadCriteriaFromDataFolder;
        loaders.cueTable = sound::loadCueTable;
        kavoret::handOverFromSplash(state_, programFolder_, loaders, services_.dialogs, *this);
    });
    splash_->load();
}

Cues& AppFlow::cues() {
    return *cues_;
}

ResultsStore& AppFlow::resultsStore() {
    return *resultsStore_;
}

void AppFlow::showNameSelection() {
    if (nameSelection_) {
        // Back from the results board.
        nameSelection_->show();
        nameSelection_->activateWindow();
        nameSelection_->formactive2();
        return;
    }
    if (refuseDuplicateInstance(services_.instanceGuard, services_.dialogs)) {
        endProgram(0);
        return;
    }
    nameSelection_ =
        new namesel(state_, {*this, services_.dialogs, *cues_, *resultsStore_, *pageReader_,
                             *shell_, *webViews_, services_.clock, services_.random});
    nameSelection_->setAttribute(Qt::WA_DeleteOnClose);
    if (!nameSelection_->load())
        return; // the roster could not be read; the program is ending
    nameSelection_->activateWindow();
    nameSelection_->Form_Activate();
    if (splash_)
        splash_->close();
}

void AppFlow::showBoard() {
    // The results board is not built yet.
}

void AppFlow::closeBoard() {}

void AppFlow::startDrillRun() {
    RunState& run = state_.run;
    run.runFinished = 0;
    run.finishing = 0;
    run.questionsDone = 0;
    run.runEndReason = 0;
    QCoreApplication::processEvents();
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

void AppFlow::showFinish() {
    // Like the drill screen, the finish screen closes itself inside its own
    // handlers ("もう一度" starts the next run from there), so the old one is
    // deleted only when the next one is made.
    if (finish_) {
        finish_->close();
        delete finish_.data();
    }
    finish_ = new FrmSyuuryou(
        state_, {{*resultsStore_, *cues_, *requestSender_, *pageReader_, services_.clock},
                 *webViews_,
                 *this});
    finish_->show();
    finish_->activateWindow();
}

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

} // namespace kavoret
