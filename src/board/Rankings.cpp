#include "board/Rankings.h"

#include "board/LineParts.h"
#include "results/LoadedResults.h"
#include "roster/ListOrder.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <numeric>

namespace kavoret::board {
namespace {

const QString kRankingNameFiller = QStringLiteral("　　　　　　");
const QString kNoRunRank = QStringLiteral("--");
const QString kNoRunTime = QStringLiteral("------");
const QString kOnlyFailed = QStringLiteral("*失敗*");

// Ranks from 100 on have no room in the two-character rank field.
constexpr int kFirstUnshownRank = 100;

void mergeSort(std::size_t lo, std::size_t hi, std::span<int> keys, std::span<int> students,
               std::vector<int>& leftKeys, std::vector<int>& leftStudents) {
    if (lo >= hi)
        return;
    const std::size_t mid = (lo + hi) / 2;
    mergeSort(lo, mid, keys, students, leftKeys, leftStudents);
    mergeSort(mid + 1, hi, keys, students, leftKeys, leftStudents);

    const std::size_t leftCount = mid - lo + 1;
    std::copy_n(keys.begin() + static_cast<std::ptrdiff_t>(lo), leftCount, leftKeys.begin());
    std::copy_n(students.begin() + static_cast<std::ptrdiff_t>(lo), leftCount,
                leftStudents.begin());
    std::size_t left = 0;
    std::size_t right = mid + 1;
    std::size_t out = lo;
    while (left < leftCount && right <= hi) {
        // Only a smaller left key goes first; on equal keys the right entry does.
        if (leftKeys[left] < keys[right]) {
            keys[out] = leftKeys[left];
            students[out] = leftStudents[left];
            ++left;
        } else {
            keys[out] = keys[right];
            students[out] = students[right];
            ++right;
        }
        ++out;
    }
    // Right entries that remain are already in place.
    for (; left < leftCount; ++left, ++out) {
        keys[out] = leftKeys[left];
        students[out] = leftStudents[left];
    }
}

// A point key, kept within the 32-bit range the keys have.
int pointKey(long long first, long long second) {
    const long long key = 1000000LL - 1000LL * first - second;
    return static_cast<int>(std::clamp<long long>(key, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

// One ranking line, written into a fixed buffer and made a text at the end:
// one allocation a line. Every piece is short (the longest line has 17
// characters); anything beyond the buffer is dropped.
class LineWriter {
public:
    void add(QStringView text) {
        const auto take = std::min<qsizetype>(text.size(), kCapacity - size_);
        std::copy_n(text.utf16(), take, buffer_ + size_);
        size_ += take;
    }
    void add(char16_t c) { add(QStringView(&c, 1)); }

    // The last `width` characters of (`blanks` blanks & the value in decimal).
    void addLastOfPadded(long long value, int blanks, int width) {
        char16_t digits[48];
        const int end = 48;
        int begin = end;
        unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value);
        do {
            digits[--begin] = static_cast<char16_t>(u'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0)
            digits[--begin] = u'-';
        for (int i = 0; i < blanks; ++i)
            digits[--begin] = u' ';
        const int take = std::min(width, end - begin);
        add(QStringView(digits + end - take, take));
    }

    QString text() const { return QString(reinterpret_cast<const QChar*>(buffer_), size_); }

private:
    static constexpr qsizetype kCapacity = 64;
    char16_t buffer_[kCapacity];
    qsizetype size_ = 0;
};

QString withoutTrailingBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.left(end);
}

} // namespace

void rankMergeSort(std::span<int> keys, std::span<int> students) {
    const std::size_t count = std::min(keys.size(), students.size());
    if (count < 2)
        return;
    std::vector<int> leftKeys(count / 2 + 1);
    std::vector<int> leftStudents(count / 2 + 1);
    mergeSort(0, count - 1, keys, students, leftKeys, leftStudents);
}

RankingBuilder::RankingBuilder(const SharedState& state) : state_(state) {
    const RosterState& roster = state.roster;
    const int count = std::clamp(roster.count, 0, kMaxStudent);
    students_.reserve(static_cast<std::size_t>(count));
    for (int k = 1; k <= count; ++k) {
        const int student = roster.listNumbers[static_cast<std::size_t>(k)];
        if (student >= 0 && student <= kMaxStudent)
            students_.push_back(student);
    }
    grades_.reserve(students_.size());
    markName_.reserve(students_.size());
    for (int student : students_) {
        const int grade = detail::gradeOfStudent(state, student);
        grades_.push_back(grade);
        markName_.push_back(
            detail::markOf(state, student, grade) +
            detail::name5(withoutTrailingBlanks(roster.names[static_cast<std::size_t>(student)]),
                          kRankingNameFiller));
    }

    // Lines of equal rank follow each other in the text order of mark and name;
    // that order is found once here, so a build orders them by an integer.
    const roster::ListOrder order;
    std::vector<std::size_t> byText(students_.size());
    std::iota(byText.begin(), byText.end(), std::size_t{0});
    std::stable_sort(byText.begin(), byText.end(), [&](std::size_t a, std::size_t b) {
        return order(markName_[a], markName_[b]);
    });
    textOrder_.assign(students_.size(), 0);
    int place = 0;
    for (std::size_t i = 0; i < byText.size(); ++i) {
        if (i > 0 && order.compare(markName_[byText[i - 1]], markName_[byText[i]]) != 0)
            ++place;
        textOrder_[byText[i]] = place;
    }
}

RankedList RankingBuilder::build(int level, RankingKind kind, const QString& className) const {
    RankedList ranked;
    if (level < 1 || level > kMaxLevel)
        return ranked;
    const AggregateState& aggregates = state_.aggregates;
    const LevelStudentTable<int>& bestTimes = state_.results.bestTimes;
    const std::size_t count = students_.size();

    // Sorted together: the keys and, as the entry's student, its position in students_.
    std::vector<int> keys(count);
    std::vector<int> positions(count);
    for (std::size_t k = 0; k < count; ++k) {
        const int student = students_[k];
        const long long total = aggregates.pointTotals.at(level, student);
        const long long today = aggregates.todayPointTotals.at(level, student);
        switch (kind) {
        case RankingKind::BestTime:
            keys[k] = bestTimes.at(level, student);
            break;
        case RankingKind::PointsSoFar:
            keys[k] = pointKey(total, today);
            break;
        case RankingKind::PointsToday:
            keys[k] = pointKey(today, total);
            break;
        }
        positions[k] = static_cast<int>(k);
    }
    rankMergeSort(keys, positions);

    // What equal ranks share: the time, the points so far or today's points.
    auto comparisonValue = [&](std::size_t k) -> long long {
        const int student = students_[static_cast<std::size_t>(positions[k])];
        switch (kind) {
        case RankingKind::PointsSoFar:
            return aggregates.pointTotals.at(level, student);
        case RankingKind::PointsToday:
            return aggregates.todayPointTotals.at(level, student);
        case RankingKind::BestTime:
            break;
        }
        return keys[k];
    };

    struct Entry {
        int group; // 0 ranks 1..99, 1 ranks from 100 on, 2 no run
        int rank;
        int textOrder;
        int position;
        int key;
    };
    std::vector<Entry> entries;
    entries.reserve(count);
    detail::ClassFilter filter(className);
    int rank = 1;
    long long previous = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const long long value = comparisonValue(k);
        if (k > 0 && value != previous)
            rank = static_cast<int>(k) + 1;
        previous = value;

        const auto position = static_cast<std::size_t>(positions[k]);
        if (!filter.passes(grades_[position]))
            continue;
        if (kind == RankingKind::PointsToday &&
            aggregates.todayPointTotals.at(level, students_[position]) == 0)
            continue;
        int group = rank < kFirstUnshownRank ? 0 : 1;
        if (kind == RankingKind::BestTime && keys[k] >= results::kNoBestTime)
            group = 2;
        entries.push_back({group, rank, textOrder_[position], positions[k], keys[k]});
    }

    auto lineOf = [&](const Entry& entry) {
        const auto position = static_cast<std::size_t>(entry.position);
        const int student = students_[position];
        const QString& markName = markName_[position];
        const QString& mark2 =
            student == state_.student.studentNo ? detail::kOwnMark : detail::kFullWidthBlank;
        LineWriter line;
        if (kind == RankingKind::BestTime) {
            if (entry.key >= results::kNoBestTime) {
                line.add(kNoRunRank);
                line.add(markName);
                line.add(kNoRunTime);
            } else {
                line.addLastOfPadded(entry.rank, 1, 2);
                line.add(markName);
                if (entry.key == results::kOnlyFailedRuns)
                    line.add(kOnlyFailed);
                else
                    line.addLastOfPadded(entry.key, 4, 6);
            }
            line.add(u' ');
            line.add(mark2);
        } else {
            line.addLastOfPadded(entry.rank, 1, 2);
            line.add(markName);
            line.addLastOfPadded(aggregates.todayPointTotals.at(level, student), 4, 3);
            line.add(u'/');
            line.addLastOfPadded(aggregates.pointTotals.at(level, student), 4, 5);
        }
        return line.text();
    };

    // Students of the same mark and name on the same rank: the rest of the
    // line decides, and lines alike keep the order of the sorted entries.
    std::unique_ptr<roster::ListOrder> order;
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        if (a.group != b.group)
            return a.group < b.group;
        if (a.rank != b.rank)
            return a.rank < b.rank;
        if (a.textOrder != b.textOrder)
            return a.textOrder < b.textOrder;
        if (!order)
            order = std::make_unique<roster::ListOrder>();
        return (*order)(lineOf(a), lineOf(b));
    });

    ranked.lines.reserve(static_cast<qsizetype>(entries.size()));
    ranked.students.reserve(entries.size());
    ranked.ranks.reserve(entries.size());
    for (const Entry& entry : entries) {
        QString line = lineOf(entry);
        if (ranked.studentLine < 0 && line.contains(detail::kOwnMark))
            ranked.studentLine = static_cast<int>(ranked.lines.size());
        ranked.lines.append(std::move(line));
        ranked.students.push_back(students_[static_cast<std::size_t>(entry.position)]);
        ranked.ranks.push_back(entry.group == 2 ? 0 : entry.rank);
    }
    return ranked;
}

int RankedList::lineOf(int student) const {
    const auto found = std::find(students.begin(), students.end(), student);
    return found == students.end() ? -1 : static_cast<int>(found - students.begin());
}

} // namespace kavoret::board
