#pragma once

#include <QString>

namespace kavoret {

// Blocking GET of a page; the whole answer as text, empty on any failure or time-out.
class PageReader {
public:
    virtual ~PageReader() = default;
    virtual QString read(const QString& url) = 0;
};

} // namespace kavoret
