#pragma once

#include "frame/Result.h"

#include <QDate>
#include <QString>

namespace kavoret::drill {

// A student may give up at most this many runs a day.
inline constexpr int kGiveUpsPerDay = 5;

// The daily give-up log of one student in the data folder: one date item
// ("#2026-12-11#") a line, one line per give-up.
class GiveUpLog {
public:
    GiveUpLog(const QString& dataFolder, int studentNo);

    const QString& path() const { return path_; }

    // The give-ups logged on this day. A missing log is created empty first.
    Result<int> countOn(const QDate& day) const;
    // Logs one give-up on this day.
    Status append(const QDate& day) const;

    // The date item of a day as the log holds it.
    static QString dateItem(const QDate& day);
    // The day of a date item, or an invalid date when the item is no date.
    static QDate dayOf(const QString& item);

private:
    QString path_;
};

// The give-up button's caption and whether it may be pressed.
QString giveUpCaption(int giveUpCount);
bool giveUpAllowed(int giveUpCount);

} // namespace kavoret::drill
