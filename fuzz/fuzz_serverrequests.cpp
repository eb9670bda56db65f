// Any request to the ranking server: the first byte picks the page (or the
// programs file), the rest is the query as it arrives. The store keeps what is
// sent in memory, so the pages are built from what earlier inputs stored.
#include "Programs.h"
#include "RankingService.h"
#include "Store.h"
#include "ranking/RankingContract.h"

#include <cstdint>
#include <map>
#include <tuple>

using namespace kavoret;
using namespace kavoret::server;

namespace {

auto keyOf(const PlaceKey& key) {
    return std::make_tuple(key.school, key.athome, key.student, key.soft, key.level);
}

class MemoryStore final : public Store {
public:
    Status upload(const Upload& upload) override {
        if (uploads_.size() > 1000)
            uploads_.clear();
        uploads_[keyOf(upload.key)] = upload;
        return success();
    }
    Status setPass(const PlaceKey& key, bool passed, const QString& date) override {
        passes_[keyOf(key)] = passed ? date : QString();
        return success();
    }
    Status replaceRecentDays(const PlaceKey& key, const std::vector<StoredDay>& days) override {
        days_[keyOf(key)] = days;
        return success();
    }
    Result<std::optional<PlaceTotals>> totals(const PlaceKey& key) override {
        const auto found = uploads_.find(keyOf(key));
        if (found == uploads_.end())
            return std::optional<PlaceTotals>();
        const Upload& u = found->second;
        return std::optional<PlaceTotals>(
            PlaceTotals{u.points, u.runs, u.bestTime, u.runDate, u.runTime});
    }
    Result<std::vector<StoredDay>> recentDays(const PlaceKey& key) override {
        const auto found = days_.find(keyOf(key));
        return found == days_.end() ? std::vector<StoredDay>() : found->second;
    }
    Result<WorldRanking> worldRanking(int soft, int level, int leaders) override {
        WorldRanking ranking;
        for (const auto& [key, u] : uploads_) {
            if (u.key.soft != soft || u.key.level != level)
                continue;
            ++ranking.students;
            if (static_cast<int>(ranking.leaders.size()) < leaders)
                ranking.leaders.push_back({ranking.students, u.key.school, u.key.student,
                                           u.schoolName, u.studentName, u.points, u.runs,
                                           u.bestTime});
        }
        return ranking;
    }
    Result<std::optional<Standing>> standing(int soft, int level, const QString& school,
                                             int student) override {
        const auto found = uploads_.find(std::make_tuple(school, 0, student, soft, level));
        if (found == uploads_.end())
            return std::optional<Standing>();
        const Upload& u = found->second;
        return std::optional<Standing>(Standing{1, school, student, u.schoolName, u.studentName,
                                                u.points, u.runs, u.bestTime});
    }
    Result<std::optional<StudentInfo>> student(const QString& school, int student) override {
        for (const auto& [key, u] : uploads_) {
            if (u.key.school == school && u.key.student == student)
                return std::optional<StudentInfo>(
                    StudentInfo{u.schoolName, u.studentName, u.birthYear});
        }
        return std::optional<StudentInfo>();
    }
    Result<QString> schoolName(const QString& school) override {
        for (const auto& [key, u] : uploads_) {
            if (u.key.school == school)
                return u.schoolName;
        }
        return QString();
    }
    Result<QString> softName(int soft) override {
        for (const auto& [key, u] : uploads_) {
            if (u.key.soft == soft)
                return u.softName;
        }
        return QString();
    }
    Result<std::vector<LevelRecord>> studentLevels(const QString& school, int student) override {
        std::vector<LevelRecord> levels;
        for (const auto& [key, date] : passes_) {
            if (std::get<0>(key) == school && std::get<2>(key) == student)
                levels.push_back(
                    {std::get<3>(key), std::get<4>(key), 10, 1, !date.isEmpty(), date});
        }
        return levels;
    }
    Result<std::vector<PassEntry>> schoolPasses(const QString& school) override {
        std::vector<PassEntry> passes;
        for (const auto& [key, date] : passes_) {
            if (std::get<0>(key) == school && !date.isEmpty())
                passes.push_back({std::get<2>(key), QStringLiteral("名前"), std::get<3>(key),
                                  std::get<4>(key), date});
        }
        return passes;
    }

private:
    using Key = decltype(keyOf(PlaceKey{}));
    std::map<Key, Upload> uploads_;
    std::map<Key, QString> passes_;
    std::map<Key, std::vector<StoredDay>> days_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static const QString pages[] = {ranking::kUploadPage,        ranking::kRankingPage,
                                    ranking::kTotalsPage,        ranking::kRecentDaysUpdatePage,
                                    ranking::kWorldRankPage,     ranking::kClearNotificationPage,
                                    ranking::kRecentResultsPage, ranking::kPersonalPassPage,
                                    ranking::kPassListPage,      ranking::kProgramInfoPage};
    constexpr std::size_t kPages = sizeof(pages) / sizeof(pages[0]);
    const QByteArray rest(reinterpret_cast<const char*>(data + 1),
                          static_cast<qsizetype>(size - 1));
    static MemoryStore store;
    static Programs programs;
    static RankingService service(store, programs, [] { return QDate(2024, 5, 3); });

    const std::size_t choice = data[0] % (kPages + 1);
    if (choice == kPages) {
        Result<Programs> parsed = Programs::parse(rest, QStringLiteral("fuzz.txt"));
        if (parsed)
            programs = std::move(parsed).value();
        return 0;
    }
    const Reply reply = service.handle((ranking::kRankingPath + pages[choice]).toUtf8(), rest);
    if (reply.status != 200 && reply.status != 400)
        __builtin_trap();
    return 0;
}
