#include "ranking/OnlineFigures.h"

#include "platform/PageReader.h"
#include "ranking/RankingRequests.h"

namespace kavoret::ranking {

namespace {

QString readPage(PageReader& reader, const QString& address) {
    return address.isEmpty() ? QString() : reader.read(address);
}

} // namespace

OnlineFigures net読み込み(PageReader& reader, const SharedState& state, int level) {
    OnlineFigures figures;
    if (state.settings.rankingServer.isEmpty())
        return figures;
    figures.schoolTotalsPage = readPage(reader, totalsRequest(state, level, Place::School));
    figures.school = parseTotals(figures.schoolTotalsPage);
    figures.homeTotalsPage = readPage(reader, totalsRequest(state, level, Place::Home));
    figures.home = parseTotals(figures.homeTotalsPage);
    figures.worldRankPage = readPage(reader, worldRankRequest(state, level));
    figures.worldRank =
        parseWorldRank(figures.worldRankPage, state.settings.schoolNumber, state.student.studentNo);
    return figures;
}

} // namespace kavoret::ranking
