#include "results/ResultRecord.h"

#include "frame/Cp932.h"

#include <bit>
#include <cmath>

namespace kavoret::results {
namespace {

template <typename Unsigned> void putLittle(RecordBytes& out, int offset, Unsigned value) {
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i)
        out[static_cast<std::size_t>(offset) + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

template <typename Unsigned>
Unsigned getLittle(std::span<const std::uint8_t, kRecordSize> in, int offset) {
    Unsigned value = 0;
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i)
        value |= static_cast<Unsigned>(in[static_cast<std::size_t>(offset) + i]) << (8 * i);
    return value;
}

void putText(RecordBytes& out, int offset, const TextField& field) {
    for (int i = 0; i < kTextFieldSize; ++i)
        out[static_cast<std::size_t>(offset + i)] = static_cast<std::uint8_t>(field[i]);
}

TextField getText(std::span<const std::uint8_t, kRecordSize> in, int offset) {
    TextField field{};
    for (int i = 0; i < kTextFieldSize; ++i)
        field[i] = static_cast<char>(in[static_cast<std::size_t>(offset + i)]);
    return field;
}

TextField blanks() {
    TextField field;
    field.fill(' ');
    return field;
}

} // namespace

RecordBytes encodeRecord(const ResultRecord& record) {
    RecordBytes out{};
    putLittle(out, kDateOffset, std::bit_cast<std::uint64_t>(record.date));
    putLittle(out, kClockOffset, std::bit_cast<std::uint64_t>(record.clock));
    putLittle(out, kStudentOffset, static_cast<std::uint16_t>(record.student));
    putLittle(out, kLevelOffset, static_cast<std::uint16_t>(record.level));
    putLittle(out, kSecondsOffset, static_cast<std::uint32_t>(record.seconds));
    putText(out, kSchoolOffset, record.school);
    putText(out, kNoteOffset, record.note);
    putText(out, kPointsTextOffset, record.pointsText);
    putText(out, kSpareOffset, record.spare);
    return out;
}

ResultRecord decodeRecord(std::span<const std::uint8_t, kRecordSize> in) {
    ResultRecord record;
    record.date = std::bit_cast<double>(getLittle<std::uint64_t>(in, kDateOffset));
    record.clock = std::bit_cast<double>(getLittle<std::uint64_t>(in, kClockOffset));
    record.student = static_cast<std::int16_t>(getLittle<std::uint16_t>(in, kStudentOffset));
    record.level = static_cast<std::int16_t>(getLittle<std::uint16_t>(in, kLevelOffset));
    record.seconds = static_cast<std::int32_t>(getLittle<std::uint32_t>(in, kSecondsOffset));
    record.school = getText(in, kSchoolOffset);
    record.note = getText(in, kNoteOffset);
    record.pointsText = getText(in, kPointsTextOffset);
    record.spare = getText(in, kSpareOffset);
    return record;
}

std::vector<ResultRecord> decodeRecords(QByteArrayView bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::size_t count = static_cast<std::size_t>(bytes.size()) / kRecordSize;
    std::vector<ResultRecord> records;
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        records.push_back(decodeRecord(std::span<const std::uint8_t, kRecordSize>(
            data + i * kRecordSize, static_cast<std::size_t>(kRecordSize))));
    return records;
}

TextField textField(const QString& value) {
    TextField field = blanks();
    int used = 0;
    for (qsizetype i = 0; i < value.size();) {
        // One character at a time, so a cut falls between characters.
        const qsizetype length = value.at(i).isHighSurrogate() && i + 1 < value.size() ? 2 : 1;
        Result<QByteArray> encoded = cp932::encode(value.mid(i, length));
        const QByteArray bytes = encoded ? encoded.value() : QByteArray("?");
        if (used + bytes.size() > kTextFieldSize)
            break;
        for (char byte : bytes)
            field[used++] = byte;
        i += length;
    }
    return field;
}

QString textFieldValue(const TextField& field) {
    const QByteArray bytes(field.data(), kTextFieldSize);
    cp932::DecodeError error;
    const QString text = cp932::decode(bytes, &error);
    if (error.offset < 0)
        return text;
    return QString::fromLatin1(bytes.toHex(' '));
}

int storedPointsValue(const TextField& field) {
    int i = 0;
    while (i < kTextFieldSize && (field[i] == ' ' || field[i] == '\t'))
        ++i;
    double sign = 1;
    if (i < kTextFieldSize && (field[i] == '-' || field[i] == '+')) {
        sign = field[i] == '-' ? -1 : 1;
        ++i;
    }
    double value = 0;
    double scale = 0; // 0 before the decimal point, then 0.1, 0.01, ...
    for (; i < kTextFieldSize; ++i) {
        const char c = field[i];
        if (c >= '0' && c <= '9') {
            if (scale == 0) {
                value = value * 10 + (c - '0');
            } else {
                value += (c - '0') * scale;
                scale /= 10;
            }
        } else if (c == '.' && scale == 0) {
            scale = 0.1;
        } else {
            break;
        }
    }
    // Five characters hold at most 99999, so the value always fits.
    return static_cast<int>(std::lround(sign * value));
}

ResultRecord runRecord(double date, double clock, int student, int level, int seconds,
                       const QString& schoolNumber) {
    ResultRecord record;
    record.date = date;
    record.clock = clock;
    record.student = static_cast<std::int16_t>(student);
    record.level = static_cast<std::int16_t>(level);
    record.seconds = static_cast<std::int32_t>(seconds);
    record.school = textField(schoolNumber);
    record.note = blanks();
    record.pointsText = {' ', '0', ' ', ' ', ' '};
    record.spare = {0, 0, 0, 0, 0};
    return record;
}

} // namespace kavoret::results
