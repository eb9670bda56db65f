#pragma once

#include "platform/RequestSender.h"

#include <QStringList>

namespace kavoret::test {

// Records every address sent, in order.
class RecordingRequestSender final : public RequestSender {
public:
    void send(const QString& url) override { sent.append(url); }
    QStringList sent;
};

} // namespace kavoret::test
