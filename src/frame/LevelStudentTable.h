#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>

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

// One entry per (level, student). Each level's row of 10000 students is one
// plain array, made when the first entry of that level is written and kept
// from then on: a program with a few levels holds a few rows instead of 101,
// and nothing is allocated before the first write. An entry of a level never
// written reads as the table's fill value. A reset is one fill of each row
// made so far; a lookup is a row check and an index.
template <typename T> class LevelStudentTable {
public:
    LevelStudentTable() = default;
    // The tables are shared state: one of each, never copied.
    LevelStudentTable(const LevelStudentTable&) = delete;
    LevelStudentTable& operator=(const LevelStudentTable&) = delete;

    static bool inRange(int level, int student) {
        return isLevelIndex(level) && isRosterNumber(student);
    }

    // Reading never makes a row.
    const T& at(int level, int student) const {
        const T* row = rows_[static_cast<std::size_t>(level)].get();
        return row ? row[student] : fillValue_;
    }
    // Writing access makes the level's row, filled with the fill value.
    T& at(int level, int student) { return row(level)[student]; }

    // Sets every entry, of the rows made so far and of those still to come.
    void fill(const T& value) {
        fillValue_ = value;
        for (const std::unique_ptr<T[]>& made : rows_)
            if (made)
                std::fill_n(made.get(), kStudentSlots, value);
    }

    // Rows made so far (for memory checks and benchmarks).
    int rowsMade() const {
        return static_cast<int>(std::count_if(
            rows_.begin(), rows_.end(), [](const std::unique_ptr<T[]>& r) { return bool(r); }));
    }

private:
    T* row(int level) {
        std::unique_ptr<T[]>& made = rows_[static_cast<std::size_t>(level)];
        if (!made) {
            made = std::make_unique_for_overwrite<T[]>(kStudentSlots);
            std::fill_n(made.get(), kStudentSlots, fillValue_);
        }
        return made.get();
    }

    std::array<std::unique_ptr<T[]>, kLevelSlots> rows_{};
    T fillValue_{};
};

// An entry as a number, 0 for a (level, student) outside the table: screens and
// requests show the figures of whatever level and student they are given.
template <typename T> double figure(const LevelStudentTable<T>& table, int level, int student) {
    if (!LevelStudentTable<T>::inRange(level, student))
        return 0;
    return static_cast<double>(table.at(level, student));
}

} // namespace kavoret
