#include "ranking/RankingRequests.h"

#include "frame/Text.h"
#include "ranking/PageParsers.h"

#include <QUrl>

namespace kavoret::ranking {

RequestBuilder::RequestBuilder(QString server, QString page)
    : server_(std::move(server)), page_(std::move(page)) {}

RequestBuilder& RequestBuilder::add(const QString& key, const QString& value) {
    parameters_.emplace_back(key, value);
    return *this;
}

RequestBuilder& RequestBuilder::add(const QString& key, long long value) {
    return add(key, QString::number(value));
}

QString RequestBuilder::address() const {
    if (server_.isEmpty())
        return {};
    QString text = server_ + kRankingPath + page_;
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        text += i == 0 ? u'?' : u'&';
        text += parameters_[i].first + u'=' +
                QString::fromLatin1(QUrl::toPercentEncoding(parameters_[i].second));
    }
    return text;
}

namespace {

int birthYear(const SharedState& state) {
    const int student = state.student.studentNo;
    if (student < 0 || static_cast<std::size_t>(student) >= state.roster.birthYears.size())
        return 0;
    return state.roster.birthYears[static_cast<std::size_t>(student)];
}

QString placeFlag(Place place) {
    return place == Place::Home ? QStringLiteral("1") : QStringLiteral("0");
}

RequestBuilder request(const SharedState& state, const QString& page) {
    return RequestBuilder(state.settings.rankingServer, page);
}

// The parameters that name the student's column on the server, after "athome".
RequestBuilder& addStudentLevel(RequestBuilder& builder, const SharedState& state, int level) {
    return builder.add(QStringLiteral("JukuNo"), state.settings.schoolNumber)
        .add(QStringLiteral("SeitoNo"), state.student.studentNo)
        .add(QStringLiteral("SoftNo"), state.profile.catalogueNumber)
        .add(QStringLiteral("Level"), level);
}

RequestBuilder& addDay(RequestBuilder& builder, int entry, const QString& date, const QString& runs,
                       const QString& points, const QString& time) {
    const QString number = QString::number(entry);
    return builder.add(QStringLiteral("hiduke") + number, date)
        .add(QStringLiteral("kaisuu") + number, runs)
        .add(QStringLiteral("pointo") + number, points)
        .add(QStringLiteral("saikoutime") + number, time);
}

} // namespace

QString uploadRequest(const SharedState& state, int level, const QDate& today, const QTime& now) {
    const int student = state.student.studentNo;
    return request(state, kUploadPage)
        .add(QStringLiteral("JukuNo"), state.settings.schoolNumber)
        .add(QStringLiteral("JukuName"), withoutSurroundingBlanks(state.settings.schoolName))
        .add(QStringLiteral("SeitoNo"), student)
        .add(QStringLiteral("SeitoUmare"), birthYear(state))
        .add(QStringLiteral("SeitoName"), withoutSurroundingBlanks(state.student.studentName))
        .add(QStringLiteral("SoftGroup"), 1)
        .add(QStringLiteral("SoftNo"), state.profile.catalogueNumber)
        .add(QStringLiteral("SoftName"), state.profile.programTitle)
        .add(QStringLiteral("Level"), level)
        .add(QStringLiteral("JisshiDate1"), today.toString(QStringLiteral("yyyy-MM-dd")))
        .add(QStringLiteral("JisshiTime1"), now.toString(QStringLiteral("HH:mm:ss")))
        .add(QStringLiteral("point"),
             decimalText(figure(state.aggregates.pointTotals, level, student)))
        .add(QStringLiteral("kaisuu"),
             decimalText(figure(state.aggregates.validRunCounts, level, student)))
        .add(QStringLiteral("athome"), state.settings.homeMode)
        .add(QStringLiteral("KirokuTime"),
             decimalText(figure(state.results.bestTimes, level, student)))
        .address();
}

namespace {
// The two ranking pages of a level take the same query: the program, the
// level, and the student to mark.
QString levelRankingRequest(const SharedState& state, const QString& page, int level) {
    return request(state, page)
        .add(QStringLiteral("SoftNo"), state.profile.catalogueNumber)
        .add(QStringLiteral("Level"), level)
        .add(QStringLiteral("prgname"), state.profile.programTitle)
        .add(QStringLiteral("Seitbangou"), state.student.studentNo)
        .add(QStringLiteral("JukuNo"), state.settings.schoolNumber)
        .address();
}
} // namespace

QString rankingPageRequest(const SharedState& state, int level) {
    return levelRankingRequest(state, kRankingPage, level);
}

QString recentDaysRequest(const SharedState& state, int level) {
    RequestBuilder builder = request(state, kTotalsPage);
    builder.add(QStringLiteral("athome"), state.settings.homeMode);
    return addStudentLevel(builder, state, level).address();
}

QString recentDaysUpdateRequest(const SharedState& state, int level, const RecentDays& server,
                                const QDate& today) {
    const int student = state.student.studentNo;
    RequestBuilder builder = request(state, kRecentDaysUpdatePage);
    builder.add(QStringLiteral("athome"), state.settings.homeMode);
    addStudentLevel(builder, state, level);

    // Today is always day 1, with today's figures of this computer's results.
    const auto& aggregates = state.aggregates;
    addDay(builder, 1,
           QStringLiteral("%1-%2-%3").arg(today.year()).arg(today.month()).arg(today.day()),
           decimalText(figure(aggregates.todayRunCounts, level, student)),
           decimalText(figure(aggregates.todayPointTotals, level, student)),
           decimalText(figure(aggregates.todayTimeSums, level, student)));

    const QString latest = server.latestDate.trimmed();
    const bool sameDay = latest == today.toString(QStringLiteral("yyyy-MM-dd")) ||
                         latest == QStringLiteral("0000-00-00");
    // On the same day (or with nothing stored yet) today replaces the server's
    // day 1 and days 2..10 stay; on a new day the server's days 1..4 move down
    // one place and older days are dropped.
    const int lastEntry = sameDay ? kRecentDayEntries : 5;
    for (int entry = 2; entry <= lastEntry; ++entry) {
        const StoredDay& day =
            server.days[static_cast<std::size_t>(sameDay ? entry - 1 : entry - 2)];
        addDay(builder, entry, day.date, day.runs, day.points, day.time);
    }
    return builder.address();
}

QString totalsRequest(const SharedState& state, int level, Place place) {
    RequestBuilder builder = request(state, kTotalsPage);
    // The school totals are asked for with an empty place value.
    builder.add(QStringLiteral("athome"), place == Place::Home ? QStringLiteral("1") : QString());
    return addStudentLevel(builder, state, level).address();
}

QString worldRankRequest(const SharedState& state, int level) {
    return levelRankingRequest(state, kWorldRankPage, level);
}

QString clearNotificationRequest(const SharedState& state, int level, Place place) {
    RequestBuilder builder = request(state, kClearNotificationPage);
    addStudentLevel(builder, state, level);
    return builder.add(QStringLiteral("gouhi"), 1)
        .add(QStringLiteral("athome"), placeFlag(place))
        .address();
}

QString recentResultsRequest(const SharedState& state, int level, Place place) {
    RequestBuilder builder = request(state, kRecentResultsPage);
    builder.add(QStringLiteral("athome"), placeFlag(place));
    return addStudentLevel(builder, state, level).address();
}

namespace {
// The two pass pages take the same query: school, student, the family's programs.
QString passRequest(const SharedState& state, const QString& page) {
    return request(state, page)
        .add(QStringLiteral("JukuNo"), state.settings.schoolNumber)
        .add(QStringLiteral("SeitoNo"), state.student.studentNo)
        .add(QStringLiteral("SSS"), state.profile.catalogueNumberList)
        .address();
}
} // namespace

QString personalPassRequest(const SharedState& state) {
    return passRequest(state, kPersonalPassPage);
}

QString passListRequest(const SharedState& state) {
    return passRequest(state, kPassListPage);
}

QString softInfoRequest(const SharedState& state) {
    return request(state, kProgramInfoPage)
        .add(QStringLiteral("SoftNo"), state.profile.catalogueNumber)
        .address();
}

QString offlineNoticeAddress() {
    const QString page = QStringLiteral(
        "<html><body style=\"font-family: sans-serif; color: #444; text-align: center;\">"
        "<p>ランキングサーバーに接続していません。</p></body></html>");
    return QStringLiteral("data:text/html;charset=utf-8,") +
           QString::fromLatin1(QUrl::toPercentEncoding(page));
}

} // namespace kavoret::ranking
