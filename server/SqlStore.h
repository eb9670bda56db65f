#pragma once

#include "Store.h"

#include <QString>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

namespace kavoret::server {

// A bound parameter: a whole number, a number or a text.
using SqlValue = std::variant<qint64, double, QString>;
// A result row, every field as text (empty optional for NULL).
using SqlRow = std::vector<std::optional<QString>>;
using SqlRows = std::vector<SqlRow>;

// One database connection, used by one thread at a time. Statements are written
// with $1, $2, … placeholders and values are always bound, never spliced in.
class SqlSession {
public:
    virtual ~SqlSession() = default;
    virtual Result<SqlRows> query(const char* sql, const std::vector<SqlValue>& parameters) = 0;
    Status execute(const char* sql, const std::vector<SqlValue>& parameters);
};

// The store on an SQL database: the statements and the mapping of rows, shared
// by SQLite and PostgreSQL; the subclasses bring the connections.
class SqlStore : public Store {
public:
    Status upload(const Upload& upload) override;
    Status setPass(const PlaceKey& key, bool passed, const QString& date) override;
    Status replaceRecentDays(const PlaceKey& key, const std::vector<StoredDay>& days) override;

    Result<std::optional<PlaceTotals>> totals(const PlaceKey& key) override;
    Result<std::vector<StoredDay>> recentDays(const PlaceKey& key) override;
    Result<WorldRanking> worldRanking(int soft, int level, int leaders) override;
    Result<std::optional<Standing>> standing(int soft, int level, const QString& school,
                                             int student) override;
    Result<std::optional<StudentInfo>> student(const QString& school, int student) override;
    Result<QString> schoolName(const QString& school) override;
    Result<QString> softName(int soft) override;
    Result<std::vector<LevelRecord>> studentLevels(const QString& school, int student) override;
    Result<std::vector<PassEntry>> schoolPasses(const QString& school) override;

    // The tables and indexes, in statements both databases accept.
    static const std::vector<const char*>& schema();

protected:
    using Work = std::function<Status(SqlSession&)>;
    // Runs work on a connection of this thread's own; a writing work runs in one
    // transaction, committed when it succeeds and rolled back when it fails.
    virtual Status run(bool writes, const Work& work) = 0;

private:
    Result<SqlRows> read(const char* sql, const std::vector<SqlValue>& parameters);
};

} // namespace kavoret::server
