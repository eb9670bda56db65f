#include "roster/namesel.h"

#include "frame/Cues.h"
#include "frame/ProgramProfile.h"
#include "frame/ResultsStore.h"
#include "frame/ScreenFlow.h"
#include "frame/SharedState.h"
#include "frame/frmver.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Random.h"
#include "platform/Shell.h"
#include "platform/WebView.h"
#include "roster/NameList.h"
#include "roster/ProgramInfo.h"
#include "roster/Roster.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>

namespace kavoret {
namespace {

constexpr int kDesignWidth = 1024;
constexpr int kDesignHeight = 768;

const QString kListFont = QStringLiteral("Noto Sans Mono CJK JP");
const QString kPanelStyle =
    QStringLiteral("background: rgba(255, 255, 255, 170); border-radius: 10px;");

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& geometry, int fontPixels) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter presses the focused button, as the space bar does.
    button->setAutoDefault(true);
    button->setGeometry(geometry);
    QFont font = button->font();
    font.setPixelSize(fontPixels);
    button->setFont(font);
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry, int fontPixels) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    // Roster names and school names are shown as written, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    QFont font = label->font();
    font.setPixelSize(fontPixels);
    label->setFont(font);
    return label;
}

bool isKey(const QKeyEvent* key, char digit) {
    return key->text() == QString(QChar::fromLatin1(digit));
}

} // namespace

QStringList namesel::classNames() {
    return {QStringLiteral("全学年"), QStringLiteral("中学生全体"), QStringLiteral("小学生全体"),
            QStringLiteral("中３"),   QStringLiteral("中２"),       QStringLiteral("中１"),
            QStringLiteral("小６"),   QStringLiteral("小５"),       QStringLiteral("小４"),
            QStringLiteral("小３"),   QStringLiteral("小２"),       QStringLiteral("小１")};
}

namesel::namesel(SharedState& state, Services services, QWidget* parent)
    : QWidget(parent), state_(state), services_(services) {
    setObjectName(QStringLiteral("namesel"));
    setWindowTitle(state_.profile.programTitle);
    setFixedSize(kDesignWidth, kDesignHeight);
    buildControls();
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    installEventFilter(this);
}

void namesel::buildControls() {
    // Picture10: the design area at the top left, holding the title band.
    picture10_ = new QWidget(this);
    picture10_->setObjectName(QStringLiteral("Picture10"));

    label4_ = makeLabel(picture10_, "Label4", QRect(24, 8, 520, 96), 16);
    label4_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label4_->setCursor(Qt::PointingHandCursor);
    label4_->setStyleSheet(QStringLiteral("color: rgb(20, 40, 110);"));

    label13_ = makeLabel(picture10_, "Label13", QRect(560, 20, 440, 34), 22);
    label13_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label14_ = makeLabel(picture10_, "Label14", QRect(560, 58, 440, 30), 20);
    label14_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label14_->setStyleSheet(QStringLiteral("color: rgb(160, 0, 0); font-weight: bold;"));

    command7_ = makeButton(picture10_, "Command7", QStringLiteral("ﾌﾟﾟﾛｸﾞﾗﾑメニューへ(0)"),
                           QRect(24, 714, 300, 40), 18);
    command1_ = makeButton(picture10_, "Command1", QStringLiteral("ソフトの紹介ページ"),
                           QRect(540, 714, 220, 40), 18);
    command13_ = makeButton(picture10_, "Command13", QStringLiteral("プログラムメニューへ"),
                            QRect(776, 714, 224, 40), 18);

    // Picture12: the panel of the list and its controls.
    picture12_ = new QWidget(this);
    picture12_->setObjectName(QStringLiteral("Picture12"));
    picture12_->setAttribute(Qt::WA_StyledBackground);
    picture12_->setStyleSheet(QStringLiteral("#Picture12 { %1 }").arg(kPanelStyle));
    picture12_->resize(976, 592);

    list1_ = new QListWidget(picture12_);
    list1_->setObjectName(QStringLiteral("List1"));
    list1_->setGeometry(16, 16, 488, 560);
    QFont listFont(kListFont);
    listFont.setPixelSize(20);
    listFont.setStyleHint(QFont::Monospace);
    list1_->setFont(listFont);
    list1_->setStyleSheet(QStringLiteral("QListWidget { background: white; }"));

    list2_ = new QListWidget(picture12_);
    list2_->setObjectName(QStringLiteral("List2"));
    list2_->hide();
    list3_ = new QListWidget(picture12_);
    list3_->setObjectName(QStringLiteral("List3"));
    list3_->hide();

    combo1_ = new QComboBox(picture12_);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setGeometry(528, 16, 300, 40);
    combo1_->setPlaceholderText(QStringLiteral("表示する学年を選びなさい"));
    QFont comboFont = combo1_->font();
    comboFont.setPixelSize(18);
    combo1_->setFont(comboFont);

    const QString captions[4] = {
        QStringLiteral("回数(今日／今まで）"), QStringLiteral("ポイント（今日／今まで）"),
        QStringLiteral("本日（ポイント／回数）"), QStringLiteral("今まで（ポイント／回数）")};
    option1Group_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(captions[i], picture12_);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option->setGeometry(528, 68 + 34 * i, 430, 30);
        QFont font = option->font();
        font.setPixelSize(18);
        option->setFont(font);
        option1Group_->addButton(option, i);
        option1_[static_cast<std::size_t>(i)] = option;
        connect(option, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    option1_[1]->setChecked(true);

    label1_ = makeLabel(picture12_, "Label1", QRect(528, 214, 432, 60), 26);
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setStyleSheet(QStringLiteral(
        "background: white; border: 2px solid rgb(20, 40, 110); border-radius: 6px;"));
    label1_->setText(roster::kChoosePrompt);
    label2_ = makeLabel(picture12_, "Label2", QRect(528, 276, 100, 20), 12);
    label2_->hide();

    command14_ = makeButton(picture12_, "Command14", QStringLiteral("名前を選んでココをクリック"),
                            QRect(528, 284, 432, 76), 26);

    webBrowser2_ = services_.webViews.create(picture12_, QStringLiteral("WebBrowser2"));
    webBrowser2_->widget()->setGeometry(528, 372, 432, 204);

    turl_ = new QLineEdit(picture12_);
    turl_->setObjectName(QStringLiteral("TURL"));
    turl_->hide();

    // Picture5: covers the panel while the results board opens after a login.
    picture5_ = new QWidget(this);
    picture5_->setObjectName(QStringLiteral("Picture5"));
    picture5_->setAutoFillBackground(true);
    auto* waiting = makeLabel(picture5_, "Label5", QRect(0, 0, 976, 592), 36);
    waiting->setText(QStringLiteral("しばらくお待ちください"));
    waiting->setAlignment(Qt::AlignCenter);
    picture5_->resize(976, 592);
    picture5_->hide();

    connect(list1_, &QListWidget::currentRowChanged, this, [this](int row) { List1_Click(row); });
    connect(list1_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { List1_Click(list1_->row(item)); });
    connect(list1_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { List1_DblClick(list1_->row(item)); });
    connect(combo1_, &QComboBox::activated, this, [this](int index) { Combo1_Click(index); });
    connect(command14_, &QPushButton::clicked, this, [this] { Command14_Click(); });
    connect(command7_, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(command13_, &QPushButton::clicked, this, [this] { Command13_Click(); });
    connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

bool namesel::load() {
    // The screen is centred on the screen, and so is Picture12 within it.
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    picture12_->move((width() - picture12_->width()) / 2, 112);
    picture5_->move(picture12_->pos());
    webBrowser2_->navigate(state_.folders.dataFolder + QStringLiteral("PageName.htm"));
    picture10_->setGeometry(0, 0, kDesignWidth, kDesignHeight);
    picture12_->raise();
    picture5_->raise();
    paintSeasonColour();
    services_.random.seed(static_cast<unsigned>(services_.clock.secondsSinceMidnight()));
    // The program information comes before the first tally: a level's points
    // are rated against its reference time, and a tally that found none would
    // put 100 seconds in its place for good.
    ソフト情報よみこみ();
    // The roster is read before the screen shows, so a broken roster ends the
    // program without a half-filled screen.
    if (!名簿表示())
        return false;
    show();
    QFont title = label4_->font();
    title.setPointSize(48);
    title.setBold(true);
    label4_->setFont(title);
    label4_->setText(state_.profile.programTitle);
    list1_->setCurrentRow(0);
    list1_->setFocus();
    return true;
}

void namesel::Form_Activate() {
    label13_->setText(state_.settings.schoolNumber + u' ' + state_.settings.schoolName);
    label14_->setText(state_.settings.homeMode == 1 ? QStringLiteral("家庭用") : QString());
    activationSteps();
}

void namesel::formactive2() {
    activationSteps();
}

void namesel::activationSteps() {
    // Coming back from the board the login controls are offered again.
    command14_->show();
    picture5_->hide();
    listMode_ = roster::kPointsTodayAndSoFar;
    option1_[1]->setChecked(true);
    combo1_->clear();
    combo1_->addItems(classNames());
    combo1_->setCurrentIndex(-1);
    chosenClass_ = QStringLiteral("全学年");
    services_.flow.closeBoard();
    label1_->setText(roster::kChoosePrompt);
    // The list follows the reset mode and class, with the figures of now.
    if (!名簿表示())
        return;
    list1_->setCurrentRow(0);
    list1_->setFocus();
}

bool namesel::名簿表示() {
    if (Status loaded = roster::loadRoster(state_, services_.clock.today()); !loaded) {
        services_.dialogs.message(loaded.error().message, state_.profile.programTitle,
                                  Dialogs::Icon::Error);
        services_.flow.endProgram(1);
        return false;
    }
    services_.results.回数求();
    const roster::NameList list =
        roster::buildNameList(state_.roster, state_.aggregates, listMode_, chosenClass_, order_);
    const QSignalBlocker blocker(list1_);
    list1_->clear();
    list1_->addItem(roster::kSeparatorEntry);
    list1_->addItems(list.visible);
    showLines(list2_, list.allLines);
    showLines(list3_, list.visibleLines);
    return true;
}

void namesel::showLines(QListWidget* list, const QStringList& lines) {
    list->clear();
    list->addItems(lines);
}

void namesel::ソフト情報よみこみ() {
    turl_->setText(roster::readProgramInfo(state_, services_.pages));
}

void namesel::List1_Click(int index) {
    if (index == 0) {
        label1_->setText(roster::kChoosePrompt);
        return;
    }
    if (index < 0 || index >= list1_->count() || index - 1 >= list3_->count())
        return;
    label1_->setText(roster::clickedNameText(list1_->item(index)->text()));
    label2_->setText(roster::numberPart(list3_->item(index - 1)->text()));
}

void namesel::List1_DblClick(int index) {
    if (index == 0) {
        label1_->setText(roster::kChoosePrompt);
        return;
    }
    if (index < 0 || index >= list1_->count() || index - 1 >= list3_->count())
        return;
    label1_->setText(roster::doubleClickedNameText(list1_->item(index)->text()));
    label2_->setText(roster::numberPart(list3_->item(index - 1)->text()));
    Command14_Click();
}

void namesel::Combo1_Click(int index) {
    if (index < 0)
        return;
    chosenClass_ = combo1_->itemText(index);
    if (名簿表示())
        list1_->setFocus();
}

void namesel::Option1_Click(int index) {
    listMode_ = index;
    if (名簿表示())
        list1_->setFocus();
}

void namesel::Command14_Click() {
    // Once a login is under way (the button hidden) a double click or key does not log in again.
    if (command14_->isHidden())
        return;
    bool isNumber = false;
    const int number = label2_->text().toInt(&isNumber);
    if (label1_->text().isEmpty() || label1_->text() == roster::kChoosePrompt || !isNumber ||
        number < 0 || number > kMaxStudent) {
        services_.cues.play(kCue間違い音2);
        return;
    }
    StudentState& student = state_.student;
    student.loginTime = services_.clock.secondsSinceMidnight();
    student.studentNo = number;
    student.studentName = state_.roster.names[number];
    student.studentGradeLabel = state_.roster.gradeLabels[number];

    command14_->hide();
    picture5_->show();
    picture5_->raise();
    QCoreApplication::processEvents();
    progselbas::applyLevelsAndOpenBoard(state_.profile, services_.flow);
}

void namesel::Command7_Click() {
    startProgramMenu();
}

void namesel::Command13_Click() {
    startProgramMenu();
}

void namesel::startProgramMenu() {
    QString folder = state_.folders.appFolder;
    if (folder.endsWith(u'/'))
        folder.chop(1);
    const QString program = folder + QStringLiteral("/../起動/プログラムメニューc.exe");
    if (services_.shell.start(program, {QStringLiteral("001")})) {
        services_.flow.endProgram(0);
        return;
    }
    services_.dialogs.message(
        QStringLiteral("プログラムメニュー「%1」を起動できません。").arg(program),
        state_.profile.programTitle, Dialogs::Icon::Warning);
}

void namesel::Command1_Click() {
    const QString& page = state_.profile.productPageUrl;
    if (!services_.shell.open(page))
        services_.dialogs.message(
            QStringLiteral("ソフトの紹介ページ「%1」を開けません。").arg(page),
            state_.profile.programTitle, Dialogs::Icon::Warning);
}

void namesel::Label4_Click() {
    frmver box(state_.profile.programTitle, this);
    box.move(frameGeometry().center() - box.rect().center());
    box.exec();
}

void namesel::paintSeasonColour() {
    const Rgb& colour = state_.settings.seasonColour;
    QPalette season = palette();
    season.setColor(QPalette::Window, QColor(colour.red, colour.green, colour.blue));
    setPalette(season);
    setAutoFillBackground(true);
    picture5_->setPalette(season);
}

bool namesel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && watched == label4_) {
        Label4_Click();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (isKey(key, '1')) {
        if (!command14_->isHidden())
            Command14_Click();
        return true;
    }
    if (isKey(key, '0')) {
        if (!command7_->isHidden())
            Command7_Click();
        return true;
    }
    if (watched == list1_ && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                              key->key() == Qt::Key_Space)) {
        // Enter or space in the list logs in, while the login is offered.
        if (!command14_->isHidden())
            Command14_Click();
        return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        // Enter chooses the focused list mode, as the space bar does.
        for (QRadioButton* option : option1_) {
            if (watched == option) {
                option->click();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kavoret
