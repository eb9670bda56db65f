// The aggregation runs on the window thread whenever a screen needs the
// figures, so it has to stay well below a frame's worth of waiting: the whole
// path from the file to the twelve tables, over the largest file it reads.
#include "BenchStubs.h"
#include "frame/ScreenFlow.h"
#include "frame/SharedState.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/HeapTuning.h"
#include "results/Aggregation.h"
#include "results/LoadedResults.h"
#include "results/ResultsFile.h"
#include "results/ResultsFileStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace kavoret;
using namespace kavoret::results;

namespace {

using bench::FixedClock;
using bench::kToday;
using bench::NoDialogs;
using bench::NoFlow;
using bench::NoWait;

// A full results file: 20000 runs spread over roster numbers 1..9999, levels
// 1..100 and the last 400 days, with a time-limit run now and then.
QByteArray fullResultsFile() {
    QByteArray bytes;
    for (int i = 0; i < kMaxLoadedRecords; ++i) {
        const int student = i % 9999 + 1;
        const int level = (i * 7) % 100 + 1;
        const int seconds = i % 50 == 0 ? 99999 : 20 + (i * 13) % 300;
        const RecordBytes record = encodeRecord(runRecord(kToday - (i * 31) % 400, 0.5, student,
                                                          level, seconds, QStringLiteral("801")));
        bytes.append(reinterpret_cast<const char*>(record.data()), kRecordSize);
    }
    return bytes;
}

struct StoreFixture {
    StoreFixture() : state(std::make_unique<SharedState>()) {
        keepFreedHeapForReuse(); // as the program does
        state->folders.dataFolder = dir.path() + QStringLiteral("/abc1/");
        QDir().mkpath(state->folders.dataFolder);
        state->criteria.pointRates.fill(1);
        state->criteria.judgeDays.fill(30);
        state->criteria.stopDays.fill(7);
        state->server.referenceTimes.fill(60);
        store = std::make_unique<ResultsFileStore>(*state, clock, dialogs, flow, wait);
    }
    QString path() const { return state->folders.dataFolder + kResultsFileName; }

    QTemporaryDir dir;
    std::unique_ptr<SharedState> state;
    FixedClock clock;
    NoDialogs dialogs;
    NoFlow flow;
    NoWait wait;
    std::unique_ptr<ResultsFileStore> store;
};

void BM_AggregationOverFullFile(benchmark::State& bench) {
    StoreFixture fixture;
    QFile file(fixture.path());
    file.open(QIODevice::WriteOnly);
    file.write(fullResultsFile());
    file.close();
    for (auto _ : bench) {
        fixture.store->回数求();
        benchmark::DoNotOptimize(fixture.state->aggregates.pointTotals.at(1, 1));
    }
    if (fixture.state->results.loadedRecords.size() != std::size_t(kMaxLoadedRecords) ||
        fixture.dialogs.shown != 0)
        bench.SkipWithError("the file was not loaded in full");
}
BENCHMARK(BM_AggregationOverFullFile)->Unit(benchmark::kMillisecond);

// The parts of it: the reset of the twelve tables, the read of the file with
// the best times, and the walk over the loaded runs.
void BM_ResetTwelveTables(benchmark::State& bench) {
    auto aggregates = std::make_unique<AggregateState>();
    for (auto _ : bench) {
        resetAggregates(*aggregates);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ResetTwelveTables)->Unit(benchmark::kMillisecond);

void BM_LoadFullFile(benchmark::State& bench) {
    StoreFixture fixture;
    QFile file(fixture.path());
    file.open(QIODevice::WriteOnly);
    file.write(fullResultsFile());
    file.close();
    for (auto _ : bench)
        benchmark::DoNotOptimize(fixture.store->成績ランダムファイル表示());
}
BENCHMARK(BM_LoadFullFile)->Unit(benchmark::kMillisecond);

void BM_WalkLoadedRuns(benchmark::State& bench) {
    auto results = std::make_unique<ResultsState>();
    const QByteArray bytes = fullResultsFile();
    fillLoadedResults(*results, decodeRecords(bytes));
    auto aggregates = std::make_unique<AggregateState>();
    CriteriaState criteria;
    criteria.pointRates.fill(1);
    criteria.judgeDays.fill(30);
    criteria.stopDays.fill(7);
    PerLevel<double> referenceTimes{};
    referenceTimes.fill(60);
    for (auto _ : bench) {
        bench.PauseTiming();
        resetAggregates(*aggregates);
        bench.ResumeTiming();
        aggregateRuns(*aggregates, results->loadedRecords, criteria, referenceTimes, kToday);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WalkLoadedRuns)->Unit(benchmark::kMicrosecond);

// One finished run appended: open, lock, write, flush to disk, unlock.
void BM_AppendOneRecord(benchmark::State& bench) {
    StoreFixture fixture;
    const ResultRecord record = runRecord(kToday, 0.5, 7, 2, 40, QStringLiteral("801"));
    for (auto _ : bench) {
        if (appendRecord(fixture.path(), record, fixture.wait))
            bench.SkipWithError("append failed");
    }
}
BENCHMARK(BM_AppendOneRecord)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
