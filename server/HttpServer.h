#pragma once

#include "frame/Result.h"

#include <QString>
#include <functional>
#include <memory>

namespace kavoret::server {

class RankingService;

// Serves the ranking service over HTTP (cpp-httplib) and writes one log line
// per request: time, client, method, target path, status, bytes, duration and,
// for a refused or failed request, why. Queries are not logged: they carry the
// students' names.
class HttpServer {
public:
    using Log = std::function<void(const QString& line)>;
    // threads: how many requests are answered at once.
    HttpServer(RankingService& service, Log log, int threads = 8);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds to host and port; port 0 takes a free port the system chooses.
    // Gives the port bound.
    Result<int> bind(const QString& host, int port);
    // Serves until stop(); returns at once when not bound.
    void run();
    // Serves on a thread of its own until stop() or the destructor.
    void start();
    // Stops serving; safe from any thread, also before run() has begun.
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// "HOST:PORT" with the port from 0 to 65535; "[v6]:PORT" for an IPv6 address.
struct ListenAddress {
    QString host;
    int port = 0;
};
Result<ListenAddress> parseListenAddress(const QString& text);

} // namespace kavoret::server
