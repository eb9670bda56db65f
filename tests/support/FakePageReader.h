#pragma once

#include "platform/PageReader.h"

#include <QHash>
#include <QStringList>

namespace kavoret::test {

// Answers from a table of address → page (empty text for any other address)
// and records every address read.
class FakePageReader final : public PageReader {
public:
    QString read(const QString& url) override {
        reads.append(url);
        return pages.value(url);
    }
    QHash<QString, QString> pages;
    QStringList reads;
};

} // namespace kavoret::test
