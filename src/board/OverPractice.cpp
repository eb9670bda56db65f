#include "board/OverPractice.h"

#include "board/LineParts.h"
#include "frame/ItemFile.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>
#include <cstdint>

namespace kavoret::board {
namespace {

// Fixed constant of the password formula; changing it changes every password.
constexpr std::uint64_t kPasswordSalt = 0x6B61766F72657421ULL;
constexpr long long kPasswordFloor = 100000;
constexpr long long kPasswordSpan = 900000;

const QString kDayNotice = QStringLiteral("やりすぎ禁止(日)");
const QString kWeekNotice = QStringLiteral("やりすぎ禁止（週）");
const QString kMonthNotice = QStringLiteral("やりすぎ禁止（月）");
const QString kHalfYearNotice = QStringLiteral("やりすぎ禁止（半年）");

enum Limit { kDay = 0, kWeek = 1, kMonth = 2, kHalfYear = 3 };

// The splitmix64 finaliser: every input bit reaches every output bit.
std::uint64_t mix(std::uint64_t z) {
    z += 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// A figure as a label shows it: whole numbers without a decimal point.
QString figureText(double value) {
    return QString::number(value, 'g', 15);
}

double limitOf(const SharedState& state, Limit limit, int level) {
    return state.server
        .levelPointLimits[static_cast<std::size_t>(limit)][static_cast<std::size_t>(level)];
}

void clearUnlocks(BoardState& board) {
    board.unlockFlags.fill(0);
    board.unlockCodes.fill(QString());
}

bool readsAsDecimal(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)$)"));
    return pattern.match(text).hasMatch();
}

QString lineName(const QString& path, int line) {
    return QStringLiteral("ファイル「%1」の %2 行目").arg(path).arg(line);
}

struct StoredUnlock {
    int flag = 0;
    QString code;
};

// The file's lines in order: each holds the flag (1, 0 or nothing) and the
// accepted value (a decimal number or nothing), at most one line per level.
Result<std::vector<StoredUnlock>> parseUnlocks(const QList<Item>& items, const QString& path) {
    std::vector<StoredUnlock> lines;
    for (qsizetype first = 0; first < items.size();) {
        const int line = items[first].line;
        qsizetype end = first;
        while (end < items.size() && items[end].line == line)
            ++end;
        if (end - first != 2)
            return Error{lineName(path, line) +
                         QStringLiteral("の値が %1 個あります（解除フラグと解除番号の 2 個です）")
                             .arg(end - first)};
        if (lines.size() >= static_cast<std::size_t>(kMaxLevel))
            return Error{QStringLiteral("ファイル「%1」の行が多すぎます（レベル1〜%2 の %2 "
                                        "行までです）")
                             .arg(path)
                             .arg(kMaxLevel)};
        const QString flag = items[first].text.trimmed();
        const QString code = items[first + 1].text.trimmed();
        StoredUnlock stored;
        if (!flag.isEmpty()) {
            const double value = readsAsDecimal(flag) ? flag.toDouble() : -1;
            if (value != 0 && value != 1)
                return Error{
                    lineName(path, line) +
                    QStringLiteral("の解除フラグ「%1」は 1、0 か空でなければなりません").arg(flag)};
            stored.flag = static_cast<int>(value);
        }
        if (!code.isEmpty() && !readsAsDecimal(code))
            return Error{lineName(path, line) +
                         QStringLiteral("の解除番号「%1」が数として読めません").arg(code)};
        stored.code = code;
        lines.push_back(stored);
        first = end;
    }
    return lines;
}

QList<QList<OutItem>> unlockLines(const SharedState& state) {
    QList<QList<OutItem>> lines;
    const int levelCount = detail::shownLevelCount(state);
    for (int level = 1; level <= levelCount; ++level) {
        const auto slot = static_cast<std::size_t>(level);
        lines.append({OutItem::quotedText(QString::number(state.board.unlockFlags[slot])),
                      OutItem::quotedText(state.board.unlockCodes[slot])});
    }
    return lines;
}

long long passwordFor(const SharedState& state, const QDate& today, int level) {
    return unlockPassword(state.student.studentNo, today.year(), today.month(), level,
                          state.profile.catalogueNumber);
}

} // namespace

void evaluateLimits(SharedState& state, std::vector<LevelGate>& gates) {
    const int levelCount = detail::shownLevelCount(state);
    if (gates.size() < static_cast<std::size_t>(levelCount) + 1)
        gates.resize(static_cast<std::size_t>(levelCount) + 1);
    const int student = state.student.studentNo;
    const bool knownStudent = student >= 0 && student <= kMaxStudent;
    const AggregateState& figures = state.aggregates;
    for (int level = 1; level <= levelCount; ++level) {
        LevelGate& gate = gates[static_cast<std::size_t>(level)];
        // The last level is never banned.
        if (level < levelCount && knownStudent) {
            const struct {
                double points;
                Limit limit;
                const QString& notice;
            } tests[] = {
                {double(figures.todayPointTotals.at(level, student)), kDay, kDayNotice},
                {figures.weekPointTotals.at(level, student), kWeek, kWeekNotice},
                {figures.monthPointTotals.at(level, student), kMonth, kMonthNotice},
                {figures.halfYearPointTotals.at(level, student), kHalfYear, kHalfYearNotice},
            };
            for (const auto& test : tests) {
                if (test.points >= limitOf(state, test.limit, level)) {
                    gate.notice = test.notice;
                    gate.noticeVisible = true;
                    gate.buttonVisible = false;
                }
            }
        }
        int& flag = state.board.unlockFlags[static_cast<std::size_t>(level)];
        if (gate.buttonVisible)
            flag = 0;
        if (flag == 1) {
            gate.noticeVisible = false;
            gate.buttonVisible = true;
        }
    }
}

QString limitsText(const SharedState& state, int level) {
    const int student = state.student.studentNo;
    if (level < 1 || level > kMaxLevel || student < 0 || student > kMaxStudent)
        return QString();
    const AggregateState& figures = state.aggregates;
    return u'日' + figureText(figures.todayPointTotals.at(level, student)) + u'/' +
           figureText(limitOf(state, kDay, level)) + QStringLiteral(" 週") +
           figureText(figures.weekPointTotals.at(level, student)) + u'/' +
           figureText(limitOf(state, kWeek, level)) + QStringLiteral(" 月") +
           figureText(figures.monthPointTotals.at(level, student)) + u'/' +
           figureText(limitOf(state, kMonth, level));
}

long long unlockPassword(int student, int year, int month, int level, int catalogueNumber) {
    std::uint64_t z = kPasswordSalt;
    for (long long part : {catalogueNumber, student, year, month, level})
        z = mix(z ^ static_cast<std::uint64_t>(part));
    return kPasswordFloor + static_cast<long long>(z % kPasswordSpan);
}

double leadingNumber(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < n; ++i) {
        if (text[i] >= u'0' && text[i] <= u'9')
            digits = true;
        else if (text[i] == u'.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return 0;
    const double value = text.mid(start, i - start).toDouble();
    return std::isfinite(value) ? value : 0;
}

QString unlockFilePath(const SharedState& state) {
    return state.folders.dataFolder + kUnlockFilePrefix + QString::number(state.student.studentNo) +
           QStringLiteral(".csv");
}

Status loadUnlocks(SharedState& state, const QDate& today) {
    BoardState& board = state.board;
    // Nothing of an earlier login carries over to this student.
    clearUnlocks(board);
    const QString path = unlockFilePath(state);
    if (!QFile::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            return Error{
                QStringLiteral("ファイル「%1」を作れません: %2").arg(path, file.errorString())};
    }
    Result<QList<Item>> items = readItemFile(path);
    if (!items)
        return items.error();
    Result<std::vector<StoredUnlock>> lines = parseUnlocks(items.value(), path);
    if (!lines)
        return lines.error();
    int level = 0;
    for (const StoredUnlock& stored : lines.value()) {
        ++level;
        const auto slot = static_cast<std::size_t>(level);
        board.unlockCodes[slot] = stored.code;
        // An unlock holds only while its value is this month's password.
        board.unlockFlags[slot] =
            stored.flag == 1 && !stored.code.isEmpty() &&
                    stored.code.toDouble() == double(passwordFor(state, today, level))
                ? 1
                : 0;
    }
    return success();
}

Result<bool> tryUnlock(SharedState& state, int level, const QString& entered, const QDate& today) {
    if (level < 1 || level > detail::shownLevelCount(state))
        return false;
    const long long password = passwordFor(state, today, level);
    if (leadingNumber(entered) != double(password))
        return false;
    BoardState& board = state.board;
    const auto slot = static_cast<std::size_t>(level);
    const int oldFlag = board.unlockFlags[slot];
    const QString oldCode = board.unlockCodes[slot];
    board.unlockFlags[slot] = 1;
    board.unlockCodes[slot] = QString::number(password);
    if (Status written = writeItemFile(unlockFilePath(state), unlockLines(state)); !written) {
        board.unlockFlags[slot] = oldFlag;
        board.unlockCodes[slot] = oldCode;
        return written.error();
    }
    return true;
}

} // namespace kavoret::board
