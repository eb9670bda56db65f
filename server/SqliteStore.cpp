#include "SqliteStore.h"

#include <QFile>
#include <sqlite3.h>
#include <unordered_map>

namespace kavoret::server {

namespace {

// How long a connection waits for another process's writer before it fails.
constexpr int kBusyTimeoutMs = 10000;

} // namespace

class SqliteStore::Connection final : public SqlSession {
public:
    Connection(sqlite3* db, QString path) : db_(db), path_(std::move(path)) {}
    ~Connection() override {
        for (auto& [sql, statement] : statements_)
            sqlite3_finalize(statement);
        sqlite3_close(db_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Result<SqlRows> query(const char* sql, const std::vector<SqlValue>& parameters) override {
        Result<sqlite3_stmt*> prepared = statement(sql);
        if (!prepared)
            return prepared.error();
        sqlite3_stmt* statement = prepared.value();
        // The statement is reset however this ends, so it can be used again.
        struct Reset {
            sqlite3_stmt* statement;
            ~Reset() {
                sqlite3_reset(statement);
                sqlite3_clear_bindings(statement);
            }
        } reset{statement};

        int index = 0;
        for (const SqlValue& value : parameters) {
            ++index;
            int rc = SQLITE_OK;
            if (const auto* whole = std::get_if<qint64>(&value)) {
                rc = sqlite3_bind_int64(statement, index, *whole);
            } else if (const auto* number = std::get_if<double>(&value)) {
                rc = sqlite3_bind_double(statement, index, *number);
            } else {
                const QByteArray text = std::get<QString>(value).toUtf8();
                rc = sqlite3_bind_text(statement, index, text.constData(),
                                       static_cast<int>(text.size()), SQLITE_TRANSIENT);
            }
            if (rc != SQLITE_OK)
                return failure();
        }

        SqlRows rows;
        const int columns = sqlite3_column_count(statement);
        for (;;) {
            const int rc = sqlite3_step(statement);
            if (rc == SQLITE_DONE)
                break;
            if (rc != SQLITE_ROW)
                return failure();
            SqlRow row;
            row.reserve(static_cast<std::size_t>(columns));
            for (int column = 0; column < columns; ++column) {
                if (sqlite3_column_type(statement, column) == SQLITE_NULL) {
                    row.emplace_back();
                    continue;
                }
                const auto* text =
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
                const int bytes = sqlite3_column_bytes(statement, column);
                row.emplace_back(QString::fromUtf8(text, bytes));
            }
            rows.push_back(std::move(row));
        }
        return rows;
    }

    Status plain(const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            return failure();
        return success();
    }

    Error failure() const {
        return Error{QStringLiteral("SQLite database %1: %2")
                         .arg(path_, QString::fromUtf8(sqlite3_errmsg(db_)))};
    }

private:
    // Statements are prepared once per connection; the texts are constants, so
    // their addresses identify them.
    Result<sqlite3_stmt*> statement(const char* sql) {
        if (auto found = statements_.find(sql); found != statements_.end())
            return found->second;
        // SQLite numbers its parameters ?1, ?2, …; the statements say $1, $2, ….
        std::string text(sql);
        for (char& c : text) {
            if (c == '$')
                c = '?';
        }
        sqlite3_stmt* prepared = nullptr;
        if (sqlite3_prepare_v3(db_, text.c_str(), static_cast<int>(text.size()),
                               SQLITE_PREPARE_PERSISTENT, &prepared, nullptr) != SQLITE_OK)
            return failure();
        statements_.emplace(sql, prepared);
        return prepared;
    }

    sqlite3* db_;
    QString path_;
    std::unordered_map<const char*, sqlite3_stmt*> statements_;
};

SqliteStore::SqliteStore(QString path) : path_(std::move(path)) {}

SqliteStore::~SqliteStore() = default;

Result<std::unique_ptr<SqliteStore::Connection>> SqliteStore::connect() {
    sqlite3* db = nullptr;
    const QByteArray file = QFile::encodeName(path_);
    const int rc =
        sqlite3_open_v2(file.constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    auto connection = std::make_unique<Connection>(db, path_);
    if (rc != SQLITE_OK)
        return connection->failure();
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // With the write-ahead log a commit is safe against a crash of the server;
    // only a power cut may take the last commits.
    if (Status done = connection->plain("PRAGMA synchronous = NORMAL"); !done)
        return done.error();
    return connection;
}

Result<std::unique_ptr<SqliteStore>> SqliteStore::open(const QString& path) {
    std::unique_ptr<SqliteStore> store(new SqliteStore(path));
    Result<std::unique_ptr<Connection>> first = store->connect();
    if (!first)
        return first.error();
    Connection& connection = *first.value();
    Result<SqlRows> mode = connection.query("PRAGMA journal_mode = WAL", {});
    if (!mode)
        return mode.error();
    if (mode.value().empty() || mode.value().front().empty() ||
        mode.value().front().front().value_or(QString()).toLower() != QStringLiteral("wal"))
        return Error{
            QStringLiteral("SQLite database %1: cannot use write-ahead logging").arg(path)};
    Status created = store->run(true, [](SqlSession& session) -> Status {
        for (const char* statement : SqlStore::schema()) {
            if (Status done = session.execute(statement, {}); !done)
                return done;
        }
        return success();
    });
    if (!created)
        return created.error();
    return store;
}

Status SqliteStore::run(bool writes, const Work& work) {
    std::unique_ptr<Connection> connection = pool_.takeIdle();
    if (!connection) {
        Result<std::unique_ptr<Connection>> opened = connect();
        if (!opened)
            return opened.error();
        connection = std::move(opened).value();
    }

    Status result = [&]() -> Status {
        std::unique_lock<std::mutex> writing(writer_, std::defer_lock);
        if (writes)
            writing.lock();
        // A writer takes the write lock at once, so it never has to give way
        // half-way; readers see one snapshot for all their statements.
        if (Status begun = connection->plain(writes ? "BEGIN IMMEDIATE" : "BEGIN"); !begun)
            return begun;
        Status done = work(*connection);
        if (!done) {
            (void)connection->plain("ROLLBACK");
            return done;
        }
        if (Status committed = connection->plain("COMMIT"); !committed) {
            (void)connection->plain("ROLLBACK");
            return committed;
        }
        return success();
    }();

    pool_.giveBack(std::move(connection));
    return result;
}

} // namespace kavoret::server
