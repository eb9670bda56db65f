#pragma once

#include "frame/SharedState.h"
#include "ranking/OnlineFigures.h"
#include "ranking/RankingRequests.h"

#include <QList>
#include <QString>

namespace kavoret {
class Clock;
class Cues;
class PageReader;
class RequestSender;
class ResultsStore;
} // namespace kavoret

namespace kavoret::finish {

// A sound the judgement plays: a cue of the cue table, or a fixed sound by name.
struct Sound {
    int cue = 0;   // 0 for a fixed sound
    QString fixed; // "最高1" or "合格"
    friend bool operator==(const Sound&, const Sound&) = default;
};

// What the finish screen shows right after a run, and the sounds to play.
struct Judgement {
    int points = 0; // the run's points before the level's rate
    QString titleLine;
    QString levelLine;
    QString nameLine;
    QString resultLine;
    QString pointsLine;
    QString levelCounter;
    QString dayCounter;
    QString recordMessage; // empty: no record message to show
    bool bannerShown = false;
    QList<Sound> sounds;
};

// The judgement of the run in the shared state (currentLevel, studentNo,
// resultTime), from the aggregates, criteria, server figures and best-time flags
// as they stand. Changes nothing.
Judgement judgeRun(const SharedState& state);

// The online part's texts from the student's online figures at the current level.
struct OnlineLines {
    QString worldRankLine;
    QString pointsTotalLine;
    QString runsTotalLine;
    // The online clear message shows; otherwise it and the last-level banner hide.
    bool clearShown = false;
};
OnlineLines onlineLines(const SharedState& state, const ranking::OnlineFigures& figures);

// Whether the student should go on to the next level or may repeat this one.
struct Advice {
    enum class Line { Unchanged, Show, Hide };
    Line line = Line::Unchanged;
    QString text; // the advice line's text when it is shown or hidden
    bool againShown = true;
};
Advice adviceFor(const SharedState& state);

// The finish sequence with its outside effects: aggregation, cues, requests
// sent and pages read. Offline (no server configured) no request is attempted.
class FinishSequence {
public:
    struct Services {
        ResultsStore& results;
        Cues& cues;
        RequestSender& sender;
        PageReader& reader;
        const Clock& clock;
    };

    FinishSequence(SharedState& state, Services services);

    // Recomputes the aggregates, judges the run and sends the upload.
    Judgement judge();
    // Plays the judgement's sounds, then clears the best-time flags, so that a
    // later judgement shows no record message.
    void celebrate(const Judgement& judgement);

    // The online ranking page of the level, or the offline notice.
    QString rankingPageAddress() const;
    // Reads the student's recent days from the server and sends them back with
    // today as day 1. Nothing is sent when the page carried no recent days.
    void updateRecentDays();
    // Reads the student's online figures at a level.
    ranking::OnlineFigures readFigures(int level);
    // The online lines of the current level; when the online total reaches the
    // level's clear points, sends the clear notifications for school and home.
    OnlineLines applyOnlineFigures(const ranking::OnlineFigures& figures);

    Advice advice() const { return adviceFor(state_); }

    // The recent results page at school or at home, or the offline notice.
    QString recentResultsAddress(ranking::Place place) const;

private:
    void send(const QString& address);

    SharedState& state_;
    Services services_;
};

} // namespace kavoret::finish
