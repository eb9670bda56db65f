#pragma once

#include "frame/ScreenFlow.h"

#include <QPointer>
#include <QString>
#include <memory>

class QWidget;

namespace kavoret {

class Clock;
class Cues;
class Dialogs;
class InstanceGuard;
class KeyboardState;
class PageReader;
class Random;
class RequestSender;
class ResultsStore;
class Shell;
class SheetPrinter;
class SoundOutput;
class WebViewFactory;
class BASEFRM;
class Firstfrm;
class FrmSyuuryou;
class MainFrm;
class namesel;
class seisekitime1;
struct SharedState;
namespace results {
class EventWait;
class ResultsFileStore;
} // namespace results
namespace sound {
class CuePlayer;
}

// The real screen flow: creates, shows and closes the program's windows. Every
// adapter to the outside world comes from the caller, so the same flow runs the
// program (main) and the whole-loop tests (with fakes).
class AppFlow final : public ScreenFlow {
public:
    struct Services {
        const Clock& clock;
        Random& random;
        Dialogs& dialogs;
        InstanceGuard& instanceGuard;
        SoundOutput& soundOutput;
        const KeyboardState& keyboard;
        PageReader& pageReader;
        RequestSender& requestSender;
        WebViewFactory& webViews;
        Shell& shell;
        SheetPrinter& sheetPrinter;
        // How the results store waits between retries while another copy holds the file.
        results::EventWait& resultsWait;
    };

    AppFlow(SharedState& state, Services services, QString programFolder);
    ~AppFlow() override;

    // Shows the splash; its timer then runs the folder setup and hands over.
    void start();

    // The sound cues of the loaded cue table, for every screen that plays them.
    Cues& cues();
    // The results file, for the screens that show or record runs.
    ResultsStore& resultsStore();

    // The screens now open (null when closed), for tests that drive the whole loop.
    namesel* nameSelection() const;
    seisekitime1* board() const;
    MainFrm* drill() const;
    FrmSyuuryou* finish() const;

    void showNameSelection() override;
    void closeNameSelection() override;
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
    std::unique_ptr<results::ResultsFileStore> resultsStore_;
    std::unique_ptr<sound::CuePlayer> cues_;
    QPointer<Firstfrm> splash_;
    QPointer<BASEFRM> backdrop_;
    QPointer<namesel> nameSelection_;
    QPointer<seisekitime1> board_;
    QPointer<MainFrm> drill_;
    QPointer<FrmSyuuryou> finish_;
    // The grade last chosen at the name selection, which the board starts with.
    QString chosenClass_;
    bool ending_ = false;
};

} // namespace kavoret
