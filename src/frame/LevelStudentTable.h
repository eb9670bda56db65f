#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace kavoret {

constexpr int kMaxLevel = 100;    // levels 1..100, index 0 unused
constexpr int kMaxStudent = 9999; // roster numbers 0..9999
constexpr int kLevelSlots = kMaxLevel + 1;
constexpr int kStudentSlots = kMaxStudent + 1;

// An index of the per-level tables: the levels and the unused 0.
constexpr bool isLevelIndex(int level) {
    return level >= 0 && level <= kMaxLevel;
}
// One of the levels 1..100.
constexpr bool isLevel(int level) {
    return level >= 1 && level <= kMaxLevel;
}
// A roster number 0..9999.
constexpr bool isRosterNumber(int student) {
    return student >= 0 && student <= kMaxStudent;
}
// Where a run can count: one of the levels, and a roster number.
constexpr bool isRunKey(int level, int student) {
    return isLevel(level) && isRosterNumber(student);
}

// One cell per (level, student): cell = level × 10000 + student, student fastest.
// Dense, so a reset is one fill and a lookup is one multiply-add.
template <typename T> class LevelStudentTable {
public:
    LevelStudentTable() : cells_(static_cast<std::size_t>(kLevelSlots) * kStudentSlots, T{}) {}

    static bool inRange(int level, int student) {
        return isLevelIndex(level) && isRosterNumber(student);
    }
    static std::size_t cell(int level, int student) {
        return static_cast<std::size_t>(level) * kStudentSlots + static_cast<std::size_t>(student);
    }

    T& at(int level, int student) { return cells_[cell(level, student)]; }
    const T& at(int level, int student) const { return cells_[cell(level, student)]; }

    void fill(const T& value) { std::fill(cells_.begin(), cells_.end(), value); }

private:
    std::vector<T> cells_;
};

// An entry as a number, 0 for a (level, student) outside the table: screens and
// requests show the figures of whatever level and student they are given.
template <typename T> double figure(const LevelStudentTable<T>& table, int level, int student) {
    if (!LevelStudentTable<T>::inRange(level, student))
        return 0;
    return static_cast<double>(table.at(level, student));
}

} // namespace kavoret
