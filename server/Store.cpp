#include "Store.h"

#include "PostgresStore.h"
#include "SqliteStore.h"

namespace kavoret::server {

Result<std::unique_ptr<Store>> openStore(const QString& database) {
    if (database.trimmed().isEmpty())
        return Error{QStringLiteral("--database: empty")};
    if (database.startsWith(QStringLiteral("postgresql://")) ||
        database.startsWith(QStringLiteral("postgres://"))) {
        Result<std::unique_ptr<PostgresStore>> store = PostgresStore::open(database);
        if (!store)
            return store.error();
        return std::unique_ptr<Store>(std::move(store).value());
    }
    Result<std::unique_ptr<SqliteStore>> store = SqliteStore::open(database);
    if (!store)
        return store.error();
    return std::unique_ptr<Store>(std::move(store).value());
}

QString databaseForMessages(const QString& database) {
    QString text = database;
    const qsizetype scheme = text.indexOf(QStringLiteral("://"));
    const qsizetype at = text.indexOf(u'@');
    if (scheme >= 0 && at > scheme) {
        const qsizetype colon = text.indexOf(u':', scheme + 3);
        if (colon >= 0 && colon < at)
            text.replace(colon + 1, at - colon - 1, QStringLiteral("***"));
    }
    return text;
}

} // namespace kavoret::server
