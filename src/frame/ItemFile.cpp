#include "frame/ItemFile.h"

#include "frame/Cp932.h"
#include "frame/Text.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace kavoret {
namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool isLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}

const QRegularExpression& numberPattern() {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$)"));
    return pattern;
}

bool readsAsNumber(const QString& text) {
    return numberPattern().match(text).hasMatch();
}

Error encodingError(const QString& path, const Error& error) {
    return Error{
        QStringLiteral("ファイル「%1」に書けない文字があります: %2").arg(path, error.message)};
}

Status checkWritable(const QString& path, const QList<OutItem>& items) {
    for (const OutItem& item : items) {
        if (item.kind == OutItem::Kind::Text && item.text.contains(u'"'))
            return Error{QStringLiteral("ファイル「%1」に書く項目「%2」に「\"」が含まれています")
                             .arg(path, item.text)};
    }
    return success();
}

} // namespace

bool Item::isNumber() const {
    return !quoted && readsAsNumber(text);
}

double Item::number() const {
    const QString trimmed = text.trimmed();
    return readsAsNumber(trimmed) ? trimmed.toDouble() : 0.0;
}

int Item::toInt() const {
    const double value = number();
    if (value >= 2147483647.0)
        return 2147483647;
    if (value <= -2147483648.0)
        return -2147483647 - 1;
    return static_cast<int>(value < 0 ? value - 0.5 : value + 0.5);
}

QString Item::valueText() const {
    return isNumber() ? decimalText(text.toDouble()) : text;
}

QList<Item> parseItems(const QString& text) {
    QList<Item> items;
    const qsizetype n = text.size();
    qsizetype i = 0;
    int line = 1;
    bool afterComma = false; // a comma promises one more item, even an empty one

    auto skipLineEnd = [&] {
        if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        ++i;
        ++line;
    };

    while (i < n) {
        while (i < n && isBlank(text[i]))
            ++i;
        if (i < n && isLineEnd(text[i]) && !afterComma) {
            skipLineEnd(); // a line with no item in it
            continue;
        }
        if (i >= n && !afterComma)
            break;

        Item item;
        item.line = line;
        if (i < n && text[i] == u'"') {
            item.quoted = true;
            const qsizetype close = text.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            item.text = text.mid(i + 1, end - i - 1);
            line += static_cast<int>(item.text.count(u'\n'));
            i = close < 0 ? n : close + 1;
            // Anything between the closing quote and the separator is dropped.
            while (i < n && text[i] != u',' && !isLineEnd(text[i]))
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && text[i] != u',' && !isLineEnd(text[i]))
                ++i;
            item.text = text.mid(start, i - start);
            while (!item.text.isEmpty() && isBlank(item.text.back()))
                item.text.chop(1);
        }
        items.append(item);

        afterComma = false;
        if (i < n) {
            if (text[i] == u',') {
                afterComma = true;
                ++i;
            } else {
                skipLineEnd();
            }
        }
    }
    return items;
}

Result<QList<Item>> readItemFile(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return Error{QStringLiteral("ファイル「%1」がありません").arg(path)};
    if (!file.open(QIODevice::ReadOnly))
        return Error{
            QStringLiteral("ファイル「%1」を読めません: %2").arg(path, file.errorString())};
    const QByteArray bytes = file.readAll();
    file.close();
    cp932::DecodeError decodeError;
    const QString text = cp932::decode(bytes, &decodeError);
    if (decodeError.offset >= 0)
        return Error{QStringLiteral("ファイル「%1」の %2 バイト目は CP932 の文字ではありません")
                         .arg(path)
                         .arg(decodeError.offset)};
    return parseItems(text);
}

OutItem OutItem::number(double value) {
    return {Kind::Number, QString::number(value, 'g', 15)};
}

QString formatItemLine(const QList<OutItem>& items) {
    QStringList parts;
    parts.reserve(items.size());
    for (const OutItem& item : items)
        parts.append(item.kind == OutItem::Kind::Text ? u'"' + item.text + u'"' : item.text);
    return parts.join(u',');
}

Status writeItemFile(const QString& path, const QList<QList<OutItem>>& lines) {
    QString text;
    for (const QList<OutItem>& items : lines) {
        if (Status checked = checkWritable(path, items); !checked)
            return checked;
        text += formatItemLine(items) + QStringLiteral("\r\n");
    }
    Result<QByteArray> bytes = cp932::encode(text);
    if (!bytes)
        return encodingError(path, bytes.error());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Error{
            QStringLiteral("ファイル「%1」を書けません: %2").arg(path, file.errorString())};
    file.write(bytes.value());
    if (!file.commit())
        return Error{
            QStringLiteral("ファイル「%1」を書けません: %2").arg(path, file.errorString())};
    return success();
}

Status appendItemLine(const QString& path, const QList<OutItem>& items) {
    if (Status checked = checkWritable(path, items); !checked)
        return checked;
    Result<QByteArray> bytes = cp932::encode(formatItemLine(items) + QStringLiteral("\r\n"));
    if (!bytes)
        return encodingError(path, bytes.error());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return Error{
            QStringLiteral("ファイル「%1」に追記できません: %2").arg(path, file.errorString())};
    if (file.write(bytes.value()) != bytes.value().size() || !file.flush())
        return Error{
            QStringLiteral("ファイル「%1」に追記できません: %2").arg(path, file.errorString())};
    return success();
}

} // namespace kavoret
