#pragma once

// The fuzz input as the items of an item file, the way the program reads one;
// nothing for bytes that are not code page 932 (the reader refuses those).
#include "frame/Cp932.h"
#include "frame/ItemFile.h"

#include <cstdint>
#include <optional>

inline std::optional<QList<kavoret::Item>> itemsOf(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    kavoret::cp932::DecodeError error;
    const QString text = kavoret::cp932::decode(bytes, &error);
    if (error.offset >= 0)
        return std::nullopt;
    return kavoret::parseItems(text);
}
