#pragma once

#include "platform/RequestSender.h"

#include <QObject>

class QNetworkAccessManager;

namespace kavoret {

// Sends GET requests without waiting for their answers; each reply is deleted
// when it finishes, and a request that hangs ends after its transfer time-out.
class QtRequestSender final : public QObject, public RequestSender {
public:
    explicit QtRequestSender(QObject* parent = nullptr);
    void send(const QString& url) override;

private:
    QNetworkAccessManager* manager_;
};

} // namespace kavoret
