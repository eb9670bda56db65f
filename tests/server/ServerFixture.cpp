#include "ServerFixture.h"

#include <httplib.h>
#include <libpq-fe.h>

#include <QDir>
#include <QMutexLocker>
#include <QProcess>
#include <QVersionNumber>
#include <pwd.h>
#include <unistd.h>

namespace kavoret::test {

namespace {

// initdb refuses to run as root; the cluster then belongs to this user.
const char* const kClusterUser = "nobody";

bool runningAsRoot() {
    return geteuid() == 0;
}

} // namespace

QString PostgresCluster::toolFolder() {
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QString best;
    QVersionNumber bestVersion;
    for (const QString& version : versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString tools = versions.filePath(version + QStringLiteral("/bin"));
        const QVersionNumber number = QVersionNumber::fromString(version);
        if (QFileInfo::exists(tools + QStringLiteral("/initdb")) &&
            QFileInfo::exists(tools + QStringLiteral("/pg_ctl")) && number > bestVersion) {
            best = tools;
            bestVersion = number;
        }
    }
    return best;
}

bool PostgresCluster::runTool(const QString& tool, const QStringList& arguments, QString& problem) {
    QProcess process;
    process.setWorkingDirectory(folder_.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QString program = tools_ + u'/' + tool;
    if (runningAsRoot()) {
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), QString::fromLatin1(kClusterUser),
                                  QStringLiteral("--"), program} +
                          arguments);
    } else {
        process.start(program, arguments);
    }
    const bool finished = process.waitForFinished(120000);
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        if (!finished)
            process.kill();
        problem =
            QStringLiteral("%1 failed: %2").arg(tool, QString::fromLocal8Bit(process.readAll()));
        return false;
    }
    return true;
}

bool PostgresCluster::start(QString& problem) {
    tools_ = toolFolder();
    if (tools_.isEmpty()) {
        problem = QStringLiteral("PostgreSQL is not installed (Debian package postgresql)");
        return false;
    }
    if (!folder_.isValid()) {
        problem = QStringLiteral("no temporary folder for the cluster");
        return false;
    }
    if (runningAsRoot()) {
        const passwd* user = getpwnam(kClusterUser);
        if (!user ||
            chown(QFile::encodeName(folder_.path()).constData(), user->pw_uid, user->pw_gid) != 0) {
            problem = QStringLiteral("cannot give the cluster folder to user %1")
                          .arg(QLatin1String(kClusterUser));
            return false;
        }
    }
    const QString data = folder_.filePath(QStringLiteral("data"));
    if (!runTool(QStringLiteral("initdb"),
                 {QStringLiteral("-D"), data, QStringLiteral("-A"), QStringLiteral("trust"),
                  QStringLiteral("-U"), QStringLiteral("kavoret"), QStringLiteral("-E"),
                  QStringLiteral("UTF8"), QStringLiteral("--no-locale")},
                 problem))
        return false;
    // Only a socket in the folder, no TCP port; a throwaway cluster needs no fsync.
    const QString options =
        QStringLiteral("-k %1 -c listen_addresses='' -c fsync=off -c synchronous_commit=off "
                       "-c full_page_writes=off -c max_connections=40")
            .arg(folder_.path());
    if (!runTool(QStringLiteral("pg_ctl"),
                 {QStringLiteral("-D"), data, QStringLiteral("-o"), options, QStringLiteral("-l"),
                  folder_.filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
                  QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("start")},
                 problem))
        return false;
    running_ = true;
    return true;
}

PostgresCluster::~PostgresCluster() {
    if (!running_)
        return;
    QString problem;
    (void)runTool(QStringLiteral("pg_ctl"),
                  {QStringLiteral("-D"), folder_.filePath(QStringLiteral("data")),
                   QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("-w"),
                   QStringLiteral("stop")},
                  problem);
}

QString PostgresCluster::createDatabase(QString& problem) {
    const QString base = QStringLiteral("postgresql:///%1?host=%2&user=kavoret");
    const QString name = QStringLiteral("kavoret_test_%1").arg(++databases_);
    const QByteArray admin = base.arg(QStringLiteral("postgres"), folder_.path()).toUtf8();
    PGconn* connection = PQconnectdb(admin.constData());
    if (PQstatus(connection) != CONNECTION_OK) {
        problem = QString::fromUtf8(PQerrorMessage(connection));
        PQfinish(connection);
        return {};
    }
    PGresult* result =
        PQexec(connection, QStringLiteral("CREATE DATABASE %1").arg(name).toUtf8().constData());
    const bool created = PQresultStatus(result) == PGRES_COMMAND_OK;
    if (!created)
        problem = QString::fromUtf8(PQresultErrorMessage(result));
    PQclear(result);
    PQfinish(connection);
    return created ? base.arg(name, folder_.path()) : QString();
}

Backend backendUnderTest() {
    return qEnvironmentVariable("KAVORET_TEST_STORE") == QStringLiteral("postgres")
               ? Backend::Postgres
               : Backend::Sqlite;
}

QString backendName(Backend backend) {
    return backend == Backend::Postgres ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite");
}

HttpAnswer httpGet(int port, const std::string& target) {
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(5);
    client.set_read_timeout(10);
    httplib::Result result = client.Get(target.c_str());
    if (!result)
        return {};
    return {result->status, QByteArray::fromStdString(result->body)};
}

ServerFixture::ServerFixture() : backend_(backendUnderTest()) {}

ServerFixture::~ServerFixture() {
    stop();
}

bool ServerFixture::start(const server::Programs& programs, QString& problem, bool& skip) {
    skip = false;
    stop();
    QString database;
    if (backend_ == Backend::Postgres) {
        if (!cluster_) {
            if (PostgresCluster::toolFolder().isEmpty()) {
                skip = true;
                problem = QStringLiteral("PostgreSQL is not installed (Debian package "
                                         "postgresql), so the PostgreSQL store is not tested");
                return false;
            }
            auto cluster = std::make_unique<PostgresCluster>();
            if (!cluster->start(problem))
                return false;
            cluster_ = std::move(cluster);
        }
        database = cluster_->createDatabase(problem);
        if (database.isEmpty())
            return false;
    } else {
        database = sqliteFolder_.filePath(QStringLiteral("ranking-%1.sqlite").arg(++databases_));
    }
    Result<std::unique_ptr<server::Store>> store = server::openStore(database);
    if (!store) {
        problem = store.error().message;
        return false;
    }
    store_ = std::move(store).value();
    programs_ = programs;
    service_ = std::make_unique<server::RankingService>(*store_, programs_, [this] {
        QMutexLocker lock(&mutex_);
        return today_;
    });
    http_ = std::make_unique<server::HttpServer>(*service_, [this](const QString& line) {
        QMutexLocker lock(&mutex_);
        log_.append(line);
    });
    Result<int> port = http_->bind(QStringLiteral("127.0.0.1"), 0);
    if (!port) {
        problem = port.error().message;
        return false;
    }
    port_ = port.value();
    http_->start();
    return true;
}

void ServerFixture::stop() {
    http_.reset();
    service_.reset();
    store_.reset();
    port_ = -1;
    QMutexLocker lock(&mutex_);
    log_.clear();
}

QString ServerFixture::address() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port_);
}

QStringList ServerFixture::log() const {
    QMutexLocker lock(&mutex_);
    return log_;
}

void ServerFixture::setToday(const QDate& today) {
    QMutexLocker lock(&mutex_);
    today_ = today;
}

} // namespace kavoret::test
