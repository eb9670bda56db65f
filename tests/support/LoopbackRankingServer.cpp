#include "LoopbackRankingServer.h"

#include <httplib.h>

#include <QStringList>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace kavoret::test {

struct LoopbackRankingServer::Impl {
    struct Entry {
        QString path;
        QString parameter;
        Page page;
    };

    httplib::Server server;
    std::thread thread;
    int port = -1;
    mutable std::mutex mutex;
    std::vector<Entry> pages;
    QList<Request> requests;

    static bool hasParameter(const QString& query, const QString& parameter) {
        return parameter.isEmpty() || query.split(u'&').contains(parameter);
    }

    std::optional<Page> pageFor(const QString& path, const QString& query) const {
        const Entry* fallback = nullptr;
        for (const Entry& entry : pages) {
            if (entry.path != path)
                continue;
            if (entry.parameter.isEmpty()) {
                fallback = &entry;
            } else if (hasParameter(query, entry.parameter)) {
                return entry.page;
            }
        }
        if (fallback)
            return fallback->page;
        return std::nullopt;
    }

    void answer(const httplib::Request& request, httplib::Response& response) {
        // The target is the request line's address as sent: path, "?", query.
        const QString target =
            QString::fromUtf8(request.target.data(), static_cast<qsizetype>(request.target.size()));
        const qsizetype mark = target.indexOf(u'?');
        Request recorded{mark < 0 ? target : target.left(mark),
                         mark < 0 ? QString() : target.mid(mark + 1)};
        std::optional<Page> page;
        {
            std::lock_guard lock(mutex);
            requests.append(recorded);
            page = pageFor(recorded.path, recorded.rawQuery);
        }
        if (!page) {
            response.status = 404;
            return;
        }
        if (page->delayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(page->delayMs));
        response.status = page->status;
        response.set_content(page->body.toStdString(), page->contentType.toStdString());
    }
};

LoopbackRankingServer::LoopbackRankingServer() : impl_(std::make_unique<Impl>()) {
    Impl& impl = *impl_;
    // One request per connection, so that stopping never waits for an idle client.
    impl.server.set_keep_alive_max_count(1);
    impl.server.set_keep_alive_timeout(1);
    impl.server.Get(".*", [&impl](const httplib::Request& request, httplib::Response& response) {
        impl.answer(request, response);
    });
    impl.port = impl.server.bind_to_any_port("127.0.0.1");
    if (impl.port <= 0)
        return;
    impl.thread = std::thread([&impl] { impl.server.listen_after_bind(); });
    // Serving has begun once the server says it runs; bounded, in case it cannot.
    for (int attempt = 0; attempt < 500 && !impl.server.is_running(); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

LoopbackRankingServer::~LoopbackRankingServer() {
    stop();
}

void LoopbackRankingServer::stop() {
    if (!impl_->thread.joinable())
        return;
    impl_->server.stop();
    impl_->thread.join();
}

bool LoopbackRankingServer::isRunning() const {
    return impl_->server.is_running();
}

int LoopbackRankingServer::port() const {
    return impl_->port;
}

QString LoopbackRankingServer::address() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(impl_->port);
}

void LoopbackRankingServer::setPage(const QString& path, const QString& parameter,
                                    const Page& page) {
    std::lock_guard lock(impl_->mutex);
    auto& pages = impl_->pages;
    for (Impl::Entry& entry : pages) {
        if (entry.path == path && entry.parameter == parameter) {
            entry.page = page;
            return;
        }
    }
    pages.push_back({path, parameter, page});
}

void LoopbackRankingServer::setPage(const QString& path, const QString& body) {
    Page page;
    page.body = body.toUtf8();
    setPage(path, QString(), page);
}

QList<LoopbackRankingServer::Request> LoopbackRankingServer::requests() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->requests;
}

QList<LoopbackRankingServer::Request>
LoopbackRankingServer::requestsFor(const QString& path) const {
    QList<Request> matching;
    for (const Request& request : requests()) {
        if (request.path == path)
            matching.append(request);
    }
    return matching;
}

void LoopbackRankingServer::clearRequests() {
    std::lock_guard lock(impl_->mutex);
    impl_->requests.clear();
}

} // namespace kavoret::test
