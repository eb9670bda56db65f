#include "ScriptedRandom.h"
#include "drill/Exercise.h"
#include "platform/MtRandom.h"

#include <QTest>

using namespace kavoret;
using namespace kavoret::drill;

class tst_Exercise : public QObject {
    Q_OBJECT
private slots:
    void alphabetLevels_data();
    void alphabetLevels();
    void capitalsAtDrawnPositions_data();
    void capitalsAtDrawnPositions();
    void capitalsLevelKeepsTheAlphabet();
    void wordLines_data();
    void wordLines();
    void randomWordLinesKeepTheirShape();
    void levelsWithoutExerciseKind();
    void hints();
    void cellsPlaceAndInkEveryCharacter();
};

void tst_Exercise::alphabetLevels_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("line");
    QTest::newRow("1") << 1 << "abcdefghijklmnopqrstuvwxyz";
    QTest::newRow("2") << 2 << "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
}

void tst_Exercise::alphabetLevels() {
    QFETCH(int, level);
    QFETCH(QString, line);
    test::ScriptedRandom random({0.3, 0.9});
    QCOMPARE(makeExercise(level, random), line);
    QCOMPARE(makeExercise(level, random), line);
    QCOMPARE(random.draws(), 0);
}

void tst_Exercise::capitalsAtDrawnPositions_data() {
    QTest::addColumn<QList<double>>("draws");
    QTest::addColumn<QString>("line");
    QTest::newRow("0.5 three times: only n")
        << QList<double>{0.5, 0.5, 0.5} << "abcdefghijklmNopqrstuvwxyz";
    QTest::newRow("first, middle, last")
        << QList<double>{0.0, 0.5, 0.999} << "AbcdefghijklmNopqrstuvwxyZ";
    QTest::newRow("two draws alike")
        << QList<double>{0.01, 0.2, 0.01} << "AbcdeFghijklmnopqrstuvwxyz";
}

void tst_Exercise::capitalsAtDrawnPositions() {
    QFETCH(QList<double>, draws);
    QFETCH(QString, line);
    test::ScriptedRandom random(draws);
    QCOMPARE(makeExercise(3, random), line);
    QCOMPARE(random.draws(), 3);
}

void tst_Exercise::capitalsLevelKeepsTheAlphabet() {
    MtRandom random(12345);
    for (int i = 0; i < 2000; ++i) {
        const QString line = makeExercise(3, random);
        QCOMPARE(line.toLower(), kLowerAlphabet);
        const auto capitals =
            std::count_if(line.begin(), line.end(), [](QChar c) { return c.isUpper(); });
        QVERIFY2(capitals >= 1 && capitals <= 3, qPrintable(line));
    }
}

void tst_Exercise::wordLines_data() {
    QTest::addColumn<QList<double>>("draws");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("drawsUsed");
    // Word r of the list comes up for a draw in [(r - 1) / 11, r / 11).
    const double car = 8.5 / 11;
    const double student = 7.5 / 11;
    const double book = 0.0;
    QTest::newRow("short words reach 31 characters")
        << QList<double>{car} << "car_car_car_car_car_car_car_car" << 9;
    QTest::newRow("long words reach 31 characters")
        << QList<double>{student} << "student_student_student_student" << 5;
    // "book_book_book_book_book_book" is 29 long: "student" (7) does not fit, and the line ends.
    QTest::newRow("a word too long ends the line")
        << QList<double>{book, book, book, book, book, book, student, book}
        << "book_book_book_book_book_book" << 7;
}

void tst_Exercise::wordLines() {
    QFETCH(QList<double>, draws);
    QFETCH(QString, line);
    QFETCH(int, drawsUsed);
    test::ScriptedRandom random(draws);
    QCOMPARE(makeExercise(4, random), line);
    QCOMPARE(random.draws(), drawsUsed);
}

void tst_Exercise::randomWordLinesKeepTheirShape() {
    MtRandom random(777);
    const QStringList& words = wordList();
    for (int i = 0; i < 2000; ++i) {
        const QString line = makeExercise(4, random);
        QVERIFY2(!line.startsWith(u'_') && !line.endsWith(u'_'), qPrintable(line));
        QVERIFY2(line.size() <= 31, qPrintable(line));
        const QStringList parts = line.split(u'_');
        QVERIFY(parts.size() >= 1 && parts.size() <= 20);
        for (const QString& part : parts)
            QVERIFY2(words.contains(part), qPrintable(line));
    }
}

void tst_Exercise::levelsWithoutExerciseKind() {
    test::ScriptedRandom random;
    for (int level : {0, 5, 12, 100}) {
        QVERIFY(!hasExerciseKind(level));
        QCOMPARE(makeExercise(level, random), QString());
    }
    QCOMPARE(random.draws(), 0);
}

void tst_Exercise::hints() {
    QCOMPARE(hintFor(1), QStringLiteral("大文字はshiftを押しながら　または　Shift + CapsLock"));
    QCOMPARE(hintFor(3), hintFor(1));
    QCOMPARE(hintFor(4), QStringLiteral("_　は　スペースを押してください"));
}

void tst_Exercise::cellsPlaceAndInkEveryCharacter() {
    ExerciseState e;
    e.reset(QStringLiteral("ab_cd"));
    e.correctCount = 3;
    e.cursorPos = 4;
    e.typedText = QStringLiteral("ab x");
    e.errorPos = 4;
    e.errorState = 1;
    // Widths by character, so each advance shows which character it came from.
    auto width = [](QChar c) { return c == u'a' ? 10.0 : c == u'b' ? 20.0 : 5.0; };
    const QList<DrawnCell> cells = drawnCells(e, width);
    QCOMPARE(cells.size(), 5);
    const double x1 = 100.0 / 15.0;
    const QList<double> xs{x1, x1 + 12, x1 + 12 + 24, x1 + 12 + 24 + 6, x1 + 12 + 24 + 12};
    const QList<Ink> inks{Ink::Right, Ink::Right, Ink::Right, Ink::Wrong, Ink::Pending};
    const QString typed = QStringLiteral("ab_x");
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(cells[i].x, xs[i]);
        QCOMPARE(cells[i].target, e.targetText[i]);
        QCOMPARE(cells[i].ink, inks[i]);
        QCOMPARE(cells[i].typed, i < 4 ? typed[i] : QChar());
    }

    e.reset(QStringLiteral("xyz"));
    const QList<DrawnCell> fresh = drawnCells(e, width);
    QCOMPARE(fresh.size(), 3);
    for (const DrawnCell& cell : fresh) {
        QCOMPARE(cell.ink, Ink::Pending);
        QVERIFY(cell.typed.isNull());
    }
}

QTEST_GUILESS_MAIN(tst_Exercise)
#include "tst_exercise.moc"
