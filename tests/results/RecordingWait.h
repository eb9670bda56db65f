#pragma once

#include "results/EventWait.h"

#include <QList>
#include <functional>

namespace kavoret::test {

// Returns at once and records how long each wait would have been; a hook lets
// a test change the world while the program "waits".
class RecordingWait final : public results::EventWait {
public:
    void waitProcessingEvents(int milliseconds) override {
        waits.append(milliseconds);
        if (onWait)
            onWait(static_cast<int>(waits.size()));
    }
    QList<int> waits;
    std::function<void(int count)> onWait;
};

} // namespace kavoret::test
