#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kavoret::test {

// While it lives, the calling thread is held to file modes even as root: the
// capabilities that pass over them (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH) are
// taken out of its effective set, and put back when it is destroyed. They stay
// permitted, so putting them back needs no privilege. Capabilities belong to
// one thread; the rest of the process is not affected. Without root it changes
// nothing, and the modes apply anyway.
class FileModesApply {
public:
    FileModesApply() {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0; // this thread
        if (::syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[CAP_TO_INDEX(CAP_DAC_OVERRIDE)].effective &= ~CAP_TO_MASK(CAP_DAC_OVERRIDE);
        lowered[CAP_TO_INDEX(CAP_DAC_READ_SEARCH)].effective &= ~CAP_TO_MASK(CAP_DAC_READ_SEARCH);
        lowered_ = ::syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~FileModesApply() {
        if (lowered_)
            ::syscall(SYS_capset, &header_, saved_);
    }
    FileModesApply(const FileModesApply&) = delete;
    FileModesApply& operator=(const FileModesApply&) = delete;

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool lowered_ = false;
};

} // namespace kavoret::test
