#include "BoardTestState.h"
#include "FamilyFixture.h"
#include "board/OverPractice.h"
#include "frame/Cp932.h"

#include <QTest>
#include <memory>
#include <set>

using namespace kavoret;
using namespace kavoret::board;
using test::kBoardToday;

namespace {

constexpr int kStudent = 12;
const QString kUnlockFile = QStringLiteral("abc1/やりすぎ禁止解除12.csv");

long long passwordOf(int level, const QDate& date = kBoardToday) {
    return unlockPassword(kStudent, date.year(), date.month(), level, 801);
}

QString cp932Text(const QByteArray& bytes) {
    return cp932::decode(bytes, nullptr);
}

} // namespace

class tst_OverPractice : public QObject {
    Q_OBJECT
private slots:
    void init();
    void limits_data();
    void limits();
    void banStaysUntilUnlocked();
    void unlockKeepsButtonOfBannedLevel();
    void limitsLabel();
    void passwordIsSixDigitsAndChangesMonthly();
    void leadingNumbers_data();
    void leadingNumbers();
    void correctPasswordUnlocksAndWritesOneLinePerLevel();
    void wrongOrEmptyEntryChangesNothing_data();
    void wrongOrEmptyEntryChangesNothing();
    void unwritableFileChangesNothing();
    void loadCreatesMissingFileAndClearsEarlierLogin();
    void nextMonthTheBanReturns();
    void malformedFile_data();
    void malformedFile();

private:
    void setFigures(int level, int today, double week, double month, double halfYear) {
        AggregateState& figures = (*state_)->aggregates;
        figures.todayPointTotals.at(level, kStudent) = today;
        figures.weekPointTotals.at(level, kStudent) = week;
        figures.monthPointTotals.at(level, kStudent) = month;
        figures.halfYearPointTotals.at(level, kStudent) = halfYear;
    }

    std::unique_ptr<test::BoardTestState> state_;
    std::unique_ptr<test::FamilyFixture> family_;
};

void tst_OverPractice::init() {
    family_ = std::make_unique<test::FamilyFixture>();
    state_ = std::make_unique<test::BoardTestState>();
    SharedState& state = **state_;
    state.folders.dataFolder = family_->dataFolder();
    state.student.studentNo = kStudent;
    // Clear points 150: limits 300, 750, 1500 and 4500.
    for (int level = 1; level <= kMaxLevel; ++level) {
        state.server.levelClearPoints[level] = 150;
        state.server.levelPointLimits[0][level] = 300;
        state.server.levelPointLimits[1][level] = 750;
        state.server.levelPointLimits[2][level] = 1500;
        state.server.levelPointLimits[3][level] = 4500;
    }
}

void tst_OverPractice::limits_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("today");
    QTest::addColumn<double>("week");
    QTest::addColumn<double>("month");
    QTest::addColumn<double>("halfYear");
    QTest::addColumn<QString>("notice"); // empty: not banned
    QTest::newRow("299 today") << 1 << 299 << 299.0 << 299.0 << 299.0 << QString();
    QTest::newRow("300 today") << 1 << 300 << 300.0 << 300.0 << 300.0
                               << QStringLiteral("やりすぎ禁止(日)");
    QTest::newRow("week") << 2 << 0 << 750.0 << 750.0 << 750.0
                          << QStringLiteral("やりすぎ禁止（週）");
    QTest::newRow("month") << 3 << 0 << 749.0 << 1500.0 << 1500.0
                           << QStringLiteral("やりすぎ禁止（月）");
    QTest::newRow("day and half-year: the last test names it")
        << 1 << 300 << 300.0 << 300.0 << 4500.0 << QStringLiteral("やりすぎ禁止（半年）");
    QTest::newRow("just under every limit") << 2 << 299 << 749.0 << 1499.0 << 4499.0 << QString();
    QTest::newRow("the last level is never banned")
        << 4 << 100000 << 1e6 << 1e6 << 1e6 << QString();
}

void tst_OverPractice::limits() {
    QFETCH(int, level);
    QFETCH(int, today);
    QFETCH(double, week);
    QFETCH(double, month);
    QFETCH(double, halfYear);
    QFETCH(QString, notice);
    setFigures(level, today, week, month, halfYear);
    std::vector<LevelGate> gates;
    evaluateLimits(**state_, gates);
    QCOMPARE(gates.size(), std::size_t(5));
    for (int n = 1; n <= 4; ++n) {
        const LevelGate& gate = gates[static_cast<std::size_t>(n)];
        const bool banned = n == level && !notice.isEmpty();
        QCOMPARE(gate.buttonVisible, !banned);
        QCOMPARE(gate.noticeVisible, banned);
        QCOMPARE(gate.notice, banned ? notice : QString());
    }
}

void tst_OverPractice::banStaysUntilUnlocked() {
    SharedState& state = **state_;
    std::vector<LevelGate> gates;
    setFigures(2, 300, 300, 300, 300);
    state.board.unlockFlags[1] = 1; // an unlock on a level under its limits
    evaluateLimits(state, gates);
    QVERIFY(!gates[2].buttonVisible);
    QCOMPARE(state.board.unlockFlags[1], 0);

    // Days leave the window: the button stays hidden while the board is loaded.
    setFigures(2, 0, 0, 0, 0);
    evaluateLimits(state, gates);
    QVERIFY(!gates[2].buttonVisible);
    QVERIFY(gates[2].noticeVisible);
    QCOMPARE(gates[2].notice, QStringLiteral("やりすぎ禁止(日)"));

    // A fresh board (new gates) shows it again.
    std::vector<LevelGate> fresh;
    evaluateLimits(state, fresh);
    QVERIFY(fresh[2].buttonVisible);
}

void tst_OverPractice::unlockKeepsButtonOfBannedLevel() {
    SharedState& state = **state_;
    setFigures(1, 300, 300, 300, 300);
    state.board.unlockFlags[1] = 1;
    std::vector<LevelGate> gates;
    evaluateLimits(state, gates);
    QVERIFY(gates[1].buttonVisible);
    QVERIFY(!gates[1].noticeVisible);
    QCOMPARE(state.board.unlockFlags[1], 1);
}

void tst_OverPractice::limitsLabel() {
    setFigures(3, 12, 40.0, 310.0, 999.0);
    QCOMPARE(limitsText(**state_, 3), QStringLiteral("日12/300 週40/750 月310/1500"));
}

void tst_OverPractice::passwordIsSixDigitsAndChangesMonthly() {
    std::set<long long> values;
    for (int student : {0, 1, 12, 9999}) {
        for (int level = 1; level <= 4; ++level) {
            QDate month(2026, 1, 1);
            for (int step = 0; step < 24; ++step, month = month.addMonths(1)) {
                const long long value =
                    unlockPassword(student, month.year(), month.month(), level, 801);
                QVERIFY2(value >= 100000 && value <= 999999, qPrintable(QString::number(value)));
                const QDate next = month.addMonths(1);
                QVERIFY(value != unlockPassword(student, next.year(), next.month(), level, 801));
                values.insert(value);
            }
        }
    }
    // Students, levels and months do not share passwords.
    QVERIFY(values.size() > 4 * 4 * 24 - 3);
    QVERIFY(unlockPassword(12, 2026, 12, 2, 801) != unlockPassword(12, 2026, 12, 2, 802));
    QCOMPARE(unlockPassword(12, 2026, 12, 2, 801), unlockPassword(12, 2026, 12, 2, 801));
}

void tst_OverPractice::leadingNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("digits") << QStringLiteral("482913") << 482913.0;
    QTest::newRow("blanks before, text after") << QStringLiteral("  482913abc") << 482913.0;
    QTest::newRow("decimal") << QStringLiteral("12.5x") << 12.5;
    QTest::newRow("negative") << QStringLiteral("-7") << -7.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("no number first") << QStringLiteral("abc123") << 0.0;
    QTest::newRow("sign alone") << QStringLiteral("-") << 0.0;
    QTest::newRow("full-width digits are no number") << QStringLiteral("１２３") << 0.0;
}

void tst_OverPractice::leadingNumbers() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(leadingNumber(text), value);
}

void tst_OverPractice::correctPasswordUnlocksAndWritesOneLinePerLevel() {
    SharedState& state = **state_;
    QVERIFY(loadUnlocks(state, kBoardToday).ok());
    QCOMPARE(unlockFilePath(state), family_->root() + kUnlockFile);
    // Level 3 unlocked earlier this month and read from the file.
    state.board.unlockFlags[3] = 1;
    state.board.unlockCodes[3] = QString::number(passwordOf(3));

    const Result<bool> unlocked =
        tryUnlock(state, 2, QString::number(passwordOf(2)) + QStringLiteral(" "), kBoardToday);
    QVERIFY(unlocked.ok());
    QVERIFY(unlocked.value());
    QCOMPARE(state.board.unlockFlags[2], 1);
    QCOMPARE(state.board.unlockCodes[2], QString::number(passwordOf(2)));
    QCOMPARE(cp932Text(family_->readBytes(kUnlockFile)),
             QStringLiteral("\"0\",\"\"\r\n\"1\",\"%1\"\r\n\"1\",\"%2\"\r\n\"0\",\"\"\r\n")
                 .arg(passwordOf(2))
                 .arg(passwordOf(3)));

    // The banned level keeps its button while the unlock holds.
    setFigures(2, 300, 300, 300, 300);
    std::vector<LevelGate> gates;
    evaluateLimits(state, gates);
    QVERIFY(gates[2].buttonVisible);
    QVERIFY(!gates[2].noticeVisible);

    // Read again at the next load in the same month.
    state.board.unlockFlags.fill(0);
    QVERIFY(loadUnlocks(state, kBoardToday.addDays(5)).ok());
    QCOMPARE(state.board.unlockFlags[2], 1);
    QCOMPARE(state.board.unlockFlags[3], 1);
    QCOMPARE(state.board.unlockFlags[1], 0);
}

void tst_OverPractice::wrongOrEmptyEntryChangesNothing_data() {
    QTest::addColumn<QString>("entered");
    QTest::newRow("empty") << QString();
    QTest::newRow("words") << QStringLiteral("せんせい");
    QTest::newRow("one off") << QString::number(passwordOf(2) + 1);
    QTest::newRow("another level's") << QString::number(passwordOf(1));
    QTest::newRow("last month's") << QString::number(passwordOf(2, kBoardToday.addMonths(-1)));
}

void tst_OverPractice::wrongOrEmptyEntryChangesNothing() {
    QFETCH(QString, entered);
    SharedState& state = **state_;
    family_->writeText(kUnlockFile, QStringLiteral("\"0\",\"\"\n"));
    const QByteArray before = family_->readBytes(kUnlockFile);
    const Result<bool> unlocked = tryUnlock(state, 2, entered, kBoardToday);
    QVERIFY(unlocked.ok());
    QVERIFY(!unlocked.value());
    QCOMPARE(state.board.unlockFlags[2], 0);
    QCOMPARE(state.board.unlockCodes[2], QString());
    QCOMPARE(family_->readBytes(kUnlockFile), before);
}

void tst_OverPractice::unwritableFileChangesNothing() {
    SharedState& state = **state_;
    state.folders.dataFolder = family_->root() + QStringLiteral("no such folder/");
    const Result<bool> unlocked = tryUnlock(state, 2, QString::number(passwordOf(2)), kBoardToday);
    QVERIFY(!unlocked.ok());
    QVERIFY2(unlocked.error().message.contains(QStringLiteral("やりすぎ禁止解除12.csv")),
             qPrintable(unlocked.error().message));
    QCOMPARE(state.board.unlockFlags[2], 0);
    QCOMPARE(state.board.unlockCodes[2], QString());
}

void tst_OverPractice::loadCreatesMissingFileAndClearsEarlierLogin() {
    SharedState& state = **state_;
    // Another student unlocked level 2 earlier in this process.
    state.board.unlockFlags[2] = 1;
    state.board.unlockCodes[2] = QStringLiteral("123456");
    QVERIFY(!family_->exists(kUnlockFile));
    QVERIFY(loadUnlocks(state, kBoardToday).ok());
    QVERIFY(family_->exists(kUnlockFile));
    QCOMPARE(family_->readBytes(kUnlockFile), QByteArray());
    QCOMPARE(state.board.unlockFlags[2], 0);
    QCOMPARE(state.board.unlockCodes[2], QString());
}

void tst_OverPractice::nextMonthTheBanReturns() {
    SharedState& state = **state_;
    QVERIFY(tryUnlock(state, 1, QString::number(passwordOf(1)), kBoardToday).value());
    setFigures(1, 300, 300, 300, 300);

    const QDate nextMonth(2027, 1, 4);
    QVERIFY(loadUnlocks(state, nextMonth).ok());
    QCOMPARE(state.board.unlockFlags[1], 0);
    std::vector<LevelGate> gates;
    evaluateLimits(state, gates);
    QVERIFY(!gates[1].buttonVisible);
    QCOMPARE(gates[1].notice, QStringLiteral("やりすぎ禁止(日)"));
    // The file keeps the line.
    QVERIFY(cp932Text(family_->readBytes(kUnlockFile))
                .startsWith(QStringLiteral("\"1\",\"%1\"\r\n").arg(passwordOf(1))));
}

void tst_OverPractice::malformedFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    QByteArray manyLines;
    for (int line = 0; line < 101; ++line)
        manyLines += "\"0\",\"\"\r\n";
    QTest::newRow("bytes that are not CP932")
        << QByteArray("\"1\",\"a\x81 b\"\r\n") << QStringLiteral("バイト目");
    QTest::newRow("more than 100 lines") << manyLines << QStringLiteral("行が多すぎます");
    QTest::newRow("flag not a number")
        << QByteArray("\"yes\",\"123456\"\r\n") << QStringLiteral("1 行目の解除フラグ「yes」");
    QTest::newRow("flag other than 0 and 1")
        << QByteArray("\"0\",\"\"\r\n\"2\",\"\"\r\n") << QStringLiteral("2 行目の解除フラグ「2」");
    QTest::newRow("value not a number")
        << QByteArray("\"1\",\"12a\"\r\n") << QStringLiteral("解除番号「12a」");
    QTest::newRow("three values") << QByteArray("\"1\",\"1\",\"1\"\r\n")
                                  << QStringLiteral("値が 3 個");
    QTest::newRow("one value") << QByteArray("\"1\"\r\n") << QStringLiteral("値が 1 個");
}

void tst_OverPractice::malformedFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    SharedState& state = **state_;
    family_->writeBytes(kUnlockFile, bytes);
    state.board.unlockFlags[1] = 1;
    const Status loaded = loadUnlocks(state, kBoardToday);
    QVERIFY(!loaded.ok());
    QVERIFY2(loaded.error().message.contains(family_->root() + kUnlockFile),
             qPrintable(loaded.error().message));
    QVERIFY2(loaded.error().message.contains(problem), qPrintable(loaded.error().message));
    for (int level = 1; level <= kMaxLevel; ++level)
        QCOMPARE(state.board.unlockFlags[static_cast<std::size_t>(level)], 0);
}

QTEST_GUILESS_MAIN(tst_OverPractice)
#include "tst_overpractice.moc"
