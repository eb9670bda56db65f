#include "FakeClock.h"
#include "FakePageReader.h"
#include "FakeWebViews.h"
#include "FamilyFixture.h"
#include "RecordingCues.h"
#include "RecordingDialogs.h"
#include "RecordingResultsStore.h"
#include "RecordingScreenFlow.h"
#include "RecordingShell.h"
#include "ScriptedRandom.h"
#include "frame/ProgramProfile.h"
#include "frame/frmver.h"
#include "roster/NameList.h"
#include "roster/Roster.h"
#include "roster/namesel.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <utility>

using namespace kavoret;

namespace {
const QString kServer = QStringLiteral("http://127.0.0.1:8765");
const QString kInfoAddress =
    kServer + QStringLiteral("/benkyouRanking/BenkyouSoftInfoHyouji.php?SoftNo=801");
} // namespace

class tst_namesel : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void loadAndActivation_data();
    void loadAndActivation();
    void classFilter_data();
    void classFilter();
    void listModes_data();
    void listModes();
    void clickChoosesAndSeparatorResets();
    void doubleClickLogsIn();
    void loginWithoutNamePlaysCueAndStays_data();
    void loginWithoutNamePlaysCueAndStays();
    void enterOrSpaceInListLogsIn_data();
    void enterOrSpaceInListLogsIn();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void namesShownAsWritten();
    void keyOneOnlyWhileLoginShown();
    void keyZeroOnlyWhileMenuButtonShown();
    void programMenuThatCannotStartSaysSoAndStays();
    void productPage();
    void titleOpensVersionBox();
    void brokenRosterEndsBeforeShowing();
    void brokenRosterLaterEndsTheProgram();
    void backFromBoardResetsAndRefreshes();

private:
    void start();
    template <typename T> T* control(const QString& name) const {
        T* found = screen_->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QListWidget* list1() const { return control<QListWidget>(QStringLiteral("List1")); }
    QString label1() const { return control<QLabel>(QStringLiteral("Label1"))->text(); }
    int rowOf(const QString& name) const;
    void clickRow(int row);
    QStringList listTexts(const QString& name) const;
    void chooseMode(int mode);

    double firstTallyReference_ = -1;
    std::unique_ptr<test::FamilyFixture> family_;
    std::unique_ptr<SharedState> state_;
    std::unique_ptr<test::FakeClock> clock_;
    std::unique_ptr<test::ScriptedRandom> random_;
    std::unique_ptr<test::RecordingScreenFlow> flow_;
    std::unique_ptr<test::RecordingDialogs> dialogs_;
    std::unique_ptr<test::RecordingCues> cues_;
    std::unique_ptr<test::RecordingResultsStore> results_;
    std::unique_ptr<test::FakePageReader> pages_;
    std::unique_ptr<test::RecordingShell> shell_;
    std::unique_ptr<test::FakeWebViewFactory> webViews_;
    std::unique_ptr<namesel> screen_;
    int takahashiRunsToday_ = 2;
};

void tst_namesel::init() {
    family_ = std::make_unique<test::FamilyFixture>(QStringLiteral("kavoret"));
    // School year 2026 (the clock says 11 December 2026).
    family_->writeText(roster::kRosterFileName,
                       QStringLiteral("1,2019,0,0,\"佐藤 ひなた\",0,\"\",\"\"\n"
                                      "2,2017,0,0,\"高橋ゆい\",0,\"\",\"\"\n"
                                      "3,2017,0,0,\"伊藤 さくら\",0,\"\",\"\"\n"
                                      "4,2014,0,0,\"中村いつき\",0,\"\",\"\"\n"
                                      "5,2012,0,0,\"小林あおい\",0,\"\",\"\"\n"
                                      "6,2017,0,0,\"渡辺 はると\",1,\"\",\"\"\n"
                                      "7,2021,0,0,\"よしだゆうま\",0,\"\",\"\"\n"
                                      "90,1980,0,0,\"木村先生\",0,\"\",\"\"\n"));
    state_ = std::make_unique<SharedState>();
    progselbas::applyIdentity(state_->profile);
    state_->folders.appFolder = family_->programFolder() + u'/';
    state_->folders.rootFolder = family_->root();
    state_->folders.dataFolder = family_->dataFolder();
    state_->settings.schoolYearStartMonth = 4;
    state_->settings.schoolName = QStringLiteral("テスト塾");
    state_->settings.schoolNumber = QStringLiteral("1234");
    state_->settings.rankingServer = kServer;
    state_->settings.seasonColour = Rgb{192, 64, 0};

    clock_ = std::make_unique<test::FakeClock>(QDate(2026, 12, 11), QTime(10, 0));
    random_ = std::make_unique<test::ScriptedRandom>();
    flow_ = std::make_unique<test::RecordingScreenFlow>();
    dialogs_ = std::make_unique<test::RecordingDialogs>();
    cues_ = std::make_unique<test::RecordingCues>();
    results_ = std::make_unique<test::RecordingResultsStore>();
    pages_ = std::make_unique<test::FakePageReader>();
    pages_->pages.insert(kInfoAddress, QStringLiteral("_a_b_40_"));
    shell_ = std::make_unique<test::RecordingShell>();
    webViews_ = std::make_unique<test::FakeWebViewFactory>();

    takahashiRunsToday_ = 2;
    results_->onAggregate = [this] {
        if (results_->aggregations == 1)
            firstTallyReference_ = state_->server.referenceTimes[1];
        AggregateState& a = state_->aggregates;
        a.todayRunCounts.fill(0);
        a.todayRunCounts.at(1, 2) = static_cast<float>(takahashiRunsToday_);
        a.validRunCounts.at(1, 2) = 5;
        a.validRunCounts.at(2, 2) = 3;
        a.todayPointTotals.at(1, 2) = 20;
        a.pointTotals.at(1, 2) = 140;
    };

    screen_ = std::make_unique<namesel>(*state_, namesel::Services{*flow_, *dialogs_, *cues_,
                                                                   *results_, *pages_, *shell_,
                                                                   *webViews_, *clock_, *random_});
}

void tst_namesel::cleanup() {
    screen_.reset();
}

void tst_namesel::start() {
    QVERIFY(screen_->load());
    screen_->Form_Activate();
}

int tst_namesel::rowOf(const QString& name) const {
    for (int row = 1; row < list1()->count(); ++row) {
        if (list1()->item(row)->text().contains(name))
            return row;
    }
    return -1;
}

void tst_namesel::clickRow(int row) {
    QListWidget* list = list1();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

void tst_namesel::chooseMode(int mode) {
    // On the button's circle: the caption may be shorter than the button.
    auto* option = control<QRadioButton>(QStringLiteral("Option1_%1").arg(mode));
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

QStringList tst_namesel::listTexts(const QString& name) const {
    QStringList texts;
    const QListWidget* list = control<QListWidget>(name);
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}

void tst_namesel::loadAndActivation_data() {
    QTest::addColumn<int>("homeMode");
    QTest::addColumn<QString>("homeLabel");
    QTest::newRow("school") << 0 << "";
    QTest::newRow("home") << 1 << "家庭用";
}

void tst_namesel::loadAndActivation() {
    QFETCH(int, homeMode);
    QFETCH(QString, homeLabel);
    state_->settings.homeMode = homeMode;
    start();
    QVERIFY(screen_->isVisible());
    QCOMPARE(screen_->palette().color(QPalette::Window), QColor(192, 64, 0));
    QCOMPARE(random_->seeds, QList<unsigned>{36000});

    // Mode 1, all grades, ordered by birth year: the teacher first, the
    // kindergarten child last, the withdrawn student nowhere.
    QCOMPARE(screen_->listMode(), 1);
    QVERIFY(control<QRadioButton>(QStringLiteral("Option1_1"))->isChecked());
    QCOMPARE(screen_->chosenClass(), QStringLiteral("全学年"));
    const QStringList shown = listTexts(QStringLiteral("List1"));
    QCOMPARE(shown.size(), 8);
    QCOMPARE(shown[0], roster::kSeparatorEntry);
    QCOMPARE(shown[1], QStringLiteral("大+ 木村先生　　  　/       "));
    QCOMPARE(shown[5], QStringLiteral("小3 高橋ゆい　　  20/    140"));
    QCOMPARE(shown[7], QStringLiteral("幼2 よしだゆうま　　  　/       "));
    QStringList numbers;
    for (const QString& line : listTexts(QStringLiteral("List3")))
        numbers.append(roster::numberPart(line));
    QCOMPARE(numbers, (QStringList{"90", "5", "4", "3", "2", "1", "7"}));
    QCOMPARE(listTexts(QStringLiteral("List2")), listTexts(QStringLiteral("List3")));
    QCOMPARE(list1()->currentRow(), 0);
    QCOMPARE(label1(), roster::kChoosePrompt);

    auto* combo = control<QComboBox>(QStringLiteral("Combo1"));
    QCOMPARE(combo->count(), 12);
    QCOMPARE(combo->itemText(0), QStringLiteral("全学年"));
    QCOMPARE(combo->itemText(11), QStringLiteral("小１"));
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(combo->placeholderText(), QStringLiteral("表示する学年を選びなさい"));

    QCOMPARE(control<QLabel>(QStringLiteral("Label13"))->text(), QStringLiteral("1234 テスト塾"));
    QCOMPARE(control<QLabel>(QStringLiteral("Label14"))->text(), homeLabel);
    auto* title = control<QLabel>(QStringLiteral("Label4"));
    QCOMPARE(title->text(), QStringLiteral("Kavoret"));
    QCOMPARE(title->font().pointSize(), 48);
    QVERIFY(webViews_->view(QStringLiteral("WebBrowser2")));
    QCOMPARE(webViews_->view(QStringLiteral("WebBrowser2"))->navigations,
             QStringList{family_->dataFolder() + QStringLiteral("PageName.htm")});

    // The program information was read and set the limits.
    QCOMPARE(control<QLineEdit>(QStringLiteral("TURL"))->text(), kInfoAddress);
    QCOMPARE(pages_->reads, QStringList{kInfoAddress});
    QCOMPARE(state_->server.referenceTimes[1], 40.0);
    // The first tally already rated against the server's reference time.
    QCOMPARE(firstTallyReference_, 40.0);
    QCOMPARE(state_->server.levelPointLimits[0][1], 300.0);
    QCOMPARE(state_->server.levelPointLimits[3][4], 4500.0);
    QVERIFY(flow_->calls.contains(QStringLiteral("closeBoard")));
    QVERIFY(results_->aggregations >= 1);
    QVERIFY(control<QPushButton>(QStringLiteral("Command14"))->isVisible());
    QVERIFY(!control<QWidget>(QStringLiteral("Picture5"))->isVisible());
}

void tst_namesel::classFilter_data() {
    QTest::addColumn<int>("comboIndex");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("小３") << 9 << QStringList{"3", "2"};
    QTest::newRow("小学生全体") << 2 << QStringList{"4", "3", "2", "1"};
    QTest::newRow("中学生全体") << 1 << QStringList{"5"};
    QTest::newRow("中３ nobody") << 3 << QStringList{};
    QTest::newRow("全学年") << 0 << QStringList{"90", "5", "4", "3", "2", "1", "7"};
}

void tst_namesel::classFilter() {
    QFETCH(int, comboIndex);
    QFETCH(QStringList, numbers);
    start();
    auto* combo = control<QComboBox>(QStringLiteral("Combo1"));
    combo->setCurrentIndex(comboIndex);
    emit combo->activated(comboIndex);
    QCOMPARE(screen_->chosenClass(), combo->itemText(comboIndex));
    QStringList shown;
    for (const QString& line : listTexts(QStringLiteral("List3")))
        shown.append(roster::numberPart(line));
    QCOMPARE(shown, numbers);
    QCOMPARE(list1()->count(), numbers.size() + 1);
    QCOMPARE(listTexts(QStringLiteral("List2")).size(), 7);
    QCOMPARE(screen_->focusWidget(), list1());
}

void tst_namesel::listModes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("takahashi");
    QTest::addColumn<QString>("sato");
    QTest::newRow("0 回数(今日／今まで）") << 0 << "小3 高橋ゆい　　  2回/    8回"
                                           << "小1 佐藤 ひなた      /     　";
    QTest::newRow("1 ポイント（今日／今まで）") << 1 << "小3 高橋ゆい　　  20/    140"
                                                << "小1 佐藤 ひなた   　/       ";
    QTest::newRow("2 本日（ポイント／回数）") << 2 << "小3 高橋ゆい　　  20/  2回"
                                              << "小1 佐藤 ひなた   　/     ";
    QTest::newRow("3 今まで（ポイント／回数）") << 3 << "小3 高橋ゆい　　    140/    8回"
                                                << "小1 佐藤 ひなた        /     　";
}

void tst_namesel::listModes() {
    QFETCH(int, mode);
    QFETCH(QString, takahashi);
    QFETCH(QString, sato);
    start();
    chooseMode(mode);
    QCOMPARE(screen_->listMode(), mode);
    QVERIFY(control<QRadioButton>(QStringLiteral("Option1_%1").arg(mode))->isChecked());
    QCOMPARE(list1()->item(5)->text(), takahashi);
    QCOMPARE(list1()->item(6)->text(), sato);
    QCOMPARE(screen_->focusWidget(), list1());
}

void tst_namesel::clickChoosesAndSeparatorResets() {
    start();
    clickRow(rowOf(QStringLiteral("高橋")));
    QCOMPARE(label1(), QStringLiteral("小3 高橋ゆい　　"));
    QCOMPARE(control<QLabel>(QStringLiteral("Label2"))->text(), QStringLiteral("2"));
    clickRow(rowOf(QStringLiteral("木村")));
    QCOMPARE(label1(), QStringLiteral("大+ 木村先生　　"));
    QCOMPARE(control<QLabel>(QStringLiteral("Label2"))->text(), QStringLiteral("90"));
    clickRow(0);
    QCOMPARE(label1(), roster::kChoosePrompt);
    QVERIFY(flow_->count(QStringLiteral("showBoard")) == 0);
}

void tst_namesel::doubleClickLogsIn() {
    start();
    QListWidget* list = list1();
    const int row = rowOf(QStringLiteral("高橋"));
    // As the window system delivers it: a click, then the second press as a
    // double click, then its release.
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(flow_->count(QStringLiteral("showBoard")), 1);
    QCOMPARE(label1(), QStringLiteral("小3 高橋ゆい　　  20"));
    const StudentState& student = state_->student;
    QCOMPARE(student.studentNo, 2);
    QCOMPARE(student.studentName, roster::fixedWidth(QStringLiteral("高橋ゆい")));
    QCOMPARE(student.studentGradeLabel, QStringLiteral("小３"));
    QCOMPARE(student.loginTime, 36000);
    QCOMPARE(state_->profile.levelNames[1], QStringLiteral("abc"));
    QCOMPARE(state_->profile.levelNames[5], QStringLiteral("5ﾚﾍﾞﾙ"));
    QVERIFY(control<QPushButton>(QStringLiteral("Command14"))->isHidden());
    QVERIFY(control<QWidget>(QStringLiteral("Picture5"))->isVisible());
    QVERIFY(cues_->played.isEmpty());
}

void tst_namesel::loginWithoutNamePlaysCueAndStays_data() {
    QTest::addColumn<bool>("chooseSeparator");
    QTest::newRow("nothing chosen yet") << false;
    QTest::newRow("separator chosen after a name") << true;
}

void tst_namesel::loginWithoutNamePlaysCueAndStays() {
    QFETCH(bool, chooseSeparator);
    start();
    if (chooseSeparator) {
        clickRow(rowOf(QStringLiteral("高橋")));
        clickRow(0);
    }
    QTest::mouseClick(control<QPushButton>(QStringLiteral("Command14")), Qt::LeftButton);
    QCOMPARE(cues_->played, QStringList{QStringLiteral("cue:%1").arg(kCue間違い音2)});
    QCOMPARE(flow_->count(QStringLiteral("showBoard")), 0);
    QVERIFY(control<QPushButton>(QStringLiteral("Command14"))->isVisible());
    QCOMPARE(state_->student.studentNo, 0);
}

void tst_namesel::enterOrSpaceInListLogsIn_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void tst_namesel::enterOrSpaceInListLogsIn() {
    QFETCH(int, key);
    start();
    clickRow(rowOf(QStringLiteral("伊藤")));
    QTest::keyClick(list1(), Qt::Key(key));
    QCOMPARE(flow_->count(QStringLiteral("showBoard")), 1);
    QCOMPARE(state_->student.studentNo, 3);
}

void tst_namesel::enterPressesTheFocusedButton_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    for (const auto& [name, key] :
         {std::pair{"Return", Qt::Key_Return}, std::pair{"keypad Enter", Qt::Key_Enter},
          std::pair{"Space", Qt::Key_Space}}) {
        for (const char* button :
             {"Command14", "Command7", "Command13", "Command1", "Option1_0", "Option1_3"})
            QTest::addRow("%s, %s", button, name) << button << int(key);
    }
}

void tst_namesel::enterPressesTheFocusedButton() {
    QFETCH(QString, button);
    QFETCH(int, key);
    start();
    screen_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(screen_.get()));
    clickRow(rowOf(QStringLiteral("伊藤")));
    auto* pressed = control<QAbstractButton>(button);
    pressed->setFocus();
    QCOMPARE(screen_->focusWidget(), pressed);
    QTest::keyClick(pressed, Qt::Key(key));
    if (button.startsWith(QStringLiteral("Option1_"))) {
        // The list mode is chosen and the focus is back in the list.
        QCOMPARE(screen_->listMode(), button.right(1).toInt());
        QVERIFY(static_cast<QRadioButton*>(pressed)->isChecked());
        QCOMPARE(screen_->focusWidget(), list1());
    } else if (button == QStringLiteral("Command14")) {
        QCOMPARE(flow_->count(QStringLiteral("showBoard")), 1);
        QCOMPARE(state_->student.studentNo, 3);
    } else if (button == QStringLiteral("Command1")) {
        QCOMPARE(shell_->opened, QStringList{state_->profile.productPageUrl});
    } else {
        QCOMPARE(shell_->started.size(), 1);
        QCOMPARE(flow_->count(QStringLiteral("endProgram:0")), 1);
    }
}

void tst_namesel::namesShownAsWritten() {
    family_->writeText(roster::kRosterFileName,
                       QStringLiteral("1,2019,0,0,\"<b>x</b>\",0,\"\",\"\"\n"));
    state_->settings.schoolName = QStringLiteral("<i>テスト塾</i>");
    start();
    QCOMPARE(list1()->count(), 2);
    // Markup read as such would leave the tags out and take less room.
    auto showsLiterally = [](const QLabel* label) {
        return label->sizeHint().width() >=
               label->fontMetrics().horizontalAdvance(label->text()) - 2;
    };
    const auto* school = control<QLabel>(QStringLiteral("Label13"));
    QCOMPARE(school->text(), QStringLiteral("1234 <i>テスト塾</i>"));
    QVERIFY(showsLiterally(school));

    clickRow(1);
    const auto* name = control<QLabel>(QStringLiteral("Label1"));
    QVERIFY2(name->text().contains(QStringLiteral("<b>x</b")), qPrintable(name->text()));
    QVERIFY(showsLiterally(name));
    QTest::mouseDClick(list1()->viewport(), Qt::LeftButton, {},
                       list1()->visualItemRect(list1()->item(1)).center());
    QVERIFY2(name->text().contains(QStringLiteral("<b>x</b>")), qPrintable(name->text()));
    QVERIFY(showsLiterally(name));
    QCOMPARE(state_->student.studentName.trimmed(), QStringLiteral("<b>x</b>"));
}

void tst_namesel::keyOneOnlyWhileLoginShown() {
    start();
    clickRow(rowOf(QStringLiteral("高橋")));
    QTest::keyClick(list1(), '1');
    QCOMPARE(flow_->count(QStringLiteral("showBoard")), 1);
    QCOMPARE(state_->student.studentNo, 2);

    // The login has hidden Command14: "1" does nothing now.
    list1()->setCurrentRow(rowOf(QStringLiteral("伊藤")));
    QCOMPARE(control<QLabel>(QStringLiteral("Label2"))->text(), QStringLiteral("3"));
    QTest::keyClick(list1(), '1');
    QTest::keyClick(screen_.get(), '1');
    QCOMPARE(flow_->count(QStringLiteral("showBoard")), 1);
    QCOMPARE(state_->student.studentNo, 2);
    QVERIFY(cues_->played.isEmpty());
}

void tst_namesel::keyZeroOnlyWhileMenuButtonShown() {
    start();
    QTest::keyClick(list1(), '0');
    QCOMPARE(shell_->started.size(), 1);
    QCOMPARE(shell_->started[0].program,
             family_->programFolder() + QStringLiteral("/../起動/プログラムメニューc.exe"));
    QCOMPARE(shell_->started[0].arguments, QStringList{"001"});
    QCOMPARE(flow_->count(QStringLiteral("endProgram:0")), 1);

    control<QPushButton>(QStringLiteral("Command7"))->hide();
    QTest::keyClick(list1(), '0');
    QCOMPARE(shell_->started.size(), 1);
}

void tst_namesel::programMenuThatCannotStartSaysSoAndStays() {
    start();
    shell_->startSucceeds = false;
    QTest::mouseClick(control<QPushButton>(QStringLiteral("Command13")), Qt::LeftButton);
    QCOMPARE(shell_->started.size(), 1);
    QCOMPARE(dialogs_->messages.size(), 1);
    QVERIFY(dialogs_->messages[0].text.contains(QStringLiteral("プログラムメニュー")));
    QVERIFY(dialogs_->messages[0].text.contains(shell_->started[0].program));
    QCOMPARE(dialogs_->messages[0].title, QStringLiteral("Kavoret"));
    QVERIFY(!flow_->calls.join(u' ').contains(QStringLiteral("endProgram")));
    QVERIFY(screen_->isVisible());
}

void tst_namesel::productPage() {
    start();
    QTest::mouseClick(control<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(shell_->opened, QStringList{state_->profile.productPageUrl});
    QVERIFY(dialogs_->messages.isEmpty());
    shell_->openSucceeds = false;
    QTest::mouseClick(control<QPushButton>(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(dialogs_->messages.size(), 1);
    QVERIFY(dialogs_->messages[0].text.contains(state_->profile.productPageUrl));
}

void tst_namesel::titleOpensVersionBox() {
    start();
    QString seenTitle;
    bool modal = false;
    // Looks for the box until it is up, then closes it.
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<frmver*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll.stop();
        modal = box->isModal();
        seenTitle = box->findChild<QLabel*>(QStringLiteral("Label1"))->text();
        box->close();
    });
    poll.start();
    QTest::mouseClick(control<QLabel>(QStringLiteral("Label4")), Qt::LeftButton);
    QVERIFY(modal);
    QCOMPARE(seenTitle, QStringLiteral("Kavoret"));
}

void tst_namesel::brokenRosterEndsBeforeShowing() {
    family_->writeText(roster::kRosterFileName, QStringLiteral("1,2019,0,0,\"短い\",0,\"\"\n"));
    QVERIFY(!screen_->load());
    QVERIFY(!screen_->isVisible());
    QCOMPARE(flow_->calls, QStringList{"endProgram:1"});
    QCOMPARE(dialogs_->messages.size(), 1);
    QVERIFY(dialogs_->messages[0].text.contains(family_->root() + roster::kRosterFileName));
    QVERIFY(dialogs_->messages[0].text.contains(QStringLiteral("1 件目")));
    QCOMPARE(dialogs_->messages[0].icon, Dialogs::Icon::Error);
}

void tst_namesel::brokenRosterLaterEndsTheProgram() {
    start();
    family_->remove(roster::kRosterFileName);
    chooseMode(2);
    QCOMPARE(flow_->count(QStringLiteral("endProgram:1")), 1);
    QCOMPARE(dialogs_->messages.size(), 1);
    QVERIFY(dialogs_->messages[0].text.contains(roster::kRosterFileName));
}

void tst_namesel::backFromBoardResetsAndRefreshes() {
    start();
    auto* combo = control<QComboBox>(QStringLiteral("Combo1"));
    combo->setCurrentIndex(9);
    emit combo->activated(9); // 小３
    chooseMode(0);
    clickRow(rowOf(QStringLiteral("高橋")));
    QTest::mouseClick(control<QPushButton>(QStringLiteral("Command14")), Qt::LeftButton);
    QCOMPARE(flow_->count(QStringLiteral("showBoard")), 1);
    const int closes = flow_->count(QStringLiteral("closeBoard"));

    // Two more runs on the board, then back.
    takahashiRunsToday_ = 4;
    screen_->formactive2();
    QCOMPARE(flow_->count(QStringLiteral("closeBoard")), closes + 1);
    QCOMPARE(screen_->listMode(), 1);
    QVERIFY(control<QRadioButton>(QStringLiteral("Option1_1"))->isChecked());
    QCOMPARE(screen_->chosenClass(), QStringLiteral("全学年"));
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(list1()->count(), 8);
    QCOMPARE(label1(), roster::kChoosePrompt);
    QVERIFY(control<QPushButton>(QStringLiteral("Command14"))->isVisible());
    QVERIFY(!control<QWidget>(QStringLiteral("Picture5"))->isVisible());
    QCOMPARE(pages_->reads.size(), 1); // no second program information read

    chooseMode(0);
    QCOMPARE(list1()->item(rowOf(QStringLiteral("高橋")))->text(),
             QStringLiteral("小3 高橋ゆい　　  4回/    8回"));
    // And the next student can log in.
    clickRow(rowOf(QStringLiteral("佐藤")));
    QTest::keyClick(list1(), '1');
    QCOMPARE(flow_->count(QStringLiteral("showBoard")), 2);
    QCOMPARE(state_->student.studentNo, 1);
}

QTEST_MAIN(tst_namesel)
#include "tst_namesel.moc"
