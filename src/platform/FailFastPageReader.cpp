#include "platform/FailFastPageReader.h"

#include "platform/Clock.h"

namespace kavoret {

FailFastPageReader::FailFastPageReader(PageReader& inner, const Clock& clock)
    : inner_(inner), clock_(clock) {}

QString FailFastPageReader::read(const QString& url) {
    return fetch(url).text;
}

PageRead FailFastPageReader::fetch(const QString& url) {
    if (pausing())
        return {{}, PageReadOutcome::Unreachable};
    PageRead result = inner_.fetch(url);
    // The pause counts from the end of the failed read, which may itself have
    // waited for its whole time-out.
    if (result.outcome == PageReadOutcome::Unreachable)
        unreachableSince_ = clock_.monotonicMs();
    else
        unreachableSince_.reset();
    return result;
}

bool FailFastPageReader::pausing() const {
    return unreachableSince_ && clock_.monotonicMs() - *unreachableSince_ < kPauseMs;
}

} // namespace kavoret
