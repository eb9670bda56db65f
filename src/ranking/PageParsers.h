#pragma once

#include "frame/SharedState.h"
#include "frame/Text.h"
#include "ranking/RankingRequests.h"

#include <QString>

namespace kavoret::ranking {

// 1-based position of the first occurrence of marker at or after start, or 0.
// Any start, even one outside the text, is safe.
qsizetype find(const QString& text, const QString& marker, qsizetype start);

// The numeric value of a server value: its leading decimal number, 0 when none.
double numericValue(const QString& text);

// Numbers are written into texts and requests as everywhere in the program.
using kavoret::decimalText;

// A value the server wraps as marker, value, "<".
struct MarkedValue {
    bool found = false;
    QString value;
    qsizetype end = 0; // 1-based position of the "<" closing the value
};

// The first marker at or after start and the text up to the next "<". A marker
// without a "<" after it counts as not found.
MarkedValue markedValue(const QString& text, const QString& marker, qsizetype start);

// The student's points and runs from a totals page: the values after the first
// and the second "###". A value not found is "0".
struct Totals {
    QString points = QStringLiteral("0");
    QString runs = QStringLiteral("0");
};
Totals parseTotals(const QString& page);

// The student's world rank from the world ranking page: after the key
// ">" school "_" student "<", the number between the next two "*"; 0 when the
// key or either "*" is missing.
double parseWorldRank(const QString& page, const QString& schoolNumber, int studentNo);

// The recent days from their page: "***" date "<" of the latest day, then date,
// runs, points and time of days 1..10, each as "***" value "<". Values past the
// last marker stay empty.
RecentDays parseRecentDays(const QString& page);

// Reads the program-information page ("_"-separated: two leading values, then
// one reference time per level) into referenceTimes; then every level 1..60
// whose reference time is 0 gets 50 and clear points 150. An empty or
// malformed page changes no reference time but still sets those defaults.
void applyProgramInfo(const QString& page, ServerLevelState& server);

} // namespace kavoret::ranking
