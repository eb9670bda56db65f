#pragma once

namespace kavoret {

// How screens hand over to each other. Screens call these instead of knowing
// one another; the program wires them to the real windows, tests record them.
class ScreenFlow {
public:
    virtual ~ScreenFlow() = default;
    // The name selection screen (after the splash, and back from the board).
    virtual void showNameSelection() = 0;
    // The board closes the name selection once it is up; coming back, it is loaded afresh.
    virtual void closeNameSelection() = 0;
    // The results board (after login, a give-up, or "メニューへ").
    virtual void showBoard() = 0;
    virtual void closeBoard() = 0;
    // A new drill run at the shared currentLevel.
    virtual void startDrillRun() = 0;
    // The finish screen after a recorded run.
    virtual void showFinish() = 0;
    // The plain backdrop shown while the drill and finish screens change places.
    virtual void showBackdrop() = 0;
    virtual void closeBackdrop() = 0;
    // Close every window from the newest to the first and end the process.
    virtual void endProgram(int exitCode) = 0;
};

} // namespace kavoret
