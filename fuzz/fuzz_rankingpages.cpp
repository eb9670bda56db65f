// Any server answer as a totals, world ranking, recent-days or program-information
// page. A value the parsers return is either their "nothing found" value or a part
// of the page.
#include "frame/SharedState.h"
#include "ranking/PageParsers.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

using namespace kavoret;

namespace {

void require(bool condition) {
    if (!condition)
        __builtin_trap();
}

bool partOf(const QString& value, const QString& page) {
    return value.isEmpty() || page.contains(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString page =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const ranking::Totals totals = ranking::parseTotals(page);
    require(totals.points == QStringLiteral("0") || partOf(totals.points, page));
    require(totals.runs == QStringLiteral("0") || partOf(totals.runs, page));

    const double rank = ranking::parseWorldRank(page, QStringLiteral("1234"), 56);
    require(rank == 0 || page.contains(QStringLiteral(">1234_56<")));

    const ranking::RecentDays recent = ranking::parseRecentDays(page);
    require(partOf(recent.latestDate, page));
    for (const ranking::StoredDay& day : recent.days)
        require(partOf(day.date, page) && partOf(day.runs, page) && partOf(day.points, page) &&
                partOf(day.time, page));

    static auto server = std::make_unique<ServerLevelState>();
    *server = ServerLevelState{};
    ranking::applyProgramInfo(page, *server);
    require(server->levelClearPoints[60] == 150 && server->levelClearPoints[61] == 0);
    return 0;
}
