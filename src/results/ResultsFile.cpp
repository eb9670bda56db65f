#include "results/ResultsFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavoret::results {
namespace {

// What another copy of the program holding the file looks like, step by step;
// only these are waited out. Any other error is reported at once: waiting
// cannot cure it.
//
// Opening: a share refusing a file that another computer holds open without
// sharing ("busy"). "Permission denied" here comes from the file's or the
// folder's modes, never from another copy.
bool heldWhenOpening(int number) {
    return number == EBUSY;
}

// Locking: the lock is held (POSIX allows either EACCES or EAGAIN for it), or
// the share is busy. Reading or writing the open file: its modes were checked
// when it was opened, so a refusal is a range another computer has locked
// (which shares report as EACCES) or a busy share.
bool heldWhenLocked(int number) {
    return number == EACCES || number == EAGAIN || number == EWOULDBLOCK || number == EBUSY;
}

FileFailure failure(int number) {
    return FileFailure{false, number, describeSystemError(number)};
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_); // also releases this process's locks on the file
    }
    int get() const { return fd_; }
    void reset(int fd) { fd_ = fd; }

private:
    int fd_;
};

struct CallResult {
    long long value = -1;
    int error = 0;
    bool ok() const { return value >= 0; }
};

// Repeats one system call while it fails with an error that `shared` says
// another copy causes, waiting a second each time; an interrupted call is
// repeated at once.
template <typename Call>
CallResult retryWhileShared(Call call, bool (*shared)(int), EventWait& wait) {
    for (;;) {
        const long long value = call();
        if (value >= 0)
            return {value, 0};
        const int error = errno;
        if (error == EINTR)
            continue;
        if (!shared(error))
            return {-1, error};
        wait.waitProcessingEvents(kSharingRetryMs);
    }
}

bool setWholeFileLock(int fd, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0; // to the end of the file, however far it grows
    return ::fcntl(fd, F_SETLK, &lock) == 0;
}

} // namespace

QString describeSystemError(int number) {
    switch (number) {
    case ENOENT:
        return QStringLiteral("ファイルまたはフォルダが見つかりません。");
    case ENOTDIR:
        return QStringLiteral("パスの途中がフォルダではありません。");
    case EISDIR:
        return QStringLiteral("ファイルではなくフォルダです。");
    case EACCES:
    case EPERM:
        return QStringLiteral("アクセスが拒否されました。");
    case EROFS:
        return QStringLiteral("読み取り専用のため書き込めません。");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクの空き容量が不足しています。");
    case EIO:
        return QStringLiteral("ディスクの読み書きでエラーが起きました。");
    case ENOLCK:
        return QStringLiteral("ファイルをロックできません。");
    case ENAMETOOLONG:
        return QStringLiteral("ファイル名が長すぎます。");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("開いているファイルが多すぎます。");
    default:
        return QString::fromLocal8Bit(std::strerror(number));
    }
}

std::optional<FileFailure> appendRecord(const QString& path, const ResultRecord& record,
                                        EventWait& wait) {
    const QByteArray name = QFile::encodeName(path);
    FileDescriptor file;
    CallResult opened = retryWhileShared(
        [&] {
            return static_cast<long long>(
                ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
        },
        heldWhenOpening, wait);
    if (!opened.ok())
        return failure(opened.error);
    file.reset(static_cast<int>(opened.value));

    // Held from positioning to writing, so two appends never pick the same record.
    CallResult locked = retryWhileShared(
        [&] { return setWholeFileLock(file.get(), F_WRLCK) ? 0LL : -1LL; }, heldWhenLocked, wait);
    if (!locked.ok())
        return failure(locked.error);

    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        return failure(errno);
    const off_t offset = (status.st_size / kRecordSize) * kRecordSize;

    const RecordBytes bytes = encodeRecord(record);
    std::size_t written = 0;
    while (written < bytes.size()) {
        CallResult wrote = retryWhileShared(
            [&] {
                return static_cast<long long>(::pwrite(file.get(), bytes.data() + written,
                                                       bytes.size() - written,
                                                       offset + static_cast<off_t>(written)));
            },
            heldWhenLocked, wait);
        if (!wrote.ok())
            return failure(wrote.error);
        if (wrote.value == 0)
            return failure(EIO);
        written += static_cast<std::size_t>(wrote.value);
    }

    // On disk before another copy may read or append after it. A file system
    // that cannot sync (EINVAL) has nothing more to flush.
    int synced;
    do {
        synced = ::fdatasync(file.get());
    } while (synced != 0 && errno == EINTR);
    if (synced != 0 && errno != EINVAL)
        return failure(errno);

    setWholeFileLock(file.get(), F_UNLCK);
    return std::nullopt;
}

RecordsRead readNewestRecords(const QString& path, EventWait& wait, int cap,
                              bool (*kept)(const ResultRecord&)) {
    RecordsRead result;
    const QByteArray name = QFile::encodeName(path);
    FileDescriptor file;
    for (int failures = 1;; ++failures) {
        CallResult opened = retryWhileShared(
            [&] { return static_cast<long long>(::open(name.constData(), O_RDONLY | O_CLOEXEC)); },
            heldWhenOpening, wait);
        if (opened.ok()) {
            file.reset(static_cast<int>(opened.value));
            break;
        }
        if (opened.error != ENOENT && opened.error != ENOTDIR) {
            result.failure = failure(opened.error);
            return result;
        }
        // No results yet: the first append creates the file.
        if (opened.error == ENOENT && QFileInfo(path).absoluteDir().exists())
            return result;
        if (failures >= kNotFoundAttempts) {
            result.failure = failure(opened.error);
            result.failure->notFound = true;
            return result;
        }
        wait.waitProcessingEvents(kNotFoundRetryMs);
    }

    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        result.failure = failure(errno);
        return result;
    }
    if (S_ISDIR(status.st_mode)) {
        result.failure = failure(EISDIR);
        result.failedAtRecord = 1;
        return result;
    }
    long long end = status.st_size / kRecordSize; // records not read yet: 1..end
    int keptCount = 0;
    std::vector<ResultRecord> newestFirst;
    QByteArray buffer;
    while (end > 0 && keptCount < cap) {
        // Enough records to reach the cap if all are kept, read in one go.
        const long long count = std::min<long long>(end, std::max(cap - keptCount, 1024));
        const long long first = end - count;
        buffer.resize(static_cast<qsizetype>(count * kRecordSize));
        qsizetype got = 0;
        while (got < buffer.size()) {
            CallResult read = retryWhileShared(
                [&] {
                    return static_cast<long long>(
                        ::pread(file.get(), buffer.data() + got,
                                static_cast<std::size_t>(buffer.size() - got),
                                static_cast<off_t>(first * kRecordSize + got)));
                },
                heldWhenLocked, wait);
            if (!read.ok()) {
                result.failure = failure(read.error);
                result.failedAtRecord = first + got / kRecordSize + 1;
                return result;
            }
            if (read.value == 0)
                break; // the file is shorter than it was a moment ago
            got += static_cast<qsizetype>(read.value);
        }
        // Decoded newest first straight from the bytes read.
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(buffer.constData());
        if (newestFirst.empty())
            newestFirst.reserve(static_cast<std::size_t>(got / kRecordSize));
        for (qsizetype at = got / kRecordSize; at > 0 && keptCount < cap; --at) {
            newestFirst.push_back(decodeRecord(std::span<const std::uint8_t, kRecordSize>(
                bytes + (at - 1) * kRecordSize, static_cast<std::size_t>(kRecordSize))));
            if (kept(newestFirst.back()))
                ++keptCount;
        }
        end = first;
    }
    // The records move into the result, oldest first: no second copy of them.
    std::reverse(newestFirst.begin(), newestFirst.end());
    result.records = std::move(newestFirst);
    return result;
}

} // namespace kavoret::results
