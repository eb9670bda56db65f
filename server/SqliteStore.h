#pragma once

#include "ConnectionPool.h"
#include "SqlStore.h"

#include <memory>
#include <mutex>
#include <vector>

namespace kavoret::server {

// The store in one SQLite file, in write-ahead-log mode: any number of
// readers at once and one writer at a time. Each thread works on a connection
// of its own, taken from a pool.
class SqliteStore final : public SqlStore {
public:
    // Opens the file, creating it and its tables when missing.
    static Result<std::unique_ptr<SqliteStore>> open(const QString& path);
    ~SqliteStore() override;

protected:
    Status run(bool writes, const Work& work) override;

private:
    class Connection;
    explicit SqliteStore(QString path);
    Result<std::unique_ptr<Connection>> connect();

    QString path_;
    ConnectionPool<Connection> pool_;
    std::mutex writer_; // one writing transaction of this process at a time
};

} // namespace kavoret::server
