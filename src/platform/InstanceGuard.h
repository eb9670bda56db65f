#pragma once

namespace kavoret {

// Whether another instance of this program is running on this computer.
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    // Claims this instance; false when another instance already holds the claim.
    virtual bool claim() = 0;
};

} // namespace kavoret
