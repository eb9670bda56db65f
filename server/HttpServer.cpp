#include "HttpServer.h"

#include "RankingService.h"

#include <httplib.h>

#include <QDateTime>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

namespace kavoret::server {

namespace {

// What the handler of the request on this thread noted for its log line.
thread_local bool requestRouted = false;
thread_local std::chrono::steady_clock::time_point requestStart;
thread_local QString requestProblem;

// Requests are small GETs; anything beyond this is not one of the program's.
constexpr std::size_t kMaxPayload = 16 * 1024;

} // namespace

struct HttpServer::Impl {
    RankingService& service;
    Log log;
    httplib::Server server;
    std::thread thread;
    std::atomic<bool> bound{false};

    Impl(RankingService& s, Log l) : service(s), log(std::move(l)) {}
};

HttpServer::HttpServer(RankingService& service, Log log, int threads)
    : impl_(std::make_unique<Impl>(service, std::move(log))) {
    Impl& impl = *impl_;
    httplib::Server& server = impl.server;
    const std::size_t workers = static_cast<std::size_t>(std::max(threads, 1));
    server.new_task_queue = [workers] { return new httplib::ThreadPool(workers); };
    server.set_payload_max_length(kMaxPayload);
    server.set_read_timeout(10);
    server.set_write_timeout(10);
    server.set_keep_alive_max_count(100);
    server.set_keep_alive_timeout(5);
    // Headers and body go out in separate writes; without this each answer
    // would wait for the delayed acknowledgement of the first.
    server.set_tcp_nodelay(true);
    // The pages change with every run, so no web view may show a stale copy.
    server.set_default_headers({{"Cache-Control", "no-store"}});

    server.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        requestRouted = true;
        requestStart = std::chrono::steady_clock::now();
        requestProblem.clear();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.Get(".*", [&impl](const httplib::Request& request, httplib::Response& response) {
        const std::string& target = request.target;
        const std::size_t mark = target.find('?');
        const QByteArray path = QByteArray::fromStdString(target.substr(0, mark));
        const QByteArray query = mark == std::string::npos
                                     ? QByteArray()
                                     : QByteArray::fromStdString(target.substr(mark + 1));
        Reply reply = impl.service.handle(path, query);
        requestProblem = reply.problem;
        response.status = reply.status;
        response.set_content(reply.body.toStdString(), reply.contentType.toStdString());
    });
    server.set_logger([&impl](const httplib::Request& request, const httplib::Response& response) {
        // A request refused before routing (too long, unreadable) has no duration.
        const bool routed = std::exchange(requestRouted, false);
        const QString problem = std::exchange(requestProblem, QString());
        if (!impl.log)
            return;
        const auto elapsed = std::chrono::steady_clock::now() - requestStart;
        const double ms = std::chrono::duration<double, std::milli>(elapsed).count();
        const std::string& target = request.target;
        QString line =
            QStringLiteral("%1 %2 %3 %4 %5 %6B %7")
                .arg(QDateTime::currentDateTime().toString(Qt::ISODate),
                     QString::fromStdString(request.remote_addr),
                     QString::fromStdString(request.method),
                     QString::fromUtf8(target.substr(0, target.find('?'))),
                     QString::number(response.status), QString::number(response.body.size()),
                     routed ? QString::number(ms, 'f', 1) + QStringLiteral("ms")
                            : QStringLiteral("-"));
        if (!problem.isEmpty())
            line += QStringLiteral(" (") + problem + u')';
        impl.log(line);
    });
}

HttpServer::~HttpServer() {
    stop();
    if (impl_->thread.joinable())
        impl_->thread.join();
}

Result<int> HttpServer::bind(const QString& host, int port) {
    const std::string address = host.toStdString();
    int bound = port;
    if (port == 0) {
        bound = impl_->server.bind_to_any_port(address);
        if (bound <= 0)
            bound = -1;
    } else if (!impl_->server.bind_to_port(address, port)) {
        bound = -1;
    }
    if (bound < 0)
        return Error{QStringLiteral("cannot listen on %1:%2").arg(host).arg(port)};
    impl_->bound = true;
    return bound;
}

void HttpServer::run() {
    if (impl_->bound)
        impl_->server.listen_after_bind();
}

void HttpServer::start() {
    if (!impl_->bound || impl_->thread.joinable())
        return;
    impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
    // Serving has begun once the server says so; bounded, in case it cannot.
    for (int attempt = 0; attempt < 500 && !impl_->server.is_running(); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void HttpServer::stop() {
    impl_->server.stop();
}

Result<ListenAddress> parseListenAddress(const QString& text) {
    const qsizetype colon = text.lastIndexOf(u':');
    const auto invalid = [&] {
        return Error{QStringLiteral("--listen %1: expected HOST:PORT, for example 127.0.0.1:8765")
                         .arg(text)};
    };
    if (colon <= 0)
        return invalid();
    QString host = text.left(colon);
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    bool ok = false;
    const QString portText = text.mid(colon + 1);
    const int port = portText.toInt(&ok);
    if (host.isEmpty() || !ok || port < 0 || port > 65535 || portText.startsWith(u'+') ||
        portText.startsWith(u'-'))
        return invalid();
    return ListenAddress{host, port};
}

} // namespace kavoret::server
