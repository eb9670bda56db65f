// Any bytes as an item file: decoding must either fail with an offset inside
// the input or give text whose items parse without reading outside it.
#include "frame/Cp932.h"
#include "frame/ItemFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    kavoret::cp932::DecodeError error;
    const QString text = kavoret::cp932::decode(bytes, &error);
    if (error.offset >= 0) {
        if (error.offset > bytes.size())
            std::abort();
        return 0;
    }
    const QList<kavoret::Item> items = kavoret::parseItems(text);
    for (const kavoret::Item& item : items) {
        (void)item.number();
        (void)item.toInt();
    }
    return 0;
}
