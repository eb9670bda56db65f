#include "roster/ProgramInfo.h"

#include "platform/PageReader.h"
#include "ranking/PageParsers.h"
#include "ranking/RankingRequests.h"

namespace kavoret::roster {

void setPointLimits(ServerLevelState& server) {
    static constexpr double factors[4] = {2, 5, 10, 30};
    for (std::size_t period = 0; period < 4; ++period) {
        for (std::size_t level = 1; level <= kProgramInfoLevels; ++level)
            server.levelPointLimits[period][level] =
                factors[period] * server.levelClearPoints[level];
    }
}

QString readProgramInfo(SharedState& state, PageReader& reader) {
    const QString address = ranking::softInfoRequest(state);
    const QString page = address.isEmpty() ? QString() : reader.read(address);
    ranking::applyProgramInfo(page, state.server);
    setPointLimits(state.server);
    return address;
}

} // namespace kavoret::roster
