#pragma once

#include "frame/Result.h"

#include <QList>
#include <QString>

namespace kavoret {

// One item of an item file: text in code page 932, items separated by commas or
// line ends, optionally in double quotes (inside which commas are ordinary).
struct Item {
    QString text; // without the quotes; blanks around an unquoted item dropped
    bool quoted = false;
    int line = 0; // 1-based line where the item starts, for messages

    // An unquoted item that reads as a decimal number.
    bool isNumber() const;
    // The numeric value for a numeric field: the number the text reads as
    // (quoted or not), or 0 when it does not read as a number.
    double number() const;
    int toInt() const;
    // The item as a value of a settings variable (number or text as read)
    // shows it: an unquoted number as that number ("0012" gives "12", "1.50"
    // gives "1.5"), any other item as its text.
    QString valueText() const;
};

// Splits decoded text into items. Lines holding nothing but blanks hold no item.
QList<Item> parseItems(const QString& text);

// Reads and decodes a whole file. Errors name the file: missing, unreadable, or
// bytes that are not valid CP932 (with the byte offset).
Result<QList<Item>> readItemFile(const QString& path);

// An item to write: text is written in double quotes, a number or a raw item
// (such as a date item "#2009-03-15#") as it stands.
struct OutItem {
    enum class Kind { Text, Number, Raw };
    Kind kind = Kind::Text;
    QString text;

    static OutItem quotedText(const QString& value) { return {Kind::Text, value}; }
    static OutItem number(double value);
    static OutItem raw(const QString& value) { return {Kind::Raw, value}; }
    // Writes an item back the way it was read.
    static OutItem from(const Item& item) {
        return item.quoted ? quotedText(item.text) : raw(item.text);
    }
};

// One line of items joined by commas, without the line end.
QString formatItemLine(const QList<OutItem>& items);

// Replaces the file with these lines (CR LF after each), encoded as CP932.
// The old content stays intact unless the whole new content was written.
Status writeItemFile(const QString& path, const QList<QList<OutItem>>& lines);

// Appends one line, creating the file when it is missing.
Status appendItemLine(const QString& path, const QList<OutItem>& items);

} // namespace kavoret
