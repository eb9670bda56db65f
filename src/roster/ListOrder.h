#pragma once

#include <QCollator>
#include <QString>
#include <QStringList>

namespace kavoret::roster {

// The one order of every sorted list of the program: Japanese collation,
// case-insensitive (so "a" and "A", or "あ" and "ア", sort together). Lines that
// compare equal keep the order in which they were added.
class ListOrder {
public:
    ListOrder();

    int compare(const QString& a, const QString& b) const { return collator_.compare(a, b); }
    bool operator()(const QString& a, const QString& b) const { return compare(a, b) < 0; }

    // Sorts ascending; equal lines keep their order.
    void sort(QStringList& lines) const;

private:
    QCollator collator_;
};

} // namespace kavoret::roster
