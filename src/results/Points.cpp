#include "results/Points.h"

#include "frame/ResultTimes.h"

namespace kavoret::results {

int runPoints(int seconds, double referenceTime) {
    if (seconds > kLastRealTime)
        return 0;
    if (referenceTime == 0)
        referenceTime = 100;
    struct Step {
        double ratioAtMost;
        int points;
    };
    static constexpr Step kSteps[] = {{0.1, 20}, {0.2, 18}, {0.3, 16}, {0.5, 15}, {0.7, 12},
                                      {1.0, 10}, {1.5, 8},  {2.0, 5},  {3.0, 3},  {5.0, 1}};
    const double ratio = static_cast<double>(seconds) / referenceTime;
    for (const Step& step : kSteps) {
        if (ratio <= step.ratioAtMost)
            return step.points;
    }
    return 0;
}

} // namespace kavoret::results
