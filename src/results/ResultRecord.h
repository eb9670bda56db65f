#pragma once

#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace kavoret::results {

// One run in the results file: 44 bytes, little-endian, no padding.
//   0  8  date      double, days since 1899-12-30
//   8  8  clock     double, fraction of a day
//  16  2  student   signed 16-bit roster number
//  18  2  level     signed 16-bit
//  20  4  seconds   signed 32-bit result time; 99999 = the time limit was reached
//  24  5  school    CP932 text, blank-padded
//  29  5  note      text, written as five blanks
//  34  5  points    decimal text, written as " 0" and three blanks
//  39  5  spare     written as five zero bytes, never read
inline constexpr int kDateOffset = 0;
inline constexpr int kClockOffset = 8;
inline constexpr int kStudentOffset = 16;
inline constexpr int kLevelOffset = 18;
inline constexpr int kSecondsOffset = 20;
inline constexpr int kSchoolOffset = 24;
inline constexpr int kNoteOffset = 29;
inline constexpr int kPointsTextOffset = 34;
inline constexpr int kSpareOffset = 39;
inline constexpr int kTextFieldSize = 5;
inline constexpr int kRecordSize = 44;
static_assert(kSpareOffset + kTextFieldSize == kRecordSize, "the fields fill the record exactly");
static_assert(kRecordSize == 44, "the results file holds 44-byte records");

using TextField = std::array<char, kTextFieldSize>;
using RecordBytes = std::array<std::uint8_t, kRecordSize>;

struct ResultRecord {
    double date = 0;
    double clock = 0;
    std::int16_t student = 0;
    std::int16_t level = 0;
    std::int32_t seconds = 0;
    TextField school{};
    TextField note{};
    TextField pointsText{};
    TextField spare{};
};

RecordBytes encodeRecord(const ResultRecord& record);
ResultRecord decodeRecord(std::span<const std::uint8_t, kRecordSize> bytes);

// Every whole record in the bytes, in order; a partial record at the end
// (a write cut short) is left out.
std::vector<ResultRecord> decodeRecords(QByteArrayView bytes);

// A text field from a value: code page 932, left-aligned, padded with blanks
// and cut to five bytes. The cut never splits a double-byte character (its
// place is padded instead), and a character CP932 cannot hold is written as "?".
TextField textField(const QString& value);
QString textFieldValue(const TextField& field); // for messages; blanks kept

// The numeric value of a stored points text, rounded: leading blanks skipped,
// then an optional sign, digits and one decimal point; anything else ends the
// number, and no number at all reads as 0.
int storedPointsValue(const TextField& field);

// The record of a finished run as the program writes it: blank note, points
// " 0", zero spare bytes.
ResultRecord runRecord(double date, double clock, int student, int level, int seconds,
                       const QString& schoolNumber);

} // namespace kavoret::results
