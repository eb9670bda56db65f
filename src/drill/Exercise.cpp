#include "drill/Exercise.h"

#include "platform/Random.h"

#include <algorithm>

namespace kavoret::drill {
namespace {

// An integer from 1 to n; a source that ever returned 1.0 still stays in range.
int drawPosition(Random& random, int n) {
    return std::clamp(random.draw(n), 1, n);
}

} // namespace

const QStringList& wordList() {
    static const QStringList words{
        QStringLiteral("book"),   QStringLiteral("pen"),     QStringLiteral("apple"),
        QStringLiteral("desk"),   QStringLiteral("pencil"),  QStringLiteral("mother"),
        QStringLiteral("father"), QStringLiteral("student"), QStringLiteral("car"),
        QStringLiteral("bike"),   QStringLiteral("radio")};
    return words;
}

bool hasExerciseKind(int level) {
    return level >= 1 && level <= 4;
}

QString makeExercise(int level, Random& random) {
    switch (level) {
    case 1:
        return kLowerAlphabet;
    case 2:
        return kUpperAlphabet;
    case 3: {
        QString line = kLowerAlphabet;
        // The same position may come up twice: one to three capitals.
        for (int draw = 0; draw < 3; ++draw) {
            const auto at = static_cast<qsizetype>(drawPosition(random, 26) - 1);
            line[at] = line[at].toUpper();
        }
        return line;
    }
    case 4: {
        const QStringList& words = wordList();
        QString line;
        for (int i = 1; i <= kMaxWordsPerLine; ++i) {
            const QString& word = words[drawPosition(random, static_cast<int>(words.size())) - 1];
            if (line.size() + word.size() > kWordLineLimit)
                break;
            if (i > 1)
                line += u'_';
            line += word;
        }
        return line;
    }
    default:
        return QString();
    }
}

QString hintFor(int level) {
    return level == 4 ? kWordsHint : kCapitalsHint;
}

void ExerciseState::reset(const QString& target) {
    targetText = target;
    cursorPos = 1;
    correctCount = 0;
    typedText.clear();
    errorPos = 0;
    errorState = 0;
}

QList<DrawnCell> drawnCells(const ExerciseState& exercise,
                            const std::function<double(QChar)>& printedWidth) {
    QList<DrawnCell> cells;
    const QString& target = exercise.targetText;
    cells.reserve(target.size());
    double x = kFirstCellX;
    for (qsizetype i = 0; i < target.size(); ++i) {
        const int position = static_cast<int>(i) + 1;
        if (i > 0)
            x += kCellAdvance * printedWidth(target[i - 1]);
        DrawnCell cell;
        cell.x = x;
        cell.target = target[i];
        if (i < exercise.typedText.size())
            cell.typed = exercise.typedText[i] == u' ' ? QChar(u'_') : exercise.typedText[i];
        if (position == exercise.errorPos)
            cell.ink = Ink::Wrong;
        else if (position <= exercise.correctCount)
            cell.ink = Ink::Right;
        else
            cell.ink = Ink::Pending;
        cells.append(cell);
    }
    return cells;
}

} // namespace kavoret::drill
