// The statistics panel of the results board: opening it from the own-runs
// display, choosing students and levels, and printing one job per student.
#include "FakeClock.h"
#include "FakePageReader.h"
#include "FakeWebViews.h"
#include "FamilyFixture.h"
#include "PdfSheetPrinter.h"
#include "RecordingDialogs.h"
#include "RecordingResultsStore.h"
#include "RecordingScreenFlow.h"
#include "RecordingShell.h"
#include "board/SheetPainter.h"
#include "board/seisekitime1.h"
#include "frame/JapaneseDate.h"
#include "frame/ProgramProfile.h"
#include "frame/SharedState.h"
#include "results/Aggregation.h"
#include "results/LoadedResults.h"
#include "roster/ProgramInfo.h"
#include "roster/Roster.h"

#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>

using namespace kavoret;

namespace {

constexpr int kStudent = 12;
constexpr int kTeacher = 90;
const QDate kToday(2026, 12, 11);

bool isRed(QRgb c) {
    return qRed(c) - std::max(qGreen(c), qBlue(c)) > 100;
}

// Pixels of the graph half of the band starting at top that are clearly red.
int redIn(const QImage& picture, double top) {
    int count = 0;
    const int bottom = std::min(picture.height(), static_cast<int>(top + picture.height() / 3.0));
    for (int y = static_cast<int>(top); y < bottom; ++y)
        for (int x = 0; x < picture.width() / 2; ++x)
            count += isRed(picture.pixel(x, y)) ? 1 : 0;
    return count;
}

} // namespace

class tst_StatisticsPanel : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void graphButtonOnlyInOwnRunsDisplay();
    void opensWithOwnSheetsOfLevelsOneToThree();
    void printButtonOnlyForTeachers_data();
    void printButtonOnlyForTeachers();
    void clickOnAStudentShowsTheirSheets();
    void clickOnALevelRedraws();
    void twoSelectedStudentsPrintTwoJobs();
    void cancelledPrintingPrintsNothing();
    void rosterFileErrorIsShown();

private:
    void open(int student);
    void openPanel();
    template <typename T> T* control(const QString& name) const {
        return board_->findChild<T*>(name);
    }
    QStringList lines(const QString& list) const {
        return static_cast<QStringListModel*>(control<QListView>(list)->model())->stringList();
    }
    QList<int> selectedRows(const QString& list) const {
        QList<int> rows;
        for (const QModelIndex& index : control<QListView>(list)->selectionModel()->selectedRows())
            rows.append(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    void selectStudent(int number) {
        QListView* list = control<QListView>(QStringLiteral("List2"));
        const QStringList all = lines(QStringLiteral("List2"));
        for (qsizetype row = 0; row < all.size(); ++row)
            if (all[row].endsWith(u'/' + QString::number(number)))
                list->selectionModel()->select(list->model()->index(static_cast<int>(row), 0),
                                               QItemSelectionModel::Select);
    }
    const QImage& picture() const {
        return control<board::SheetPicture>(QStringLiteral("Picture12"))->picture();
    }
    void addRun(int student, int level, int seconds, int daysBack) {
        LoadedRecord record;
        record.date = serialDay(kToday) - daysBack;
        record.clock = 0.5;
        record.student = student;
        record.level = level;
        record.seconds = seconds;
        records_.push_back(record);
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
    std::unique_ptr<QTemporaryDir> printed_;
    std::unique_ptr<test::PdfSheetPrinter> printer_;
    std::unique_ptr<seisekitime1> board_;
    std::vector<LoadedRecord> records_;
};

void tst_StatisticsPanel::init() {
    family_ = std::make_unique<test::FamilyFixture>();
    family_->writeText(roster::kRosterFileName,
                       QStringLiteral("3,2017,0,0,\"伊藤 さくら\",0,\"\",\"\"\n"
                                      "12,2014,0,0,\"佐藤 花子\",0,\"\",\"\"\n"
                                      "20,2013,0,0,\"退会 した\",1,\"\",\"\"\n"
                                      "90,1980,0,0,\"木村先生\",0,\"\",\"\"\n"));
    state_ = std::make_unique<SharedState>();
    progselbas::applyIdentity(state_->profile);
    progselbas::applyLevels(state_->profile);
    state_->folders.rootFolder = family_->root();
    state_->folders.dataFolder = family_->dataFolder();
    state_->settings.schoolYearStartMonth = 4;
    for (int level = 1; level <= 4; ++level) {
        state_->criteria.targetTimes[level] = 30;
        state_->criteria.minimumTimes[level] = 60;
        state_->criteria.clearPoints[level] = 100;
        state_->criteria.clearCounts[level] = 5;
        state_->criteria.pointRates[level] = 1;
        state_->criteria.judgeDays[level] = 30;
        state_->criteria.stopDays[level] = 1;
    }
    test::FakePageReader noProgramInfo;
    roster::readProgramInfo(*state_, noProgramInfo);
    clock_ = std::make_unique<test::FakeClock>(kToday, QTime(10, 0));
    QVERIFY(roster::loadRoster(*state_, clock_->today()));

    flow_ = std::make_unique<test::RecordingScreenFlow>();
    dialogs_ = std::make_unique<test::RecordingDialogs>();
    results_ = std::make_unique<test::RecordingResultsStore>();
    // The tally over the test's runs, as the results store makes it.
    results_->onAggregate = [this] {
        results::resetAggregates(state_->aggregates);
        state_->results.loadedRecords = records_;
        state_->results.bestTimes.fill(results::kNoBestTime);
        for (const LoadedRecord& r : records_) {
            int& best = state_->results.bestTimes.at(r.level, r.student);
            best = std::min(best, results::bestTimeCandidate(r.seconds));
        }
        results::aggregateRuns(state_->aggregates, records_, state_->criteria,
                               state_->server.referenceTimes, serialDay(kToday));
    };
    pages_ = std::make_unique<test::FakePageReader>();
    shell_ = std::make_unique<test::RecordingShell>();
    webViews_ = std::make_unique<test::FakeWebViewFactory>();
    printed_ = std::make_unique<QTemporaryDir>();
    printer_ = std::make_unique<test::PdfSheetPrinter>(printed_->path());

    for (int seconds : {60, 55, 58, 50})
        addRun(kStudent, 1, seconds, 10);
    addRun(kStudent, 2, 40, 5);
    addRun(3, 1, 45, 2);
    addRun(3, 2, 35, 2);
}

void tst_StatisticsPanel::cleanup() {
    board_.reset();
    records_.clear();
}

void tst_StatisticsPanel::open(int student) {
    state_->student.studentNo = student;
    state_->student.studentName = state_->roster.names[student];
    state_->student.studentGradeLabel = state_->roster.gradeLabels[student];
    state_->student.loginTime = clock_->secondsSinceMidnight();
    seisekitime1::Services services{*flow_,  *dialogs_,  *results_, *pages_,
                                    *shell_, *webViews_, *clock_};
    services.printer = printer_.get();
    board_ = std::make_unique<seisekitime1>(*state_, services);
    board_->load(QStringLiteral("全学年"));
    board_->Form_Activate();
    QVERIFY(board_->boardReady());
}

void tst_StatisticsPanel::openPanel() {
    board_->Option2_Click(2);
    QVERIFY(control<QPushButton>(QStringLiteral("Command17"))->isVisible());
    QTest::mouseClick(control<QPushButton>(QStringLiteral("Command17")), Qt::LeftButton);
    QVERIFY(control<QWidget>(QStringLiteral("Picture11"))->isVisible());
}

void tst_StatisticsPanel::graphButtonOnlyInOwnRunsDisplay() {
    open(kStudent);
    QWidget* graph = control<QPushButton>(QStringLiteral("Command17"));
    QWidget* panel = control<QWidget>(QStringLiteral("Picture11"));
    QVERIFY(graph && panel);
    QVERIFY(graph->isHidden());
    QVERIFY(panel->isHidden());

    board_->Option2_Click(2);
    QVERIFY(!graph->isHidden());
    // The roster list of active entries, by grade label and name; the levels.
    QCOMPARE(lines(QStringLiteral("List2")), QStringList({QStringLiteral(" /  木村先生/90"),
                                                          QStringLiteral("小３ /  伊藤 さくら/3"),
                                                          QStringLiteral("小６ /  佐藤 花子/12")}));
    QCOMPARE(lines(QStringLiteral("List3")),
             QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                          QStringLiteral("4")}));
    QVERIFY(selectedRows(QStringLiteral("List3")).isEmpty());

    QTest::mouseClick(static_cast<QPushButton*>(graph), Qt::LeftButton);
    QVERIFY(panel->isVisible());
    // Every change of the display hides the panel and the button again.
    board_->Option2_Click(1);
    QVERIFY(graph->isHidden());
    QVERIFY(panel->isHidden());
}

void tst_StatisticsPanel::opensWithOwnSheetsOfLevelsOneToThree() {
    open(kStudent);
    openPanel();
    QCOMPARE(board_->chosenStudent(), kStudent);
    QCOMPARE(selectedRows(QStringLiteral("List3")), (QList<int>{0, 1, 2}));
    QVERIFY(control<QListView>(QStringLiteral("List2"))->isHidden());
    QVERIFY(control<QPushButton>(QStringLiteral("Command25"))->isVisible());
    // Three bands: levels 1 and 2 with the student's bests in red, level 3
    // without a run.
    const double h = picture().height();
    QVERIFY(redIn(picture(), 0.05 * h) > 0);
    QVERIFY(redIn(picture(), 0.35 * h) > 0);
    QCOMPARE(redIn(picture(), 0.65 * h), 0);

    QTest::mouseClick(control<QPushButton>(QStringLiteral("Command25")), Qt::LeftButton);
    QVERIFY(control<QPushButton>(QStringLiteral("Command25"))->isHidden());
    QVERIFY(control<QListView>(QStringLiteral("List2"))->isVisible());
    QTest::mouseClick(control<QPushButton>(QStringLiteral("Command18")), Qt::LeftButton);
    QVERIFY(control<QWidget>(QStringLiteral("Picture11"))->isHidden());
}

void tst_StatisticsPanel::printButtonOnlyForTeachers_data() {
    QTest::addColumn<int>("student");
    QTest::addColumn<bool>("shown");
    QTest::newRow("a student") << kStudent << false;
    QTest::newRow("a teacher") << kTeacher << true;
}

void tst_StatisticsPanel::printButtonOnlyForTeachers() {
    QFETCH(int, student);
    QFETCH(bool, shown);
    open(student);
    openPanel();
    QCOMPARE(control<QPushButton>(QStringLiteral("Command24_1"))->isVisible(), shown);
    QVERIFY(control<QPushButton>(QStringLiteral("Command24_0"))->isVisible());
}

void tst_StatisticsPanel::clickOnAStudentShowsTheirSheets() {
    open(kStudent);
    openPanel();
    QTest::mouseClick(control<QPushButton>(QStringLiteral("Command25")), Qt::LeftButton);
    QListView* list = control<QListView>(QStringLiteral("List2"));
    // The teacher's line, the first: no runs, no red.
    const QRect line = list->visualRect(list->model()->index(0, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
    QCOMPARE(board_->chosenStudent(), kTeacher);
    const double h = picture().height();
    QCOMPARE(redIn(picture(), 0.05 * h), 0);
    // With student 3 chosen as well, the last student's sheets stay on the screen.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(1, 0)).center());
    QCOMPARE(board_->chosenStudent(), 3);
    QVERIFY(redIn(picture(), 0.05 * h) > 0);
}

void tst_StatisticsPanel::clickOnALevelRedraws() {
    open(kStudent);
    openPanel();
    QListView* levels = control<QListView>(QStringLiteral("List3"));
    // Level 1 off: level 2's sheet moves to the first band.
    QTest::mouseClick(levels->viewport(), Qt::LeftButton, {},
                      levels->visualRect(levels->model()->index(0, 0)).center());
    QCOMPARE(selectedRows(QStringLiteral("List3")), (QList<int>{1, 2}));
    const double h = picture().height();
    QVERIFY(redIn(picture(), 0.05 * h) > 0);
    QCOMPARE(redIn(picture(), 0.35 * h), 0);
    QCOMPARE(redIn(picture(), 0.65 * h), 0);
}

void tst_StatisticsPanel::twoSelectedStudentsPrintTwoJobs() {
    open(kTeacher);
    openPanel();
    selectStudent(12);
    selectStudent(3);
    // Four levels: three to a page, so two pages each.
    QListView* levels = control<QListView>(QStringLiteral("List3"));
    levels->selectionModel()->select(levels->model()->index(3, 0), QItemSelectionModel::Select);
    QTest::mouseClick(control<QPushButton>(QStringLiteral("Command24_1")), Qt::LeftButton);

    QCOMPARE(printer_->chosenFor, (std::vector<int>{2}));
    // One job per student, in list order.
    QCOMPARE(printer_->titles, QStringList({QStringLiteral("Kavoret 伊藤 さくら"),
                                            QStringLiteral("Kavoret 佐藤 花子")}));
    QCOMPARE(printer_->pages, (std::vector<int>{2, 2}));
    QCOMPARE(printer_->openJobs, 0);
    for (const QString& file : printer_->files) {
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QCOMPARE(bytes.count("/Type /Page\n"), 2);
    }
    QVERIFY(dialogs_->messages.isEmpty());
}

void tst_StatisticsPanel::cancelledPrintingPrintsNothing() {
    open(kTeacher);
    openPanel();
    printer_->chooses = false;
    board_->Command24_Click(1);
    QCOMPARE(printer_->chosenFor, (std::vector<int>{1}));
    QVERIFY(printer_->files.isEmpty());
}

void tst_StatisticsPanel::rosterFileErrorIsShown() {
    open(kStudent);
    family_->writeText(roster::kRosterFileName, QStringLiteral("1,2019,0,0,\"a\"\n"));
    board_->Option2_Click(2);
    QCOMPARE(dialogs_->messages.size(), 1);
    QVERIFY2(dialogs_->messages[0].text.contains(family_->root() + roster::kRosterFileName),
             qPrintable(dialogs_->messages[0].text));
    QVERIFY(lines(QStringLiteral("List2")).isEmpty());
    // The names the board knows stay as they were.
    QCOMPARE(state_->roster.names[kStudent], roster::fixedWidth(QStringLiteral("佐藤 花子")));
}

QTEST_MAIN(tst_StatisticsPanel)
#include "tst_statisticspanel.moc"
