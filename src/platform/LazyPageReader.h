#pragma once

#include "platform/PageReader.h"
#include "platform/PlatformModule.h"

namespace kavoret {

// Reads pages through the network module (libcurl and the TLS, Kerberos and
// LDAP libraries under it), loaded with the first read: the start-up does
// without them. When the module cannot be loaded, every read is a quick
// failure and loadError() says why.
class LazyPageReader final : public PageReader {
public:
    explicit LazyPageReader(QString modulePath);

    QString read(const QString& url) override;
    PageRead fetch(const QString& url) override;

    const QString& loadError() const { return real_.loadError(); }

private:
    ModuleObject<PageReader> real_;
};

} // namespace kavoret
