#pragma once

#include "frame/SharedState.h"

#include <QString>
#include <QStringList>

namespace kavoret::roster {

class ListOrder;

// Which two figures the name list shows.
enum ListMode : int {
    kRunsTodayAndSoFar = 0,   // "回数(今日／今まで）"
    kPointsTodayAndSoFar = 1, // "ポイント（今日／今まで）"
    kTodayPointsAndRuns = 2,  // "本日（ポイント／回数）"
    kSoFarPointsAndRuns = 3,  // "今まで（ポイント／回数）"
};

inline const QString kSeparatorEntry = QStringLiteral("－－－－－－");
inline const QString kChoosePrompt = QStringLiteral("あなたの名前を選んでネ");

// A student's figures, each summed over levels 1..100.
struct StudentFigures {
    double runsToday = 0;
    long long pointsToday = 0;
    long long runsSoFar = 0;
    long long pointsSoFar = 0;
};

StudentFigures figuresOf(const AggregateState& aggregates, int student);

// The figure texts of the list. Each keeps its width whatever the value:
// runs today "  5回" or five blanks, points today "  12" or "  　", runs so
// far "   37回" or five blanks and a full-width blank, points so far
// "   1234" or seven blanks. Values longer than the field keep their last digits.
QString runsTodayText(double sum);
QString pointsTodayText(long long sum);
QString runsSoFarText(long long sum);
QString pointsSoFarText(long long sum);

// The first and second figure of a list mode, joined by "/".
QString figurePair(int listMode, const StudentFigures& figures);

// Width on a monospace Japanese font, in half-width cells: 2 for wide,
// full-width and East-Asian-ambiguous characters (above Latin-1), else 1.
int displayWidth(const QString& text);

// The half-width label, a blank and the name (without surrounding blanks),
// filled up to the figure column. The column lies 9 characters from the start
// of the label, 11 for kindergarten grades (0 and below), counted in
// full-width characters: the name's field is 12 cells (16 in kindergarten).
// The filler is full-width blanks, and one blank when a half-width character
// leaves an odd cell over, so the figures line up. A name wider than its field
// is cut after its last character that fits.
QString nameColumn(const QString& name, int grade);

// The line of one student in the hidden sorted list: the four digits of the
// birth year, the name column, the two figures and "*" with the roster number.
// Sorted, the lines run by birth year, then grade label, then name.
QString listLine(const RosterEntry& entry, int schoolYear, int listMode,
                 const StudentFigures& figures);

// What the visible list shows of a line: from its 5th character up to the "*".
QString visiblePart(const QString& line);
// The roster number at the end of a line: the text after its "*".
QString numberPart(const QString& line);

// The three lists of the name selection screen.
struct NameList {
    QStringList allLines;     // every active student, sorted (List2)
    QStringList visible;      // visible parts of the chosen class, after the separator (List1)
    QStringList visibleLines; // the full lines of those entries, same order (List3)
};

// Builds the lists from the loaded roster and the aggregate figures; the
// class filter uses the grade of each line's birth year.
NameList buildNameList(const RosterState& roster, const AggregateState& aggregates, int listMode,
                       const QString& chosenClass, const ListOrder& order);

// Texts of the chosen-name label: a click shows the first 10 characters of the
// visible entry, a double click its text before "/"; blanks at both ends are
// removed.
QString clickedNameText(const QString& visibleEntry);
QString doubleClickedNameText(const QString& visibleEntry);

} // namespace kavoret::roster
