// Any bytes as a criteria table file: the table is either filled from whole
// records of twelve fields, no more than the header and levels 1..100, or
// refused with a message naming the file and left exactly as it was.
#include "ItemInput.h"
#include "criteria/CriteriaTable.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

using namespace kavoret;

// A table whose every entry says "not read": a refused file must leave it so,
// and a read one changes exactly its records.
void markUnread(CriteriaState& criteria) {
    for (int level = 0; level <= kMaxLevel; ++level) {
        criteria.targetTimes[level] = -7;
        criteria.minimumTimes[level] = -7;
        criteria.spareColumns[0][level] = QStringLiteral("unread");
    }
}

bool unread(const CriteriaState& criteria, int level) {
    return criteria.targetTimes[level] == -7 && criteria.minimumTimes[level] == -7 &&
           criteria.spareColumns[0][level] == QLatin1String("unread");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<QList<Item>> read = itemsOf(data, size);
    if (!read)
        return 0;
    const QList<Item>& items = *read;

    static const auto criteria = std::make_unique<CriteriaState>();
    markUnread(*criteria);
    const QString path = QStringLiteral("/family/abc1/") + criteria::kCriteriaFileName;
    const Status applied = criteria::applyCriteriaItems(*criteria, items, path);

    const qsizetype records = items.size() / criteria::kFieldsPerRecord;
    if (!applied.ok()) {
        if (!applied.error().message.contains(path))
            std::abort();
        for (int level = 0; level <= kMaxLevel; ++level)
            if (!unread(*criteria, level))
                std::abort();
        return 0;
    }
    if (items.size() % criteria::kFieldsPerRecord != 0 || records > criteria::kMaxRecords)
        std::abort();
    for (int level = static_cast<int>(records); level <= kMaxLevel; ++level)
        if (!unread(*criteria, level))
            std::abort();
    return 0;
}
