// kavoret-ranking-server: the family's ranking server, for a school or a family
// that runs its own. See the README for the options and the programs file.

#include "HttpServer.h"
#include "Programs.h"
#include "RankingService.h"
#include "Store.h"

#include <QDate>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <pthread.h>
#include <thread>

using namespace kavoret;
using namespace kavoret::server;

namespace {

const char* const kUsage =
    "usage: kavoret-ranking-server --listen HOST:PORT --database DB [--programs FILE]\n"
    "  --listen HOST:PORT  address to serve on; port 0 takes a free port\n"
    "  --database DB       an SQLite file (created when missing) or a postgresql:// URI\n"
    "  --programs FILE     reference times and clear points per program and level\n";

std::mutex logMutex;

void logLine(const QString& line) {
    const QByteArray bytes = (line + u'\n').toLocal8Bit();
    std::lock_guard lock(logMutex);
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

int usageError(const QString& problem) {
    logLine(QStringLiteral("kavoret-ranking-server: ") + problem);
    std::fputs(kUsage, stderr);
    return 2;
}

struct Options {
    QString listen;
    QString database;
    QString programs;
};

} // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        QString* target = nullptr;
        QString name = argument;
        QString value;
        bool inlineValue = false;
        if (const qsizetype equals = argument.indexOf(u'='); equals > 0) {
            name = argument.left(equals);
            value = argument.mid(equals + 1);
            inlineValue = true;
        }
        if (name == QStringLiteral("--listen"))
            target = &options.listen;
        else if (name == QStringLiteral("--database"))
            target = &options.database;
        else if (name == QStringLiteral("--programs"))
            target = &options.programs;
        if (!target)
            return usageError(QStringLiteral("unknown argument: %1").arg(argument));
        if (!inlineValue) {
            if (i + 1 >= argc)
                return usageError(QStringLiteral("%1 needs a value").arg(name));
            value = QString::fromLocal8Bit(argv[++i]);
        }
        *target = value;
    }
    if (options.listen.isEmpty())
        return usageError(QStringLiteral("--listen is missing"));
    if (options.database.isEmpty())
        return usageError(QStringLiteral("--database is missing"));
    Result<ListenAddress> address = parseListenAddress(options.listen);
    if (!address)
        return usageError(address.error().message);

    Programs programs;
    if (!options.programs.isEmpty()) {
        Result<Programs> loaded = Programs::load(options.programs);
        if (!loaded) {
            logLine(QStringLiteral("kavoret-ranking-server: ") + loaded.error().message);
            return 1;
        }
        programs = std::move(loaded).value();
    }
    Result<std::unique_ptr<Store>> store = openStore(options.database);
    if (!store) {
        logLine(QStringLiteral("kavoret-ranking-server: ") + store.error().message);
        return 1;
    }

    // SIGINT and SIGTERM are taken by a thread of their own, which stops the
    // server; every other thread keeps them blocked.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    RankingService service(*store.value(), programs, [] { return QDate::currentDate(); });
    HttpServer http(service, logLine);
    Result<int> port = http.bind(address.value().host, address.value().port);
    if (!port) {
        logLine(QStringLiteral("kavoret-ranking-server: ") + port.error().message);
        return 1;
    }

    std::thread signalWatcher([&http, &stopSignals] {
        int received = 0;
        sigwait(&stopSignals, &received);
        http.stop();
    });

    const QString host = address.value().host.contains(u':') ? u'[' + address.value().host + u']'
                                                             : address.value().host;
    logLine(QStringLiteral("kavoret-ranking-server: listening on http://%1:%2 (database %3)")
                .arg(host, QString::number(port.value()), databaseForMessages(options.database)));
    http.run();

    // The server may also have stopped by itself; the signal thread then still waits.
    pthread_kill(signalWatcher.native_handle(), SIGTERM);
    signalWatcher.join();
    logLine(QStringLiteral("kavoret-ranking-server: stopped"));
    return 0;
}
