#include "platform/QtRequestSender.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace kavoret {

namespace {
constexpr int kTransferTimeoutMs = 10000;
}

QtRequestSender::QtRequestSender(QObject* parent)
    : QObject(parent), manager_(new QNetworkAccessManager(this)) {}

void QtRequestSender::send(const QString& url) {
    if (url.isEmpty())
        return;
    // The address is already percent-encoded; it is sent as it stands.
    const QUrl address = QUrl::fromEncoded(url.toUtf8(), QUrl::StrictMode);
    if (!address.isValid())
        return;
    const QString scheme = address.scheme();
    if (scheme != QStringLiteral("http") && scheme != QStringLiteral("https"))
        return;
    QNetworkRequest request(address);
    request.setTransferTimeout(kTransferTimeoutMs);
    QNetworkReply* reply = manager_->get(request);
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
}

} // namespace kavoret
