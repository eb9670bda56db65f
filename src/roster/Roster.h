#pragma once

#include "frame/ItemFile.h"
#include "frame/Result.h"
#include "frame/SharedState.h"

#include <QDate>
#include <QString>
#include <vector>

namespace kavoret::roster {

inline const QString kRosterFileName = QStringLiteral("新名簿.txt");
inline constexpr int kItemsPerEntry = 8;
inline constexpr int kTextFieldWidth = 20;
inline constexpr int kMaxActiveEntries = 9999;

// The school year: the calendar year, one less before the month the school
// year starts in.
int schoolYearFor(const QDate& today, int schoolYearStartMonth);

// Grade number of a student: 1..6 primary, 7..9 junior high, 10..12 senior
// high, 0, -1, -2 the kindergarten years 3, 2, 1.
inline int gradeOf(int schoolYear, int birthYear) {
    return schoolYear - birthYear - 6;
}

// The full-width label kept in rosterGradeLabels ("小１"); empty for grades
// outside 0..10, which have none.
QString fullWidthGradeLabel(int grade);
// The half-width label of the lists ("小1"); every grade has one.
QString halfWidthGradeLabel(int grade);

// Whether a grade passes a class name of the class boxes. Unknown names pass nothing.
bool classPasses(const QString& className, int grade);

// "①" to "⑨" for 1..9, a full-width blank for any other value.
QString circledNumber(int n);

// Cut or padded on the right with blanks to exactly width characters.
QString fixedWidth(const QString& text, int width = kTextFieldWidth);

// One entry of the roster file as read, with its status.
struct FileEntry {
    RosterEntry entry;
    int status = 0;
    int ordinal = 0; // 1-based position in the file, for messages
    int line = 0;    // line of its first item
};

// Reads the entries of a roster file's items. Every entry must have eight
// items, numeric fields must read as numbers that fit, and the number must lie
// in 0..9999; the first fault gives an error naming the file and the entry.
Result<std::vector<FileEntry>> parseRosterItems(const QList<Item>& items, const QString& path);

// Applies entries read from the file to the loaded roster: withdrawn entries
// (status other than 0; 2 counts as 0 when includeStatus2 is 1) are left out
// of records but still fill the by-number arrays. More than 9999 active
// entries is an error, and then nothing is changed.
// The full-width labels follow from schoolYear, which becomes the roster's.
Status applyRosterEntries(const std::vector<FileEntry>& entries, int includeStatus2, int schoolYear,
                          const QString& path, RosterState& roster);

// Loads rootFolder & "新名簿.txt" into state.roster, with the school year of
// today. On any error the loaded roster is left as it was.
Status loadRoster(SharedState& state, const QDate& today);

} // namespace kavoret::roster
