#pragma once

#include <QString>

namespace kavoret {

// Fire-and-forget GET; the answer is ignored.
class RequestSender {
public:
    virtual ~RequestSender() = default;
    virtual void send(const QString& url) = 0;
};

} // namespace kavoret
