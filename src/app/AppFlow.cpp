#include "app/AppFlow.h"

#include "criteria/CriteriaTable.h"
#include "finish/FrmSyuuryou.h"
#include "frame/BASEFRM.h"
#include "frame/FolderSetup.h"
#include "frame/Firstfrm.h"
#include "frame/SharedState.h"
#include "frame/StartupChecks.h"
#include "platform/CurlPageReader.h"
#include "platform/Dialogs.h"
#include "platform/QtRequestSender.h"
#include "platform/QtWebView.h"

#include <QApplication>
#include <QWidget>

namespace kavoret {

AppFlow::AppFlow(SharedState& state, Services services, QString programFolder)
    : state_(state), services_(services), programFolder_(std::move(programFolder)),
      pageReader_(std::make_unique<CurlPageReader>()),
      requestSender_(std::make_unique<QtRequestSender>()),
      webViews_(std::make_unique<QtWebViewFactory>()) {}

AppFlow::~AppFlow() = default;

void AppFlow::start() {
    splash_ = new Firstfrm(state_, services_.clock, services_.random);
    splash_->setAttribute(Qt::WA_DeleteOnClose);
    splash_->setHandOver([this] { handOverFromSplash(); });
    splash_->load();
}

void AppFlow::handOverFromSplash() {
    FolderSetupLoaders loaders;
    loaders.criteria = criteria::loadCriteriaFromDataFolder;
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

void AppFlow::startDrillRun() {}

void AppFlow::showFinish() {
    // The finish screen judges through the results store and plays the cues;
    // main hands both over once they exist.
    if (!services_.resultsStore || !services_.cues)
        return;
    if (finish_)
        finish_->close();
    finish_ = new FrmSyuuryou(state_, {*services_.resultsStore, *services_.cues, *requestSender_,
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
