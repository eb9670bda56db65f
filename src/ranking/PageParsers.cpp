#include "ranking/PageParsers.h"

namespace kavoret::ranking {

qsizetype find(const QString& text, const QString& marker, qsizetype start) {
    if (start < 1)
        start = 1;
    if (start > text.size())
        return 0;
    const qsizetype index = text.indexOf(marker, start - 1);
    return index < 0 ? 0 : index + 1;
}

double numericValue(const QString& text) {
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    if (end < trimmed.size() && (trimmed[end] == u'-' || trimmed[end] == u'+'))
        ++end;
    bool digits = false;
    while (end < trimmed.size() && trimmed[end].isDigit() && trimmed[end].unicode() < 128) {
        ++end;
        digits = true;
    }
    if (end < trimmed.size() && trimmed[end] == u'.') {
        ++end;
        while (end < trimmed.size() && trimmed[end].isDigit() && trimmed[end].unicode() < 128) {
            ++end;
            digits = true;
        }
    }
    return digits ? trimmed.left(end).toDouble() : 0.0;
}

void applyProgramInfo(const QString& page, ServerLevelState& server) {
    const QString separator = QStringLiteral("_");
    qsizetype begin = find(page, separator, 1);
    if (begin > 0) {
        // Two leading values (-1 and 0), then the reference times of levels 1, 2, …
        // The "_" ending a value is searched from two characters after the "_"
        // beginning it, so a value always has at least one character.
        for (int value = -1; value <= kMaxLevel; ++value) {
            const qsizetype end = find(page, separator, begin + 2);
            if (end == 0)
                break;
            if (value >= 1)
                server.referenceTimes[static_cast<std::size_t>(value)] =
                    numericValue(page.mid(begin, end - begin - 1));
            begin = end;
        }
    }
    for (int level = 1; level <= 60; ++level) {
        if (server.referenceTimes[static_cast<std::size_t>(level)] == 0)
            server.referenceTimes[static_cast<std::size_t>(level)] = 50;
        server.levelClearPoints[static_cast<std::size_t>(level)] = 150;
    }
}

} // namespace kavoret::ranking
