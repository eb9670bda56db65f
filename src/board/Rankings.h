#pragma once

#include "frame/SharedState.h"

#include <QString>
#include <QStringList>
#include <span>
#include <vector>

namespace kavoret::board {

// Sorts keys ascending and moves students along: a top-down merge sort that
// splits at (lo + hi) / 2 and, when merging, takes the left part's entry only
// when its key is smaller, so a right-part entry goes before an equal
// left-part one. Equal keys therefore do not keep their order. Both spans must
// have the same size.
void rankMergeSort(std::span<int> keys, std::span<int> students);

enum class RankingKind {
    BestTime,    // by personal best time, shortest first
    PointsSoFar, // by points so far, then today's points
    PointsToday, // by today's points, then points so far; students without any left out
};

struct RankedList {
    QStringList lines;    // in the order shown
    int studentLine = -1; // the first line holding "●" (the logged-in student's), or -1
    // Beside each line: whose it is (roster number) and the rank it shows, 0
    // on a "--" line of a student without a run. A student's line is found by
    // number here; the line itself holds only the first five characters of
    // the name, which another student may share.
    std::vector<int> students;
    std::vector<int> ranks;

    // The index of the student's line, or -1 when the student is not listed.
    int lineOf(int student) const;
};

// The rankings of the board for one login: the roster and the logged-in
// student are fixed for the builder's life, the figures are read at each build.
class RankingBuilder {
public:
    explicit RankingBuilder(const SharedState& state);

    // Ranks every listed student of the roster on the level and lists those of
    // the class. Ranks are positions in the whole sorted list, shared by equal
    // figures, so students left out by the class still take their numbers.
    // Shown order: ranks 1..99 in rank order (equal ranks by mark and name, as
    // a sorted list puts them), then ranks of 100 and more, then the "--" lines
    // of students without a run.
    RankedList build(int level, RankingKind kind, const QString& className) const;

private:
    const SharedState& state_;
    std::vector<int> students_;     // roster numbers in roster order
    std::vector<int> grades_;       // by position in students_
    std::vector<QString> markName_; // mark & name5, by position
    std::vector<int> textOrder_;    // place of markName_ in the list order, equal texts equal
};

} // namespace kavoret::board
