#include "BoardTestState.h"
#include "PdfSheetPrinter.h"
#include "board/SheetPainter.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using namespace kavoret;
using namespace kavoret::board;

namespace {

const QString kAll = QStringLiteral("全学年");
const QSize kPicture(1000, 720);

void addClass(test::BoardTestState& state) {
    state.addStudent(7, QStringLiteral("山田太郎"), 3);
    state.addStudent(8, QStringLiteral("中学生"), 8);
    state.logIn(7);
    state->profile.programTitle = QStringLiteral("Kavoret");
    for (int level = 1; level <= 4; ++level)
        state->profile.levelNames[level] = QStringLiteral("L%1").arg(level);
    for (int seconds : {60, 55, 58, 50})
        state.addRun(7, 1, seconds, 3);
    state.addRun(8, 1, 45, 1);
}

SheetFigures figuresOf(test::BoardTestState& state, int level, const QString& className = kAll) {
    const RankingBuilder rankings(*state);
    return sheetFigures(*state, rankings,
                        {7, level, RankingKind::PointsSoFar, className, test::kBoardSerialToday});
}

QImage blankPicture() {
    QImage image(kPicture, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

const SheetStyle kScreen{SheetSurface::Screen, sheetFontFamily(), 6, Qt::black};

// A colour in which red (or blue) clearly outweighs the others, also where
// the edge of a dot blends with the white around it or the line over it.
bool isRed(QRgb c) {
    return qRed(c) - std::max(qGreen(c), qBlue(c)) > 100;
}
bool isBlue(QRgb c) {
    return qBlue(c) - std::max(qRed(c), qGreen(c)) > 100;
}

// Pixels of a colour in the graph half of a band.
int countIn(const QImage& image, double bandTop, bool (*colour)(QRgb)) {
    const int d = image.width() / 2;
    const int bigD = image.height() / 3;
    int count = 0;
    for (int y = static_cast<int>(bandTop); y < static_cast<int>(bandTop) + bigD; ++y)
        for (int x = 0; x < d; ++x)
            count += colour(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// Whether a pixel of the colour lies within two pixels of a point.
bool near(const QImage& image, QPoint centre, bool (*colour)(QRgb)) {
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (colour(image.pixel(centre + QPoint(dx, dy))))
                return true;
    return false;
}

// Whether a line crosses a point: the darkest of the pixels just above and
// below it is black.
bool isBlack(const QImage& image, QPointF point) {
    int darkest = 255;
    for (int dy = -1; dy <= 1; ++dy) {
        const QRgb c = image.pixel(qRound(point.x()), qRound(point.y()) + dy);
        darkest = std::min(darkest, std::max({qRed(c), qGreen(c), qBlue(c)}));
    }
    return darkest < 40;
}

QPoint pointOf(const QImage& image, double bandTop, double x, double y) {
    return QPoint(qRound(x * image.width() / 2), qRound(bandTop + y * image.height() / 3));
}

} // namespace

class tst_SheetPainter : public QObject {
    Q_OBJECT
private slots:
    void dotsRulesAndAxes();
    void excludedStudentHasNoDots();
    void threeBandsToAPage();
    void twoStudentsTwoPdfJobs();
};

void tst_SheetPainter::dotsRulesAndAxes() {
    test::BoardTestState state;
    addClass(state);
    const SheetFigures figures = figuresOf(state, 1);
    QImage image = blankPicture();
    const double top = 0.35 * kPicture.height();
    {
        QPainter painter(&image);
        paintSheet(painter, kPicture, top, figures, kScreen);
    }
    // The runs 60, 55 and 50 are red, 58 is blue; the joining line passes
    // over the bests' centres, so their colour shows around them.
    for (const SheetDot& dot : figures.dots) {
        const QPoint centre = pointOf(image, top, dot.x, dot.y);
        QVERIFY2(near(image, centre, dot.personalBest ? isRed : isBlue),
                 qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
        QVERIFY(!near(image, centre, dot.personalBest ? isBlue : isRed));
    }
    // Both rules across the page and the time axis are (1, 0, 0), the upright
    // axis the fore colour: black to the eye.
    QVERIFY(isBlack(image, QPointF(kPicture.width() - 3, top)));
    QVERIFY(isBlack(image, QPointF(kPicture.width() - 3, top + 0.09 * kPicture.height() / 3)));
    QVERIFY(isBlack(image, pointOf(image, top, 0.5, 0.8)));
    QVERIFY(isBlack(image, pointOf(image, top, 0.2, 0.45)));
    QVERIFY(!isBlack(image, pointOf(image, top, 0.5, 0.7)));
    // Nothing above the band's first rule belongs to it: the name is written on
    // a page's first band only.
    for (int y = 0; y < qRound(top) - 3; ++y)
        for (int x = 0; x < kPicture.width(); x += 3)
            QCOMPARE(image.pixel(x, y), qRgb(255, 255, 255));
    // The figures are written in the right half.
    bool written = false;
    for (int y = qRound(top); y < qRound(top) + kPicture.height() / 3 && !written; ++y)
        for (int x = kPicture.width() / 2 + 60; x < kPicture.width() - 5 && !written; ++x)
            written = qGray(image.pixel(x, y)) < 128;
    QVERIFY(written);
}

void tst_SheetPainter::excludedStudentHasNoDots() {
    test::BoardTestState state;
    addClass(state);
    const SheetFigures shown = figuresOf(state, 1);
    const SheetFigures excluded = figuresOf(state, 1, QStringLiteral("中学生全体"));
    QImage a = blankPicture();
    QImage b = blankPicture();
    {
        QPainter painter(&a);
        paintSheet(painter, kPicture, 50, shown, kScreen);
    }
    {
        QPainter painter(&b);
        paintSheet(painter, kPicture, 50, excluded, kScreen);
    }
    QVERIFY(countIn(a, 50, isRed) > 0);
    QVERIFY(countIn(a, 50, isBlue) > 0);
    QCOMPARE(countIn(b, 50, isRed), 0);
    QCOMPARE(countIn(b, 50, isBlue), 0);
}

void tst_SheetPainter::threeBandsToAPage() {
    test::BoardTestState state;
    addClass(state);
    std::vector<SheetFigures> sheets;
    for (int level = 1; level <= 4; ++level)
        sheets.push_back(figuresOf(state, level));
    QImage image = blankPicture();
    QPainter painter(&image);
    int pages = 1;
    QVERIFY(paintSheetPages(painter, kPicture, sheets, kScreen, [&] {
        ++pages;
        painter.fillRect(image.rect(), Qt::white); // the screen clears its picture
        return true;
    }));
    painter.end();
    QCOMPARE(pages, 2);
    // The fourth sheet (level 4, no runs) stands alone at the top of the second page.
    QCOMPARE(countIn(image, 0.05 * kPicture.height(), isRed), 0);
    QVERIFY(qGray(image.pixel(kPicture.width() - 3, qRound(0.05 * kPicture.height()))) < 40);
    QCOMPARE(image.pixel(kPicture.width() - 3, qRound(0.35 * kPicture.height())),
             qRgb(255, 255, 255));

    // A page the printer refuses stops the drawing.
    QPainter again(&image);
    int asked = 0;
    QVERIFY(!paintSheetPages(again, kPicture, sheets, kScreen, [&] {
        ++asked;
        return false;
    }));
    QCOMPARE(asked, 1);
}

void tst_SheetPainter::twoStudentsTwoPdfJobs() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    test::BoardTestState state;
    addClass(state);
    test::PdfSheetPrinter printer(folder.path());
    for (const QString& name : {QStringLiteral("山田太郎"), QStringLiteral("中学生")}) {
        StudentSheets student{QStringLiteral("Kavoret ") + name, {}};
        for (int level = 1; level <= 4; ++level)
            student.sheets.push_back(figuresOf(state, level));
        QVERIFY(printStudentSheets(printer, student));
    }
    QCOMPARE(printer.files.size(), 2);
    QCOMPARE(printer.pages, (std::vector<int>{2, 2}));
    QCOMPARE(printer.openJobs, 0);
    QCOMPARE(printer.titles,
             QStringList({QStringLiteral("Kavoret 山田太郎"), QStringLiteral("Kavoret 中学生")}));
    for (const QString& file : printer.files) {
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        // Two pages, each A4 portrait: 595 × 842 points.
        QCOMPARE(bytes.count("/Type /Page\n"), 2);
        QCOMPARE(bytes.count("/MediaBox [0 0 595.000000 842.000000]"), 2);
    }
}

QTEST_MAIN(tst_SheetPainter)
#include "tst_sheetpainter.moc"
