#pragma once

#include "platform/InstanceGuard.h"

#include <QLockFile>
#include <QString>
#include <memory>

namespace kavoret {

// One lock file per program folder in the computer's temporary folder: copies on
// other computers sharing the data folder are not affected, and the lock of a
// crashed instance is taken over because QLockFile notices its owner is gone.
class LockFileInstanceGuard final : public InstanceGuard {
public:
    explicit LockFileInstanceGuard(const QString& programFolder);
    bool claim() override;
    QString lockFilePath() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace kavoret
