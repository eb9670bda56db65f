#pragma once

#include "drill/Exercise.h"

#include <QColor>
#include <QWidget>

namespace kavoret {

// A picture box that holds one drawn line of the drill: the exercise line, or
// the student's input under it. It keeps what was last drawn into it until it
// is cleared, as a picture box does.
class DrillPicture : public QWidget {
    Q_OBJECT
public:
    enum class Role { Exercise, Input };

    DrillPicture(Role role, QWidget* parent = nullptr);

    // The font of the drill's lines: size 30, bold.
    static QFont lineFont(const QFont& base);

    void draw(const QList<drill::DrawnCell>& cells);
    void clear();

    const QList<drill::DrawnCell>& cells() const { return cells_; }
    // The characters that can be seen, left to right.
    QString shownText() const;
    // The colour a cell is drawn in.
    QColor inkOf(const drill::DrawnCell& cell) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QChar charOf(const drill::DrawnCell& cell) const;

    Role role_;
    QColor background_;
    QList<drill::DrawnCell> cells_;
};

} // namespace kavoret
