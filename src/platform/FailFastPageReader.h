#pragma once

#include "platform/PageReader.h"

#include <cstdint>
#include <optional>

namespace kavoret {

class Clock;

// Keeps the window from waiting again and again for a ranking server that is
// down. After a read that could not reach the server or timed out, every read
// for the next minute gives the empty text at once, as a failed read does,
// without trying; the first read after that minute tries the server again.
// Quick failures (an error status, say) show the server is there and change
// nothing. One reader is shared by every screen, so a server found down by
// one screen is not waited for by the next.
class FailFastPageReader final : public PageReader {
public:
    static constexpr std::int64_t kPauseMs = 60 * 1000;

    // Reads through inner; clock's monotonic count measures the pause.
    FailFastPageReader(PageReader& inner, const Clock& clock);

    QString read(const QString& url) override;
    // Reads skipped during the pause report the server unreachable.
    PageRead fetch(const QString& url) override;

    // Whether reads are being skipped now.
    bool pausing() const;

private:
    PageReader& inner_;
    const Clock& clock_;
    std::optional<std::int64_t> unreachableSince_;
};

} // namespace kavoret
