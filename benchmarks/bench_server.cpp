// The ranking server on its SQLite store: how many uploads and how many totals
// reads it answers per second, with and without the HTTP round trip over
// loopback. Every finish screen sends one upload and reads two totals pages.
#include "HttpServer.h"
#include "Programs.h"
#include "RankingService.h"
#include "Store.h"

#include <httplib.h>

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

using namespace kavoret;
using namespace kavoret::server;

namespace {

constexpr int kStudents = 1000;

std::string uploadQuery(int index) {
    const int student = index % kStudents;
    return "JukuNo=1234&JukuName=%E6%9C%AC%E7%94%BA%E5%A1%BE&SeitoNo=" + std::to_string(student) +
           "&SeitoUmare=2012&SeitoName=%E5%B1%B1%E7%94%B0&SoftGroup=1&SoftNo=801"
           "&SoftName=%E3%82%BF%E3%82%A4%E3%83%94%E3%83%B3%E3%82%B0&Level=" +
           std::to_string(1 + index % 4) +
           "&JisshiDate1=2024-05-03&JisshiTime1=10:11:12&point=" + std::to_string(index % 997) +
           "&kaisuu=" + std::to_string(index % 50) + "&athome=0&KirokuTime=33";
}

std::string totalsQuery(int index) {
    return "athome=&JukuNo=1234&SeitoNo=" + std::to_string(index % kStudents) +
           "&SoftNo=801&Level=" + std::to_string(1 + index % 4);
}

const std::string kUploadPath = "/benkyouRanking/BenkyouTuikaKousin.php";
const std::string kTotalsPath = "/benkyouRanking/BenkyouKakoHyoujiVB.php";

// A store on a new SQLite file with every student uploaded once.
struct Bench {
    QTemporaryDir folder;
    Programs programs;
    std::unique_ptr<Store> store;
    std::unique_ptr<RankingService> service;

    bool open(benchmark::State& state) {
        Result<std::unique_ptr<Store>> opened =
            openStore(folder.filePath(QStringLiteral("bench.sqlite")));
        if (!opened) {
            state.SkipWithError(opened.error().message.toUtf8().constData());
            return false;
        }
        store = std::move(opened).value();
        service =
            std::make_unique<RankingService>(*store, programs, [] { return QDate(2024, 5, 3); });
        for (int i = 0; i < kStudents * 4; ++i)
            service->handle(QByteArray::fromStdString(kUploadPath),
                            QByteArray::fromStdString(uploadQuery(i)));
        return true;
    }
};

void BM_UploadService(benchmark::State& state) {
    Bench bench;
    if (!bench.open(state))
        return;
    int index = 0;
    const QByteArray path = QByteArray::fromStdString(kUploadPath);
    for (auto _ : state) {
        const Reply reply =
            bench.service->handle(path, QByteArray::fromStdString(uploadQuery(index++)));
        if (reply.status != 200)
            state.SkipWithError("upload refused");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UploadService)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_TotalsService(benchmark::State& state) {
    Bench bench;
    if (!bench.open(state))
        return;
    int index = 0;
    const QByteArray path = QByteArray::fromStdString(kTotalsPath);
    for (auto _ : state) {
        const Reply reply =
            bench.service->handle(path, QByteArray::fromStdString(totalsQuery(index++)));
        benchmark::DoNotOptimize(reply.body.data());
        if (reply.status != 200)
            state.SkipWithError("totals refused");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TotalsService)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Over HTTP on 127.0.0.1 with one kept-alive connection.
void overHttp(benchmark::State& state, const std::string& path, std::string (*query)(int)) {
    Bench bench;
    if (!bench.open(state))
        return;
    HttpServer http(*bench.service, nullptr);
    Result<int> port = http.bind(QStringLiteral("127.0.0.1"), 0);
    if (!port) {
        state.SkipWithError("cannot listen");
        return;
    }
    http.start();
    httplib::Client client("127.0.0.1", port.value());
    client.set_keep_alive(true);
    int index = 0;
    for (auto _ : state) {
        const std::string target = path + "?" + query(index++);
        httplib::Result result = client.Get(target.c_str());
        if (!result || result->status != 200) {
            state.SkipWithError("request failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_UploadHttp(benchmark::State& state) {
    overHttp(state, kUploadPath, uploadQuery);
}
BENCHMARK(BM_UploadHttp)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_TotalsHttp(benchmark::State& state) {
    overHttp(state, kTotalsPath, totalsQuery);
}
BENCHMARK(BM_TotalsHttp)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
