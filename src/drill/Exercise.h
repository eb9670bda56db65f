#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace kavoret {

class Random;

namespace drill {

// Exercises of one run at levels 1 to 4.
inline constexpr int kQuestionsPerRun = 3;
// A word line is built while the line and the next word together fit this.
inline constexpr int kWordLineLimit = 30;
inline constexpr int kMaxWordsPerLine = 20;

inline const QString kLowerAlphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
inline const QString kUpperAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
inline const QString kCapitalsHint =
    QStringLiteral("大文字はshiftを押しながら　または　Shift + CapsLock");
inline const QString kWordsHint = QStringLiteral("_　は　スペースを押してください");

// The words of level 4, in the order the draws index them (1-based).
const QStringList& wordList();

// Levels 1 to 4 have an exercise kind; every other level has none.
bool hasExerciseKind(int level);

// The exercise line of a level (empty for a level without an exercise kind).
// Level 3 draws three positions to capitalise, level 4 draws words until the
// next word would make the line longer than 30 characters (the "_" before it
// not counted), at most 20 words.
QString makeExercise(int level, Random& random);

// The hint line shown above the exercise.
QString hintFor(int level);

// One exercise as it is being typed. Positions are 1-based.
struct ExerciseState {
    QString targetText;
    int cursorPos = 1;    // next character to type
    int correctCount = 0; // leading characters typed right
    QString typedText;    // everything typed since the start or the last resume
    int errorPos = 0;     // position of a wrong key, 0 when none
    int errorState = 0;   // 1 while waiting for the space after a wrong key

    // A fresh exercise on this line.
    void reset(const QString& target);
    bool complete() const { return correctCount == targetText.size(); }
};

// How one character of the exercise line and the input below it are inked.
enum class Ink {
    Wrong,   // red in both lines
    Right,   // blue in both lines
    Pending, // yellow in the exercise line, invisible in the input line
};

struct DrawnCell {
    double x = 0; // left edge in pixels
    QChar target; // character of the exercise line
    QChar typed;  // character of the input line (a space shows as "_"); null when none
    Ink ink = Ink::Pending;
};

// The first character's left edge: 100 twips.
inline constexpr double kFirstCellX = 100.0 / 15.0;
// Each next character starts 1.2 × the printed width of the one before it.
inline constexpr double kCellAdvance = 1.2;

// The exercise line and the input under it, one cell per character of the line.
// printedWidth gives a character's width in pixels in the exercise font.
QList<DrawnCell> drawnCells(const ExerciseState& exercise,
                            const std::function<double(QChar)>& printedWidth);

} // namespace drill
} // namespace kavoret
