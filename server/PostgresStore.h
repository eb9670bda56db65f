#pragma once

#include "ConnectionPool.h"
#include "SqlStore.h"

#include <memory>
#include <mutex>
#include <vector>

namespace kavoret::server {

// The store in a PostgreSQL database, for a server that many schools share.
// Each thread works on a connection of its own, taken from a pool; every
// operation is one transaction.
class PostgresStore final : public SqlStore {
public:
    // Connects with a libpq connection URI and creates the tables when missing.
    static Result<std::unique_ptr<PostgresStore>> open(const QString& uri);
    ~PostgresStore() override;

protected:
    Status run(bool writes, const Work& work) override;

private:
    class Connection;
    explicit PostgresStore(QString uri);
    Result<std::unique_ptr<Connection>> connect();
    Status runOnce(Connection& connection, bool writes, const Work& work, bool& retry);

    QString uri_;
    ConnectionPool<Connection> pool_;
};

} // namespace kavoret::server
