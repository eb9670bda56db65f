#pragma once

#include <memory>
#include <mutex>
#include <vector>

namespace kavoret::server {

// The idle database connections of a store, shared by the server's threads:
// a request takes one (or opens a new one when all are busy) and gives it back.
template <typename Connection> class ConnectionPool {
public:
    // An idle connection, or none when every connection is in use.
    std::unique_ptr<Connection> takeIdle() {
        std::lock_guard lock(mutex_);
        if (idle_.empty())
            return nullptr;
        std::unique_ptr<Connection> connection = std::move(idle_.back());
        idle_.pop_back();
        return connection;
    }

    void giveBack(std::unique_ptr<Connection> connection) {
        std::lock_guard lock(mutex_);
        idle_.push_back(std::move(connection));
    }

private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> idle_;
};

} // namespace kavoret::server
