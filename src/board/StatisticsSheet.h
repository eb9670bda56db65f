#pragma once

#include "board/Rankings.h"
#include "frame/Result.h"
#include "frame/SharedState.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace kavoret::board {

// The statistics sheets of the board's panel: for one student and level, the
// runs of the last ten years against the whole school, the time and point
// ranks, and a graph of the student's runs with the curve of personal bests.
//
// Geometry: a sheet is drawn on a surface W wide and H high; d = W / 2 and
// D = H / 3. Every position below is given in those units (x as a fraction of
// d, y as a fraction of D, counted from the top of the sheet's band).

// Runs of the last this many days are on a sheet.
inline constexpr int kSheetPeriodDays = 3650;
// Runs of this many seconds or more are neither counted nor drawn.
inline constexpr int kSheetTimeLimit = 1800;
// The graph's time axis reaches at most this far.
inline constexpr int kSheetAxisCap = 1000;
// The roster file's status of an entry the panel lists.
inline constexpr int kListedStatus = 0;

// One line of the panel's roster list: grade label & " /  " & name & "/" & number.
QString rosterListLine(const QString& gradeLabel, const QString& name, int number);

// The roster number after the last "/" of a roster list line, -1 when there is none.
int rosterListNumber(const QString& line);

// Reads the roster file of the family root again for the panel's list. Every
// entry's name, birth year and (for grades 0 to 10) full-width grade label go
// into the by-number arrays of the roster, the school year is today's; the
// lines of the entries with status 0 come back in list order (status 2 is not
// listed here, whatever the settings say). A missing or malformed file gives
// an error naming the file and the problem, and nothing is changed.
Result<QStringList> reloadRosterList(SharedState& state, const QDate& today);

// The top of the time axis: the next ten seconds above the slowest run, at most 1000.
int axisMaximum(int slowest);

// Where the sheets of one student go, three bands to a page: the band tops run
// 0.05 H, 0.35 H, 0.65 H, and a band that would start below 0.9 H starts a new page.
struct SheetBand {
    int page = 0; // 0 for the first page
    double top = 0;
};
std::vector<SheetBand> layOutBands(int sheetCount, double height);

// What a sheet is made for.
struct SheetRequest {
    int student = 0;                                     // the chosen student's roster number
    int level = 0;                                       // 1..levelCount
    RankingKind pointRanking = RankingKind::PointsSoFar; // the board's point ranking
    QString className;                                   // the board's class filter
    double today = 0;                                    // serial day
};

// A run of the student in the graph.
struct SheetDot {
    double x = 0;
    double y = 0;
    bool personalBest = false; // red, else blue
};

// A personal best: a point of the joined curve.
struct SheetBest {
    double x = 0;
    double y = 0;
    int seconds = 0;
    QString timeText; // seconds & "秒"
    QString dateText; // yyyy/mm/dd
};

// A text written into the graph, its top left corner at (x, y).
struct SheetLabel {
    double x = 0;
    double y = 0;
    QString text;
};

// The first and last lines of the figures beside the graph.
inline constexpr int kFirstFigureLine = 1;
inline constexpr int kLastFigureLine = 10;

struct SheetFigures {
    int level = 0;
    QString header;      // programTitle & " " & the level's name
    QString studentName; // without surrounding blanks; written on a page's first band

    // The student's runs below 1800 seconds in the period.
    int count = 0;
    long long timeSum = 0;
    int slowest = 0;
    int axisMaximum = 10;

    // Everybody's runs of the level in the period.
    long long schoolTimeSum = 0; // of the runs below 1800 seconds
    int schoolCount = 0;
    int schoolBest = 99999; // of every run; 99999 before the first

    std::vector<SheetDot> dots;     // in the order of the runs
    std::vector<SheetBest> bests;   // personal bests 1..C, each faster than the one before
    std::vector<SheetLabel> labels; // axis labels, best times and dates; empty without bests
    std::vector<int> labelledBests; // indexes into bests whose time and date are written
    QString lastPeriodDate;         // yyyy/mm/dd of the newest run of the period, anybody's

    // Ranks as the hidden rankings show them: right-aligned in three
    // characters, "---" for a student without a run, empty when not listed.
    QString timeRank;
    QString pointRank;
    int points = 0;         // the student's points so far, 0 when not listed
    int pointCount = 0;     // listed students with points so far
    long long pointSum = 0; // their points so far

    // lines[1..10]; an empty text is a line left out (lines 5 and 9).
    std::array<QString, kLastFigureLine + 1> lines{};
};

// The last n characters of (six blanks & v), v a whole number rounded; a 0
// gives no digits at all.
QString rightNumber(double value, int width);
// The same for a rank text: a number is written as that number, "---" as it
// stands, an empty rank as nothing.
QString rightRank(const QString& rank, int width);

// The figures of one sheet. Both passes read the same records,
// state.results.loadedRecords (the newest records of the last tally), so every
// dot lies inside the graph however long the results file is. The ranks come
// from the rankings the board shows, found by roster number; only students of
// the class are ranked, and a student outside it gets no dots either.
SheetFigures sheetFigures(const SharedState& state, const RankingBuilder& rankings,
                          const SheetRequest& request);

} // namespace kavoret::board
