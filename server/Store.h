#pragma once

#include "frame/Result.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace kavoret::server {

// Where a student's figures are kept: school, place (0 at school, 1 at home),
// student, program (catalogue number) and level.
struct PlaceKey {
    QString school;
    int athome = 0;
    int student = 0;
    int soft = 0;
    int level = 0;
};

// One upload of a finished run: the student's totals at the place, as the
// program counts them, with who sent them and when.
struct Upload {
    PlaceKey key;
    QString schoolName;
    QString studentName;
    int birthYear = 0;
    int softGroup = 0;
    QString softName;
    QString runDate; // yyyy-MM-dd
    QString runTime; // HH:mm:ss
    qint64 points = 0;
    qint64 runs = 0;
    qint64 bestTime = 0; // 99999 when the student has no valid time
};

struct PlaceTotals {
    qint64 points = 0;
    qint64 runs = 0;
    qint64 bestTime = 0;
    QString runDate;
    QString runTime;
};

// One of the student's recent days, newest first in a list.
struct StoredDay {
    QString date; // yyyy-MM-dd
    double runs = 0;
    double points = 0;
    double time = 0;
};

// A student's place among all students of all schools on a program and level,
// by points over school and home together.
struct Standing {
    int rank = 0;
    QString school;
    int student = 0;
    QString schoolName;
    QString studentName;
    qint64 points = 0;
    qint64 runs = 0;
    qint64 bestTime = 0;
};

struct WorldRanking {
    int students = 0;              // students ranked on the program and level
    std::vector<Standing> leaders; // the first ones, best first
};

struct StudentInfo {
    QString schoolName;
    QString studentName;
    int birthYear = 0;
};

// A student's figures and pass on one program and level.
struct LevelRecord {
    int soft = 0;
    int level = 0;
    qint64 points = 0; // school and home together
    qint64 runs = 0;
    bool passed = false;
    QString passedDate; // yyyy-MM-dd of the first pass
};

// A student of a school who passed a program's level.
struct PassEntry {
    int student = 0;
    QString studentName;
    int soft = 0;
    int level = 0;
    QString passedDate;
};

// What the server keeps. Every operation may be called from several threads at
// once; an implementation serialises what must be serialised. Values reach the
// database only as bound parameters.
class Store {
public:
    virtual ~Store() = default;

    // Stores the student's names and the totals at the place, replacing the
    // previous totals (the program sends totals, not increments).
    virtual Status upload(const Upload& upload) = 0;
    // Stores or withdraws the pass of the place; the date of the first pass stays.
    virtual Status setPass(const PlaceKey& key, bool passed, const QString& date) = 0;
    // Replaces the recent days of the place (newest first, at most ten).
    virtual Status replaceRecentDays(const PlaceKey& key, const std::vector<StoredDay>& days) = 0;

    virtual Result<std::optional<PlaceTotals>> totals(const PlaceKey& key) = 0;
    virtual Result<std::vector<StoredDay>> recentDays(const PlaceKey& key) = 0;
    virtual Result<WorldRanking> worldRanking(int soft, int level, int leaders) = 0;
    virtual Result<std::optional<Standing>> standing(int soft, int level, const QString& school,
                                                     int student) = 0;
    virtual Result<std::optional<StudentInfo>> student(const QString& school, int student) = 0;
    // The latest school name sent for the school, empty when none.
    virtual Result<QString> schoolName(const QString& school) = 0;
    // The title the program sent with its last upload, empty when none.
    virtual Result<QString> softName(int soft) = 0;
    // Every program and level the student has figures or a pass on.
    virtual Result<std::vector<LevelRecord>> studentLevels(const QString& school, int student) = 0;
    // Every pass of the school's students, by program, level and date.
    virtual Result<std::vector<PassEntry>> schoolPasses(const QString& school) = 0;
};

// Opens the store a --database value names: a postgresql:// (or postgres://)
// connection URI, otherwise the path of an SQLite file, created when missing.
Result<std::unique_ptr<Store>> openStore(const QString& database);

// The --database value as messages show it: a URI without its password.
QString databaseForMessages(const QString& database);

} // namespace kavoret::server
