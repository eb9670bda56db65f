#include "criteria/CriteriaTable.h"

#include "frame/ItemFile.h"

namespace kavoret::criteria {

Status applyCriteriaItems(CriteriaState& criteria, const QList<Item>& items, const QString& path) {
    const qsizetype records = (items.size() + kFieldsPerRecord - 1) / kFieldsPerRecord;
    if (records > kMaxRecords)
        return Error{QStringLiteral("ファイル「%1」のレコードが多すぎます（見出しとレベル1〜100の%"
                                    "2件まで、%3件あります）")
                         .arg(path)
                         .arg(kMaxRecords)
                         .arg(records)};
    // A field missing or added anywhere moves every later level into the wrong
    // columns, so such a file is refused as a whole.
    if (const qsizetype rest = items.size() % kFieldsPerRecord; rest != 0)
        return Error{QStringLiteral("ファイル「%1」の項目の数が合いません（見出しと各レベルは "
                                    "%2 項目ずつですが、全部で %3 項目あり、%4 行目からの最後の"
                                    "レコードは %5 項目です）。どこかのレベルで項目が足りないか"
                                    "多すぎます")
                         .arg(path)
                         .arg(kFieldsPerRecord)
                         .arg(items.size())
                         .arg(items[items.size() - rest].line)
                         .arg(rest)};

    for (qsizetype record = 0; record < records; ++record) {
        auto field = [&](int column) -> const Item& {
            return items[record * kFieldsPerRecord + column];
        };
        const auto r = static_cast<std::size_t>(record);
        criteria.targetTimes[r] = field(0).toInt();
        criteria.minimumTimes[r] = field(1).toInt();
        criteria.clearPoints[r] = field(2).toInt();
        criteria.clearCounts[r] = field(3).toInt();
        criteria.pointRates[r] = static_cast<float>(field(4).number());
        criteria.stopCounts[r] = field(5).number();
        criteria.stopPoints[r] = field(6).number();
        criteria.judgeDays[r] = field(7).number();
        criteria.stopDays[r] = field(8).number();
        for (int spare = 0; spare < 3; ++spare)
            criteria.spareColumns[static_cast<std::size_t>(spare)][r] = field(9 + spare).text;
    }
    return success();
}

Status loadCriteria(CriteriaState& criteria, const QString& path) {
    Result<QList<Item>> read = readItemFile(path);
    if (!read)
        return read.error();
    return applyCriteriaItems(criteria, read.value(), path);
}

Status loadCriteriaFromDataFolder(SharedState& state) {
    return loadCriteria(state.criteria, state.folders.dataFolder + kCriteriaFileName);
}

} // namespace kavoret::criteria
