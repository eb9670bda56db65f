#include "frame/Firstfrm.h"

#include "frame/JapaneseDate.h"
#include "frame/SharedState.h"
#include "frame/SplashPicture.h"
#include "platform/Clock.h"
#include "platform/Random.h"

#include <QCoreApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace kavoret {

Firstfrm::Firstfrm(SharedState& state, const Clock& clock, Random& random, QWidget* parent)
    : QWidget(parent), state_(state), clock_(clock), random_(random) {
    setObjectName(QStringLiteral("Firstfrm"));
    setWindowTitle(QStringLiteral("Kavoret"));
    setWindowFlag(Qt::FramelessWindowHint);
    setFixedSize(640, 400);
    setStyleSheet(QStringLiteral("#Firstfrm { background: rgb(30, 60, 140); }"));

    picture1_ = new QLabel(this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setPixmap(splashPicture(QStringLiteral("Kavoret"), QSize(640, 400)));
    picture1_->setGeometry(0, 0, 640, 400);

    label5_ = new QLabel(this);
    label5_->setObjectName(QStringLiteral("Label5"));
    label5_->setGeometry(20, 160, 600, 40);
    label5_->setAlignment(Qt::AlignCenter);
    label5_->setStyleSheet(QStringLiteral("color: white; font-size: 22px;"));

    label19_ = new QLabel(QStringLiteral("Just a moment, please."), this);
    label19_->setObjectName(QStringLiteral("Label19"));
    label19_->setGeometry(20, 205, 600, 30);
    label19_->setAlignment(Qt::AlignCenter);
    label19_->setStyleSheet(QStringLiteral("color: white; font-size: 18px;"));

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(100);
    timer1_->setSingleShot(true);
    connect(timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

void Firstfrm::load() {
    QCoreApplication::processEvents();
    show();
    QCoreApplication::processEvents();
    random_.seed(static_cast<unsigned>(clock_.secondsSinceMidnight()));
    const QDate today = clock_.today();
    label5_->setText(eraDateText(today));
    state_.settings.seasonColour = seasonColourFor(today.month());
    show();
    QCoreApplication::processEvents();
    timer1_->start();
    loaded_ = true;
    queueWhenShown();
}

void Firstfrm::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    painted_ = true;
    queueWhenShown();
}

// Queued, so that it runs once this paint has gone to the screen.
void Firstfrm::queueWhenShown() {
    if (!painted_ || !loaded_ || whenShownQueued_)
        return;
    whenShownQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        if (whenShown_)
            whenShown_();
    });
}

void Firstfrm::Timer1_Timer() {
    timer1_->stop();
    if (handOver_)
        handOver_();
}

void Firstfrm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The window is centred on the screen, and the picture fills the window.
    if (const QScreen* screen = this->screen())
        move(screen->geometry().center() - rect().center());
}

} // namespace kavoret
