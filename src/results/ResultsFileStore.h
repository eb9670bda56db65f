#pragma once

#include "frame/ResultsStore.h"
#include "results/EventWait.h"

#include <QString>

namespace kavoret {
class Clock;
class Dialogs;
class ScreenFlow;
struct SharedState;
} // namespace kavoret

namespace kavoret::results {

// The results file in the data folder, as every screen uses it. Sharing errors
// are waited out; any other file error is shown in a message that begins with
// the procedure's name, and the program ends (after which every call returns
// at once).
class ResultsFileStore final : public ResultsStore {
public:
    ResultsFileStore(SharedState& state, const Clock& clock, Dialogs& dialogs, ScreenFlow& flow,
                     EventWait& wait);

    // Resets the twelve tables, loads the file and adds up every loaded run.
    void 回数求() override;
    // Records the finished run of studentNo with resultTime at this level:
    // clearedBefore from the last aggregation, then the personal best, the
    // append, the level best.
    void Seisekikiroku(int level) override;

    // Loads the newest kept records with the best times; false when the
    // program is ending.
    bool 成績ランダムファイル表示();
    // Appends the run of the shared state (studentNo, currentLevel,
    // resultTime, schoolNumber) with today's date and the time of day.
    bool 成績ランダムファイル記録();

    QString resultsFilePath() const;
    bool ended() const { return ended_; }

private:
    bool append(int level);
    void fatal(const QString& message);

    SharedState& state_;
    const Clock& clock_;
    Dialogs& dialogs_;
    ScreenFlow& flow_;
    EventWait& wait_;
    bool ended_ = false;
};

} // namespace kavoret::results
