#pragma once

#include "platform/PlatformModule.h"
#include "platform/RequestSender.h"

namespace kavoret {

// Sends requests through the network module (Qt Network), loaded with the
// first request. When the module cannot be loaded, requests are dropped and
// loadError() says why.
class LazyRequestSender final : public RequestSender {
public:
    explicit LazyRequestSender(QString modulePath);

    void send(const QString& url) override;

    const QString& loadError() const { return real_.loadError(); }

private:
    ModuleObject<RequestSender> real_;
};

} // namespace kavoret
