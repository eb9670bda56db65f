#pragma once

#include "frame/SharedState.h"
#include "ranking/OnlineFigures.h"

#include <QString>

namespace kavoret::board {

inline const QString kPassedSuffix = QStringLiteral("合格済");
inline const QString kUnlockedCaption = QStringLiteral("やりすぎ禁止一時解除");
inline const QString kNoRunToday = QStringLiteral("-----");
inline const QString kNoServerRun = QStringLiteral("------");
inline const QString kNoWorldRank = QStringLiteral("---");

// The marks of a run count: one "◎" per ten runs, then one "○" per run left.
QString runMarks(int runs);

// "ｽﾀｰﾄ(&n)": the level's digit is the button's access key.
QString startCaption(int level);

// What one level's column shows for the logged-in student: the level, its
// criteria, today's and the judgement period's runs, and the server's figures.
struct ColumnTexts {
    QString levelNumber;   // Label1
    QString levelName;     // Label3 (and its tool tip)
    QString referenceLine; // Label32: the server's reference time and clear points
    QString criteriaLine;  // Label7: the level's pass criteria
    QString todayMarks;    // Label2
    bool ranToday = false; // Label2 green, else grey
    QString judgeMarks;    // Label19
    bool ranInJudgePeriod = false; // Label19 blue, else grey
    QString worldRank;             // Label31
    bool worldRankHighlighted = false; // ranks 1 to 3
    QString todayLine;                 // Label14
    QString serverLine;                // Label15
    bool hasValidRun = false;          // the student has a valid run on the level at all
    bool passed = false; // the server's points (school and home) reach the level's clear points
};

ColumnTexts columnTexts(const SharedState& state, int level, const ranking::OnlineFigures& server);

// The start button's caption after an activation, from the caption it had:
// a passed level gets "合格済" once; an unlocked level reads "やりすぎ禁止一時解除",
// and reads as a start button again once the unlock has lapsed.
QString activatedStartCaption(int level, const QString& caption, bool passed, bool unlocked);

// The caption at load: "　合格済" appended for a level already passed on the server.
QString loadedStartCaption(int level, bool passed);

} // namespace kavoret::board
