#pragma once

#include "frame/Result.h"

#include <QByteArray>
#include <QString>

namespace kavoret::cp932 {

// Code page 932 through iconv. Bytes that are not valid CP932 are an error
// naming the byte offset; nothing is replaced silently.
struct DecodeError {
    qsizetype offset = -1; // -1: no error
};

// On failure returns a null QString and sets error.offset.
QString decode(const QByteArray& bytes, DecodeError* error);

// Characters that CP932 cannot hold are an error; on success returns the bytes.
Result<QByteArray> encode(const QString& text);

} // namespace kavoret::cp932
