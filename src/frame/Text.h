#pragma once

#include <QString>

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

} // namespace kavoret
