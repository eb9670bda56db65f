// Any server answer as a program-information page.
#include "frame/SharedState.h"
#include "ranking/PageParsers.h"

#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString page = QString::fromUtf8(reinterpret_cast<const char*>(data),
                                           static_cast<qsizetype>(size));
    static auto server = std::make_unique<kavoret::ServerLevelState>();
    kavoret::ranking::applyProgramInfo(page, *server);
    return 0;
}
