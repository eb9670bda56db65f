#include "frame/SplashPicture.h"

#include <QLinearGradient>
#include <QPainter>

namespace kavoret {

QPixmap splashPicture(const QString& title, const QSize& size) {
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(30, 60, 140));
    sky.setColorAt(1, QColor(90, 160, 220));
    painter.fillRect(pixmap.rect(), sky);

    // A row of key caps along the bottom.
    const int keys = 10;
    const int gap = size.width() / 60;
    const int keyWidth = (size.width() - gap * (keys + 1)) / keys;
    const int keyTop = size.height() * 2 / 3;
    const QString letters = QStringLiteral("KAVORETabc");
    QFont keyFont = painter.font();
    keyFont.setPixelSize(keyWidth / 2);
    keyFont.setBold(true);
    painter.setFont(keyFont);
    for (int i = 0; i < keys; ++i) {
        const QRect key(gap + i * (keyWidth + gap), keyTop, keyWidth, keyWidth);
        painter.setPen(QPen(QColor(20, 40, 90), 2));
        painter.setBrush(QColor(245, 245, 250));
        painter.drawRoundedRect(key, 8, 8);
        painter.setPen(QColor(30, 60, 140));
        painter.drawText(key, Qt::AlignCenter, letters.mid(i, 1));
    }

    QFont titleFont = painter.font();
    titleFont.setPixelSize(size.height() / 5);
    painter.setFont(titleFont);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, size.height() / 20, size.width(), size.height() / 3), Qt::AlignCenter,
                     title);
    return pixmap;
}

} // namespace kavoret
