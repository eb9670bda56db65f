#pragma once

namespace kavoret::results {

// Waits while the user interface keeps processing its events, for the retries
// of the results file. The program waits for real; tests answer at once.
class EventWait {
public:
    virtual ~EventWait() = default;
    virtual void waitProcessingEvents(int milliseconds) = 0;
};

} // namespace kavoret::results
