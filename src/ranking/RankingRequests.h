#pragma once

#include "frame/SharedState.h"

#include <QString>
#include <utility>
#include <vector>

namespace kavoret::ranking {

inline const QString kRankingPath = QStringLiteral("/benkyouRanking/");

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

// The program information of this program (reference times per level).
QString softInfoRequest(const SharedState& state);

} // namespace kavoret::ranking
