#include "app/AppFlow.h"

#include "board/seisekitime1.h"
#include "criteria/CriteriaTable.h"
#include "drill/MainFrm.h"
#include "finish/FrmSyuuryou.h"
#include "frame/BASEFRM.h"
#include "frame/Firstfrm.h"
#include "frame/FolderSetup.h"
#include "frame/SharedState.h"
#include "frame/StartupChecks.h"
#include "platform/Dialogs.h"
#include "platform/WebView.h"
#include "results/ResultsFileStore.h"
#include "roster/namesel.h"
#include "sound/CuePlayer.h"
#include "sound/CueTable.h"

#include <QApplication>
#include <QWidget>

namespace kavoret {
namespace {

// Closes a screen and lets Qt delete it once the event loop is back at the level
// where this was called: the screens close themselves from inside their own
// handlers, whose callees go on processing events.
template <typename Screen> void dispose(QPointer<Screen>& screen) {
    if (!screen)
        return;
    screen->close();
    screen->deleteLater();
    screen.clear();
}

} // namespace

AppFlow::AppFlow(SharedState& state, Services services, QString programFolder)
    : state_(state), services_(services), programFolder_(std::move(programFolder)),
      resultsStore_(std::make_unique<results::ResultsFileStore>(
          state_, services_.clock, services_.dialogs, *this, services_.resultsWait)),
      cues_(std::make_unique<sound::CuePlayer>(state, services.soundOutput, services.random,
                                               services.dialogs, *this)) {}

AppFlow::~AppFlow() {
    // Children first: the screens use the store and the cues owned here.
    delete finish_.data();
    delete drill_.data();
    delete board_.data();
    delete nameSelection_.data();
    delete backdrop_.data();
    delete splash_.data();
}

void AppFlow::start() {
    splash_ = new Firstfrm(state_, services_.clock, services_.random);
    splash_->setAttribute(Qt::WA_DeleteOnClose);
    // The web engine starts while the splash is up and its timer counts, so
    // the name selection's page comes without a wait of its own.
    splash_->setWhenShown([this] { services_.webViews.prepare(); });
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

namesel* AppFlow::nameSelection() const {
    return nameSelection_.data();
}

seisekitime1* AppFlow::board() const {
    return board_.data();
}

MainFrm* AppFlow::drill() const {
    return drill_.data();
}

FrmSyuuryou* AppFlow::finish() const {
    return finish_.data();
}

void AppFlow::showNameSelection() {
    if (ending_)
        return;
    if (nameSelection_) {
        nameSelection_->show();
        nameSelection_->activateWindow();
        nameSelection_->formactive2();
        return;
    }
    // The duplicate-instance check belongs to the first start; back from the
    // board this process holds the lock itself.
    const bool firstStart = !board_;
    if (firstStart && refuseDuplicateInstance(services_.instanceGuard, services_.dialogs)) {
        endProgram(0);
        return;
    }
    nameSelection_ = new namesel(
        state_, {*this, services_.dialogs, *cues_, *resultsStore_, services_.pageReader,
                 services_.shell, services_.webViews, services_.clock, services_.random});
    nameSelection_->setAttribute(Qt::WA_DeleteOnClose);
    if (!nameSelection_->load())
        return; // the roster could not be read; the program is ending
    nameSelection_->activateWindow();
    nameSelection_->Form_Activate();
    if (splash_)
        splash_->close();
    // Back from the board: the board of that login is gone; the next login loads a new one.
    dispose(board_);
}

void AppFlow::closeNameSelection() {
    if (nameSelection_) {
        chosenClass_ = nameSelection_->chosenClass();
        dispose(nameSelection_);
    }
}

void AppFlow::showBoard() {
    if (ending_)
        return;
    if (!board_) {
        if (nameSelection_)
            chosenClass_ = nameSelection_->chosenClass();
        seisekitime1::Services boardServices{*this,          services_.dialogs,
                                             *resultsStore_, services_.pageReader,
                                             services_.shell, services_.webViews,
                                             services_.clock};
        boardServices.printer = &services_.sheetPrinter;
        board_ = new seisekitime1(state_, boardServices);
        board_->load(chosenClass_);
    }
    // A hand-over that arrives while the board still loads finds it not ready:
    // the load's own end shows it.
    if (!board_ || !board_->loaded())
        return;
    board_->show();
    board_->raise();
    board_->activateWindow();
    board_->Form_Activate();
}

void AppFlow::closeBoard() {
    // The board stays loaded for the whole login; the drill and the name
    // selection only hide it.
    if (board_)
        board_->hide();
}

void AppFlow::startDrillRun() {
    if (ending_)
        return;
    QCoreApplication::processEvents();
    // Every run gets a new drill screen; the last one closed itself in its own handlers.
    dispose(drill_);
    drill_ = new MainFrm(state_, {services_.clock, services_.random, *cues_, services_.dialogs,
                                  *this, *resultsStore_, services_.keyboard});
    drill_->showMaximized();
}

void AppFlow::showFinish() {
    if (ending_)
        return;
    // Like the drill screen, the finish screen closes itself inside its own
    // handlers ("もう一度" starts the next run from there).
    dispose(finish_);
    finish_ = new FrmSyuuryou(state_, {{*resultsStore_, *cues_, services_.requestSender,
                                        services_.pageReader, services_.clock},
                                       services_.webViews,
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
    ending_ = true;
    // Newest window first, as the family's programs close.
    QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        (*it)->close();
    QCoreApplication::exit(exitCode);
}

} // namespace kavoret
