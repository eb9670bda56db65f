#include "frame/BASEFRM.h"

#include "frame/SplashPicture.h"

#include <QCoreApplication>
#include <QLabel>
#include <QScreen>

namespace kavoret {

BASEFRM::BASEFRM(const QString& programTitle, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("BASEFRM"));
    setWindowTitle(programTitle);
    setStyleSheet(QStringLiteral("#BASEFRM { background: rgb(30, 60, 140); }"));

    picture1_ = new QLabel(this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setPixmap(splashPicture(programTitle, QSize(640, 400)));
    picture1_->resize(640, 400);

    label19_ = new QLabel(QStringLiteral("Just a moment, please."), this);
    label19_->setObjectName(QStringLiteral("Label19"));
    label19_->setStyleSheet(QStringLiteral("color: white; font-size: 18px;"));
    label19_->resize(400, 30);
    label19_->setAlignment(Qt::AlignCenter);
}

void BASEFRM::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    QCoreApplication::processEvents();
    if (const QScreen* screen = this->screen())
        setGeometry(screen->geometry());
    picture1_->move((width() - picture1_->width()) / 2, (height() - picture1_->height()) / 2);
    label19_->move((width() - label19_->width()) / 2, picture1_->geometry().bottom() + 10);
}

} // namespace kavoret
