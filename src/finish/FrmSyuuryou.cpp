#include "finish/FrmSyuuryou.h"

#include "frame/ScreenFlow.h"
#include "frame/SharedState.h"
#include "platform/WebView.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace kavoret {

namespace {

const QString kCaptionSchool = QStringLiteral("最近成績(塾)");
const QString kCaptionHome = QStringLiteral("最近成績(家)");
const QString kCaptionWorld = QStringLiteral("世界ﾗﾝｷﾝｸﾞ");

constexpr int kPanelWidth = 1000;
constexpr int kPanelHeight = 720;

} // namespace

FrmSyuuryou::FrmSyuuryou(SharedState& state, Services services, QWidget* parent)
    : QWidget(parent), state_(state), services_(services), sequence_(state, services.sequence) {
    setObjectName(QStringLiteral("FrmSyuuryou"));
    setWindowTitle(QStringLiteral("終了"));
    setStyleSheet(QStringLiteral("#FrmSyuuryou { background: rgb(30, 60, 140); }"
                                 "#Picture4 { background: rgb(255, 251, 232);"
                                 " border: 2px solid rgb(200, 170, 90); border-radius: 8px; }"
                                 "#Picture1 { background: rgb(255, 214, 90);"
                                 " border: 2px solid rgb(230, 120, 20); border-radius: 6px; }"));

    picture4_ = new QWidget(this);
    picture4_->setObjectName(QStringLiteral("Picture4"));
    picture4_->setAttribute(Qt::WA_StyledBackground);
    picture4_->resize(kPanelWidth, kPanelHeight);

    const QString plain = QStringLiteral("color: rgb(40, 40, 40); font-size: 18px;");
    label15_ = makeLabel(
        QStringLiteral("Label15"), {}, {20, 14, 560, 36},
        QStringLiteral("color: rgb(30, 60, 140); font-size: 24px; font-weight: bold;"), picture4_);
    label16_ = makeLabel(QStringLiteral("Label16"), {}, {20, 54, 560, 30},
                         QStringLiteral("color: rgb(30, 60, 140); font-size: 20px;"), picture4_);
    label17_ = makeLabel(QStringLiteral("Label17"), {}, {20, 92, 560, 40},
                         QStringLiteral("color: rgb(40, 40, 40); font-size: 26px;"), picture4_);
    label18_ = makeLabel(
        QStringLiteral("Label18"), {}, {20, 146, 560, 52},
        QStringLiteral("color: rgb(0, 0, 160); font-size: 32px; font-weight: bold;"), picture4_);
    label19_ = makeLabel(QStringLiteral("Label19"), {}, {20, 204, 560, 36},
                         QStringLiteral("color: rgb(0, 110, 0); font-size: 22px;"), picture4_);
    label13_ = makeLabel(QStringLiteral("Label13"), {}, {20, 248, 270, 32}, plain, picture4_);
    label14_ = makeLabel(QStringLiteral("Label14"), {}, {300, 248, 280, 32}, plain, picture4_);
    label20_ = makeLabel(
        QStringLiteral("Label20"), {}, {20, 292, 560, 52},
        QStringLiteral("color: rgb(210, 0, 0); font-size: 30px; font-weight: bold;"), picture4_);
    label20_->hide();

    picture1_ = new QWidget(picture4_);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setAttribute(Qt::WA_StyledBackground);
    picture1_->setGeometry(20, 356, 560, 72);
    label1_ = makeLabel(
        QStringLiteral("Label1"), QStringLiteral("目標レベルクリア。おめでとう！"),
        {10, 10, 540, 52},
        QStringLiteral("color: rgb(200, 0, 0); font-size: 28px; font-weight: bold;"), picture1_);
    label1_->setAlignment(Qt::AlignCenter);
    picture1_->hide();

    // The advice line stays hidden until it has advice to give: its design
    // caption would otherwise tell every student the level is cleared.
    label2_ = makeLabel(
        QStringLiteral("Label2"), QStringLiteral("このレベルクリア"), {20, 440, 560, 44},
        QStringLiteral("color: rgb(200, 80, 0); font-size: 26px; font-weight: bold;"), picture4_);
    label2_->hide();

    label21_ =
        makeLabel(QStringLiteral("Label21"), QStringLiteral("世界ﾗﾝｷﾝｸﾞ登録中"), {600, 14, 380, 30},
                  QStringLiteral("color: rgb(30, 60, 140); font-size: 18px;"), picture4_);
    label25_ = makeLabel(
        QStringLiteral("Label25"), {}, {600, 46, 380, 36},
        QStringLiteral("color: rgb(150, 0, 150); font-size: 24px; font-weight: bold;"), picture4_);
    label25_->hide();
    label22_ = makeLabel(QStringLiteral("Label22"), {}, {600, 86, 380, 28}, plain, picture4_);
    label22_->hide();
    label24_ = makeLabel(QStringLiteral("Label24"), {}, {600, 116, 380, 28}, plain, picture4_);
    label24_->hide();
    label23_ = makeLabel(
        QStringLiteral("Label23"), QStringLiteral("おめでとう！！このレベルクリア！！"),
        {600, 148, 380, 32},
        QStringLiteral("color: rgb(210, 0, 0); font-size: 20px; font-weight: bold;"), picture4_);
    label23_->hide();

    const QRect webArea(600, 188, 380, 448);
    webBrowser2_ = services_.webViews.create(picture4_, QStringLiteral("WebBrowser2"));
    webBrowser2_->widget()->setGeometry(webArea);
    webBrowser2_->setShown(false);
    webBrowser6_ = services_.webViews.create(picture4_, QStringLiteral("WebBrowser6"));
    webBrowser6_->widget()->setGeometry(webArea);
    webBrowser6_->setShown(false);

    command4_ =
        makeButton(QStringLiteral("Command4"), QStringLiteral("メニューへ"), {20, 630, 240, 64});
    command4_->hide();
    command5_ =
        makeButton(QStringLiteral("Command5"), QStringLiteral("もう一度"), {280, 630, 240, 64});
    command5_->hide();
    command7_ = makeButton(QStringLiteral("Command7"), kCaptionSchool, {600, 650, 200, 44});
    command7_->setStyleSheet(QStringLiteral("font-size: 16px;"));
    command6_ = makeButton(QStringLiteral("Command6"), QString(), {820, 650, 40, 44});
    command6_->hide();

    connect(command4_, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(command5_, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(command6_, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(command7_, &QPushButton::clicked, this, [this] { Command7_Click(); });

    timer4_ = new QTimer(this);
    timer4_->setObjectName(QStringLiteral("Timer4"));
    timer4_->setInterval(1000);
    connect(timer4_, &QTimer::timeout, this, [this] { Timer4_Timer(); });
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(500);
    connect(timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

QLabel* FrmSyuuryou::makeLabel(const QString& name, const QString& text, const QRect& geometry,
                               const QString& style, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    // Names and server figures are shown as written, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    label->setStyleSheet(style);
    return label;
}

QPushButton* FrmSyuuryou::makeButton(const QString& name, const QString& caption,
                                     const QRect& geometry) {
    auto* button = new QPushButton(caption, picture4_);
    button->setObjectName(name);
    // Enter presses the focused button, as the space bar does.
    button->setAutoDefault(true);
    button->setGeometry(geometry);
    button->setStyleSheet(QStringLiteral("font-size: 22px;"));
    return button;
}

bool FrmSyuuryou::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return handled;
}

void FrmSyuuryou::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The window covers the screen, with the main panel in its middle.
    if (!placed_) {
        placed_ = true;
        if (const QScreen* screen = this->screen())
            setGeometry(screen->geometry());
    }
}

void FrmSyuuryou::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    picture4_->move(std::max(0, (width() - picture4_->width()) / 2),
                    std::max(0, (height() - picture4_->height()) / 2));
}

void FrmSyuuryou::closeEvent(QCloseEvent* event) {
    timer4_->stop();
    timer1_->stop();
    // Opened again, the window shows the run finished then.
    judged_ = false;
    QWidget::closeEvent(event);
}

void FrmSyuuryou::Form_Activate() {
    // One judgement, one upload and one set of cues per run: the student
    // coming back from another program activates the window again.
    if (judged_)
        return;
    judged_ = true;
    webBrowser6_->widget()->setGeometry(webBrowser2_->widget()->geometry());

    const finish::Judgement judgement = sequence_.judge();
    label15_->setText(judgement.titleLine);
    label16_->setText(judgement.levelLine);
    label17_->setText(judgement.nameLine);
    label18_->setText(judgement.resultLine);
    label19_->setText(judgement.pointsLine);
    label13_->setText(judgement.levelCounter);
    label14_->setText(judgement.dayCounter);
    label20_->setText(judgement.recordMessage);
    label20_->setVisible(!judgement.recordMessage.isEmpty());
    picture1_->setVisible(judgement.bannerShown);
    // The texts are on screen before the sounds, which block until they end.
    repaint();
    sequence_.celebrate(judgement);

    timer4_->start();
    services_.flow.closeBackdrop();
}

void FrmSyuuryou::net読み込み(int level) {
    figures_ = sequence_.readFigures(level);
}

void FrmSyuuryou::Command6_Click() {
    webBrowser2_->navigate(sequence_.rankingPageAddress());
    webBrowser2_->setShown(true);
    label25_->show();
    sequence_.updateRecentDays();
}

void FrmSyuuryou::Timer4_Timer() {
    timer4_->stop();
    Command6_Click();
    net読み込み(state_.run.currentLevel);
    const finish::OnlineLines lines = sequence_.applyOnlineFigures(figures_);
    label25_->setText(lines.worldRankLine);
    label22_->setText(lines.pointsTotalLine);
    label24_->setText(lines.runsTotalLine);
    if (lines.clearShown) {
        label23_->show();
    } else {
        label23_->hide();
        picture1_->hide();
    }
    label22_->show();
    label24_->show();
    timer1_->start();
}

void FrmSyuuryou::Timer1_Timer() {
    picture1_->hide();
    command4_->show();
    command4_->setFocus();
    timer1_->stop();
    const finish::Advice advice = sequence_.advice();
    switch (advice.line) {
    case finish::Advice::Line::Show:
        label2_->setText(advice.text);
        label2_->show();
        break;
    case finish::Advice::Line::Hide:
        label2_->setText(advice.text);
        label2_->hide();
        break;
    case finish::Advice::Line::Unchanged:
        break;
    }
    command5_->setVisible(advice.againShown);
}

void FrmSyuuryou::Command4_Click() {
    if (!command4_->isEnabled())
        return;
    command4_->setEnabled(false);
    // The board refreshes behind this screen: "もう一度" must not start a run meanwhile.
    command5_->setEnabled(false);
    services_.flow.showBoard();
    close();
}

void FrmSyuuryou::Command5_Click() {
    if (!command5_->isEnabled())
        return;
    command4_->setEnabled(false);
    // Only one new run, however often the button is pressed.
    command5_->setEnabled(false);
    services_.flow.showBackdrop();
    close();
    services_.flow.startDrillRun();
}

void FrmSyuuryou::Command7_Click() {
    const QString caption = command7_->text();
    if (caption == kCaptionSchool) {
        webBrowser6_->navigate(sequence_.recentResultsAddress(ranking::Place::School));
        webBrowser6_->setShown(true);
        webBrowser6_->widget()->raise();
        command7_->setText(kCaptionHome);
    } else if (caption == kCaptionHome) {
        webBrowser6_->navigate(sequence_.recentResultsAddress(ranking::Place::Home));
        webBrowser6_->setShown(true);
        webBrowser6_->widget()->raise();
        command7_->setText(kCaptionWorld);
    } else {
        webBrowser6_->setShown(false);
        command7_->setText(kCaptionSchool);
    }
}

} // namespace kavoret
