#pragma once

#include "app/EventLoopWait.h"
#include "frame/ScreenFlow.h"

#include <QPointer>
#include <QString>
#include <memory>

class QWidget;

namespace kavoret {

class Clock;
class Cues;
class CurlPageReader;
class Dialogs;
class InstanceGuard;
class KeyboardState;
class QtRequestSender;
class QtShell;
class QtWebViewFactory;
class Random;
class ResultsStore;
class SoundOutput;
class BASEFRM;
class Firstfrm;
class FrmSyuuryou;
class MainFrm;
class namesel;
struct SharedState;
namespace results {
class ResultsFileStore;
}
namespace sound {
class CuePlayer;
}

// The real screen flow: creates, shows and closes the program's windows.
class AppFlow final : public ScreenFlow {
public:
    struct Services {
        const Clock& clock;
        Random& random;
        Dialogs& dialogs;
        InstanceGuard& instanceGuard;
        SoundOutput& soundOutput;
        const KeyboardState& keyboard;
    };

    AppFlow(SharedState& state, Services services, QString programFolder);
    ~AppFlow() override;

    // Shows the splash; its timer then runs the folder setup and hands over.
    void start();

    // The sound cues of the loaded cue table, for every screen that plays them.
    Cues& cues();
    // The results file, for the screens that show or record runs.
    ResultsStore& resultsStore();

    void showNameSelection() override;
    void showBoard() override;
    void closeBoard() override;
    void startDrillRun() override;
    void showFinish() override;
    void showBackdrop() override;
    void closeBackdrop() override;
    void endProgram(int exitCode) override;

private:
    SharedState& state_;
    Services services_;
    QString programFolder_;
    QPointer<Firstfrm> splash_;
    QPointer<BASEFRM> backdrop_;
    QPointer<namesel> nameSelection_;
    QPointer<MainFrm> drill_;
    EventLoopWait eventWait_;
    std::unique_ptr<results::ResultsFileStore> resultsStore_;
    std::unique_ptr<sound::CuePlayer> cues_;
    QPointer<FrmSyuuryou> finish_;
    // The ranking server's adapters live as long as the program, so that a
    // request sent just before a screen closes still goes out.
    std::unique_ptr<CurlPageReader> pageReader_;
    std::unique_ptr<QtRequestSender> requestSender_;
    std::unique_ptr<QtWebViewFactory> webViews_;
    std::unique_ptr<QtShell> shell_;
};

} // namespace kavoret
