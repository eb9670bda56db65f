#pragma once

// A small shared state for the board's logic: a roster whose students are
// added one by one, four levels and a logged-in student.

#include "frame/JapaneseDate.h"
#include "frame/SharedState.h"
#include "roster/Roster.h"

#include <QDate>
#include <QTime>
#include <memory>

namespace kavoret::test {

inline const QDate kBoardToday(2026, 12, 11);      // a Friday
inline constexpr double kBoardSerialToday = 46367; // serialDay(kBoardToday)
inline constexpr int kBoardSchoolYear = 2026;

// The birth year of a student in this grade in the school year 2026.
inline int birthYearForGrade(int grade) {
    return kBoardSchoolYear - 6 - grade;
}

class BoardTestState {
public:
    BoardTestState() : state_(std::make_unique<SharedState>()) {
        SharedState& s = *state_;
        s.profile.levelCount = 4;
        s.profile.catalogueNumber = 801;
        s.roster.schoolYear = kBoardSchoolYear;
        s.criteria.targetTimes.fill(60);
    }

    SharedState& operator*() { return *state_; }
    SharedState* operator->() { return state_.get(); }

    // Adds an active roster entry (the name stored 20 characters wide).
    void addStudent(int number, const QString& name, int grade) {
        RosterState& roster = state_->roster;
        roster.count += 1;
        roster.listNumbers[static_cast<std::size_t>(roster.count)] = number;
        roster.names[static_cast<std::size_t>(number)] = roster::fixedWidth(name);
        roster.birthYears[static_cast<std::size_t>(number)] = birthYearForGrade(grade);
    }

    void logIn(int number) { state_->student.studentNo = number; }

    // A loaded run, days before today, at the clock time given.
    void addRun(int student, int level, int seconds, int daysBack = 0, QTime clock = QTime(12, 0)) {
        LoadedRecord record;
        record.date = kBoardSerialToday - daysBack;
        record.clock = clock.msecsSinceStartOfDay() / 86400000.0;
        record.student = student;
        record.level = level;
        record.seconds = seconds;
        state_->results.loadedRecords.push_back(record);
    }

private:
    std::unique_ptr<SharedState> state_;
};

} // namespace kavoret::test
