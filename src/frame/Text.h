#pragma once

#include <QString>
#include <cmath>

namespace kavoret {

// A text without the blanks (U+0020) at either end. Full-width blanks and other
// white space stay: they are part of names and of aligned list columns.
inline QString withoutSurroundingBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

// A number as the program writes it into texts and requests: whole numbers
// without a fraction, others with the digits they need; what is not a finite
// number is written as 0.
inline QString decimalText(double value) {
    if (!std::isfinite(value))
        return QStringLiteral("0");
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<long long>(value));
    return QString::number(value, 'g', 15);
}

} // namespace kavoret
