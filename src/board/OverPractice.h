#pragma once

#include "frame/Result.h"
#include "frame/SharedState.h"

#include <QDate>
#include <QString>
#include <vector>

namespace kavoret::board {

inline const QString kUnlockFilePrefix = QStringLiteral("やりすぎ禁止解除");

// What a level's column shows in place of its start button.
struct LevelGate {
    bool buttonVisible = true;
    bool noticeVisible = false;
    QString notice;
};

// One evaluation of the four point limits of the logged-in student for levels
// 1..levelCount (gates indexed 1..levelCount, [0] unused; resized when shorter).
// Every limit reached on a level other than the last hides its button and shows
// its notice, the last one reached naming it. A level whose button is visible
// afterwards loses its unlock flag; an unlocked level shows its button again.
// The caller keeps the gates between evaluations: a button hidden by a ban
// stays hidden until an unlock shows it.
void evaluateLimits(SharedState& state, std::vector<LevelGate>& gates);

// "日" today "/" day limit " 週" 7 days "/" week limit " 月" 30 days "/" month limit.
QString limitsText(const SharedState& state, int level);

// This month's unlock password of a student and level: six digits
// (100000..999999), different for every student, level, month and program.
long long unlockPassword(int student, int year, int month, int level, int catalogueNumber);

// The number at the start of a text (blanks before it skipped; sign, digits
// and a decimal point), 0 when there is none.
double leadingNumber(const QString& text);

// dataFolder & "やりすぎ禁止解除" & studentNo & ".csv".
QString unlockFilePath(const SharedState& state);

// At the board's load: creates the student's unlock file when it is missing,
// reads it (one line per level: flag and accepted value) and keeps the flags
// whose value is this month's password; every other flag is cleared. A file
// that cannot be read or is malformed gives an error naming the file and the
// problem, and then every flag is cleared.
Status loadUnlocks(SharedState& state, const QDate& today);

// The teacher's entry for a banned level. A correct password sets the level's
// flag and accepted value and rewrites the file whole (one line per level):
// true. A wrong or empty entry changes nothing: false. When the file cannot be
// written the error is returned and nothing is changed.
Result<bool> tryUnlock(SharedState& state, int level, const QString& entered, const QDate& today);

} // namespace kavoret::board
