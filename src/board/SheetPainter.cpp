#include "board/SheetPainter.h"

#include "platform/SheetPrinter.h"

#include <QFont>
#include <QPaintDevice>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QResizeEvent>

namespace kavoret::board {
namespace {

// Line widths in dots of the screen and of the printer.
constexpr double kScreenDpi = 96;
constexpr double kPrinterDpi = 600;
constexpr double kScreenLineWidth = 5;
constexpr double kPaperLineWidth = 30;
constexpr double kRuleWidth = 2;
constexpr double kBestLineWidth = 3;

// Where the pieces stand, in fractions of d (x) and D (y) from the band top.
constexpr double kNameX = 0.01;
constexpr double kNameY = 0.02;
constexpr double kSecondRuleY = 0.09;
constexpr double kHeaderX = 0.7;
constexpr double kHeaderY = 0.01;
constexpr double kAxisLeft = 0.2;
constexpr double kAxisRight = 0.9;
constexpr double kAxisBottom = 0.8;
constexpr double kAxisTop = 0.1;
constexpr double kFiguresX = 1.05;
constexpr double kFiguresTop = 0.05;
constexpr double kScreenLineStep = 0.08;
constexpr double kPaperLineStep = 0.06;
// The band of a page's first sheet starts above this (in fractions of H).
constexpr double kFirstBandBelow = 0.08;

const QColor kRuleColour(1, 0, 0);
const QColor kBestColour(255, 0, 0);
const QColor kRunColour(0, 0, 255);
const QColor kBestLineColour(0, 0, 0);

// One dot of the classroom device, in dots of the painter's device.
double dotScale(const QPainter& painter, SheetSurface surface) {
    const QPaintDevice* device = painter.device();
    const double dpi = device ? device->logicalDpiX() : kScreenDpi;
    return dpi / (surface == SheetSurface::Screen ? kScreenDpi : kPrinterDpi);
}

QPen pen(const QColor& colour, double width) {
    QPen p(colour);
    p.setWidthF(width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

void setFontSize(QPainter& painter, const SheetStyle& style, double points) {
    QFont font(style.fontFamily);
    font.setPointSizeF(points);
    painter.setFont(font);
}

// The share of a character cell above the baseline in the classroom fonts,
// whose cell is one em high.
constexpr double kCellAscent = 0.86;

// Writes text with the top of its character cell at (x, y), as a picture box
// prints. The cell is taken one em high, as in the fonts the sheets were laid
// out for; the taller line box of other fonts would push every text down
// onto the rules and the line below.
void writeAt(QPainter& painter, double x, double y, const QString& text) {
    const QPaintDevice* device = painter.device();
    const double dpi = device ? device->logicalDpiY() : kScreenDpi;
    const double em = painter.font().pointSizeF() * dpi / 72.0;
    painter.drawText(QPointF(x, y + kCellAscent * em), text);
}

} // namespace

QString sheetFontFamily() {
    return QStringLiteral("Noto Sans Mono CJK JP");
}

void paintSheet(QPainter& painter, QSizeF size, double bandTop, const SheetFigures& figures,
                const SheetStyle& style) {
    const double w = size.width();
    const double h = size.height();
    const double d = w / 2;
    const double bigD = h / 3;
    const double n = bandTop;
    const bool paper = style.surface == SheetSurface::Paper;
    const double dot = dotScale(painter, style.surface);
    const double lineWidth = (paper ? kPaperLineWidth : kScreenLineWidth) * dot;
    auto at = [&](double x, double y) { return QPointF(x * d, n + y * bigD); };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(pen(style.foreColour, lineWidth));

    if (n < kFirstBandBelow * h) {
        setFontSize(painter, style, 3 * style.fontSize);
        writeAt(painter, kNameX * d, kNameY * bigD, figures.studentName);
    }

    painter.setPen(pen(kRuleColour, kRuleWidth * dot));
    painter.drawLine(QPointF(0, n), QPointF(w, n));
    painter.drawLine(QPointF(0, n + kSecondRuleY * bigD), QPointF(w, n + kSecondRuleY * bigD));

    painter.setPen(pen(style.foreColour, lineWidth));
    setFontSize(painter, style, (paper ? 3 : 2) * style.fontSize);
    writeAt(painter, kHeaderX * d, n + kHeaderY * bigD, figures.header);

    painter.setPen(pen(kRuleColour, lineWidth));
    painter.drawLine(at(kAxisLeft, kAxisBottom), at(kAxisRight, kAxisBottom));
    painter.setPen(pen(style.foreColour, lineWidth));
    painter.drawLine(at(kAxisLeft, kAxisBottom), at(kAxisLeft, kAxisTop));

    for (const SheetDot& run : figures.dots) {
        painter.setPen(pen(run.personalBest ? kBestColour : kRunColour, lineWidth));
        painter.drawPoint(at(run.x, run.y));
    }

    painter.setPen(pen(style.foreColour, lineWidth));
    setFontSize(painter, style, 1.5 * style.fontSize);
    const double step = paper ? kPaperLineStep : kScreenLineStep;
    for (int line = kFirstFigureLine; line <= kLastFigureLine; ++line) {
        const QString& text = figures.lines[static_cast<std::size_t>(line)];
        if (text.isEmpty())
            continue;
        // Each line one step below the one before. (Half a step for the last
        // line, under the school's average points, is less than its text is
        // high: it would be written over that line.)
        writeAt(painter, kFiguresX * d, n + kFiguresTop * bigD + line * step * bigD, text);
    }

    if (!figures.bests.empty()) {
        painter.setPen(pen(kBestLineColour, kBestLineWidth * dot));
        for (std::size_t k = 1; k < figures.bests.size(); ++k) {
            const SheetBest& from = figures.bests[k - 1];
            const SheetBest& to = figures.bests[k];
            painter.drawLine(at(from.x, from.y), at(to.x, to.y));
        }
        painter.setPen(pen(style.foreColour, lineWidth));
        setFontSize(painter, style, style.fontSize);
        for (const SheetLabel& label : figures.labels) {
            const QPointF place = at(label.x, label.y);
            writeAt(painter, place.x(), place.y(), label.text);
        }
    }
    painter.restore();
}

bool paintSheetPages(QPainter& painter, QSizeF size, std::span<const SheetFigures> sheets,
                     const SheetStyle& style, const std::function<bool()>& newPage) {
    const std::vector<SheetBand> bands =
        layOutBands(static_cast<int>(sheets.size()), size.height());
    int page = 0;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        if (bands[i].page != page) {
            page = bands[i].page;
            if (newPage && !newPage())
                return false;
        }
        paintSheet(painter, size, bands[i].top, sheets[i], style);
    }
    return true;
}

bool printStudentSheets(SheetPrinter& printer, const StudentSheets& student) {
    QPainter* painter = printer.beginJob(student.title);
    if (!painter)
        return false;
    const QPaintDevice* page = painter->device();
    const QSizeF size = page ? QSizeF(page->width(), page->height()) : QSizeF();
    const SheetStyle style{SheetSurface::Paper, sheetFontFamily(), 6, Qt::black};
    const bool drawn = paintSheetPages(*painter, size, student.sheets, style,
                                       [&printer] { return printer.newPage(); });
    const bool ended = printer.endJob();
    return drawn && ended;
}

SheetPicture::SheetPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    clear();
}

void SheetPicture::clear() {
    if (picture_.size() != size())
        picture_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    picture_.fill(Qt::white);
    update();
}

void SheetPicture::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    painter.drawImage(event->rect(), picture_, event->rect());
}

void SheetPicture::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    clear();
}

} // namespace kavoret::board
