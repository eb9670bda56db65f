#pragma once

#include "board/StatisticsSheet.h"

#include <QColor>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QWidget>
#include <functional>
#include <span>
#include <vector>

class QPainter;

namespace kavoret {
class SheetPrinter;
}

namespace kavoret::board {

enum class SheetSurface { Screen, Paper };

// How the sheets look on one surface.
struct SheetStyle {
    SheetSurface surface = SheetSurface::Screen;
    QString fontFamily;
    // The base font size in points: the panel's sheetFontSize on the screen, 6 on paper.
    double fontSize = 6;
    QColor foreColour = Qt::black;
};

// The font family of the sheets, on the screen and on paper alike: the
// figures are aligned by blanks, so every character takes its fixed width.
QString sheetFontFamily();

// Draws one sheet in the band starting at bandTop of a surface of the given
// size (in the painter's units): the rules, the header, the axes, the dots,
// the joined personal bests with their labels and the figures beside the
// graph; on a page's first band also the student's name. Line widths are
// those of the classroom screens (96 dpi) and printers (600 dpi), scaled to
// the resolution of the painter's device, so a sheet looks the same on any.
void paintSheet(QPainter& painter, QSizeF size, double bandTop, const SheetFigures& figures,
                const SheetStyle& style);

// Draws the sheets three bands to a page (layOutBands). newPage is called
// before every page after the first: the screen clears its picture, a
// printer feeds a new sheet of paper; when it returns false, drawing stops
// and so does this (false).
bool paintSheetPages(QPainter& painter, QSizeF size, std::span<const SheetFigures> sheets,
                     const SheetStyle& style, const std::function<bool()>& newPage);

// The sheets of one student, printed as one job.
struct StudentSheets {
    QString title; // the job's name
    std::vector<SheetFigures> sheets;
};

// Prints a student's sheets on the printer already chosen as one job of A4
// portrait pages, three sheets to a page. false when the job failed
// (printer.lastError() says why).
bool printStudentSheets(SheetPrinter& printer, const StudentSheets& student);

// A picture box that keeps what is drawn on it: the sheets are painted into its
// picture, which the widget shows until the next clear.
class SheetPicture final : public QWidget {
public:
    explicit SheetPicture(QWidget* parent = nullptr);

    // The picture, as large as the widget; white after clear().
    QImage& picture() { return picture_; }
    const QImage& picture() const { return picture_; }
    void clear();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage picture_;
};

} // namespace kavoret::board
