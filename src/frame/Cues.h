#pragma once

#include <QString>

namespace kavoret {

// The sound cues of the cue table, numbered as the table numbers them.
// moc cannot read the Japanese names, so it skips them when a file with
// Q_OBJECT includes this header.
#ifndef Q_MOC_RUN
enum CueNumber : int {
    kCue正解音1 = 1,
    kCue正解音2 = 2,   // an exercise completed (monitored)
    kCue間違い音1 = 3, // a wrong key (monitored)
    kCue間違い音2 = 4, // login with no name chosen (monitored)
    kCue最高音1 = 5,
    kCue最高音2 = 6,
    kCue自己最高音1 = 7,
    kCue自己最高音2 = 8, // a new personal best
    kCue自己最高音3 = 9,
    kCue不合格音1 = 10, // a run at or below the minimum line
};
#endif

// Plays cues and the fixed sounds ("最高1", "合格"), blocking until each has
// played. Monitored cues end the program after repeated failures.
class Cues {
public:
    virtual ~Cues() = default;
    virtual void play(int cue) = 0;
    virtual void playFixed(const QString& name) = 0;
};

} // namespace kavoret
