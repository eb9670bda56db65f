#include "roster/NameList.h"

#include "frame/Text.h"
#include "roster/ListOrder.h"
#include "roster/Roster.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unicode/uchar.h>

namespace kavoret::roster {
namespace {

// A number as text with no leading blank: whole values without a fraction.
QString numberText(double value) {
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<long long>(value));
    return QString::number(value, 'g', 7);
}

int charWidth(char32_t codePoint) {
    if (codePoint < 0x100)
        return 1;
    switch (u_getIntPropertyValue(static_cast<UChar32>(codePoint), UCHAR_EAST_ASIAN_WIDTH)) {
    case U_EA_FULLWIDTH:
    case U_EA_WIDE:
    case U_EA_AMBIGUOUS:
        return 2;
    default:
        return 1;
    }
}

// The length of one character (one or two code units) at i.
qsizetype charLength(const QString& text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

char32_t codePointAt(const QString& text, qsizetype i) {
    return charLength(text, i) == 2 ? QChar::surrogateToUcs4(text[i], text[i + 1])
                                    : char32_t(text[i].unicode());
}

// Four characters for any 16-bit birth year, so the visible part always starts
// at the 5th character.
QString yearText(int birthYear) {
    return QString::number(std::clamp(birthYear, 0, 9999)).rightJustified(4, u'0');
}

} // namespace

StudentFigures figuresOf(const AggregateState& aggregates, int student) {
    StudentFigures figures;
    for (int level = 1; level <= kMaxLevel; ++level) {
        figures.runsToday += aggregates.todayRunCounts.at(level, student);
        figures.pointsToday += aggregates.todayPointTotals.at(level, student);
        figures.runsSoFar += aggregates.validRunCounts.at(level, student);
        figures.pointsSoFar += aggregates.pointTotals.at(level, student);
    }
    return figures;
}

QString runsTodayText(double sum) {
    if (sum == 0)
        return QStringLiteral("     ");
    return (QStringLiteral("  ") + numberText(sum)).right(3) + u'回';
}

QString pointsTodayText(long long sum) {
    if (sum == 0)
        return QStringLiteral("  　");
    return (QStringLiteral("   ") + QString::number(sum)).right(4);
}

QString runsSoFarText(long long sum) {
    if (sum == 0)
        return QStringLiteral("     　");
    return (QStringLiteral("      ") + QString::number(sum)).right(5) + u'回';
}

QString pointsSoFarText(long long sum) {
    if (sum == 0)
        return QStringLiteral("       ");
    return (QStringLiteral("      ") + QString::number(sum)).right(7);
}

QString figurePair(int listMode, const StudentFigures& f) {
    switch (listMode) {
    case kRunsTodayAndSoFar:
        return runsTodayText(f.runsToday) + u'/' + runsSoFarText(f.runsSoFar);
    case kTodayPointsAndRuns:
        return pointsTodayText(f.pointsToday) + u'/' + runsTodayText(f.runsToday);
    case kSoFarPointsAndRuns:
        return pointsSoFarText(f.pointsSoFar) + u'/' + runsSoFarText(f.runsSoFar);
    case kPointsTodayAndSoFar:
    default:
        return pointsTodayText(f.pointsToday) + u'/' + pointsSoFarText(f.pointsSoFar);
    }
}

int displayWidth(const QString& text) {
    int width = 0;
    for (qsizetype i = 0; i < text.size(); i += charLength(text, i))
        width += charWidth(codePointAt(text, i));
    return width;
}

QString nameColumn(const QString& name, int grade) {
    const QString label = halfWidthGradeLabel(grade);
    const int column = grade <= 0 ? 11 : 9;
    const int field = 2 * (column - static_cast<int>(label.size()) - 1);

    const QString trimmed = withoutSurroundingBlanks(name);
    QString text = label + u' ';
    int used = 0;
    for (qsizetype i = 0; i < trimmed.size();) {
        const qsizetype length = charLength(trimmed, i);
        const int width = charWidth(codePointAt(trimmed, i));
        if (used + width > field)
            break;
        text += trimmed.mid(i, length);
        used += width;
        i += length;
    }
    int left = field - used;
    if (left % 2 == 1) {
        text += u' ';
        --left;
    }
    text += QString(left / 2, QChar(u'　'));
    return text;
}

QString listLine(const RosterEntry& entry, int schoolYear, int listMode,
                 const StudentFigures& figures) {
    return yearText(entry.birthYear) +
           nameColumn(entry.name, gradeOf(schoolYear, entry.birthYear)) +
           figurePair(listMode, figures) + u'*' + QString::number(entry.number);
}

QString visiblePart(const QString& line) {
    const qsizetype star = line.lastIndexOf(u'*');
    return star < 4 ? line.mid(4) : line.mid(4, star - 4);
}

QString numberPart(const QString& line) {
    const qsizetype star = line.lastIndexOf(u'*');
    return star < 0 ? QString() : line.mid(star + 1);
}

NameList buildNameList(const RosterState& roster, const AggregateState& aggregates, int listMode,
                       const QString& chosenClass, const ListOrder& order) {
    const std::size_t count = roster.records.size();
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(count));
    for (const RosterEntry& entry : roster.records)
        lines.append(
            listLine(entry, roster.schoolYear, listMode, figuresOf(aggregates, entry.number)));

    std::vector<std::size_t> sorted(count);
    std::iota(sorted.begin(), sorted.end(), std::size_t{0});
    std::stable_sort(sorted.begin(), sorted.end(), [&](std::size_t a, std::size_t b) {
        return order(lines[static_cast<qsizetype>(a)], lines[static_cast<qsizetype>(b)]);
    });

    NameList list;
    list.allLines.reserve(static_cast<qsizetype>(count));
    for (std::size_t index : sorted) {
        const QString& line = lines[static_cast<qsizetype>(index)];
        list.allLines.append(line);
        if (classPasses(chosenClass, gradeOf(roster.schoolYear, roster.records[index].birthYear))) {
            list.visible.append(visiblePart(line));
            list.visibleLines.append(line);
        }
    }
    return list;
}

QString clickedNameText(const QString& visibleEntry) {
    return withoutSurroundingBlanks(visibleEntry.left(10));
}

QString doubleClickedNameText(const QString& visibleEntry) {
    const qsizetype slash = visibleEntry.lastIndexOf(u'/');
    return withoutSurroundingBlanks(slash < 0 ? visibleEntry : visibleEntry.left(slash));
}

} // namespace kavoret::roster
