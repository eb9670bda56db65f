#include "drill/DrillPicture.h"

#include <QFontMetricsF>
#include <QPainter>

namespace kavoret {

DrillPicture::DrillPicture(Role role, QWidget* parent)
    : QWidget(parent), role_(role), background_(0, 0, 0) {
    setFont(lineFont(font()));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background_);
    setPalette(colours);
    setFocusPolicy(Qt::NoFocus);
}

QFont DrillPicture::lineFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(30);
    font.setBold(true);
    return font;
}

void DrillPicture::draw(const QList<drill::DrawnCell>& cells) {
    cells_ = cells;
    update();
}

void DrillPicture::clear() {
    cells_.clear();
    update();
}

QChar DrillPicture::charOf(const drill::DrawnCell& cell) const {
    return role_ == Role::Exercise ? cell.target : cell.typed;
}

QColor DrillPicture::inkOf(const drill::DrawnCell& cell) const {
    switch (cell.ink) {
    case drill::Ink::Wrong:
        return QColor(255, 0, 0);
    case drill::Ink::Right:
        return QColor(0, 0, 255);
    case drill::Ink::Pending:
        break;
    }
    // What is not typed yet stays invisible in the input line.
    return role_ == Role::Exercise ? QColor(255, 255, 0) : background_;
}

QString DrillPicture::shownText() const {
    QString text;
    for (const drill::DrawnCell& cell : cells_) {
        const QChar c = charOf(cell);
        if (!c.isNull() && inkOf(cell) != background_)
            text += c;
    }
    return text;
}

void DrillPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    const QFontMetricsF metrics(font());
    // Both lines share the same text position: vertically centred in the box.
    const double baseline = (height() + metrics.ascent() - metrics.descent()) / 2.0;
    for (const drill::DrawnCell& cell : cells_) {
        const QChar c = charOf(cell);
        if (c.isNull() || c.category() == QChar::Other_Control)
            continue;
        painter.setPen(inkOf(cell));
        painter.drawText(QPointF(cell.x, baseline), QString(c));
    }
}

} // namespace kavoret
