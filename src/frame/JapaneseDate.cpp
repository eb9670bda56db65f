#include "frame/JapaneseDate.h"

namespace kavoret {
namespace {

struct Era {
    QDate start;
    const char16_t* name;
};

// Start days of the modern eras, newest first.
const Era kEras[] = {
    {QDate(2019, 5, 1), u"令和"},  {QDate(1989, 1, 8), u"平成"}, {QDate(1926, 12, 25), u"昭和"},
    {QDate(1912, 7, 30), u"大正"}, {QDate(1868, 9, 8), u"明治"},
};

const QDate kSerialOrigin(1899, 12, 30);

} // namespace

QString eraDateText(const QDate& date) {
    QString era;
    int eraYear = date.year();
    for (const Era& candidate : kEras) {
        if (date >= candidate.start) {
            era = QString::fromUtf16(candidate.name);
            eraYear = date.year() - candidate.start.year() + 1;
            break;
        }
    }
    static const char16_t* const weekdays[] = {u"月", u"火", u"水", u"木", u"金", u"土", u"日"};
    return QStringLiteral("%1%2年 %3月 %4日（%5）")
        .arg(era)
        .arg(eraYear)
        .arg(date.month())
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(QString::fromUtf16(weekdays[date.dayOfWeek() - 1]));
}

Rgb seasonColourFor(int month) {
    if (month <= 2)
        return {255, 128, 0};
    if (month <= 5)
        return {192, 255, 192};
    if (month <= 8)
        return {0, 192, 192};
    if (month <= 11)
        return {192, 64, 0};
    return {192, 255, 192};
}

double serialDay(const QDate& date) {
    return static_cast<double>(kSerialOrigin.daysTo(date));
}

QDate dateFromSerial(double serial) {
    return kSerialOrigin.addDays(static_cast<qint64>(serial));
}

} // namespace kavoret
