#pragma once

#include "frame/LevelStudentTable.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace kavoret {

template <typename T> using PerLevel = std::array<T, kLevelSlots>;
template <typename T> using PerStudent = std::vector<T>; // sized kStudentSlots

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The program profile and level table.
struct ProfileState {
    QString programTitle;
    QString productPageUrl;
    int catalogueNumber = 0;
    QString catalogueNumberList;
    int levelCount = 0;
    int levelCountAtLogin = 0;
    PerLevel<QString> levelNames{};
    PerLevel<int> levelDefined{};
};

// Folder layout; every folder ends in the path separator.
struct FolderState {
    QString appFolder;
    QString rootFolder;
    QString programFolderName;
    QString dataFolder;
    QString soundFolder;
};

// Shared settings of the family.
struct SettingsState {
    int schoolYearStartMonth = 0;
    int includeStatus2 = 0;
    // Number or text as read, held as the text shown and sent: an unquoted
    // number in the settings file as the number ("0012" is "12").
    QString schoolName;
    QString schoolNumber;
    int homeMode = 0;
    Rgb seasonColour;
    // Address of the ranking server, empty when the program runs offline.
    QString rankingServer;
};

// The per-level criteria table; entry 0 holds the header line.
struct CriteriaState {
    PerLevel<int> targetTimes{};
    PerLevel<int> minimumTimes{};
    PerLevel<int> clearPoints{};
    PerLevel<int> clearCounts{};
    PerLevel<float> pointRates{};
    PerLevel<double> stopCounts{};
    PerLevel<double> stopPoints{};
    PerLevel<double> judgeDays{};
    PerLevel<double> stopDays{};
    std::array<PerLevel<QString>, 3> spareColumns{};
};

struct RosterEntry {
    int number = 0;
    int birthYear = 0;
    int extra1 = 0;
    int extra2 = 0;
    QString name;   // exactly 20 characters
    QString extra3; // exactly 20 characters
    QString extra4; // exactly 20 characters
};

// The loaded roster; by-number arrays are indexed by roster number.
struct RosterState {
    int schoolYear = 0;
    std::vector<RosterEntry> records; // active entries in file order
    int count = 0;
    PerStudent<int> listNumbers = PerStudent<int>(kStudentSlots, 0);
    PerStudent<QString> names = PerStudent<QString>(kStudentSlots);
    PerStudent<int> birthYears = PerStudent<int>(kStudentSlots, 0);
    PerStudent<QString> gradeLabels = PerStudent<QString>(kStudentSlots);
};

// The logged-in student.
struct StudentState {
    int studentNo = 0;
    QString studentName;
    QString studentGradeLabel;
    int loginTime = 0; // seconds since midnight
};

// Runs loaded from the results file, with the best times.
struct LoadedRecord {
    double date = 0;  // days since 1899-12-30
    double clock = 0; // fraction of a day
    int student = 0;
    int level = 0;
    int seconds = 0;
    int storedPoints = 0;
};

struct ResultsState {
    std::vector<LoadedRecord> loadedRecords; // the newest kept records, oldest first
    LevelStudentTable<int> bestTimes;        // kNoBestTime when none
    PerLevel<int> levelBestTimes{};
    int clearedBefore = 0;
    int newPersonalBest = 0;
    int newLevelBest = 0;
};

// Every per-(level, student) figure, recomputed from the results file.
struct AggregateState {
    LevelStudentTable<std::int16_t> validRunCounts;
    LevelStudentTable<std::int32_t> pointTotals;
    LevelStudentTable<std::int16_t> judgeRunCounts;
    LevelStudentTable<std::int32_t> judgePointTotals;
    LevelStudentTable<std::int16_t> stopRunCounts;
    LevelStudentTable<std::int32_t> stopPointTotals;
    LevelStudentTable<double> weekPointTotals;
    LevelStudentTable<double> monthPointTotals;
    LevelStudentTable<double> halfYearPointTotals;
    LevelStudentTable<float> todayRunCounts;
    LevelStudentTable<std::int32_t> todayPointTotals;
    LevelStudentTable<float> todayTimeSums;
};

// Per-level figures announced by the ranking server.
struct ServerLevelState {
    PerLevel<double> referenceTimes{};
    PerLevel<double> levelClearPoints{};
    std::array<PerLevel<double>, 4> levelPointLimits{}; // day, week, month, half-year
};

// A drill run and what it hands to the finish screen.
struct RunState {
    int currentLevel = 0;
    int timeLimitSeconds = 0;
    int elapsedSeconds = 0;
    int resultTime = 0;
    int runEndReason = 0; // 0 = completed, 1 = time limit reached
    int questionsPerRun = 0;
    int questionsDone = 0;
    int runFinished = 0;
    int finishing = 0;
    int judgeResult = 0;
    int runStartTimer = 0;
    int todayRunTotal = 0;
};

constexpr int kCueCount = 10;
constexpr int kCueRows = 20;

// One cue of the cue table (the cue numbers themselves are the Cue enum of frame/Cues.h).
struct CueEntry {
    QString name;
    std::array<QString, kCueRows + 1> files{}; // rows 1..20
    QString count;                             // empty: the cue has no count
};

struct SoundState {
    std::array<CueEntry, kCueCount + 1> cues{}; // cues 1..10
    int soundFailures = 0;
};

// The teacher's over-practice unlocks of the logged-in student, per level.
struct BoardState {
    PerLevel<int> unlockFlags{};     // 1 while an unlock is in force
    PerLevel<QString> unlockCodes{}; // the password value accepted, or empty
};

// Everything that outlives one screen. main() makes one and hands it by
// reference to every screen.
struct SharedState {
    ProfileState profile;
    FolderState folders;
    SettingsState settings;
    CriteriaState criteria;
    RosterState roster;
    StudentState student;
    ResultsState results;
    AggregateState aggregates;
    ServerLevelState server;
    RunState run;
    SoundState sound;
    BoardState board;
};

} // namespace kavoret
