#include "roster/ListOrder.h"

#include <QLocale>
#include <algorithm>

namespace kavoret::roster {

ListOrder::ListOrder() : collator_(QLocale(QLocale::Japanese, QLocale::Japan)) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setNumericMode(false);
    collator_.setIgnorePunctuation(false);
}

void ListOrder::sort(QStringList& lines) const {
    std::stable_sort(lines.begin(), lines.end(), *this);
}

} // namespace kavoret::roster
