#pragma once

#include "frame/SharedState.h"
#include "ranking/PageParsers.h"

#include <QString>

namespace kavoret {
class PageReader;
}

namespace kavoret::ranking {

// The logged-in student's online figures at one level, as the server reports
// them: totals at school and at home (texts as found, "0" when not found) and
// the world rank (0 when not found), with the pages they came from.
struct OnlineFigures {
    Totals school;
    Totals home;
    double worldRank = 0;
    QString schoolTotalsPage;
    QString homeTotalsPage;
    QString worldRankPage;
};

// Reads the school totals, the home totals and the world ranking page of the
// level, in this order, and picks the figures out of them. Offline (no server
// configured) nothing is read and every figure is 0.
OnlineFigures net読み込み(PageReader& reader, const SharedState& state, int level);

} // namespace kavoret::ranking
