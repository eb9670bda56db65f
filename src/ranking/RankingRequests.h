#pragma once

#include "frame/SharedState.h"
#include "ranking/RankingContract.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <array>
#include <utility>
#include <vector>

namespace kavoret::ranking {

// Builds "<server>/benkyouRanking/<page>?k1=v1&k2=v2…" with the parameters in the
// order added. Values are percent-encoded as UTF-8, so a value holding "&", "="
// or "#" stays one value.
class RequestBuilder {
public:
    RequestBuilder(QString server, QString page);
    RequestBuilder& add(const QString& key, const QString& value);
    RequestBuilder& add(const QString& key, long long value);
    // Empty when no server is configured (the program runs offline).
    QString address() const;

private:
    QString server_;
    QString page_;
    std::vector<std::pair<QString, QString>> parameters_;
};

// Where the student stands when a request names a place: at school or at home.
enum class Place { School = 0, Home = 1 };

// One stored day of the student's recent days on the server, all values as read.
struct StoredDay {
    QString date;
    QString runs;
    QString points;
    QString time;
};

// The server's recent days: the date of its latest stored day and days 1..10
// (index 0 is day 1). Missing values are empty texts.
struct RecentDays {
    bool found = false; // the page carried the date of the latest day
    QString latestDate;
    std::array<StoredDay, kRecentDayEntries> days{};
};

// Each request below returns the full address, or an empty text when no server
// is configured. Levels and the student are taken as given; the figures are
// those of the shared state at that level and student.

// The upload of a finished run with the student's totals at the level.
QString uploadRequest(const SharedState& state, int level, const QDate& today, const QTime& now);
// The online ranking page of a level (shown in a web view).
QString rankingPageRequest(const SharedState& state, int level);
// The student's recent days at the level, at the place of this computer.
QString recentDaysRequest(const SharedState& state, int level);
// The update of the student's recent days: today as day 1, then the server's
// days kept (days 2..10 on the same day, days 1..4 shifted on a new day).
QString recentDaysUpdateRequest(const SharedState& state, int level, const RecentDays& server,
                                const QDate& today);
// The student's totals at school ("athome=" left empty) or at home.
QString totalsRequest(const SharedState& state, int level, Place place);
// The world ranking page read for the student's rank.
QString worldRankRequest(const SharedState& state, int level);
// The notification that the student cleared the level online.
QString clearNotificationRequest(const SharedState& state, int level, Place place);
// The student's recent results page at school or at home (shown in a web view).
QString recentResultsRequest(const SharedState& state, int level, Place place);
// The student's pass list over the catalogue of the family.
QString personalPassRequest(const SharedState& state);
// The list of students who passed, over the catalogue of the family.
QString passListRequest(const SharedState& state);
// The program information of this program (reference times per level).
QString softInfoRequest(const SharedState& state);

// What a web view shows in place of a server page while the program runs offline.
QString offlineNoticeAddress();

} // namespace kavoret::ranking
