#include "platform/LazyRequestSender.h"

#include <QtGlobal>

namespace kavoret {

LazyRequestSender::LazyRequestSender(QString modulePath)
    : real_(std::move(modulePath), "kavoret_make_request_sender") {}

void LazyRequestSender::send(const QString& url) {
    const bool tried = !real_.loadError().isEmpty();
    if (RequestSender* real = real_.get()) {
        real->send(url);
        return;
    }
    if (!tried)
        qWarning("Kavoret: no requests to the ranking server: %s",
                 qUtf8Printable(real_.loadError()));
}

} // namespace kavoret
