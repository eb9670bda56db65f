#pragma once

#include "platform/PageReader.h"

namespace kavoret {

// Reads a page over HTTP with libcurl, blocking until the answer is complete.
// The answer is decoded by the charset its Content-Type names, UTF-8 otherwise.
// Any failure (no connection, a time-out, a status outside 2xx, an oversized
// answer) gives the empty text.
class CurlPageReader final : public PageReader {
public:
    explicit CurlPageReader(long connectTimeoutSeconds = 3, long totalTimeoutSeconds = 10);
    ~CurlPageReader() override;
    CurlPageReader(const CurlPageReader&) = delete;
    CurlPageReader& operator=(const CurlPageReader&) = delete;

    QString read(const QString& url) override;

private:
    long connectTimeoutSeconds_;
    long totalTimeoutSeconds_;
    bool initialised_;
};

} // namespace kavoret
