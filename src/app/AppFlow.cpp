#include "app/AppFlow.h"

#include "criteria/CriteriaTable.h"
#include "finish/FrmSyuuryou.h"
#include "frame/BASEFRM.h"
#include "frame/Firstfrm.h"
#include "frame/FolderSetup.h"
#include "frame/SharedState.h"
#include "frame/StartupChecks.h"
#include "platform/CurlPageReader.h"
#include "platform/Dialogs.h"
#include "platform/QtRequestSender.h"
#include "platform/QtWebView.h"
#include "results/ResultsFileStore.h"

#include <QApplication>
#include <QWidget>

namespace kavoret {

AppFlow::AppFlow(SharedState& state, Services services, QString programFolder)
    : state_(state), services_(services), programFolder_(std::move(programFolder)),
      resultsStore_(std::make_unique<results::ResultsFileStore>(
          state_, services_.clock, services_.dialogs, *this, eventWait_)),
      pageReader_(std::make_unique<CurlPageReader>()),
      requestSender_(std::make_unique<QtRequestSender>()),
      webViews_(std::make_unique<QtWebViewFactory>()) {}

AppFlow::~AppFlow() = default;

void AppFlow::start() {
    splash_ = new Firstfrm(state_, services_.clock, services_.random);
    splash_->setAttribute(Qt::WA_DeleteOnClose);
    splash_->setHandOver([this] {
        FolderSetupLoaders loaders;
        loaders.criteria = criteria::loadCriteriaFromDataFolder;
        kavoret::handOverFromSplash(state_, programFolder_, loaders, services_.dialogs, *this);
    });
    splash_->load();
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

// The drill screen takes over this hand-over once it exists.
void AppFlow::startDrillRun() {}

void AppFlow::showFinish() {
    // The finish screen plays the sound cues; main hands them over once they exist.
    if (!services_.cues)
        return;
    if (finish_)
        finish_->close();
    finish_ = new FrmSyuuryou(state_, {*resultsStore_, *services_.cues, *requestSender_,
                                       *pageReader_, services_.clock, *webViews_, *this});
    finish_->setAttribute(Qt::WA_DeleteOnClose);
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

ResultsStore& AppFlow::resultsStore() {
    return *resultsStore_;
}

void AppFlow::endProgram(int exitCode) {
    // Newest window first, as the family's programs close.
    QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        (*it)->close();
    QCoreApplication::exit(exitCode);
}

} // namespace kavoret
