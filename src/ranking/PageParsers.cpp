#include "ranking/PageParsers.h"

#include "ranking/RankingContract.h"

#include <cmath>

namespace kavoret::ranking {

qsizetype find(const QString& text, const QString& marker, qsizetype start) {
    if (start < 1)
        start = 1;
    if (start > text.size())
        return 0;
    const qsizetype index = text.indexOf(marker, start - 1);
    return index < 0 ? 0 : index + 1;
}

double numericValue(const QString& text) {
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    if (end < trimmed.size() && (trimmed[end] == u'-' || trimmed[end] == u'+'))
        ++end;
    bool digits = false;
    while (end < trimmed.size() && trimmed[end].isDigit() && trimmed[end].unicode() < 128) {
        ++end;
        digits = true;
    }
    if (end < trimmed.size() && trimmed[end] == u'.') {
        ++end;
        while (end < trimmed.size() && trimmed[end].isDigit() && trimmed[end].unicode() < 128) {
            ++end;
            digits = true;
        }
    }
    return digits ? trimmed.left(end).toDouble() : 0.0;
}

MarkedValue markedValue(const QString& text, const QString& marker, qsizetype start) {
    const qsizetype at = find(text, marker, start);
    if (at == 0)
        return {};
    // The value begins right after the marker; an empty value ends at once.
    const qsizetype first = at + marker.size();
    const qsizetype end = find(text, kValueEnd, first);
    if (end == 0)
        return {};
    return {true, text.mid(first - 1, end - first), end};
}

Totals parseTotals(const QString& page) {
    const QString& marker = kTotalsMarker;
    Totals totals;
    const MarkedValue points = markedValue(page, marker, 1);
    if (!points.found)
        return totals;
    totals.points = points.value;
    const MarkedValue runs = markedValue(page, marker, points.end + 1);
    if (runs.found)
        totals.runs = runs.value;
    return totals;
}

double parseWorldRank(const QString& page, const QString& schoolNumber, int studentNo) {
    const QString key = worldRankKey(schoolNumber, studentNo);
    const qsizetype at = find(page, key, 1);
    if (at == 0)
        return 0;
    const QString& star = kWorldRankStar;
    const qsizetype open = find(page, star, at + key.size());
    if (open == 0)
        return 0;
    const qsizetype close = find(page, star, open + 1);
    if (close == 0)
        return 0;
    return numericValue(page.mid(open, close - open - 1));
}

RecentDays parseRecentDays(const QString& page) {
    const QString& marker = kRecentDaysMarker;
    RecentDays recent;
    MarkedValue value = markedValue(page, marker, 1);
    if (!value.found)
        return recent;
    recent.found = true;
    recent.latestDate = value.value;
    qsizetype next = value.end + 1;
    for (StoredDay& day : recent.days) {
        for (QString* field : {&day.date, &day.runs, &day.points, &day.time}) {
            value = markedValue(page, marker, next);
            if (!value.found)
                return recent;
            *field = value.value;
            next = value.end + 1;
        }
    }
    return recent;
}

void applyProgramInfo(const QString& page, ServerLevelState& server) {
    const QString& separator = kProgramInfoSeparator;
    qsizetype begin = find(page, separator, 1);
    if (begin > 0) {
        // Two leading values (-1 and 0), then the reference times of levels 1, 2, …
        // The "_" ending a value is searched from two characters after the "_"
        // beginning it, so a value always has at least one character.
        for (int value = -1; value <= kMaxLevel; ++value) {
            const qsizetype end = find(page, separator, begin + 2);
            if (end == 0)
                break;
            if (value >= 1)
                server.referenceTimes[static_cast<std::size_t>(value)] =
                    numericValue(page.mid(begin, end - begin - 1));
            begin = end;
        }
    }
    for (int level = 1; level <= 60; ++level) {
        if (server.referenceTimes[static_cast<std::size_t>(level)] == 0)
            server.referenceTimes[static_cast<std::size_t>(level)] = 50;
        server.levelClearPoints[static_cast<std::size_t>(level)] = 150;
    }
}

} // namespace kavoret::ranking
