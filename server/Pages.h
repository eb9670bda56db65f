#pragma once

#include "Programs.h"
#include "Store.h"

#include <QString>
#include <optional>
#include <vector>

// The pages the server answers with. The pages the program reads carry the
// markers of the ranking contract and nothing a sender could forge; the pages
// the program shows are Japanese HTML in UTF-8, every stored text escaped,
// sized for the program's web views (from about 240 pixels wide).
namespace kavoret::server::pages {

// "SoftInfo_" then the catalogue number, the number of levels and one reference
// time per level, each followed by "_".
QString programInfo(int soft, const Programs& programs);

// The place's points and runs, then the latest day's date ("0000-00-00" when
// none) and date, runs, points and time of days 1..10 (empty days as
// "0000-00-00" and zeros).
QString totals(const std::optional<PlaceTotals>& totals, const std::vector<StoredDay>& days);

// The student's world rank after the student's key; no key when the student has
// no figures on the level.
QString worldRank(const QString& school, int student, const std::optional<Standing>& standing,
                  int students);

// A short text answer to a request that only stores something.
QString stored();

struct RankingView {
    QString programTitle;
    int level = 0;
    LevelSettings settings;
    WorldRanking ranking;
    QString viewerSchool;
    int viewerStudent = 0;
    std::optional<Standing> viewer; // shown below the leaders when not among them
};
QString rankingHtml(const RankingView& view);

struct RecentResultsView {
    QString programTitle;
    int level = 0;
    int athome = 0;
    std::optional<StudentInfo> student;
    std::optional<PlaceTotals> totals;
    std::vector<StoredDay> days;
};
QString recentResultsHtml(const RecentResultsView& view);

struct LevelProgress {
    int level = 0;
    qint64 points = 0;
    int clearPoints = 0;
    bool passed = false;
    QString passedDate;
};
struct ProgramProgress {
    QString title;
    std::vector<LevelProgress> levels;
};
struct PersonalPassView {
    std::optional<StudentInfo> student;
    std::vector<ProgramProgress> programs;
};
QString personalPassHtml(const PersonalPassView& view);

struct LevelPasses {
    int level = 0;
    std::vector<PassEntry> students;
};
struct ProgramPasses {
    QString title;
    std::vector<LevelPasses> levels;
};
struct PassListView {
    QString schoolName;
    int viewerStudent = 0;
    std::vector<ProgramPasses> programs;
};
QString passListHtml(const PassListView& view);

// Escapes a text for HTML element content and attribute values.
QString escaped(const QString& text);

} // namespace kavoret::server::pages
