#pragma once

#include "platform/PageReader.h"

#include <chrono>
#include <mutex>

namespace kavoret {

// Reads a page over HTTP with libcurl, blocking until the answer is complete.
// The answer is decoded by the charset its Content-Type names, UTF-8 otherwise.
// Any failure (no connection, a time-out, a status outside 2xx, an oversized
// answer) gives the empty text; fetch() tells a server that cannot be reached
// or does not answer in time from one that answered with an error.
//
// The whole read, connecting included, may take at most totalTimeout: a
// server that accepts the connection and never answers holds the window for
// that long, so the default keeps one such read within three seconds.
class CurlPageReader final : public PageReader {
public:
    explicit CurlPageReader(std::chrono::milliseconds connectTimeout = std::chrono::seconds(3),
                            std::chrono::milliseconds totalTimeout = std::chrono::seconds(3));
    ~CurlPageReader() override;
    CurlPageReader(const CurlPageReader&) = delete;
    CurlPageReader& operator=(const CurlPageReader&) = delete;

    QString read(const QString& url) override;
    PageRead fetch(const QString& url) override;

private:
    bool initialise();

    std::chrono::milliseconds connectTimeout_;
    std::chrono::milliseconds totalTimeout_;
    std::once_flag initOnce_;
    bool initialised_ = false;
};

} // namespace kavoret
