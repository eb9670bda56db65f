#pragma once

#include <QString>
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kavoret::test {

// A server on 127.0.0.1 that takes every connection and never answers: the
// system completes each connection on the listening socket, nobody reads the
// request. Counts the connections made to it.
class SilentServer {
public:
    SilentServer() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (fd_ < 0)
            return;
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(fd_, 64) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
            ::fcntl(fd_, F_SETFL, O_NONBLOCK) != 0) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
        port_ = ntohs(address.sin_port);
    }
    ~SilentServer() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    bool isRunning() const { return fd_ >= 0; }
    QString address() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }

    // The connections made since the last call. A client that gave up has
    // closed its end, but its connection still waits here to be counted.
    int takeConnections() {
        int count = 0;
        for (;;) {
            const int connection = ::accept(fd_, nullptr, nullptr);
            if (connection < 0) {
                if (errno == EINTR)
                    continue;
                return count;
            }
            ::close(connection);
            ++count;
        }
    }

private:
    int fd_ = -1;
    int port_ = 0;
};

} // namespace kavoret::test
