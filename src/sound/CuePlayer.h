#pragma once

#include "frame/Cues.h"

namespace kavoret {

class Dialogs;
class Random;
class ScreenFlow;
class SoundOutput;
struct SharedState;

namespace sound {

// Three failures in a row of the monitored cues are let pass; the next ends the program.
inline constexpr int kToleratedFailures = 3;
inline const QString kSoundErrorTitle = QStringLiteral("音声エラー");
inline const QString kSoundErrorText = QStringLiteral("音声がでません。先生を呼びなさい。");

// Cues 2, 3 and 4 report whether the classroom computer can be heard.
bool isMonitored(int cue);

// Plays the cues of the loaded cue table: one of a cue's files drawn at random,
// each play blocking until the sound has played. A monitored cue failing for
// the fourth time in a row tells the student to call the teacher and ends the
// program; a cue the table gives no count is an error that ends the program.
class CuePlayer final : public Cues {
public:
    CuePlayer(SharedState& state, SoundOutput& output, Random& random, Dialogs& dialogs,
              ScreenFlow& flow);

    void play(int cue) override;
    void playFixed(const QString& name) override;

private:
    QString pathOf(const QString& file) const;
    void fail(const QString& text, const QString& title);

    SharedState& state_;
    SoundOutput& output_;
    Random& random_;
    Dialogs& dialogs_;
    ScreenFlow& flow_;
};

} // namespace sound
} // namespace kavoret
