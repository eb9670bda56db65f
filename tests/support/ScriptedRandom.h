#pragma once

#include "platform/Random.h"

#include <QList>

namespace kavoret::test {

// Replays the given values in order, then repeats the last one.
class ScriptedRandom final : public Random {
public:
    explicit ScriptedRandom(QList<double> values = {0.0}) : values_(std::move(values)) {}
    double next() override {
        ++draws_;
        if (values_.isEmpty())
            return 0.0;
        const double value = values_[std::min<qsizetype>(index_, values_.size() - 1)];
        ++index_;
        return value;
    }
    void seed(unsigned value) override { seeds.append(value); }
    void script(QList<double> values) {
        values_ = std::move(values);
        index_ = 0;
    }
    int draws() const { return draws_; }

    QList<unsigned> seeds;

private:
    QList<double> values_;
    qsizetype index_ = 0;
    int draws_ = 0;
};

} // namespace kavoret::test
