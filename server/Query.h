#pragma once

#include "frame/Result.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

namespace kavoret::server {

// The parameters of a request's query, decoded the way the program encodes
// them: UTF-8, percent-encoded. A "+" stays a "+".
class Query {
public:
    // The longest query accepted, in bytes as sent.
    static constexpr qsizetype kMaxBytes = 4096;

    // Fails on a query that is too long, a broken percent sign, text that is not
    // UTF-8 and a parameter given twice.
    static Result<Query> parse(const QByteArray& raw);

    std::optional<QString> value(const QString& key) const;

private:
    QHash<QString, QString> values_;
};

// Decodes %XX sequences; fails on a "%" not followed by two hex digits and on
// bytes that are not UTF-8.
Result<QString> percentDecoded(const QByteArray& raw);

// Reads typed parameters from a query and keeps the first problem met, so a
// page reads all it needs and then checks once.
class ParameterReader {
public:
    explicit ParameterReader(const Query& query) : query_(query) {}

    // A text of at most maxLength characters without control characters; empty
    // texts are allowed, a missing parameter is not.
    QString text(const char* key, qsizetype maxLength);
    // A whole number written in decimal digits, from min to max.
    qint64 whole(const char* key, qint64 min, qint64 max);
    int wholeInt(const char* key, int min, int max) {
        return static_cast<int>(whole(key, min, max));
    }
    // The place: 0 at school, 1 at home. With emptyIsSchool an empty value is 0.
    int place(const char* key, bool emptyIsSchool = false);
    // A date written yyyy-MM-dd, as the program writes today.
    QString date(const char* key);
    // A time of day written HH:mm:ss.
    QString time(const char* key);
    // Catalogue numbers joined by "_".
    std::vector<int> catalogueList(const char* key);

    // An optional parameter: empty when missing.
    std::optional<QString> optional(const QString& key) const { return query_.value(key); }
    // Records a problem found by the caller.
    void fail(const QString& message);

    bool ok() const { return !problem_; }
    const QString& problem() const { return *problem_; }

private:
    std::optional<QString> required(const char* key);

    const Query& query_;
    std::optional<QString> problem_;
};

// Whether the text is a non-negative decimal number such as 12 or 12.5.
bool isDecimalNumber(const QString& text);

} // namespace kavoret::server
