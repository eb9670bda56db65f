#pragma once

// Pieces of the board's list lines, shared by the listings and the rankings.

#include "frame/SharedState.h"
#include "roster/Roster.h"

#include <QString>
#include <algorithm>
#include <array>

namespace kavoret::board::detail {

inline const QString kOwnMark = QStringLiteral("●");
inline const QString kFullWidthBlank = QStringLiteral("　");

// The levels that have a column: 1..levelCount, never beyond the tables.
inline int shownLevelCount(const SharedState& state) {
    return std::clamp(state.profile.levelCount, 0, kMaxLevel);
}

inline int gradeOfStudent(const SharedState& state, int student) {
    return roster::gradeOf(state.roster.schoolYear, state.roster.birthYears[student]);
}

// "●" for the logged-in student, else the circled grade number (a full-width
// blank for grades outside 1..9).
inline QString markOf(const SharedState& state, int student, int grade) {
    return student == state.student.studentNo ? kOwnMark : roster::circledNumber(grade);
}

// The class filter of one list build. Grades of a roster lie in a narrow
// range, so each grade is asked once and then looked up.
class ClassFilter {
public:
    explicit ClassFilter(const QString& className) : className_(className) { known_.fill(-1); }

    bool passes(int grade) {
        if (grade < kLowest || grade > kHighest)
            return roster::classPasses(className_, grade);
        signed char& known = known_[static_cast<std::size_t>(grade - kLowest)];
        if (known < 0)
            known = roster::classPasses(className_, grade) ? 1 : 0;
        return known == 1;
    }

private:
    static constexpr int kLowest = -64;
    static constexpr int kHighest = 63;
    QString className_;
    std::array<signed char, kHighest - kLowest + 1> known_{};
};

// The last five characters of the text after six blanks: right-aligned in five.
inline QString padRight5(const QString& text) {
    return (QStringLiteral("      ") + text).right(5);
}

// The first five characters of the name followed by the filler.
inline QString name5(const QString& name, const QString& filler) {
    return (name + filler).left(5);
}

} // namespace kavoret::board::detail
