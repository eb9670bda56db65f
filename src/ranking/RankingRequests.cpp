#include "ranking/RankingRequests.h"

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

QString softInfoRequest(const SharedState& state) {
    return RequestBuilder(state.settings.rankingServer, QStringLiteral("BenkyouSoftInfoHyouji.php"))
        .add(QStringLiteral("SoftNo"), state.profile.catalogueNumber)
        .address();
}

} // namespace kavoret::ranking
