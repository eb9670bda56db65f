#pragma once

#include "frame/SharedState.h"

#include <QDate>
#include <QString>

namespace kavoret {

// "ggge年 m月 dd日（aaa）": era name and year, month, two-digit day, short weekday,
// for example 令和8年 12月 11日（金）.
QString eraDateText(const QDate& date);

// Background colour of the name selection screen and the board, by month.
Rgb seasonColourFor(int month);

// Days since 1899-12-30, the serial date of the stored files.
double serialDay(const QDate& date);
QDate dateFromSerial(double serial);

} // namespace kavoret
