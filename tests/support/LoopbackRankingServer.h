#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

namespace kavoret::test {

// A ranking server on 127.0.0.1 at a port the system chooses, answering on its
// own thread. It serves configured pages by path and records every request it
// gets, with the query exactly as it arrived. Paths without a page get 404.
class LoopbackRankingServer {
public:
    struct Request {
        QString path;     // as sent, e.g. "/benkyouRanking/BenkyouHyouji002.php"
        QString rawQuery; // the text after "?", still percent-encoded
    };
    struct Page {
        QByteArray body;
        QByteArray contentType = "text/html; charset=utf-8";
        int status = 200;
        int delayMs = 0; // the answer waits this long before it is sent
    };

    LoopbackRankingServer();
    ~LoopbackRankingServer();
    LoopbackRankingServer(const LoopbackRankingServer&) = delete;
    LoopbackRankingServer& operator=(const LoopbackRankingServer&) = delete;

    bool isRunning() const;
    int port() const;
    QString address() const; // "http://127.0.0.1:<port>"

    // The page for every request of path whose query has the parameter (for
    // example "athome=1"); an empty parameter matches any request of the path.
    // Pages with a parameter are looked at before the page without one.
    void setPage(const QString& path, const QString& parameter, const Page& page);
    // A UTF-8 page for any request of the path.
    void setPage(const QString& path, const QString& body);

    QList<Request> requests() const;
    QList<Request> requestsFor(const QString& path) const;
    void clearRequests();

    // Stops serving and waits for the server thread; the destructor does it too.
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace kavoret::test
