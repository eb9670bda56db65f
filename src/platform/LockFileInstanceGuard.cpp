#include "platform/LockFileInstanceGuard.h"

#include <QCryptographicHash>
#include <QDir>

namespace kavoret {

LockFileInstanceGuard::LockFileInstanceGuard(const QString& programFolder) {
    const QByteArray key =
        QCryptographicHash::hash(QDir::cleanPath(programFolder).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    path_ = QDir::temp().filePath(QStringLiteral("kavoret-%1.lock").arg(QString::fromLatin1(key)));
}

bool LockFileInstanceGuard::claim() {
    if (lock_ && lock_->isLocked())
        return true;
    lock_ = std::make_unique<QLockFile>(path_);
    lock_->setStaleLockTime(0); // only a dead owner makes the lock stale
    return lock_->tryLock(0);
}

} // namespace kavoret
