#pragma once

#include "Programs.h"
#include "Store.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <functional>

namespace kavoret::server {

class ParameterReader;

// An answer of the server.
struct Reply {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QString problem; // why a request was refused or failed, for the log
};

// Answers the ranking server's pages: decodes and checks the query, stores what
// the program sends and builds the pages it reads or shows.
class RankingService {
public:
    using Today = std::function<QDate()>;
    // today gives the date a pass is stored with.
    RankingService(Store& store, const Programs& programs, Today today);

    // rawPath and rawQuery as they arrived, still percent-encoded.
    Reply handle(const QByteArray& rawPath, const QByteArray& rawQuery);

    // How many leaders the ranking page shows.
    static constexpr int kLeaders = 50;

private:
    Reply upload(ParameterReader& parameters);
    Reply totals(ParameterReader& parameters);
    Reply updateRecentDays(ParameterReader& parameters);
    Reply worldRank(ParameterReader& parameters);
    Reply clearNotification(ParameterReader& parameters);
    Reply rankingPage(ParameterReader& parameters);
    Reply recentResults(ParameterReader& parameters);
    Reply personalPasses(ParameterReader& parameters);
    Reply passList(ParameterReader& parameters);
    Reply programInfo(ParameterReader& parameters);

    QString programTitle(int soft, QString& problem);

    Store& store_;
    const Programs& programs_;
    Today today_;
};

} // namespace kavoret::server
