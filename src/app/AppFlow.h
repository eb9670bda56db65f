#pragma once

#include "frame/ScreenFlow.h"

#include <QPointer>
#include <QString>

class QWidget;

namespace kavoret {

class Clock;
class Cues;
class Dialogs;
class InstanceGuard;
class PageReader;
class Random;
class ResultsStore;
class Shell;
class WebViewFactory;
class BASEFRM;
class Firstfrm;
class namesel;
struct SharedState;

// The real screen flow: creates, shows and closes the program's windows.
class AppFlow final : public ScreenFlow {
public:
    struct Services {
        const Clock& clock;
        Random& random;
        Dialogs& dialogs;
        InstanceGuard& instanceGuard;
        Cues& cues;
        ResultsStore& results;
        PageReader& pages;
        Shell& shell;
        WebViewFactory& webViews;
    };

    AppFlow(SharedState& state, Services services, QString programFolder);
    ~AppFlow() override;

    // Shows the splash; its timer then runs the folder setup and hands over.
    void start();

    void showNameSelection() override;
    void showBoard() override;
    void closeBoard() override;
    void startDrillRun() override;
    void showFinish() override;
    void showBackdrop() override;
    void closeBackdrop() override;
    void endProgram(int exitCode) override;

private:
    void handOverFromSplash();
    void fail(const QString& message);

    SharedState& state_;
    Services services_;
    QString programFolder_;
    QPointer<Firstfrm> splash_;
    QPointer<BASEFRM> backdrop_;
    QPointer<namesel> nameSelection_;
};

} // namespace kavoret
