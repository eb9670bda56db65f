#include "Query.h"

#include <QDate>
#include <QStringDecoder>
#include <QTime>

namespace kavoret::server {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isControl(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f);
}

bool asciiDigits(const QString& text, qsizetype from = 0) {
    if (text.size() <= from)
        return false;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    }
    return true;
}

} // namespace

Result<QString> percentDecoded(const QByteArray& raw) {
    QByteArray bytes;
    bytes.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c != '%') {
            bytes.append(c);
            continue;
        }
        const int high = i + 1 < raw.size() ? hexValue(raw[i + 1]) : -1;
        const int low = i + 2 < raw.size() ? hexValue(raw[i + 2]) : -1;
        if (high < 0 || low < 0)
            return Error{QStringLiteral("a \"%\" not followed by two hex digits")};
        bytes.append(static_cast<char>(high * 16 + low));
        i += 2;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return Error{QStringLiteral("text that is not UTF-8")};
    return text;
}

Result<Query> Query::parse(const QByteArray& raw) {
    if (raw.size() > kMaxBytes)
        return Error{QStringLiteral("the query is longer than %1 bytes").arg(kMaxBytes)};
    Query query;
    if (raw.isEmpty())
        return query;
    for (const QByteArray& pair : raw.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype equals = pair.indexOf('=');
        Result<QString> key = percentDecoded(equals < 0 ? pair : pair.left(equals));
        if (!key)
            return Error{QStringLiteral("a parameter name holds %1").arg(key.error().message)};
        Result<QString> value = percentDecoded(equals < 0 ? QByteArray() : pair.mid(equals + 1));
        if (!value)
            return Error{QStringLiteral("%1: holds %2").arg(key.value(), value.error().message)};
        if (query.values_.contains(key.value()))
            return Error{QStringLiteral("%1: given twice").arg(key.value())};
        query.values_.insert(key.value(), value.value());
    }
    return query;
}

std::optional<QString> Query::value(const QString& key) const {
    const auto found = values_.constFind(key);
    if (found == values_.constEnd())
        return std::nullopt;
    return *found;
}

void ParameterReader::fail(const QString& message) {
    if (!problem_)
        problem_ = message;
}

std::optional<QString> ParameterReader::required(const char* key) {
    std::optional<QString> value = query_.value(QString::fromLatin1(key));
    if (!value)
        fail(QStringLiteral("%1: missing").arg(QLatin1String(key)));
    return value;
}

QString ParameterReader::text(const char* key, qsizetype maxLength) {
    const std::optional<QString> value = required(key);
    if (!value)
        return {};
    if (value->size() > maxLength) {
        fail(
            QStringLiteral("%1: longer than %2 characters").arg(QLatin1String(key)).arg(maxLength));
        return {};
    }
    for (QChar c : *value) {
        if (isControl(c)) {
            fail(QStringLiteral("%1: holds a control character").arg(QLatin1String(key)));
            return {};
        }
    }
    return *value;
}

qint64 ParameterReader::whole(const char* key, qint64 min, qint64 max) {
    const std::optional<QString> value = required(key);
    if (!value)
        return min;
    const bool negative = value->startsWith(u'-');
    bool ok = value->size() <= 19 && asciiDigits(*value, negative ? 1 : 0);
    const qint64 number = ok ? value->toLongLong(&ok) : 0;
    if (!ok || number < min || number > max) {
        fail(QStringLiteral("%1: not a whole number from %2 to %3")
                 .arg(QLatin1String(key))
                 .arg(min)
                 .arg(max));
        return min;
    }
    return number;
}

int ParameterReader::place(const char* key, bool emptyIsSchool) {
    const std::optional<QString> value = required(key);
    if (!value)
        return 0;
    if (*value == u'0' || (emptyIsSchool && value->isEmpty()))
        return 0;
    if (*value == u'1')
        return 1;
    fail(QStringLiteral("%1: not 0 (school) or 1 (home)").arg(QLatin1String(key)));
    return 0;
}

QString ParameterReader::date(const char* key) {
    const std::optional<QString> value = required(key);
    if (!value)
        return {};
    const QDate date = QDate::fromString(*value, QStringLiteral("yyyy-MM-dd"));
    if (value->size() != 10 || !date.isValid()) {
        fail(QStringLiteral("%1: not a date written yyyy-mm-dd").arg(QLatin1String(key)));
        return {};
    }
    return *value;
}

QString ParameterReader::time(const char* key) {
    const std::optional<QString> value = required(key);
    if (!value)
        return {};
    const QTime time = QTime::fromString(*value, QStringLiteral("HH:mm:ss"));
    if (value->size() != 8 || !time.isValid()) {
        fail(QStringLiteral("%1: not a time written hh:mm:ss").arg(QLatin1String(key)));
        return {};
    }
    return *value;
}

std::vector<int> ParameterReader::catalogueList(const char* key) {
    constexpr qsizetype kMaxPrograms = 100;
    const std::optional<QString> value = required(key);
    if (!value)
        return {};
    const QStringList parts = value->split(u'_');
    std::vector<int> numbers;
    for (const QString& part : parts) {
        bool ok = part.size() <= 6 && asciiDigits(part);
        const int number = ok ? part.toInt(&ok) : 0;
        if (!ok || parts.size() > kMaxPrograms) {
            fail(QStringLiteral("%1: not up to %2 catalogue numbers joined by \"_\"")
                     .arg(QLatin1String(key))
                     .arg(kMaxPrograms));
            return {};
        }
        numbers.push_back(number);
    }
    return numbers;
}

bool isDecimalNumber(const QString& text) {
    const qsizetype point = text.indexOf(u'.');
    const QString whole = point < 0 ? text : text.left(point);
    if (whole.size() > 12 || !asciiDigits(whole))
        return false;
    if (point < 0)
        return true;
    const QString fraction = text.mid(point + 1);
    return fraction.size() <= 6 && asciiDigits(fraction);
}

} // namespace kavoret::server
