#pragma once

#include "drill/Exercise.h"

#include <QString>
#include <cstdint>

namespace kavoret {

class Clock;
class Cues;
class Dialogs;
class KeyboardState;
class Random;
class ResultsStore;
class ScreenFlow;
struct SharedState;

namespace drill {

// What the run needs of the outside world.
struct DrillServices {
    const Clock& clock;
    Random& random;
    Cues& cues;
    Dialogs& dialogs;
    ScreenFlow& flow;
    ResultsStore& results;
    const KeyboardState& keyboard;
};

// The drill screen as the run drives it. The run calls these at the moments
// the screen must show something or let the window catch up.
class DrillView {
public:
    virtual ~DrillView() = default;
    // Handles pending window events (painting, queued keys, timers).
    virtual void processEvents() = 0;
    // Shows the labels, shapes, visibilities and the clock of display().
    virtual void refresh() = 0;
    // Paints the exercise line and the input line of exercise().
    virtual void redraw() = 0;
    // Empties both pictures.
    virtual void clearPictures() = 0;
    // Waits about a second while processing events.
    virtual void waitOneSecond() = 0;
    // Closes the drill screen. The screen calls DrillRun::leave() as it closes.
    virtual void closeScreen() = 0;
};

enum class EndOverlay { None, Recording, TimeUp };

// Everything the drill screen shows besides the two pictures.
struct DrillDisplay {
    QString title; // sLabel2
    double titlePointSize = 16.8;
    QString studentName;       // sLabel7
    QString levelName;         // sLabel8
    QString schoolName;        // sLabel14
    int minutesSinceLogin = 0; // sLabel13
    int todayRunNumber = 0;    // sLabel12
    int levelRunNumber = 0;    // sLabel11
    QString exercisesLeft;     // sLabel9
    QString elapsedText;       // sLabel10
    // Widths as fractions of the full time bar (sShape5).
    double elapsedBar = 0;         // sShape2
    double targetMark = 0;         // sShape3
    double minimumMark = 0;        // sShape4
    QString hint;                  // Label2(0)
    bool inputShown = false;       // Picture12 and Label2(1)
    bool spacePromptShown = false; // Label1
    QString giveUpCaption;         // Command5
    bool giveUpEnabled = false;
    EndOverlay overlay = EndOverlay::None; // sPicture2
    bool clockRunning = false;             // sTimer1
};

inline const QString kSpacePrompt = QStringLiteral("スペースを押しなさい");
inline const QString kRecordingText = QStringLiteral("成績記録中");
inline const QString kTimeUpText = QStringLiteral("時間切れ");
inline const QString kCapsLockWarning = QStringLiteral("注意！！CapsLockが ONです");
inline constexpr int kTimeLimitFactor = 5;

// One timed drill run at the shared currentLevel: three exercises, every key
// judged at once, a wrong key stopping the input until the space bar sends the
// cursor three characters back, the clock with its time limit, the give-up and
// the end of the run with its recording. The screen hands in keys and clock
// ticks; the run updates the shared run variables and tells the view what to show.
class DrillRun {
public:
    DrillRun(SharedState& state, DrillServices services, DrillView& view);

    // The screen has become active: counts today's give-ups, sets the screen up,
    // warns about CapsLock, starts the clock and the first exercise. Runs once.
    // A level that cannot be timed is refused with a message, back to the board.
    void activate();

    // A character delivered by a key, whatever it is (Enter, Backspace, Escape
    // and other control codes included).
    void key(QChar character);
    // The clock timer (once a second).
    void tick();
    // The minutes timer (every ten seconds).
    void minuteTick();
    // The give-up button.
    void giveUp();
    // The screen is closing: nothing more is done for it.
    void leave();

    const ExerciseState& exercise() const { return exercise_; }
    const DrillDisplay& display() const { return display_; }
    int giveUpCount() const { return giveUpCount_; }
    bool started() const { return started_; }
    bool left() const { return left_; }

    // The operations of the drill screen, in the order a run uses them.
    void 初期設定();
    void レベル別設定();
    void スタート();
    void 問題作成表示();
    void 判定後処理();

private:
    bool refuseLevel();
    bool runOver() const;
    bool acceptsKeys() const;
    int minutesSinceLogin() const;
    bool countGiveUps();
    void newExercise();
    void redraw();
    void resume();
    void drillEnd();
    void message(const QString& text);

    SharedState& state_;
    DrillServices services_;
    DrillView& view_;
    ExerciseState exercise_;
    DrillDisplay display_;
    int giveUpCount_ = 0;
    double timeBarScale_ = 0; // fraction of the bar per second
    std::int64_t startMs_ = 0;
    bool activated_ = false;
    bool started_ = false;
    bool left_ = false;
};

} // namespace drill
} // namespace kavoret
