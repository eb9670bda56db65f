#pragma once

#include "HttpServer.h"
#include "Programs.h"
#include "RankingService.h"
#include "Store.h"

#include <QByteArray>
#include <QDate>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace kavoret::test {

// A PostgreSQL cluster of its own in a temporary folder, started with Debian's
// initdb and pg_ctl as an unprivileged user and reached only through a Unix
// socket in that folder. Stopped by the destructor.
class PostgresCluster {
public:
    PostgresCluster() = default;
    ~PostgresCluster();
    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

    // The folder of initdb and pg_ctl; empty when the postgresql package is missing.
    static QString toolFolder();

    bool start(QString& problem);
    // A new empty database on the cluster, as a connection URI.
    QString createDatabase(QString& problem);

private:
    bool runTool(const QString& tool, const QStringList& arguments, QString& problem);

    QTemporaryDir folder_;
    QString tools_;
    bool running_ = false;
    int databases_ = 0;
};

enum class Backend { Sqlite, Postgres };
// The database the server tests run on: PostgreSQL when KAVORET_TEST_STORE is
// "postgres", SQLite otherwise.
Backend backendUnderTest();
QString backendName(Backend backend);

struct HttpAnswer {
    int status = 0; // 0 when no answer came
    QByteArray body;
};
// One GET to the loopback port, the target sent exactly as given.
HttpAnswer httpGet(int port, const std::string& target);

// The ranking server on 127.0.0.1 at a port the system chooses, on a fresh
// database of the backend under test, with a date of its own for passes.
class ServerFixture {
public:
    ServerFixture();
    ~ServerFixture();
    ServerFixture(const ServerFixture&) = delete;
    ServerFixture& operator=(const ServerFixture&) = delete;

    // Starts on a new database; skip is set when PostgreSQL is not installed.
    bool start(const server::Programs& programs, QString& problem, bool& skip);
    void stop();

    server::Store& store() { return *store_; }
    int port() const { return port_; }
    QString address() const;
    QStringList log() const;
    void setToday(const QDate& today);

private:
    Backend backend_;
    QTemporaryDir sqliteFolder_;
    std::unique_ptr<PostgresCluster> cluster_;
    int databases_ = 0;
    server::Programs programs_;
    std::unique_ptr<server::Store> store_;
    std::unique_ptr<server::RankingService> service_;
    std::unique_ptr<server::HttpServer> http_;
    int port_ = -1;
    mutable QMutex mutex_;
    QStringList log_;
    QDate today_{2024, 5, 3};
};

} // namespace kavoret::test
