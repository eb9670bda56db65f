#include "PostgresStore.h"

#include <libpq-fe.h>
#include <string>
#include <unordered_map>

namespace kavoret::server {

namespace {

// Transactions that lost a deadlock or a serialisation conflict are tried again.
constexpr int kAttempts = 3;

struct ResultDeleter {
    void operator()(PGresult* result) const { PQclear(result); }
};
using ResultPtr = std::unique_ptr<PGresult, ResultDeleter>;

} // namespace

class PostgresStore::Connection final : public SqlSession {
public:
    Connection(PGconn* connection, QString uri) : connection_(connection), uri_(std::move(uri)) {}
    ~Connection() override { PQfinish(connection_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool broken() const { return PQstatus(connection_) != CONNECTION_OK; }
    // Whether the last failed statement may succeed when its transaction is tried again.
    bool retryable() const { return lastState_ == "40001" || lastState_ == "40P01"; }

    Result<SqlRows> query(const char* sql, const std::vector<SqlValue>& parameters) override {
        Result<std::string> prepared = statement(sql, static_cast<int>(parameters.size()));
        if (!prepared)
            return prepared.error();

        std::vector<std::string> texts;
        texts.reserve(parameters.size());
        for (const SqlValue& value : parameters) {
            if (const auto* whole = std::get_if<qint64>(&value))
                texts.push_back(std::to_string(*whole));
            else if (const auto* number = std::get_if<double>(&value))
                texts.push_back(QString::number(*number, 'g', 17).toStdString());
            else
                texts.push_back(std::get<QString>(value).toUtf8().toStdString());
        }
        std::vector<const char*> values;
        values.reserve(texts.size());
        for (const std::string& text : texts)
            values.push_back(text.c_str());

        ResultPtr result(PQexecPrepared(connection_, prepared.value().c_str(),
                                        static_cast<int>(values.size()), values.data(), nullptr,
                                        nullptr, 0));
        const ExecStatusType status = PQresultStatus(result.get());
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
            return failure(result.get());
        lastState_.clear();

        SqlRows rows;
        const int count = PQntuples(result.get());
        const int columns = PQnfields(result.get());
        rows.reserve(static_cast<std::size_t>(count));
        for (int r = 0; r < count; ++r) {
            SqlRow row;
            row.reserve(static_cast<std::size_t>(columns));
            for (int c = 0; c < columns; ++c) {
                if (PQgetisnull(result.get(), r, c))
                    row.emplace_back();
                else
                    row.emplace_back(QString::fromUtf8(PQgetvalue(result.get(), r, c),
                                                       PQgetlength(result.get(), r, c)));
            }
            rows.push_back(std::move(row));
        }
        return rows;
    }

    Status plain(const char* sql) {
        ResultPtr result(PQexec(connection_, sql));
        const ExecStatusType status = PQresultStatus(result.get());
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            return failure(result.get());
        return success();
    }

    Error failure(const PGresult* result = nullptr) {
        const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
        lastState_ = state ? state : "";
        QString message = QString::fromUtf8(result ? PQresultErrorMessage(result) : "");
        if (message.trimmed().isEmpty())
            message = QString::fromUtf8(PQerrorMessage(connection_));
        return Error{QStringLiteral("PostgreSQL database %1: %2")
                         .arg(databaseForMessages(uri_), message.trimmed())};
    }

private:
    // Statements are prepared once per connection, named by their order; the
    // texts are constants, so their addresses identify them.
    Result<std::string> statement(const char* sql, int parameterCount) {
        if (auto found = statements_.find(sql); found != statements_.end())
            return found->second;
        std::string name = "kavoret_" + std::to_string(statements_.size() + 1);
        ResultPtr result(PQprepare(connection_, name.c_str(), sql, parameterCount, nullptr));
        if (PQresultStatus(result.get()) != PGRES_COMMAND_OK)
            return failure(result.get());
        statements_.emplace(sql, name);
        return name;
    }

    PGconn* connection_;
    QString uri_;
    std::string lastState_;
    std::unordered_map<const char*, std::string> statements_;
};

PostgresStore::PostgresStore(QString uri) : uri_(std::move(uri)) {}

PostgresStore::~PostgresStore() = default;

Result<std::unique_ptr<PostgresStore::Connection>> PostgresStore::connect() {
    const QByteArray uri = uri_.toUtf8();
    auto connection = std::make_unique<Connection>(PQconnectdb(uri.constData()), uri_);
    if (connection->broken())
        return connection->failure();
    if (Status done = connection->plain("SET client_encoding TO 'UTF8'"); !done)
        return done.error();
    // Quiet the notices of "IF NOT EXISTS" on an existing database.
    if (Status done = connection->plain("SET client_min_messages TO warning"); !done)
        return done.error();
    return connection;
}

Result<std::unique_ptr<PostgresStore>> PostgresStore::open(const QString& uri) {
    std::unique_ptr<PostgresStore> store(new PostgresStore(uri));
    Status created = store->run(true, [](SqlSession& session) -> Status {
        // Servers started together on a new database create the tables one after another.
        if (Status locked = session.execute("SELECT pg_advisory_xact_lock(801801)", {}); !locked)
            return locked;
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

Status PostgresStore::runOnce(Connection& connection, bool writes, const Work& work, bool& retry) {
    retry = false;
    if (Status begun = connection.plain(writes ? "BEGIN" : "BEGIN READ ONLY"); !begun)
        return begun;
    Status done = work(connection);
    if (!done) {
        retry = connection.retryable();
        (void)connection.plain("ROLLBACK");
        return done;
    }
    if (Status committed = connection.plain("COMMIT"); !committed) {
        retry = connection.retryable();
        (void)connection.plain("ROLLBACK");
        return committed;
    }
    return success();
}

Status PostgresStore::run(bool writes, const Work& work) {
    std::unique_ptr<Connection> connection = pool_.takeIdle();
    if (!connection) {
        Result<std::unique_ptr<Connection>> opened = connect();
        if (!opened)
            return opened.error();
        connection = std::move(opened).value();
    }

    Status result = success();
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        bool retry = false;
        result = runOnce(*connection, writes, work, retry);
        if (result || !retry)
            break;
    }

    // A connection the database dropped is not given out again.
    if (!connection->broken())
        pool_.giveBack(std::move(connection));
    return result;
}

} // namespace kavoret::server
