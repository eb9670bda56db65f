#pragma once

#include "platform/InstanceGuard.h"

namespace kavoret::test {

class FakeInstanceGuard final : public InstanceGuard {
public:
    explicit FakeInstanceGuard(bool otherRunning = false) : otherRunning_(otherRunning) {}
    bool claim() override {
        ++claims;
        return !otherRunning_;
    }
    int claims = 0;

private:
    bool otherRunning_;
};

} // namespace kavoret::test
