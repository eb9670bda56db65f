// One activation of the results board runs on the window thread behind its
// cover: the tally over the whole results file, the point rankings of every
// level, the best-time rankings of every level and the over-practice limits.
// It has to stay well below a tenth of a second on the largest roster and
// results file the board works on.
#include "BenchStubs.h"
#include "board/Listings.h"
#include "board/OverPractice.h"
#include "board/Rankings.h"
#include "frame/ScreenFlow.h"
#include "frame/SharedState.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/HeapTuning.h"
#include "results/LoadedResults.h"
#include "results/ResultsFile.h"
#include "results/ResultsFileStore.h"
#include "roster/Roster.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace kavoret;
using namespace kavoret::board;
using namespace kavoret::results;

namespace {

using bench::FixedClock;
using bench::kToday;
using bench::NoDialogs;
using bench::NoFlow;
using bench::NoWait;
constexpr int kStudents = 9999;
constexpr int kLevels = 4;
constexpr int kLoggedIn = 4321;
const QString kAllGrades = QStringLiteral("全学年");

// 20000 runs of the four levels over the whole roster and the last 400 days,
// a tenth of them today, with a time-limit run now and then.
QByteArray fullResultsFile() {
    QByteArray bytes;
    for (int i = 0; i < kMaxLoadedRecords; ++i) {
        const int student = (i * 37) % kStudents + 1;
        const int level = i % kLevels + 1;
        const int seconds = i % 50 == 0 ? 99999 : 20 + (i * 13) % 300;
        const double date = i % 10 == 0 ? kToday : kToday - (i * 31) % 400;
        const RecordBytes record = encodeRecord(
            runRecord(date, (i % 86400) / 86400.0, student, level, seconds, QStringLiteral("801")));
        bytes.append(reinterpret_cast<const char*>(record.data()), kRecordSize);
    }
    return bytes;
}

// Names of two to four kana from a small set, so many students share the
// beginnings of their names as in a real school.
QString studentName(int number) {
    static const char16_t kana[] = u"あいうえおかきくけこさしすせそたちつてとなにぬねの";
    constexpr int kanaCount = 25;
    QString name;
    int rest = number;
    for (int k = 0; k < 2 + number % 3; ++k) {
        name += QChar(kana[rest % kanaCount]);
        rest = rest / kanaCount + k * 7;
    }
    return name;
}

struct BoardFixture {
    BoardFixture() : state(std::make_unique<SharedState>()) {
        keepFreedHeapForReuse(); // as the program does
        SharedState& s = *state;
        s.folders.dataFolder = dir.path() + QStringLiteral("/abc1/");
        QDir().mkpath(s.folders.dataFolder);
        s.profile.levelCount = kLevels;
        s.profile.catalogueNumber = 801;
        s.criteria.pointRates.fill(1);
        s.criteria.judgeDays.fill(30);
        s.criteria.stopDays.fill(7);
        s.criteria.targetTimes.fill(60);
        s.server.referenceTimes.fill(60);
        s.server.levelClearPoints.fill(150);
        for (auto& limits : s.server.levelPointLimits)
            limits.fill(0);
        for (int level = 1; level <= kMaxLevel; ++level) {
            s.server.levelPointLimits[0][level] = 300;
            s.server.levelPointLimits[1][level] = 750;
            s.server.levelPointLimits[2][level] = 1500;
            s.server.levelPointLimits[3][level] = 4500;
        }
        s.roster.schoolYear = 2026;
        for (int number = 1; number <= kStudents; ++number) {
            s.roster.listNumbers[static_cast<std::size_t>(number)] = number;
            s.roster.names[static_cast<std::size_t>(number)] =
                roster::fixedWidth(studentName(number));
            s.roster.birthYears[static_cast<std::size_t>(number)] = 2026 - 6 - number % 12;
        }
        s.roster.count = kStudents;
        s.student.studentNo = kLoggedIn;

        QFile file(s.folders.dataFolder + kResultsFileName);
        file.open(QIODevice::WriteOnly);
        file.write(fullResultsFile());
        file.close();
        store = std::make_unique<ResultsFileStore>(s, clock, dialogs, flow, wait);
    }

    bool loadedInFull() const {
        return state->results.loadedRecords.size() == std::size_t(kMaxLoadedRecords) &&
               dialogs.shown == 0;
    }

    QTemporaryDir dir;
    std::unique_ptr<SharedState> state;
    FixedClock clock;
    NoDialogs dialogs;
    NoFlow flow;
    NoWait wait;
    std::unique_ptr<ResultsFileStore> store;
};

// The logic of one activation, in the board's order: the tally, the rankings
// by points so far of every level, the limits at the end of that list build,
// the limits of the activation itself, then the time display's best-time
// rankings of every level and the limits at the end of that build.
void BM_BoardActivation(benchmark::State& bench) {
    BoardFixture fixture;
    const RankingBuilder builder(*fixture.state); // once per login
    std::vector<LevelGate> gates;
    qsizetype lines = 0;
    for (auto _ : bench) {
        fixture.store->回数求();
        for (int level = 1; level <= kLevels; ++level)
            lines += builder.build(level, RankingKind::PointsSoFar, kAllGrades).lines.size();
        evaluateLimits(*fixture.state, gates);
        evaluateLimits(*fixture.state, gates);
        for (int level = 1; level <= kLevels; ++level)
            lines += builder.build(level, RankingKind::BestTime, kAllGrades).lines.size();
        evaluateLimits(*fixture.state, gates);
        benchmark::DoNotOptimize(lines);
    }
    if (!fixture.loadedInFull() || lines != qsizetype(bench.iterations()) * 8 * kStudents)
        bench.SkipWithError("the file or the roster was not handled in full");
}
BENCHMARK(BM_BoardActivation)->Unit(benchmark::kMillisecond);

// Its parts, and what the board does once per login or on a selector change.
void BM_RankingBuilderAtLogin(benchmark::State& bench) {
    BoardFixture fixture;
    for (auto _ : bench) {
        const RankingBuilder builder(*fixture.state);
        benchmark::DoNotOptimize(&builder);
    }
}
BENCHMARK(BM_RankingBuilderAtLogin)->Unit(benchmark::kMillisecond);

void BM_OneRanking(benchmark::State& bench) {
    BoardFixture fixture;
    fixture.store->回数求();
    const RankingBuilder builder(*fixture.state);
    const auto kind = static_cast<RankingKind>(bench.range(0));
    for (auto _ : bench)
        benchmark::DoNotOptimize(builder.build(2, kind, kAllGrades));
}
BENCHMARK(BM_OneRanking)
    ->Arg(int(RankingKind::BestTime))
    ->Arg(int(RankingKind::PointsSoFar))
    ->Arg(int(RankingKind::PointsToday))
    ->Unit(benchmark::kMillisecond);

void BM_Tally(benchmark::State& bench) {
    BoardFixture fixture;
    for (auto _ : bench)
        fixture.store->回数求();
    if (!fixture.loadedInFull())
        bench.SkipWithError("the file was not loaded in full");
}
BENCHMARK(BM_Tally)->Unit(benchmark::kMillisecond);

void BM_TodayListing(benchmark::State& bench) {
    BoardFixture fixture;
    fixture.store->回数求();
    for (auto _ : bench)
        benchmark::DoNotOptimize(todayListing(*fixture.state, kAllGrades, kToday));
}
BENCHMARK(BM_TodayListing)->Unit(benchmark::kMillisecond);

// Every loaded record in the list: the largest listing the board builds.
void BM_PeriodListingAllRuns(benchmark::State& bench) {
    BoardFixture fixture;
    fixture.store->回数求();
    for (auto _ : bench)
        benchmark::DoNotOptimize(periodListing(*fixture.state, kAllGrades, kToday, 5, 1));
}
BENCHMARK(BM_PeriodListingAllRuns)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
