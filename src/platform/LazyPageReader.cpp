#include "platform/LazyPageReader.h"

#include <QtGlobal>

namespace kavoret {

LazyPageReader::LazyPageReader(QString modulePath)
    : real_(std::move(modulePath), "kavoret_make_page_reader") {}

QString LazyPageReader::read(const QString& url) {
    return fetch(url).text;
}

PageRead LazyPageReader::fetch(const QString& url) {
    const bool tried = !real_.loadError().isEmpty();
    if (PageReader* real = real_.get())
        return real->fetch(url);
    if (!tried)
        qWarning("Kavoret: no page reads, the ranking server stays offline: %s",
                 qUtf8Printable(real_.loadError()));
    return {};
}

} // namespace kavoret
