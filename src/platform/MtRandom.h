#pragma once

#include "platform/Random.h"

#include <random>

namespace kavoret {

class MtRandom final : public Random {
public:
    explicit MtRandom(unsigned seedValue = 0) : engine_(seedValue) {}
    double next() override { return dist_(engine_); }
    void seed(unsigned value) override { engine_.seed(value); }

private:
    std::mt19937 engine_;
    std::uniform_real_distribution<double> dist_{0.0, 1.0};
};

} // namespace kavoret
