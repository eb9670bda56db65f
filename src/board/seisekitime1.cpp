#include "board/seisekitime1.h"

#include "board/BoardColumn.h"
#include "board/Listings.h"
#include "board/SheetPainter.h"
#include "board/StatisticsSheet.h"
#include "frame/JapaneseDate.h"
#include "frame/ResultTimes.h"
#include "frame/ResultsStore.h"
#include "frame/ScreenFlow.h"
#include "frame/SharedState.h"
#include "frame/Text.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/PageReader.h"
#include "platform/SheetPrinter.h"
#include "platform/Shell.h"
#include "platform/WebView.h"
#include "ranking/RankingRequests.h"
#include "roster/namesel.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStringListModel>

namespace kavoret {
namespace {

constexpr int kDesignWidth = 1024;
constexpr int kDesignHeight = 768;
// The columns share 14592 twips (15 twips a pixel) side by side.
constexpr double kColumnsWidth = 14592.0 / 15.0;
constexpr int kColumnsLeft = 25; // the columns stand centred in the window
constexpr int kColumnsTop = 140;
constexpr int kColumnHeight = 560;
constexpr int kFooterTop = 704;

const QString kListFont = QStringLiteral("Noto Sans Mono CJK JP");
const QColor kTeal(0, 192, 192);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);
const QColor kGrey(128, 128, 128);
const QColor kLightGrey(224, 224, 224);
// The "合格済" and world-rank colour of the board.
const QColor kHonour(255, 204, 64);

const QString kWorldRanking = QStringLiteral("世界ﾗﾝｷﾝｸﾞ");
const QString kRecentSchool = QStringLiteral("最近(塾)");
const QString kRecentHome = QStringLiteral("最近(家)");
const QString kSchoolRanking = QStringLiteral("塾ﾗﾝｷﾝｸﾞ");
const QString kPersonalPass = QStringLiteral("個人合否");
const QString kPassList = QStringLiteral("合格者一覧");

const QString kTeacherMark = QStringLiteral("先生");
// The levels the panel opens with.
constexpr int kOpeningLevels = 3;

const QString kUnlockPrompt =
    QStringLiteral("やりすぎ禁止を解除するには、パスワードが必要です。(パスワードは今月だけ有効です。"
                   "先生に聞いてください。");

QLabel* makeLabel(QWidget* parent, const QString& name, const QRect& geometry, int fontPixels,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    // Names and server figures are shown as they are, never as markup.
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPixelSize(fontPixels);
    label->setFont(font);
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QRect& geometry, int fontPixels) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    QFont font = button->font();
    font.setPixelSize(fontPixels);
    button->setFont(font);
    return button;
}

void setBackColour(QWidget* widget, const QColor& colour) {
    widget->setStyleSheet(QStringLiteral("background-color: %1;").arg(colour.name()));
}

void setButtonColour(QPushButton* button, const QColor& colour) {
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid "
                                         "rgb(90, 90, 90); border-radius: 4px; }"
                                         "QPushButton:focus { border: 2px solid rgb(0, 60, 200); }")
                              .arg(colour.name()));
}

// A level's key on the board: "1".."9" for levels 1 to 9, "a".."d" for 10 to 13.
int levelOfKey(const QString& text) {
    if (text.size() != 1)
        return 0;
    const QChar c = text.at(0);
    if (c >= u'1' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'd')
        return 10 + (c.unicode() - u'a');
    return 0;
}

} // namespace

seisekitime1::seisekitime1(SharedState& state, Services services, QWidget* parent)
    : QWidget(parent), state_(state), services_(services) {
    setObjectName(QStringLiteral("seisekitime1"));
    setWindowTitle(state_.profile.programTitle);
    setFixedSize(kDesignWidth, kDesignHeight);
    levelCount_ = std::clamp(state_.profile.levelCount, 0, kMaxLevel);
    buildControls();
}

seisekitime1::~seisekitime1() = default;

void seisekitime1::buildControls() {
    label11_ = makeLabel(this, QStringLiteral("Label11"), QRect(8, 4, 330, 50), 24);
    label11_->setStyleSheet(QStringLiteral("color: rgb(20, 40, 110); font-weight: bold;"));
    label12_ = makeLabel(this, QStringLiteral("Label12"), QRect(346, 4, 330, 28), 20);
    label12_->setStyleSheet(QStringLiteral("font-weight: bold;"));
    label13_ = makeLabel(this, QStringLiteral("Label13"), QRect(346, 32, 330, 22), 14);
    label17_ = makeLabel(this, QStringLiteral("Label17"), QRect(684, 4, 110, 24), 14);
    label18_ = makeLabel(this, QStringLiteral("Label18"), QRect(684, 30, 200, 24), 14);
    label30_ = makeLabel(this, QStringLiteral("Label30"), QRect(800, 4, 80, 24), 14);
    label30_->setStyleSheet(QStringLiteral("color: rgb(90, 90, 90);"));
    command35_ = makeButton(this, QStringLiteral("Command35"), QStringLiteral("ソフトの紹介"),
                            QRect(896, 6, 120, 44), 14);

    // The display selector.
    option2Group_ = new QButtonGroup(this);
    const QString displays[3] = {QStringLiteral("ﾀｲﾑ表示"), QStringLiteral("ﾎﾟｲﾝﾄ表示"),
                                 QStringLiteral("個人ﾀｲﾑ")};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(displays[i], this);
        option->setObjectName(QStringLiteral("Option2_%1").arg(i));
        option->setGeometry(8 + 104 * i, 60, 100, 32);
        option2Group_->addButton(option, i);
        option2_[static_cast<std::size_t>(i)] = option;
        connect(option, &QRadioButton::clicked, this, [this, i] { Option2_Click(i); });
    }
    option2_[0]->setChecked(true);

    // The list selector, in its panel.
    option1Panel_ = new QWidget(this);
    option1Panel_->setObjectName(QStringLiteral("Frame1"));
    option1Panel_->setGeometry(326, 58, 380, 36);
    option1Panel_->setAttribute(Qt::WA_StyledBackground);
    option1Panel_->setStyleSheet(
        QStringLiteral("#Frame1 { background: rgba(255, 255, 255, 150); border-radius: 6px; }"));
    option1Group_ = new QButtonGroup(this);
    for (int i = 1; i <= 3; ++i) {
        auto* option = new QRadioButton(option1Panel_);
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option->setGeometry(6 + 124 * (i - 1), 2, 120, 32);
        option1Group_->addButton(option, i);
        option1_[static_cast<std::size_t>(i)] = option;
        connect(option, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    option1_[1]->setChecked(true);
    option1_[1]->setText(QStringLiteral("BEST表示"));
    option1_[2]->setText(QStringLiteral("本日のみ"));
    option1_[3]->setText(QStringLiteral("オール表示"));

    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setGeometry(716, 60, 150, 32);
    combo1_->setToolTip(QStringLiteral("表示する学年を選びます"));
    connect(combo1_, &QComboBox::activated, this, [this](int index) { Combo1_Click(index); });

    command1_ = makeButton(this, QStringLiteral("Command1"), QStringLiteral("戻る(0)"),
                           QRect(876, 56, 140, 40), 18);
    connect(command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });

    label5_ = makeLabel(this, QStringLiteral("Label5"), QRect(8, 100, 310, 34), 18);
    label5_->setStyleSheet(QStringLiteral("color: rgb(20, 40, 110); font-weight: bold;"));
    combo2_ = new QComboBox(this);
    combo2_->setObjectName(QStringLiteral("Combo2"));
    combo2_->setGeometry(326, 100, 260, 32);
    combo2_->hide();
    connect(combo2_, &QComboBox::activated, this, [this](int index) { Combo2_Click(index); });
    command17_ = makeButton(this, QStringLiteral("Command17"), QStringLiteral("グラフ"),
                            QRect(596, 98, 110, 36), 16);
    command17_->hide();
    command39_ = makeButton(this, QStringLiteral("Command39"), QStringLiteral("合格一覧"),
                            QRect(716, 98, 150, 36), 16);
    connect(command39_, &QPushButton::clicked, this, [this] { Command39_Click(); });
    connect(command35_, &QPushButton::clicked, this, [this] { Command35_Click(); });
    connect(command17_, &QPushButton::clicked, this, [this] { Command17_Click(); });

    columns_.resize(static_cast<std::size_t>(levelCount_) + 1);
    server_.resize(static_cast<std::size_t>(levelCount_) + 1);
    gates_.resize(static_cast<std::size_t>(levelCount_) + 1);
    for (int level = 1; level <= levelCount_; ++level)
        buildColumn(level);

    webBrowser2_ = services_.webViews.create(this, QStringLiteral("WebBrowser2"));

    // The pass list panel with its server pages.
    picture16_ = new QWidget(this);
    picture16_->setObjectName(QStringLiteral("Picture16"));
    picture16_->setGeometry(112, 100, 800, 560);
    picture16_->setAttribute(Qt::WA_StyledBackground);
    picture16_->setStyleSheet(QStringLiteral(
        "#Picture16 { background: rgb(245, 245, 250); border: 2px solid rgb(20, 40, 110); }"));
    webBrowser3_ = services_.webViews.create(picture16_, QStringLiteral("WebBrowser3"));
    webBrowser3_->widget()->setGeometry(8, 8, 784, 492);
    command37_ = makeButton(picture16_, QStringLiteral("Command37"), kPersonalPass,
                            QRect(8, 510, 200, 40), 16);
    command38_ = makeButton(picture16_, QStringLiteral("Command38"), QStringLiteral("戻る"),
                            QRect(592, 510, 200, 40), 16);
    connect(command37_, &QPushButton::clicked, this, [this] { Command37_Click(); });
    connect(command38_, &QPushButton::clicked, this, [this] { Command38_Click(); });
    picture16_->hide();

    buildStatisticsPanel();

    // The cover shown while the board is busy.
    picture2_ = new QWidget(this);
    picture2_->setObjectName(QStringLiteral("Picture2"));
    picture2_->setAutoFillBackground(true);
    picture2_->setGeometry(rect());
    auto* waiting = makeLabel(picture2_, QStringLiteral("Label16"),
                              QRect(0, kDesignHeight / 2 - 80, kDesignWidth, 60), 32,
                              Qt::AlignCenter);
    waiting->setText(QStringLiteral("Just a moment, please."));
    progressBar2_ = new QProgressBar(picture2_);
    progressBar2_->setObjectName(QStringLiteral("ProgressBar2"));
    progressBar2_->setGeometry(kDesignWidth / 2 - 250, kDesignHeight / 2, 500, 24);
    progressBar2_->setTextVisible(false);

    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void seisekitime1::buildColumn(int level) {
    Column& c = columns_[static_cast<std::size_t>(level)];
    const QString n = QString::number(level);
    c.picture15 = new QWidget(this);
    c.picture15->setObjectName(QStringLiteral("Picture15_") + n);
    c.picture15->setAttribute(Qt::WA_StyledBackground);
    c.picture15->setStyleSheet(QStringLiteral("#Picture15_%1 { background: rgba(255, 255, 255, "
                                              "165); border: 1px solid rgb(150, 160, 190); }")
                                   .arg(level));
    QWidget* p = c.picture15;
    const int w = static_cast<int>(kColumnsWidth / std::max(levelCount_, 1)) - 4;
    c.label1 = makeLabel(p, QStringLiteral("Label1_") + n, QRect(2, 2, 30, 26), 20,
                         Qt::AlignCenter);
    c.label1->setStyleSheet(
        QStringLiteral("background: rgb(20, 40, 110); color: white; font-weight: bold;"));
    c.label3 = makeLabel(p, QStringLiteral("Label3_") + n, QRect(36, 2, w - 38, 26), 16);
    c.label3->setStyleSheet(QStringLiteral("font-weight: bold;"));
    c.label3->setCursor(Qt::PointingHandCursor);
    c.label32 = makeLabel(p, QStringLiteral("Label32_") + n, QRect(2, 30, w - 4, 18), 12);
    c.label7 = makeLabel(p, QStringLiteral("Label7_") + n, QRect(2, 48, w - 4, 18), 12);
    c.label8 = makeLabel(p, QStringLiteral("Label8_") + n, QRect(2, 66, w - 4, 18), 12);
    c.label2 = makeLabel(p, QStringLiteral("Label2_") + n, QRect(2, 86, w / 2 - 3, 22), 13);
    c.label19 = makeLabel(p, QStringLiteral("Label19_") + n, QRect(w / 2 + 1, 86, w / 2 - 3, 22),
                          13);
    c.label31 = makeLabel(p, QStringLiteral("Label31_") + n, QRect(2, 110, 72, 22), 13,
                          Qt::AlignCenter);
    c.label14 = makeLabel(p, QStringLiteral("Label14_") + n, QRect(76, 110, 80, 22), 13,
                          Qt::AlignCenter);
    c.label15 = makeLabel(p, QStringLiteral("Label15_") + n, QRect(158, 110, w - 160, 22), 13,
                          Qt::AlignCenter);
    c.command4 = makeButton(p, QStringLiteral("Command4_") + n, board::startCaption(level),
                            QRect(2, 136, w - 4, 40), 18);
    c.text1 = new QLineEdit(p);
    c.text1->setObjectName(QStringLiteral("Text1_") + n);
    c.text1->setGeometry(c.command4->geometry());
    c.text1->setReadOnly(true);
    c.text1->setAlignment(Qt::AlignCenter);
    c.text1->setToolTip(QStringLiteral("先生にパスワードを入れてもらうと、今月は解除できます"));
    c.text1->setStyleSheet(QStringLiteral(
        "QLineEdit { background: rgb(255, 230, 230); color: rgb(190, 0, 0); font-weight: bold; }"));
    c.text1->hide();
    c.label9 = makeLabel(p, QStringLiteral("Label9_") + n, QRect(4, 180, 60, 18), 12);
    c.label10 = makeLabel(p, QStringLiteral("Label10_") + n, QRect(66, 180, 60, 18), 12);
    c.list5 = new QListView(p);
    c.list5->setObjectName(QStringLiteral("List5_") + n);
    c.list5->setGeometry(2, 198, w - 4, 318);
    c.list5->setUniformItemSizes(true);
    c.list5->setEditTriggers(QAbstractItemView::NoEditTriggers);
    c.list5->setFocusPolicy(Qt::NoFocus);
    QFont listFont(kListFont);
    listFont.setPixelSize(13);
    listFont.setStyleHint(QFont::Monospace);
    c.list5->setFont(listFont);
    c.lines = new QStringListModel(c.list5);
    c.list5->setModel(c.lines);
    c.command36 = makeButton(p, QStringLiteral("Command36_") + n, kWorldRanking,
                             QRect(2, 520, w - 4, 34), 14);

    connect(c.command4, &QPushButton::clicked, this, [this, level] { Command4_Click(level); });
    connect(c.command36, &QPushButton::clicked, this, [this, level] { Command36_Click(level); });
}

void seisekitime1::buildStatisticsPanel() {
    // Laid over the level columns.
    picture11_ = new QWidget(this);
    picture11_->setObjectName(QStringLiteral("Picture11"));
    picture11_->setGeometry(kColumnsLeft, kColumnsTop, static_cast<int>(kColumnsWidth),
                            kColumnHeight);
    picture11_->setAttribute(Qt::WA_StyledBackground);
    picture11_->setStyleSheet(QStringLiteral(
        "#Picture11 { background: rgb(245, 245, 250); border: 2px solid rgb(20, 40, 110); }"));

    picture12_ = new board::SheetPicture(picture11_);
    picture12_->setObjectName(QStringLiteral("Picture12"));
    picture12_->setGeometry(6, 6, 700, kColumnHeight - 12);

    const int left = 716;
    const int width = picture11_->width() - left - 8;
    auto makeList = [this](const QString& name, QStringListModel*& lines) {
        auto* list = new QListView(picture11_);
        list->setObjectName(name);
        list->setSelectionMode(QAbstractItemView::MultiSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setUniformItemSizes(true);
        QFont font(kListFont);
        font.setPixelSize(13);
        list->setFont(font);
        lines = new QStringListModel(list);
        list->setModel(lines);
        return list;
    };
    label27_ = makeLabel(picture11_, QStringLiteral("Label27"), QRect(left, 6, 110, 22), 14);
    label27_->setText(QStringLiteral("ﾚﾍﾞﾙ"));
    list3_ = makeList(QStringLiteral("List3"), list3Lines_);
    list3_->setGeometry(left, 30, 110, 96);
    command24_[0] = makeButton(picture11_, QStringLiteral("Command24_0"), QStringLiteral("表示"),
                               QRect(left + 120, 30, width - 120, 44), 16);
    command24_[1] = makeButton(picture11_, QStringLiteral("Command24_1"), QStringLiteral("印刷"),
                               QRect(left + 120, 82, width - 120, 44), 16);
    command24_[1]->hide();
    command25_ =
        makeButton(picture11_, QStringLiteral("Command25"), QStringLiteral("他の人のデータを見る"),
                   QRect(left, 134, width, 40), 14);
    list2_ = makeList(QStringLiteral("List2"), list2Lines_);
    list2_->setGeometry(left, 134, width, kColumnHeight - 134 - 56);
    list2_->hide();
    command18_ = makeButton(picture11_, QStringLiteral("Command18"), QStringLiteral("戻る"),
                            QRect(left, kColumnHeight - 50, width, 40), 16);

    for (int k = 0; k < 2; ++k)
        connect(command24_[static_cast<std::size_t>(k)], &QPushButton::clicked, this,
                [this, k] { Command24_Click(k); });
    connect(command25_, &QPushButton::clicked, this, [this] { Command25_Click(); });
    connect(command18_, &QPushButton::clicked, this, [this] { Command18_Click(); });
    connect(list2_, &QListView::clicked, this, [this] { List2_Click(); });
    connect(list3_, &QListView::clicked, this, [this] { List3_Click(); });
    picture11_->hide();
}

void seisekitime1::placeColumns() {
    const double width = kColumnsWidth / std::max(levelCount_, 1);
    for (int level = 1; level <= levelCount_; ++level) {
        QWidget* column = columns_[static_cast<std::size_t>(level)].picture15;
        column->setGeometry(kColumnsLeft + static_cast<int>((level - 1) * width), kColumnsTop,
                            static_cast<int>(width) - 2, kColumnHeight);
        column->show();
    }
}

void seisekitime1::load(const QString& chosenClass) {
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    webBrowser2_->navigate(state_.folders.dataFolder + QStringLiteral("PageSeisekisita.htm"));
    webBrowser2_->widget()->setGeometry(0, kFooterTop, static_cast<int>(width() * 1.02),
                                        kDesignHeight - kFooterTop);

    periodIndex_ = 3;
    const Rgb& season = state_.settings.seasonColour;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(season.red, season.green, season.blue));
    setPalette(palette);
    setAutoFillBackground(true);
    picture2_->setPalette(palette);

    placeColumns();

    combo1_->addItems(namesel::classNames());
    const int chosen = combo1_->findText(chosenClass);
    combo1_->setCurrentIndex(chosen >= 0 ? chosen : 0);
    combo2_->addItems({QStringLiteral("　　　今週の全成績"), QStringLiteral("　　先週からの全成績"),
                       QStringLiteral("　　１ヶ月間の全成績"), QStringLiteral("　　１年間の全成績"),
                       QStringLiteral("　　今までの全成績")});
    combo2_->setCurrentIndex(periodIndex_ - 1);

    // Names and grades stay as they are for the whole login.
    rankings_ = std::make_unique<board::RankingBuilder>(state_);
    showCover(true);
    show();
    breathe();
    for (int level = 1; level <= levelCount_; ++level) {
        net読み込み(level);
        breathe();
        fillColumn(level);
        Column& c = columns_[static_cast<std::size_t>(level)];
        setBackColour(c.label8, kRed);
        c.label8->setText(board::limitsText(state_, level));
        const board::ColumnTexts texts =
            board::columnTexts(state_, level, server_[static_cast<std::size_t>(level)]);
        c.command4->setText(board::loadedStartCaption(level, texts.passed));
        setButtonColour(c.command4, texts.passed ? kHonour : kLightGrey);
    }

    if (Status unlocks = board::loadUnlocks(state_, services_.clock.today()); !unlocks)
        services_.dialogs.message(unlocks.error().message, state_.profile.programTitle,
                                  Dialogs::Icon::Error);
    picture2_->raise();
    loaded_ = true;
}

void seisekitime1::fillColumn(int level) {
    Column& c = columns_[static_cast<std::size_t>(level)];
    const board::ColumnTexts texts =
        board::columnTexts(state_, level, server_[static_cast<std::size_t>(level)]);
    c.label1->setText(texts.levelNumber);
    c.label3->setText(texts.levelName);
    c.label3->setToolTip(texts.levelName);
    c.label32->setText(texts.referenceLine);
    c.label7->setText(texts.criteriaLine);
    c.label2->setText(texts.todayMarks);
    setBackColour(c.label2, texts.ranToday ? kGreen : kGrey);
    c.label19->setText(texts.judgeMarks);
    setBackColour(c.label19, texts.ranInJudgePeriod ? kBlue : kGrey);
    c.label19->setStyleSheet(c.label19->styleSheet() + QStringLiteral("color: white;"));
    c.label31->setText(texts.worldRank);
    if (texts.worldRankHighlighted)
        setBackColour(c.label31, kHonour);
    else
        c.label31->setStyleSheet(QString());
    c.label14->setText(texts.todayLine);
    c.label15->setText(texts.serverLine);
}

void seisekitime1::net読み込み(int level) {
    if (level < 1 || level > levelCount_)
        return;
    server_[static_cast<std::size_t>(level)] =
        ranking::net読み込み(services_.pages, state_, level);
}

void seisekitime1::Form_Activate() {
    if (skipRefresh_ == 1) {
        // The board stays as it is, but usable.
        skipRefresh_ = 0;
        showCover(false);
        boardReady_ = 1;
        return;
    }
    const StudentState& student = state_.student;
    label30_->setText(QString::number(student.studentNo));
    command24_[1]->setVisible(student.studentName.contains(kTeacherMark));
    int seconds = services_.clock.secondsSinceMidnight() - student.loginTime;
    if (seconds < 0)
        seconds += kSecondsPerDay; // logged in before midnight
    label17_->setText(QStringLiteral("起動後%1分").arg(seconds / 60));
    boardReady_ = 0;
    showCover(true);
    breathe();
    option1_[1]->setText(QStringLiteral("累計順"));
    option1_[2]->setText(QStringLiteral("本日順"));

    services_.flow.closeNameSelection();
    services_.results.回数求();

    double total = 0;
    const LevelStudentTable<float>& todayRuns = state_.aggregates.todayRunCounts;
    if (LevelStudentTable<float>::inRange(1, student.studentNo))
        for (int level = 1; level <= kMaxLevel; ++level)
            total += todayRuns.at(level, student.studentNo);
    state_.run.todayRunTotal = static_cast<int>(total);
    label18_->setText(QStringLiteral("本日総回数＝%1回").arg(state_.run.todayRunTotal));
    progressBar2_->setMaximum(std::max(levelCount_, 1));

    // The point display is chosen first, as the board has always done; the lists
    // are built once, by the time display below, which replaces them anyway.
    displayMode_ = 2;
    option1_[1]->setChecked(true);
    command1_->setEnabled(true);

    label12_->setText(student.studentGradeLabel + u' ' + student.studentName);
    label13_->setText(state_.settings.schoolName + u':' + QString::number(student.studentNo));
    label11_->setText(state_.profile.programTitle);
    QFont title = label11_->font();
    title.setPixelSize(state_.profile.programTitle.size() > 9 ? 20 : 24);
    label11_->setFont(title);
    placeColumns();

    for (int level = 1; level <= levelCount_; ++level) {
        Column& c = columns_[static_cast<std::size_t>(level)];
        setBackColour(c.label8, kTeal);
        // The limits line follows the tally, so it never shows this morning's figures at noon.
        c.label8->setText(board::limitsText(state_, level));
        c.command4->setEnabled(true);
        fillColumn(level);
        const board::ColumnTexts texts =
            board::columnTexts(state_, level, server_[static_cast<std::size_t>(level)]);
        const bool unlocked = state_.board.unlockFlags[level] == 1;
        if (texts.hasValidRun)
            setButtonColour(c.command4, texts.passed ? kHonour : kLightGrey);
        c.command4->setText(board::activatedStartCaption(
            level, c.command4->text(), texts.hasValidRun && texts.passed, unlocked));
    }
    evaluateLimits();

    option2_[0]->setChecked(true);
    Option2_Click(0);
    showCover(false);
    progressBar2_->hide();
    skipRefresh_ = 0;
    // Keys count only once everything above is on screen.
    boardReady_ = 1;
    focusFirstStartButton();
}

void seisekitime1::focusFirstStartButton() {
    // A banned level's button is hidden: the first one shown takes the focus.
    for (int level = 1; level <= levelCount_; ++level) {
        QPushButton* start = columns_[static_cast<std::size_t>(level)].command4;
        if (!start->isHidden()) {
            start->setFocus();
            return;
        }
    }
    setFocus();
}

void seisekitime1::回数など表示() {
    for (int level = 1; level <= levelCount_; ++level) {
        Column& c = columns_[static_cast<std::size_t>(level)];
        c.label9->setText(QStringLiteral("今日"));
        c.label10->setText(QStringLiteral("今まで"));
        c.lines->setStringList({});
    }
}

void seisekitime1::成績リスト色表示() {
    for (int level = 1; level <= levelCount_; ++level)
        成績リスト色表示単独(level);
}

void seisekitime1::成績リスト色表示単独(int level) {
    if (level < 1 || level > levelCount_)
        return;
    QListView* list = columns_[static_cast<std::size_t>(level)].list5;
    list->clearSelection();
    list->setCurrentIndex(QModelIndex());
}

void seisekitime1::showCover(bool shown) {
    picture2_->setGeometry(rect());
    progressBar2_->setVisible(shown);
    picture2_->setVisible(shown);
    if (shown)
        picture2_->raise();
}

void seisekitime1::breathe() {
    QCoreApplication::processEvents();
}

void seisekitime1::showLevelLists(bool shown) {
    for (int level = 1; level <= levelCount_; ++level)
        columns_[static_cast<std::size_t>(level)].list5->setVisible(shown);
}

void seisekitime1::beginBusy() {
    command1_->setEnabled(false);
    showLevelLists(false);
    showCover(true);
    combo2_->hide();
    option1Panel_->setEnabled(false);
    breathe();
}

void seisekitime1::endBusy() {
    option1Panel_->setEnabled(true);
    command1_->setEnabled(true);
    evaluateLimits();
    showLevelLists(true);
    showCover(false);
}

void seisekitime1::Option2_Click(int index) {
    command17_->hide();
    picture11_->hide();
    command1_->setEnabled(false);
    showLevelLists(false);
    showCover(true);
    switch (index) {
    case 0:
        option1_[1]->setText(QStringLiteral("BEST表示"));
        option1_[2]->setText(QStringLiteral("本日のみ"));
        option1_[3]->setText(QStringLiteral("オール表示"));
        option1_[3]->setEnabled(true);
        displayMode_ = 1;
        for (int k = 1; k <= 3; ++k)
            if (option1_[static_cast<std::size_t>(k)]->isChecked()) {
                runListSelector(k);
                break;
            }
        break;
    case 1:
        combo2_->hide();
        option1_[1]->setText(QStringLiteral("合計累計"));
        option1_[2]->setText(QStringLiteral("合計本日"));
        option1_[3]->setText(QStringLiteral("すべて"));
        option1_[3]->setEnabled(true);
        displayMode_ = 2;
        if (option1_[1]->isChecked()) {
            rankingKind_ = 1;
            runListSelector(1);
        } else if (option1_[3]->isChecked()) {
            runListSelector(3);
        } else if (option1_[2]->isChecked()) {
            rankingKind_ = 2;
            runListSelector(2);
        }
        break;
    case 2: {
        // The statistics panel behind "グラフ" comes with the own-runs display.
        command17_->show();
        combo2_->hide();
        reloadRosterList();
        label5_->setText(QStringLiteral("個人別ﾀｲﾑ"));
        回数など表示();
        showListings(board::ownListing(state_, gradeFilter(), today()));
        showCover(false);
        evaluateLimits();
        showLevelLists(true);
        command1_->setEnabled(true);
        break;
    }
    default:
        break;
    }
}

void seisekitime1::Option1_Click(int index) {
    if (index < 1 || index > 3)
        return;
    if (displayMode_ == 2)
        rankingKind_ = index == 2 ? 2 : (index == 1 ? 1 : rankingKind_);
    runListSelector(index);
}

void seisekitime1::runListSelector(int index) {
    beginBusy();
    const int mode = displayMode_ == 0 ? 1 : displayMode_;
    if (mode == 1) {
        switch (index) {
        case 1:
            label5_->setText(QStringLiteral("ベスト成績"));
            回数など表示();
            buildRankings(board::RankingKind::BestTime);
            break;
        case 2:
            label5_->setText(QStringLiteral("本日の成績"));
            回数など表示();
            showListings(board::todayListing(state_, gradeFilter(), today()));
            break;
        case 3:
            label5_->clear();
            回数など表示();
            showListings(board::periodListing(state_, gradeFilter(), today(), periodIndex_, 1));
            break;
        default:
            break;
        }
    } else {
        switch (index) {
        case 1:
            label5_->setText(QStringLiteral("獲得ポイント（今まで順位）"));
            buildRankings(board::RankingKind::PointsSoFar);
            break;
        case 2:
            label5_->setText(QStringLiteral("獲得ポイント（今日の順位）"));
            buildRankings(board::RankingKind::PointsToday);
            break;
        case 3:
            label5_->clear();
            回数など表示();
            showListings(board::periodListing(state_, gradeFilter(), today(), periodIndex_, 2));
            break;
        default:
            break;
        }
    }
    endBusy();
    // The period's drop-down belongs to the period listing.
    combo2_->setVisible(index == 3);
}

void seisekitime1::buildRankings(board::RankingKind kind) {
    progressBar2_->setRange(0, std::max(levelCount_, 1));
    progressBar2_->setValue(0);
    const QString filter = gradeFilter();
    for (int level = 1; level <= levelCount_; ++level) {
        progressBar2_->setValue(level);
        Column& c = columns_[static_cast<std::size_t>(level)];
        c.label9->setText(QStringLiteral("今日"));
        c.label10->setText(QStringLiteral("今まで"));
        showRanking(level, rankings_->build(level, kind, filter));
    }
}

void seisekitime1::showRanking(int level, const board::RankedList& ranked) {
    Column& c = columns_[static_cast<std::size_t>(level)];
    c.lines->setStringList(ranked.lines);
    if (ranked.studentLine >= 0)
        c.list5->scrollTo(c.lines->index(ranked.studentLine), QAbstractItemView::PositionAtCenter);
    else
        c.list5->scrollToTop();
    成績リスト色表示単独(level);
}

void seisekitime1::showListings(const board::LevelLists& lists) {
    for (int level = 1; level <= levelCount_; ++level) {
        Column& c = columns_[static_cast<std::size_t>(level)];
        c.lines->setStringList(static_cast<std::size_t>(level) < lists.size()
                                   ? lists[static_cast<std::size_t>(level)]
                                   : QStringList{});
        c.list5->scrollToTop();
    }
    成績リスト色表示();
    option1Panel_->setEnabled(true);
}

void seisekitime1::Combo1_Click(int) {
    if (option2_[0]->isChecked()) {
        Option2_Click(0);
    } else {
        // The own-runs display gives way to the point display.
        option2_[1]->setChecked(true);
        Option2_Click(1);
    }
    focusFirstStartButton();
}

void seisekitime1::Combo2_Click(int index) {
    if (!option1_[3]->isChecked() || index < 0)
        return;
    periodIndex_ = index + 1;
    runListSelector(3);
}

void seisekitime1::evaluateLimits() {
    board::evaluateLimits(state_, gates_);
    for (int level = 1; level <= levelCount_; ++level) {
        Column& c = columns_[static_cast<std::size_t>(level)];
        const board::LevelGate& gate = gates_[static_cast<std::size_t>(level)];
        c.text1->setText(gate.notice);
        c.text1->setVisible(gate.noticeVisible);
        if (gate.noticeVisible)
            c.text1->raise();
        c.command4->setVisible(gate.buttonVisible);
    }
}

void seisekitime1::Text1_DblClick(int level) {
    if (level < 1 || level > levelCount_)
        return;
    Column& c = columns_[static_cast<std::size_t>(level)];
    const std::optional<QString> entered = services_.dialogs.input(kUnlockPrompt, QString());
    const Result<bool> unlocked =
        board::tryUnlock(state_, level, entered.value_or(QString()), services_.clock.today());
    if (!unlocked) {
        services_.dialogs.message(unlocked.error().message, state_.profile.programTitle,
                                  Dialogs::Icon::Error);
        return;
    }
    if (!unlocked.value())
        return; // a wrong entry changes nothing and says nothing
    gates_[static_cast<std::size_t>(level)].buttonVisible = true;
    gates_[static_cast<std::size_t>(level)].noticeVisible = false;
    c.text1->hide();
    c.command4->setEnabled(true);
    c.command4->show();
    c.command4->raise();
    c.command4->setText(board::kUnlockedCaption);
}

void seisekitime1::Command4_Click(int level) {
    startRun(level);
}

void seisekitime1::startRun(int level) {
    // Whatever presses the button (key, Space, Enter, access key, mouse): nothing
    // starts while the board refreshes or once a run is starting.
    if (boardReady_ == 0 || level < 1 || level > levelCount_)
        return;
    Column& c = columns_[static_cast<std::size_t>(level)];
    if (!c.command4->isEnabled() || c.command4->isHidden() || !c.text1->isHidden())
        return;
    showCover(true);
    state_.run.currentLevel = level;
    boardReady_ = 0;
    services_.flow.startDrillRun();
}

void seisekitime1::Label3_Click(int level) {
    if (boardReady_ == 0 || level < 1 || level > levelCount_)
        return;
    Column& c = columns_[static_cast<std::size_t>(level)];
    if (!c.command4->isEnabled() || c.command4->isHidden() || !c.text1->isHidden())
        return;
    state_.run.currentLevel = level;
    boardReady_ = 0;
    services_.flow.startDrillRun();
    services_.flow.closeBoard();
}

void seisekitime1::Command36_Click(int level) {
    if (level < 1 || level > levelCount_)
        return;
    state_.run.currentLevel = level;
    Column& c = columns_[static_cast<std::size_t>(level)];
    if (!c.webBrowser1) {
        c.webBrowser1 = services_.webViews.create(c.picture15, QStringLiteral("WebBrowser1_%1").arg(level));
        c.webBrowser1->widget()->setGeometry(c.label9->x() - 2, c.label9->y(), c.list5->width(),
                                             c.command36->y() - c.label9->y() - 2);
        c.webBrowser1->setShown(false);
    }
    const auto shownAt = [&](const QString& address) {
        c.webBrowser1->navigate(address.isEmpty() ? ranking::offlineNoticeAddress() : address);
        c.webBrowser1->setShown(true);
        c.webBrowser1->widget()->raise();
    };
    const QString caption = c.command36->text();
    if (caption == kWorldRanking) {
        shownAt(ranking::rankingPageRequest(state_, level));
        c.command36->setText(kRecentSchool);
    } else if (caption == kRecentSchool) {
        shownAt(ranking::recentResultsRequest(state_, level, ranking::Place::School));
        c.command36->setText(kRecentHome);
    } else if (caption == kRecentHome) {
        shownAt(ranking::recentResultsRequest(state_, level, ranking::Place::Home));
        c.command36->setText(kSchoolRanking);
    } else if (caption == kSchoolRanking) {
        c.webBrowser1->setShown(false);
        c.webBrowser1->navigate(QStringLiteral("about:blank"));
        c.command36->setText(kWorldRanking);
    }
}

void seisekitime1::Command37_Click() {
    const QString caption = command37_->text();
    QString address;
    if (caption == kPersonalPass) {
        address = ranking::personalPassRequest(state_);
        command37_->setText(kPassList);
    } else if (caption == kPassList) {
        address = ranking::passListRequest(state_);
        command37_->setText(kPersonalPass);
    } else {
        return;
    }
    webBrowser3_->navigate(address.isEmpty() ? ranking::offlineNoticeAddress() : address);
}

void seisekitime1::Command39_Click() {
    picture16_->show();
    picture16_->raise();
    Command37_Click();
}

void seisekitime1::Command38_Click() {
    picture16_->hide();
}

void seisekitime1::Command35_Click() {
    const QString& page = state_.profile.productPageUrl;
    if (!services_.shell.open(page))
        services_.dialogs.message(
            QStringLiteral("ソフトの紹介ページ「%1」を開けません。").arg(page),
            state_.profile.programTitle, Dialogs::Icon::Warning);
}

void seisekitime1::Command1_Click() {
    if (boardReady_ == 0 || !command1_->isEnabled())
        return;
    showCover(true);
    boardReady_ = 0;
    services_.flow.showNameSelection();
}

void seisekitime1::reloadRosterList() {
    Result<QStringList> lines = board::reloadRosterList(state_, services_.clock.today());
    if (!lines) {
        services_.dialogs.message(lines.error().message, state_.profile.programTitle,
                                  Dialogs::Icon::Error);
        list2Lines_->setStringList({});
    } else {
        list2Lines_->setStringList(lines.value());
    }
    QStringList levels;
    for (int level = 1; level <= levelCount_; ++level)
        levels.append(QString::number(level));
    list3Lines_->setStringList(levels);
    list3_->clearSelection();
}

void seisekitime1::Command17_Click() {
    chosenStudent_ = state_.student.studentNo;
    list2_->hide();
    command25_->show();
    list2_->clearSelection();
    QItemSelectionModel* levels = list3_->selectionModel();
    for (int row = 0; row < std::min(kOpeningLevels, list3Lines_->rowCount()); ++row)
        levels->select(list3Lines_->index(row), QItemSelectionModel::Select);
    sheetFontSize_ = 6;
    Command24_Click(0);
}

void seisekitime1::Command24_Click(int index) {
    if ((index != 0 && index != 1) || drawingSheets_)
        return;
    // The students chosen in the roster list, in list order; else the one shown last.
    std::vector<int> students;
    QModelIndexList chosen = list2_->selectionModel()->selectedRows();
    std::sort(chosen.begin(), chosen.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& line : chosen) {
        const int number = board::rosterListNumber(line.data().toString());
        if (number >= 0)
            students.push_back(number);
    }
    if (students.empty())
        students.push_back(chosenStudent_);

    if (index == 1) {
        if (!services_.printer) {
            services_.dialogs.message(QStringLiteral("このコンピューターでは印刷できません。"),
                                      state_.profile.programTitle, Dialogs::Icon::Warning);
            return;
        }
        if (!services_.printer->choosePrinter(static_cast<int>(students.size())))
            return;
    }
    drawingSheets_ = true;
    for (int student : students) {
        chosenStudent_ = student;
        if (!drawSheets(index))
            break;
    }
    drawingSheets_ = false;
}

bool seisekitime1::drawSheets(int target) {
    if (!rankings_)
        rankings_ = std::make_unique<board::RankingBuilder>(state_);
    // The levels chosen in the level list, in list order.
    std::vector<board::SheetFigures> sheets;
    const board::RankingKind points =
        rankingKind_ == 2 ? board::RankingKind::PointsToday : board::RankingKind::PointsSoFar;
    for (int row = 0; row < list3Lines_->rowCount(); ++row) {
        if (!list3_->selectionModel()->isRowSelected(row, QModelIndex()))
            continue;
        sheets.push_back(board::sheetFigures(
            state_, *rankings_, {chosenStudent_, row + 1, points, gradeFilter(), today()}));
    }
    picture11_->show();
    picture11_->raise();
    breathe();

    if (target == 0) {
        picture12_->clear();
        QImage& picture = picture12_->picture();
        QPainter painter(&picture);
        const board::SheetStyle style{board::SheetSurface::Screen, board::sheetFontFamily(),
                                      static_cast<double>(sheetFontSize_), Qt::black};
        board::paintSheetPages(painter, picture.size(), sheets, style, [&] {
            // A fourth sheet starts again on a cleared picture.
            painter.fillRect(picture.rect(), Qt::white);
            return true;
        });
        painter.end();
        picture12_->update();
        return true;
    }

    if (sheets.empty())
        return true; // no level chosen: no empty page
    const QString name = chosenStudent_ >= 0 && chosenStudent_ <= kMaxStudent
                             ? withoutSurroundingBlanks(
                                   state_.roster.names[static_cast<std::size_t>(chosenStudent_)])
                             : QString();
    const board::StudentSheets student{state_.profile.programTitle + u' ' + name,
                                       std::move(sheets)};
    if (board::printStudentSheets(*services_.printer, student))
        return true;
    services_.dialogs.message(QStringLiteral("%1 の成績表を印刷できませんでした。%2")
                                  .arg(name, services_.printer->lastError()),
                              state_.profile.programTitle, Dialogs::Icon::Error);
    return false;
}

void seisekitime1::Command25_Click() {
    command25_->hide();
    list2_->show();
}

void seisekitime1::Command18_Click() {
    picture11_->hide();
}

void seisekitime1::List2_Click() {
    Command24_Click(0);
}

void seisekitime1::List3_Click() {
    if (picture11_->isVisible())
        Command24_Click(0);
}

QStringList seisekitime1::listLines(int level) const {
    if (level < 1 || level > levelCount_)
        return {};
    return columns_[static_cast<std::size_t>(level)].lines->stringList();
}

QString seisekitime1::gradeFilter() const {
    const QString chosen = combo1_->currentText();
    return chosen.isEmpty() ? QStringLiteral("全学年") : chosen;
}

double seisekitime1::today() const {
    return serialDay(services_.clock.today());
}

bool seisekitime1::handleKey(const QKeyEvent* key) {
    if (boardReady_ == 0)
        return false;
    if (key->text() == u"0") {
        if (command1_->isEnabled())
            Command1_Click();
        return true;
    }
    const int level = levelOfKey(key->text());
    if (level >= 1 && level <= levelCount_) {
        startRun(level);
        return true;
    }
    return false;
}

void seisekitime1::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event))
        QWidget::keyPressEvent(event);
}

bool seisekitime1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int level = 1; level <= levelCount_; ++level)
            if (watched == columns_[static_cast<std::size_t>(level)].label3) {
                Label3_Click(level);
                return true;
            }
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int level = 1; level <= levelCount_; ++level)
            if (watched == columns_[static_cast<std::size_t>(level)].text1) {
                Text1_DblClick(level);
                return true;
            }
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The board reads the level keys before any control does.
        if (key->text() == u"0" || levelOfKey(key->text()) != 0) {
            handleKey(key);
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            qobject_cast<QPushButton*>(watched)) {
            static_cast<QPushButton*>(watched)->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kavoret
