// Any bytes as a results file: every whole record is decoded, loaded and
// counted without reading or writing outside the tables; the reader with a
// small cap hands over exactly the newest records that make it up.
#include "results/Aggregation.h"
#include "results/LoadedResults.h"
#include "results/ResultsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

using namespace kavoret;
using namespace kavoret::results;

class NoWait final : public EventWait {
public:
    void waitProcessingEvents(int) override { std::abort(); } // nothing else holds the file
};

struct Tables {
    ResultsState results;
    AggregateState aggregates;
    CriteriaState criteria;
    PerLevel<double> referenceTimes{};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(kResultsFileName);
    static auto tables = [] {
        auto made = std::make_unique<Tables>();
        made->criteria.pointRates.fill(1.5f);
        made->criteria.judgeDays.fill(30);
        made->criteria.stopDays.fill(7);
        return made;
    }();

    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::vector<ResultRecord> decoded = decodeRecords(bytes);
    if (decoded.size() != size / kRecordSize)
        std::abort();
    for (const ResultRecord& record : decoded) {
        (void)textFieldValue(record.school);
        (void)storedPointsValue(record.pointsText);
    }

    // Through the file, with a cap small enough to stop inside the input.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    NoWait wait;
    const int cap = size > 0 ? 1 + data[0] % 32 : 1;
    const RecordsRead read = readNewestRecords(path, wait, cap, isKeptRecord);
    if (read.failure || read.records.size() > decoded.size())
        std::abort();
    int kept = 0;
    for (std::size_t i = 0; i < read.records.size(); ++i) {
        const std::size_t from = decoded.size() - read.records.size() + i;
        if (encodeRecord(read.records[i]) != encodeRecord(decoded[from]))
            std::abort();
        kept += isKeptRecord(read.records[i]) ? 1 : 0;
    }
    // Stops at the cap's kept record, else reads the whole file.
    if (kept > cap || (kept < cap && read.records.size() != decoded.size()) ||
        (kept == cap && !read.records.empty() && !isKeptRecord(read.records.front())))
        std::abort();

    fillLoadedResults(tables->results, decoded);
    tables->referenceTimes.fill(0);
    aggregateRuns(tables->aggregates, tables->results.loadedRecords, tables->criteria,
                  tables->referenceTimes, 46367);
    // Put back only the cells this input touched, so the next starts from zeros.
    for (const LoadedRecord& run : tables->results.loadedRecords) {
        AggregateState& a = tables->aggregates;
        a.validRunCounts.at(run.level, run.student) = 0;
        a.pointTotals.at(run.level, run.student) = 0;
        a.judgeRunCounts.at(run.level, run.student) = 0;
        a.judgePointTotals.at(run.level, run.student) = 0;
        a.stopRunCounts.at(run.level, run.student) = 0;
        a.stopPointTotals.at(run.level, run.student) = 0;
        a.weekPointTotals.at(run.level, run.student) = 0;
        a.monthPointTotals.at(run.level, run.student) = 0;
        a.halfYearPointTotals.at(run.level, run.student) = 0;
        a.todayRunCounts.at(run.level, run.student) = 0;
        a.todayPointTotals.at(run.level, run.student) = 0;
        a.todayTimeSums.at(run.level, run.student) = 0;
    }
    return 0;
}
