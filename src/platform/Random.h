#pragma once

namespace kavoret {

// One uniform source in [0, 1). Every draw of the program comes from it.
class Random {
public:
    virtual ~Random() = default;
    virtual double next() = 0;
    virtual void seed(unsigned value) = 0;

    // An integer from 1 to n: the integer part of n × random + 1.
    int draw(int n) { return static_cast<int>(n * next() + 1); }
};

} // namespace kavoret
