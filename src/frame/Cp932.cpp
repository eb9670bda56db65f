#include "frame/Cp932.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

namespace kavoret::cp932 {
namespace {

// One conversion with iconv; returns the offset in the input where it stopped
// on an invalid or incomplete sequence, or -1 when everything converted.
qsizetype convert(const char* to, const char* from, const QByteArray& in, QByteArray* out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return 0;
    out->clear();
    std::vector<char> buffer(4096);
    char* inPtr = const_cast<char*>(in.constData());
    size_t inLeft = static_cast<size_t>(in.size());
    qsizetype failedAt = -1;
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out->append(buffer.data(), static_cast<qsizetype>(buffer.size() - outLeft));
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            failedAt = static_cast<qsizetype>(inPtr - in.constData());
            break;
        }
    }
    iconv_close(cd);
    return failedAt;
}

} // namespace

QString decode(const QByteArray& bytes, DecodeError* error) {
    QByteArray utf16;
    const qsizetype failedAt = convert("UTF-16LE", "CP932", bytes, &utf16);
    if (error)
        error->offset = failedAt;
    if (failedAt >= 0)
        return QString();
    QString text(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
    if (text.isNull())
        text = QString(QLatin1String(""));
    return text;
}

Result<QByteArray> encode(const QString& text) {
    const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray bytes;
    const qsizetype failedAt = convert("CP932", "UTF-16LE", utf16, &bytes);
    if (failedAt >= 0) {
        const qsizetype index = failedAt / 2;
        return Error{QStringLiteral("「%1」はこの文字コード(CP932)で書けません（%2文字目）")
                         .arg(text.mid(index, 1))
                         .arg(index + 1)};
    }
    return bytes;
}

} // namespace kavoret::cp932
