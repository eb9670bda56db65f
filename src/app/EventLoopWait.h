#pragma once

#include "results/EventWait.h"

namespace kavoret {

// Waits for real while the window thread keeps handling its events, so the
// program stays responsive while another copy holds the results file.
class EventLoopWait final : public results::EventWait {
public:
    void waitProcessingEvents(int milliseconds) override;
};

} // namespace kavoret
