#include "app/AppFlow.h"

#include "criteria/CriteriaTable.h"
#include "frame/BASEFRM.h"
#include "frame/Firstfrm.h"
#include "frame/FolderSetup.h"
#include "frame/SharedState.h"
#include "frame/StartupChecks.h"
#include "platform/Dialogs.h"
#include "roster/namesel.h"

#include <QApplication>
#include <QWidget>

namespace kavoret {

AppFlow::AppFlow(SharedState& state, Services services, QString programFolder)
    : state_(state), services_(services), programFolder_(std::move(programFolder)) {}

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
    nameSelection_ = new namesel(state_, {*this, services_.dialogs, services_.cues,
                                          services_.results, services_.pages, services_.shell,
                                          services_.webViews, services_.clock, services_.random});
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

void AppFlow::startDrillRun() {}

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
