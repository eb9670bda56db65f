#include "roster/Roster.h"

#include <cmath>
#include <optional>

namespace kavoret::roster {
namespace {

QString withDigit(const char16_t* stage, int digit, bool fullWidth) {
    const QChar d = fullWidth ? QChar(char16_t(u'０' + digit)) : QChar(char16_t(u'0' + digit));
    return QString::fromUtf16(stage) + d;
}

QString entryName(const QString& path, int ordinal, int line) {
    return QStringLiteral("ファイル「%1」の %2 件目（%3 行目）").arg(path).arg(ordinal).arg(line);
}

// A numeric field: empty reads as 0, anything else must be a whole 16-bit number
// once rounded (half to even, as the family's files have always been read).
std::optional<int> sixteenBit(const Item& item) {
    const QString text = item.text.trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < -32768 || rounded > 32767)
        return std::nullopt;
    return static_cast<int>(rounded);
}

} // namespace

int schoolYearFor(const QDate& today, int schoolYearStartMonth) {
    return today.month() < schoolYearStartMonth ? today.year() - 1 : today.year();
}

QString fullWidthGradeLabel(int grade) {
    if (grade == 0)
        return QStringLiteral("幼３");
    if (grade >= 1 && grade <= 6)
        return withDigit(u"小", grade, true);
    if (grade >= 7 && grade <= 9)
        return withDigit(u"中", grade - 6, true);
    if (grade == 10)
        return QStringLiteral("高１");
    return {};
}

QString halfWidthGradeLabel(int grade) {
    if (grade < -2)
        return QStringLiteral("幼-");
    if (grade <= 0)
        return withDigit(u"幼", grade + 3, false);
    if (grade <= 6)
        return withDigit(u"小", grade, false);
    if (grade <= 9)
        return withDigit(u"中", grade - 6, false);
    if (grade <= 12)
        return withDigit(u"高", grade - 9, false);
    return QStringLiteral("大+");
}

bool classPasses(const QString& className, int grade) {
    if (className == u"全学年" || className == u"家族")
        return true;
    if (className == u"小学生全体")
        return grade >= 1 && grade <= 6;
    if (className == u"中学生全体")
        return grade >= 7 && grade <= 9;
    for (int year = 1; year <= 6; ++year) {
        if (className == withDigit(u"小", year, true))
            return grade == year;
    }
    for (int year = 1; year <= 3; ++year) {
        if (className == withDigit(u"中", year, true))
            return grade == year + 6;
    }
    return false;
}

QString circledNumber(int n) {
    if (n >= 1 && n <= 9)
        return QString(QChar(char16_t(u'①' + (n - 1))));
    return QStringLiteral("　");
}

QString fixedWidth(const QString& text, int width) {
    return text.left(width).leftJustified(width, u' ');
}

Result<std::vector<FileEntry>> parseRosterItems(const QList<Item>& items, const QString& path) {
    static const char16_t* const numericNames[] = {u"番号", u"生まれ年", u"予備1", u"予備2"};
    std::vector<FileEntry> entries;
    entries.reserve(static_cast<std::size_t>(items.size() / kItemsPerEntry + 1));
    int ordinal = 0;
    for (qsizetype first = 0; first < items.size(); first += kItemsPerEntry) {
        ++ordinal;
        const int line = items[first].line;
        const qsizetype have = std::min<qsizetype>(kItemsPerEntry, items.size() - first);
        if (have < kItemsPerEntry)
            return Error{
                entryName(path, ordinal, line) +
                QStringLiteral("の項目が足りません（%1 項目必要ですが %2 項目しかありません）")
                    .arg(kItemsPerEntry)
                    .arg(have)};
        auto item = [&](int k) -> const Item& { return items[first + k]; };
        auto notNumber = [&](const char16_t* field, int k) {
            return Error{
                entryName(path, ordinal, line) +
                QStringLiteral("の%1「%2」が整数（-32768〜32767）として読めません"
                               "（1 件は 8 項目です。項目の欠けた件がないか確かめてください）")
                    .arg(QString::fromUtf16(field), item(k).text)};
        };

        int numeric[4] = {};
        for (int k = 0; k < 4; ++k) {
            const std::optional<int> value = sixteenBit(item(k));
            if (!value)
                return notNumber(numericNames[k], k);
            numeric[k] = *value;
        }
        const std::optional<int> status = sixteenBit(item(5));
        if (!status)
            return notNumber(u"状態", 5);
        if (!isRosterNumber(numeric[0]))
            return Error{entryName(path, ordinal, line) +
                         QStringLiteral("の番号 %1 が 0〜%2 の範囲にありません")
                             .arg(numeric[0])
                             .arg(kMaxStudent)};

        FileEntry read;
        read.entry.number = numeric[0];
        read.entry.birthYear = numeric[1];
        read.entry.extra1 = numeric[2];
        read.entry.extra2 = numeric[3];
        read.entry.name = fixedWidth(item(4).text);
        read.entry.extra3 = fixedWidth(item(6).text);
        read.entry.extra4 = fixedWidth(item(7).text);
        read.status = *status;
        read.ordinal = ordinal;
        read.line = line;
        entries.push_back(std::move(read));
    }
    return entries;
}

Status applyRosterEntries(const std::vector<FileEntry>& entries, int includeStatus2, int schoolYear,
                          const QString& path, RosterState& roster) {
    auto isActive = [includeStatus2](const FileEntry& e) {
        return e.status == 0 || (e.status == 2 && includeStatus2 == 1);
    };
    int active = 0;
    for (const FileEntry& e : entries) {
        if (isActive(e) && ++active > kMaxActiveEntries)
            return Error{QStringLiteral("ファイル「%1」の在籍者が多すぎます（%2 人までです。%3 "
                                        "件目（%4 行目）で超えました）")
                             .arg(path)
                             .arg(kMaxActiveEntries)
                             .arg(e.ordinal)
                             .arg(e.line)};
    }

    roster.schoolYear = schoolYear;
    roster.records.clear();
    roster.records.reserve(static_cast<std::size_t>(active));
    int position = 0;
    for (const FileEntry& e : entries) {
        const RosterEntry& entry = e.entry;
        roster.names[entry.number] = entry.name;
        roster.birthYears[entry.number] = entry.birthYear;
        const int grade = gradeOf(schoolYear, entry.birthYear);
        if (grade >= 0 && grade <= 10)
            roster.gradeLabels[entry.number] = fullWidthGradeLabel(grade);
        // A withdrawn entry's position is taken by the next entry, so its
        // number is written where the next one will overwrite it.
        const int slot = position + 1;
        if (slot <= kMaxActiveEntries)
            roster.listNumbers[slot] = entry.number;
        if (isActive(e)) {
            position = slot;
            roster.records.push_back(entry);
        }
    }
    roster.count = position;
    return success();
}

Status loadRoster(SharedState& state, const QDate& today) {
    const QString path = state.folders.rootFolder + kRosterFileName;
    Result<QList<Item>> items = readItemFile(path);
    if (!items)
        return items.error();
    Result<std::vector<FileEntry>> entries = parseRosterItems(items.value(), path);
    if (!entries)
        return entries.error();
    return applyRosterEntries(entries.value(), state.settings.includeStatus2,
                              schoolYearFor(today, state.settings.schoolYearStartMonth), path,
                              state.roster);
}

} // namespace kavoret::roster
