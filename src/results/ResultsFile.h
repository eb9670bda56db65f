#pragma once

#include "results/EventWait.h"
#include "results/ResultRecord.h"

#include <QString>
#include <optional>
#include <vector>

namespace kavoret::results {

inline const QString kResultsFileName = QStringLiteral("成績累積データ.dat");

// Another copy of the program holds the file or its lock: wait this long, then
// try the same step again, for as long as it takes.
inline constexpr int kSharingRetryMs = 1000;
// The loader's file-not-found case (the data folder is missing): retried after
// this long, and given up on the fourth failure.
inline constexpr int kNotFoundRetryMs = 5000;
inline constexpr int kNotFoundAttempts = 4;

struct FileFailure {
    bool notFound = false; // the data folder stayed missing
    int number = 0;        // the system's error number
    QString description;   // the error in words
};

// The error in words a teacher can read.
QString describeSystemError(int number);

// Appends the record as record (file length / 44) + 1, creating the file when
// it is missing. A whole-file lock is held from positioning to writing (a POSIX
// record lock, which file shares honour too) and the record is flushed to disk
// before the lock is released. Nothing is truncated: a partial record left at
// the end by a write cut short is overwritten. What another copy of the program
// causes (the lock held, a busy share) is retried every second; any other
// error, such as a file the user may not write, is returned at once.
std::optional<FileFailure> appendRecord(const QString& path, const ResultRecord& record,
                                        EventWait& wait);

struct RecordsRead {
    std::vector<ResultRecord> records; // oldest first
    std::optional<FileFailure> failure;
    long long failedAtRecord = 0; // record number being read when the failure happened
};

// Reads the newest records without locking: from the end of the file backwards
// until `cap` of them satisfy `kept` or the file's first record is reached,
// then hands them over oldest first. A partial record at the end is ignored. A
// missing file in an existing folder reads as empty; a missing folder is
// retried every five seconds and reported on the fourth failure; a file the
// user may not read is reported at once.
RecordsRead readNewestRecords(const QString& path, EventWait& wait, int cap,
                              bool (*kept)(const ResultRecord&));

} // namespace kavoret::results
