// The results board as a student and a teacher use it: columns, keys, the
// server pages, passed levels, over-practice bans and their unlock.
#include "FakeClock.h"
#include "FakePageReader.h"
#include "FakeWebViews.h"
#include "FamilyFixture.h"
#include "RecordingDialogs.h"
#include "RecordingResultsStore.h"
#include "RecordingScreenFlow.h"
#include "RecordingShell.h"
#include "board/OverPractice.h"
#include "board/seisekitime1.h"
#include "frame/ItemFile.h"
#include "frame/ProgramProfile.h"
#include "frame/SharedState.h"
#include "ranking/RankingRequests.h"
#include "results/Aggregation.h"
#include "results/LoadedResults.h"
#include "roster/ProgramInfo.h"
#include "roster/Roster.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

using namespace kavoret;

namespace {

constexpr int kStudent = 12;
const QString kServer = QStringLiteral("http://ranking.test");

} // namespace

class tst_seisekitime1 : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void columnsShareTheWidthAndOnlyLevelKeysStartRuns();
    void keysIgnoredOnceARunStarts();
    void studentWithoutRuns();
    void worldRank_data();
    void worldRank();
    void passedLevelAtLoad();
    void serverPagesCycle();
    void banShowsNoticeInsteadOfStartButton_data();
    void banShowsNoticeInsteadOfStartButton();
    void correctPasswordUnlocksForTheMonth();
    void wrongPasswordChangesNothing();
    void gradeFilterLeavesOwnRunsForPointDisplay();
    void backButtonAndEnterKey();

private:
    void open();
    template <typename T> T* control(const QString& name) const {
        return board_->findChild<T*>(name);
    }
    QString text(const QString& name) const {
        const QLabel* label = control<QLabel>(name);
        return label ? label->text() : QStringLiteral("<no %1>").arg(name);
    }
    void setTodayPoints(int level, int points) {
        aggregate_ = [this, level, points] {
            state_->aggregates.todayPointTotals.at(level, kStudent) = points;
        };
    }

    std::unique_ptr<test::FamilyFixture> family_;
    std::unique_ptr<SharedState> state_;
    std::unique_ptr<test::FakeClock> clock_;
    std::unique_ptr<test::RecordingScreenFlow> flow_;
    std::unique_ptr<test::RecordingDialogs> dialogs_;
    std::unique_ptr<test::RecordingResultsStore> results_;
    std::unique_ptr<test::FakePageReader> pages_;
    std::unique_ptr<test::RecordingShell> shell_;
    std::unique_ptr<test::FakeWebViewFactory> webViews_;
    std::unique_ptr<seisekitime1> board_;
    std::function<void()> aggregate_;
};

void tst_seisekitime1::init() {
    family_ = std::make_unique<test::FamilyFixture>();
    family_->writeText(roster::kRosterFileName,
                       QStringLiteral("3,2017,0,0,\"伊藤 さくら\",0,\"\",\"\"\n"
                                      "12,2014,0,0,\"佐藤 花子\",0,\"\",\"\"\n"
                                      "90,1980,0,0,\"木村先生\",0,\"\",\"\"\n"));
    state_ = std::make_unique<SharedState>();
    progselbas::applyIdentity(state_->profile);
    progselbas::applyLevels(state_->profile);
    state_->folders.rootFolder = family_->root();
    state_->folders.dataFolder = family_->dataFolder();
    state_->settings.schoolYearStartMonth = 4;
    state_->settings.schoolName = QStringLiteral("テスト塾");
    state_->settings.schoolNumber = QStringLiteral("1234");
    state_->settings.rankingServer = kServer;
    for (int level = 1; level <= 4; ++level) {
        state_->criteria.targetTimes[level] = 30;
        state_->criteria.minimumTimes[level] = 60;
        state_->criteria.clearPoints[level] = 100;
        state_->criteria.clearCounts[level] = 5;
        state_->criteria.pointRates[level] = 1;
    }
    // No program information from the server: every level's defaults (50 s, 150 points).
    test::FakePageReader noProgramInfo;
    roster::readProgramInfo(*state_, noProgramInfo);
    clock_ = std::make_unique<test::FakeClock>(QDate(2026, 12, 11), QTime(10, 0));
    QVERIFY(roster::loadRoster(*state_, clock_->today()));
    state_->student.studentNo = kStudent;
    state_->student.studentName = state_->roster.names[kStudent];
    state_->student.studentGradeLabel = state_->roster.gradeLabels[kStudent];
    state_->student.loginTime = clock_->secondsSinceMidnight();

    flow_ = std::make_unique<test::RecordingScreenFlow>();
    dialogs_ = std::make_unique<test::RecordingDialogs>();
    results_ = std::make_unique<test::RecordingResultsStore>();
    // The tally as the test wants it: every table cleared, then the figures it sets.
    results_->onAggregate = [this] {
        results::resetAggregates(state_->aggregates);
        state_->results.bestTimes.fill(results::kNoBestTime);
        if (aggregate_)
            aggregate_();
    };
    pages_ = std::make_unique<test::FakePageReader>();
    shell_ = std::make_unique<test::RecordingShell>();
    webViews_ = std::make_unique<test::FakeWebViewFactory>();
}

void tst_seisekitime1::cleanup() {
    board_.reset();
    aggregate_ = nullptr;
}

void tst_seisekitime1::open() {
    board_ = std::make_unique<seisekitime1>(
        *state_, seisekitime1::Services{*flow_, *dialogs_, *results_, *pages_, *shell_,
                                        *webViews_, *clock_});
    board_->load(QStringLiteral("全学年"));
    board_->Form_Activate();
    QVERIFY(board_->boardReady());
}

void tst_seisekitime1::columnsShareTheWidthAndOnlyLevelKeysStartRuns() {
    open();
    int right = -1;
    for (int level = 1; level <= 4; ++level) {
        const QWidget* column = control<QWidget>(QStringLiteral("Picture15_%1").arg(level));
        QVERIFY(column && column->isVisible());
        // 14592 twips shared by four: 243 pixels each, side by side.
        QVERIFY(qAbs(column->width() - 243) <= 2);
        QVERIFY(column->x() > right);
        right = column->x() + column->width();
    }
    QVERIFY(right <= board_->width());
    QCOMPARE(control<QPushButton>(QStringLiteral("Command4_3"))->text(),
             QStringLiteral("ｽﾀｰﾄ(&3)"));

    QTest::keyClick(board_.get(), '5');
    QTest::keyClick(board_.get(), 'x');
    QCOMPARE(flow_->count(QStringLiteral("startDrillRun")), 0);
    QTest::keyClick(board_.get(), '3');
    QCOMPARE(flow_->count(QStringLiteral("startDrillRun")), 1);
    QCOMPARE(state_->run.currentLevel, 3);
}

void tst_seisekitime1::keysIgnoredOnceARunStarts() {
    open();
    QTest::mouseClick(control<QPushButton>(QStringLiteral("Command4_2")), Qt::LeftButton);
    QCOMPARE(flow_->count(QStringLiteral("startDrillRun")), 1);
    QVERIFY(!board_->boardReady());
    QVERIFY(control<QWidget>(QStringLiteral("Picture2"))->isVisible());
    QTest::keyClick(board_.get(), '1');
    QTest::keyClick(board_.get(), '0');
    // Nor a click, Space on a button, or a level's name.
    QTest::mouseClick(control<QPushButton>(QStringLiteral("Command4_1")), Qt::LeftButton);
    QTest::keyClick(control<QPushButton>(QStringLiteral("Command1")), Qt::Key_Space);
    QTest::mouseClick(control<QLabel>(QStringLiteral("Label3_3")), Qt::LeftButton);
    QCOMPARE(flow_->count(QStringLiteral("startDrillRun")), 1);
    QCOMPARE(flow_->count(QStringLiteral("showNameSelection")), 0);
    QCOMPARE(state_->run.currentLevel, 2);
}

void tst_seisekitime1::studentWithoutRuns() {
    open();
    QCOMPARE(text(QStringLiteral("Label15_1")), QStringLiteral("------"));
    QCOMPARE(text(QStringLiteral("Label14_1")), QStringLiteral("-----"));
    QCOMPARE(text(QStringLiteral("Label31_1")), QStringLiteral("---"));
    QCOMPARE(text(QStringLiteral("Label2_1")), QString());
    QVERIFY(!control<QPushButton>(QStringLiteral("Command4_1"))->text().contains(u"合格済"));
    QCOMPARE(text(QStringLiteral("Label32_1")), QStringLiteral("目標=50秒/150p"));
    QCOMPARE(text(QStringLiteral("Label7_1")), QStringLiteral("　　目標=30秒 5回/100p(×1)"));
    QCOMPARE(text(QStringLiteral("Label8_1")), QStringLiteral("日0/300 週0/750 月0/1500"));
    QCOMPARE(text(QStringLiteral("Label12")).trimmed(), QStringLiteral("小６ 佐藤 花子"));
    QCOMPARE(text(QStringLiteral("Label13")), QStringLiteral("テスト塾:12"));
    QCOMPARE(text(QStringLiteral("Label18")), QStringLiteral("本日総回数＝0回"));
    // The time display's best-time ranking is what an activation ends on.
    QCOMPARE(text(QStringLiteral("Label5")), QStringLiteral("ベスト成績"));
    QVERIFY(control<QRadioButton>(QStringLiteral("Option2_0"))->isChecked());
    QVERIFY2(board_->listLines(1).contains(QStringLiteral("--●佐藤 花子------ ●")),
             qPrintable(board_->listLines(1).join(u'|')));
}

void tst_seisekitime1::worldRank_data() {
    QTest::addColumn<QString>("rank");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("highlighted");
    QTest::newRow("first") << "1" << "世界1位" << true;
    QTest::newRow("third") << "3" << "世界3位" << true;
    QTest::newRow("fourth") << "4" << "世界4位" << false;
    QTest::newRow("none") << "0" << "---" << false;
}

void tst_seisekitime1::worldRank() {
    QFETCH(QString, rank);
    QFETCH(QString, shown);
    QFETCH(bool, highlighted);
    pages_->pages.insert(ranking::worldRankRequest(*state_, 1),
                         QStringLiteral("<tr><td>>1234_12<</td><td>*%1*</td></tr>").arg(rank));
    open();
    QCOMPARE(text(QStringLiteral("Label31_1")), shown);
    QCOMPARE(control<QLabel>(QStringLiteral("Label31_1"))->styleSheet().contains(u"background"),
             highlighted);
    QCOMPARE(text(QStringLiteral("Label31_2")), QStringLiteral("---"));
}

void tst_seisekitime1::passedLevelAtLoad() {
    // 120 points at school and 30 at home reach the 150 the level needs.
    pages_->pages.insert(ranking::totalsRequest(*state_, 2, ranking::Place::School),
                         QStringLiteral("###120<###7<"));
    pages_->pages.insert(ranking::totalsRequest(*state_, 2, ranking::Place::Home),
                         QStringLiteral("###30<###2<"));
    aggregate_ = [this] { state_->aggregates.validRunCounts.at(2, kStudent) = 9; };
    open();
    const QString caption = control<QPushButton>(QStringLiteral("Command4_2"))->text();
    QCOMPARE(caption, QStringLiteral("ｽﾀｰﾄ(&2)　合格済"));
    QCOMPARE(text(QStringLiteral("Label15_2")), QStringLiteral("9回/150p"));
    QVERIFY(!control<QPushButton>(QStringLiteral("Command4_1"))->text().contains(u"合格済"));
    // A second activation adds nothing.
    board_->Form_Activate();
    QCOMPARE(control<QPushButton>(QStringLiteral("Command4_2"))->text(), caption);
}

void tst_seisekitime1::serverPagesCycle() {
    open();
    auto* button = control<QPushButton>(QStringLiteral("Command36_2"));
    QCOMPARE(button->text(), QStringLiteral("世界ﾗﾝｷﾝｸﾞ"));
    const QStringList expected{ranking::rankingPageRequest(*state_, 2),
                               ranking::recentResultsRequest(*state_, 2, ranking::Place::School),
                               ranking::recentResultsRequest(*state_, 2, ranking::Place::Home)};
    const QStringList captions{QStringLiteral("最近(塾)"), QStringLiteral("最近(家)"),
                               QStringLiteral("塾ﾗﾝｷﾝｸﾞ")};
    for (int press = 0; press < 3; ++press) {
        QTest::mouseClick(button, Qt::LeftButton);
        test::FakeWebView* view = webViews_->view(QStringLiteral("WebBrowser1_2"));
        QVERIFY(view);
        QVERIFY(view->isVisible());
        QCOMPARE(view->navigations.last(), expected[press]);
        QCOMPARE(button->text(), captions[press]);
    }
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!webViews_->view(QStringLiteral("WebBrowser1_2"))->isVisible());
    QCOMPARE(button->text(), QStringLiteral("世界ﾗﾝｷﾝｸﾞ"));
    QCOMPARE(state_->run.currentLevel, 2);
    // No other level's view was made.
    QVERIFY(!webViews_->view(QStringLiteral("WebBrowser1_1")));
}

void tst_seisekitime1::banShowsNoticeInsteadOfStartButton_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("today");
    QTest::addColumn<double>("halfYear");
    QTest::addColumn<QString>("notice"); // empty: not banned
    QTest::newRow("300 today") << 1 << 300 << 0.0 << "やりすぎ禁止(日)";
    QTest::newRow("299 today") << 1 << 299 << 0.0 << "";
    QTest::newRow("day and half-year") << 2 << 300 << 4500.0 << "やりすぎ禁止（半年）";
    QTest::newRow("last level never") << 4 << 100000 << 1e6 << "";
}

void tst_seisekitime1::banShowsNoticeInsteadOfStartButton() {
    QFETCH(int, level);
    QFETCH(int, today);
    QFETCH(double, halfYear);
    QFETCH(QString, notice);
    aggregate_ = [&] {
        state_->aggregates.todayPointTotals.at(level, kStudent) = today;
        state_->aggregates.halfYearPointTotals.at(level, kStudent) = halfYear;
    };
    open();
    const auto* start = control<QPushButton>(QStringLiteral("Command4_%1").arg(level));
    const auto* text1 = control<QLineEdit>(QStringLiteral("Text1_%1").arg(level));
    QCOMPARE(start->isVisible(), notice.isEmpty());
    QCOMPARE(text1->isVisible(), !notice.isEmpty());
    if (!notice.isEmpty()) {
        QCOMPARE(text1->text(), notice);
        // Neither its key nor its name starts the banned level.
        QTest::keyClick(board_.get(), static_cast<char>('0' + level));
        QTest::mouseClick(control<QLabel>(QStringLiteral("Label3_%1").arg(level)),
                          Qt::LeftButton);
        QCOMPARE(flow_->count(QStringLiteral("startDrillRun")), 0);
    }
}

void tst_seisekitime1::correctPasswordUnlocksForTheMonth() {
    setTodayPoints(1, 300);
    open();
    const long long password = board::unlockPassword(kStudent, 2026, 12, 1, 801);
    dialogs_->answers.append(QString::number(password));
    QTest::mouseDClick(control<QLineEdit>(QStringLiteral("Text1_1")), Qt::LeftButton);
    QCOMPARE(dialogs_->prompts.size(), 1);
    QVERIFY(dialogs_->prompts[0].text.startsWith(u"やりすぎ禁止を解除するには"));
    QVERIFY(dialogs_->messages.isEmpty());
    auto* start = control<QPushButton>(QStringLiteral("Command4_1"));
    QVERIFY(start->isVisible());
    QVERIFY(!control<QLineEdit>(QStringLiteral("Text1_1"))->isVisible());
    QCOMPARE(start->text(), QStringLiteral("やりすぎ禁止一時解除"));

    // One line per level, flag and accepted value; the file is read by the next login.
    const QString file = QStringLiteral("abc1/やりすぎ禁止解除12.csv");
    Result<QList<Item>> items = readItemFile(family_->root() + file);
    QVERIFY(items);
    QCOMPARE(items.value().size(), 8);

    // The same month: still unlocked after an activation, and the key starts it.
    board_->Form_Activate();
    QVERIFY(start->isVisible());
    QCOMPARE(start->text(), QStringLiteral("やりすぎ禁止一時解除"));
    QTest::keyClick(board_.get(), '1');
    QCOMPARE(flow_->count(QStringLiteral("startDrillRun")), 1);

    // The next month a new login finds the stored value no longer valid.
    board_.reset();
    clock_->set(QDate(2027, 1, 4), QTime(9, 0));
    open();
    QVERIFY(!control<QPushButton>(QStringLiteral("Command4_1"))->isVisible());
    QCOMPARE(control<QLineEdit>(QStringLiteral("Text1_1"))->text(),
             QStringLiteral("やりすぎ禁止(日)"));
}

void tst_seisekitime1::wrongPasswordChangesNothing() {
    setTodayPoints(1, 300);
    open();
    const QString file = family_->dataFolder() + QStringLiteral("やりすぎ禁止解除12.csv");
    const QByteArray before = family_->readBytes(QStringLiteral("abc1/やりすぎ禁止解除12.csv"));
    for (const QString& entry : {QStringLiteral("123"), QString()}) {
        dialogs_->answers.append(entry);
        QTest::mouseDClick(control<QLineEdit>(QStringLiteral("Text1_1")), Qt::LeftButton);
    }
    dialogs_->answers.append(std::nullopt); // cancelled
    QTest::mouseDClick(control<QLineEdit>(QStringLiteral("Text1_1")), Qt::LeftButton);
    QCOMPARE(dialogs_->prompts.size(), 3);
    QVERIFY(dialogs_->messages.isEmpty());
    QVERIFY(control<QLineEdit>(QStringLiteral("Text1_1"))->isVisible());
    QVERIFY(!control<QPushButton>(QStringLiteral("Command4_1"))->isVisible());
    QCOMPARE(family_->readBytes(QStringLiteral("abc1/やりすぎ禁止解除12.csv")), before);
    QVERIFY(QFileInfo::exists(file));
}

void tst_seisekitime1::gradeFilterLeavesOwnRunsForPointDisplay() {
    open();
    QTest::mouseClick(control<QRadioButton>(QStringLiteral("Option2_2")), Qt::LeftButton);
    QCOMPARE(text(QStringLiteral("Label5")), QStringLiteral("個人別ﾀｲﾑ"));
    auto* combo = control<QComboBox>(QStringLiteral("Combo1"));
    combo->setCurrentIndex(combo->findText(QStringLiteral("小６")));
    board_->Combo1_Click(combo->currentIndex());
    QVERIFY(control<QRadioButton>(QStringLiteral("Option2_1"))->isChecked());
    QCOMPARE(board_->displayMode(), 2);
    QCOMPARE(text(QStringLiteral("Label5")), QStringLiteral("獲得ポイント（今まで順位）"));
    QCOMPARE(control<QRadioButton>(QStringLiteral("Option1_1"))->text(),
             QStringLiteral("合計累計"));
}

void tst_seisekitime1::backButtonAndEnterKey() {
    open();
    auto* world = control<QPushButton>(QStringLiteral("Command36_1"));
    world->setFocus();
    QTest::keyClick(world, Qt::Key_Return);
    QCOMPARE(world->text(), QStringLiteral("最近(塾)"));
    QTest::keyClick(board_.get(), '0');
    QCOMPARE(flow_->count(QStringLiteral("showNameSelection")), 1);
    // The activation closed the name selection screen.
    QVERIFY(flow_->count(QStringLiteral("closeNameSelection")) >= 1);
}

QTEST_MAIN(tst_seisekitime1)
#include "tst_seisekitime1.moc"
