#include "drill/MainFrm.h"

#include "drill/DrillPicture.h"
#include "frame/SharedState.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace kavoret {
namespace {

constexpr QSize kPanelSize(1000, 720);
constexpr QRect kTimeBar(20, 230, 960, 30);

} // namespace

MainFrm::MainFrm(SharedState& state, drill::DrillServices services, QWidget* parent)
    : QWidget(parent), run_(state, services, *this) {
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(state.profile.programTitle);
    setStyleSheet(QStringLiteral("#MainFrm { background: rgb(40, 60, 110); }"));
    resize(1024, 768);
    // Every key must reach the judging as the character typed: no input method
    // may turn it into kana, and no child control takes the focus (or a space).
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setFocusPolicy(Qt::StrongFocus);

    picture2_ = new QFrame(this);
    picture2_->setObjectName(QStringLiteral("Picture2"));
    picture2_->setFixedSize(kPanelSize);
    picture2_->setStyleSheet(QStringLiteral("#Picture2 { background: rgb(232, 236, 244); }"));

    sLabel2_ = addLabel(QStringLiteral("sLabel2"), QString(), QRect(20, 10, 420, 40));
    sLabel14_ = addLabel(QStringLiteral("sLabel14"), QString(), QRect(520, 10, 460, 40), 14);
    sLabel14_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sLabel7_ = addLabel(QStringLiteral("sLabel7"), QString(), QRect(20, 60, 460, 44), 20);
    sLabel8_ = addLabel(QStringLiteral("sLabel8"), QString(), QRect(500, 60, 240, 44), 20);

    const QStringList captions{QStringLiteral("起動後"), QStringLiteral("本日"),
                               QStringLiteral("回目"), QStringLiteral("このレベル"),
                               QStringLiteral("回目")};
    const QList<QRect> captionPlaces{QRect(20, 116, 70, 30), QRect(220, 116, 50, 30),
                                     QRect(330, 116, 50, 30), QRect(420, 116, 100, 30),
                                     QRect(580, 116, 50, 30)};
    for (int i = 0; i < captions.size(); ++i)
        addLabel(QStringLiteral("sLabel16_%1").arg(i), captions[i], captionPlaces[i], 12);
    sLabel13_ = addLabel(QStringLiteral("sLabel13"), QString(), QRect(90, 112, 80, 36), 16);
    sLabel12_ = addLabel(QStringLiteral("sLabel12"), QString(), QRect(270, 112, 60, 36), 16);
    sLabel11_ = addLabel(QStringLiteral("sLabel11"), QString(), QRect(520, 112, 60, 36), 16);

    addLabel(QStringLiteral("sLabel4"), QStringLiteral("残り"), QRect(20, 172, 60, 40), 14);
    sLabel9_ = addLabel(QStringLiteral("sLabel9"), QString(), QRect(80, 166, 80, 50), 24);
    addLabel(QStringLiteral("sLabel5"), QStringLiteral("タイム"), QRect(200, 172, 80, 40), 14);
    sLabel10_ = addLabel(QStringLiteral("sLabel10"), QString(), QRect(280, 166, 120, 50), 24);

    auto shape = [this](const QString& name, const QString& style) {
        auto* frame = new QFrame(picture2_);
        frame->setObjectName(name);
        frame->setStyleSheet(QStringLiteral("#%1 { %2 }").arg(name, style));
        frame->setGeometry(kTimeBar);
        return frame;
    };
    sShape5_ = shape(QStringLiteral("sShape5"),
                     QStringLiteral("background: white; border: 1px solid rgb(60, 60, 60);"));
    sShape2_ = shape(QStringLiteral("sShape2"), QStringLiteral("background: rgb(90, 160, 240);"));
    sShape4_ =
        shape(QStringLiteral("sShape4"),
              QStringLiteral("background: transparent; border: 2px solid rgb(230, 120, 0);"));
    sShape3_ = shape(QStringLiteral("sShape3"),
                     QStringLiteral("background: transparent; border: 2px solid rgb(0, 150, 60);"));

    label2_0_ = addLabel(QStringLiteral("Label2_0"), QString(), QRect(20, 286, 960, 36), 14);
    picture1_ = new DrillPicture(DrillPicture::Role::Exercise, picture2_);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(20, 326, 960, 84);
    label2_1_ = addLabel(QStringLiteral("Label2_1"), QStringLiteral("あなたの入力"),
                         QRect(20, 424, 300, 32), 14);
    picture12_ = new DrillPicture(DrillPicture::Role::Input, picture2_);
    picture12_->setObjectName(QStringLiteral("Picture12"));
    picture12_->setGeometry(20, 460, 960, 84);
    label1_ = addLabel(QStringLiteral("Label1"), drill::kSpacePrompt, QRect(20, 560, 960, 60), 26);
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setStyleSheet(QStringLiteral("color: rgb(220, 0, 0); font-weight: bold;"));
    label1_->hide();
    label2_1_->hide();
    picture12_->hide();

    command5_ = new QPushButton(picture2_);
    command5_->setObjectName(QStringLiteral("Command5"));
    command5_->setGeometry(740, 646, 240, 52);
    command5_->setFocusPolicy(Qt::NoFocus);
    QFont buttonFont = command5_->font();
    buttonFont.setPointSizeF(13);
    command5_->setFont(buttonFont);
    connect(command5_, &QPushButton::clicked, this, [this] { Command5_Click(); });

    sPicture2_ = new QFrame(this);
    sPicture2_->setObjectName(QStringLiteral("sPicture2"));
    sPicture2_->setStyleSheet(QStringLiteral("#sPicture2 { background: rgb(20, 30, 70); }"));
    auto overlayLabel = [this](const QString& name, const QString& text) {
        auto* label = new QLabel(text, sPicture2_);
        label->setObjectName(name);
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("color: white; font-size: 48pt; font-weight: bold;"));
        label->hide();
        return label;
    };
    lblsss1_ = overlayLabel(QStringLiteral("lblsss1"), drill::kRecordingText);
    lblsss2_ = overlayLabel(QStringLiteral("lblsss2"), drill::kTimeUpText);
    sPicture2_->hide();

    sTimer1_ = new QTimer(this);
    sTimer1_->setObjectName(QStringLiteral("sTimer1"));
    sTimer1_->setInterval(1000);
    connect(sTimer1_, &QTimer::timeout, this, [this] { sTimer1_Timer(); });
    sTimer2_ = new QTimer(this);
    sTimer2_->setObjectName(QStringLiteral("sTimer2"));
    sTimer2_->setInterval(10000);
    connect(sTimer2_, &QTimer::timeout, this, [this] { sTimer2_Timer(); });
    sTimer2_->start();
}

MainFrm::~MainFrm() {
    run_.leave();
}

QLabel* MainFrm::addLabel(const QString& name, const QString& text, const QRect& geometry,
                          double pointSize) {
    auto* label = new QLabel(text, picture2_);
    label->setObjectName(name);
    // The student's and the school's names are shown as written, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    if (pointSize > 0) {
        QFont f = label->font();
        f.setPointSizeF(pointSize);
        label->setFont(f);
    }
    return label;
}

void MainFrm::Command5_Click() {
    run_.giveUp();
}

void MainFrm::sTimer1_Timer() {
    run_.tick();
}

void MainFrm::sTimer2_Timer() {
    run_.minuteTick();
}

void MainFrm::Form_Activate() {
    run_.activate();
}

bool MainFrm::event(QEvent* event) {
    // Tab is a character like any other here, not a move of the focus.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

void MainFrm::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    for (const QChar character : text)
        run_.key(character);
}

void MainFrm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    setFocus();
    // Activation shows messages and processes events: not inside the show itself.
    if (!activationQueued_) {
        activationQueued_ = true;
        QMetaObject::invokeMethod(
            this, [this] { Form_Activate(); }, Qt::QueuedConnection);
    }
}

void MainFrm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    picture2_->move(std::max(0, (width() - picture2_->width()) / 2),
                    std::max(0, (height() - picture2_->height()) / 2));
    // The end overlay sits in the top left corner and covers the screen.
    sPicture2_->setGeometry(0, 0, width(), height());
    lblsss1_->setGeometry(0, 0, width(), height());
    lblsss2_->setGeometry(0, 0, width(), height());
}

void MainFrm::closeEvent(QCloseEvent* event) {
    // A run is left by finishing it or giving it up, not by closing the window.
    if (event->spontaneous() && run_.started() && !run_.left()) {
        event->ignore();
        return;
    }
    run_.leave();
    sTimer1_->stop();
    sTimer2_->stop();
    QWidget::closeEvent(event);
}

void MainFrm::processEvents() {
    QCoreApplication::processEvents();
}

void MainFrm::placeShape(QFrame* shape, double fraction) {
    const int full = sShape5_->width();
    const int width = std::clamp(static_cast<int>(fraction * full + 0.5), 0, full);
    shape->setGeometry(sShape5_->x(), sShape5_->y(), width, sShape5_->height());
    shape->setVisible(width > 0);
}

void MainFrm::refresh() {
    const drill::DrillDisplay& d = run_.display();
    sLabel2_->setText(d.title);
    QFont titleFont = sLabel2_->font();
    titleFont.setPointSizeF(d.titlePointSize);
    titleFont.setBold(true);
    sLabel2_->setFont(titleFont);
    sLabel7_->setText(d.studentName);
    sLabel8_->setText(d.levelName);
    sLabel14_->setText(d.schoolName);
    sLabel13_->setText(QString::number(d.minutesSinceLogin));
    sLabel12_->setText(QString::number(d.todayRunNumber));
    sLabel11_->setText(QString::number(d.levelRunNumber));
    sLabel9_->setText(d.exercisesLeft);
    sLabel10_->setText(d.elapsedText);
    placeShape(sShape2_, d.elapsedBar);
    placeShape(sShape3_, d.targetMark);
    placeShape(sShape4_, d.minimumMark);
    label2_0_->setText(d.hint);
    picture12_->setVisible(d.inputShown);
    label2_1_->setVisible(d.inputShown);
    label1_->setVisible(d.spacePromptShown);
    command5_->setText(d.giveUpCaption);
    command5_->setEnabled(d.giveUpEnabled);

    lblsss1_->setVisible(d.overlay == drill::EndOverlay::Recording);
    lblsss2_->setVisible(d.overlay == drill::EndOverlay::TimeUp);
    if (d.overlay != drill::EndOverlay::None) {
        sPicture2_->raise();
        sPicture2_->show();
    } else {
        sPicture2_->hide();
    }

    if (d.clockRunning && !sTimer1_->isActive())
        sTimer1_->start();
    else if (!d.clockRunning && sTimer1_->isActive())
        sTimer1_->stop();
}

void MainFrm::redraw() {
    const QFontMetricsF metrics(picture1_->font());
    const QList<drill::DrawnCell> cells = drill::drawnCells(
        run_.exercise(), [&metrics](QChar c) { return metrics.horizontalAdvance(c); });
    picture1_->draw(cells);
    picture12_->draw(cells);
}

void MainFrm::clearPictures() {
    picture1_->clear();
    picture12_->clear();
}

void MainFrm::waitOneSecond() {
    // Ten-millisecond steps on the monotonic clock, the window kept alive.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 1000) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
}

void MainFrm::closeScreen() {
    close();
}

} // namespace kavoret
