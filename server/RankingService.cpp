#include "RankingService.h"

#include "Pages.h"
#include "Query.h"
#include "frame/LevelStudentTable.h"
#include "ranking/RankingContract.h"

#include <QRegularExpression>
#include <limits>
#include <set>

namespace kavoret::server {

namespace {

constexpr qsizetype kMaxSchoolNumber = 64;
constexpr qsizetype kMaxName = 64;
constexpr qsizetype kMaxTitle = 128;
constexpr int kMaxCatalogueNumber = 999999;
constexpr qint64 kMaxFigure = std::numeric_limits<qint32>::max();

const QByteArray kText = "text/plain; charset=utf-8";
const QByteArray kHtml = "text/html; charset=utf-8";

Reply answer(const QString& body, const QByteArray& type) {
    return Reply{200, type, body.toUtf8(), {}};
}

Reply refused(int status, const QString& problem) {
    const QString reason =
        status == 404 ? QStringLiteral("404 Not Found") : QStringLiteral("400 Bad Request");
    return Reply{status, kText, (reason + QStringLiteral(": ") + problem + u'\n').toUtf8(),
                 problem};
}

Reply failed(const Error& error) {
    return Reply{500, kText, QByteArrayLiteral("500 Internal Server Error\n"), error.message};
}

QString schoolNumber(ParameterReader& parameters) {
    QString school = parameters.text("JukuNo", kMaxSchoolNumber);
    if (parameters.ok() && school.isEmpty())
        parameters.fail(QStringLiteral("JukuNo: empty"));
    return school;
}

int student(ParameterReader& parameters, const char* key = "SeitoNo") {
    return parameters.wholeInt(key, 0, kMaxStudent);
}

int soft(ParameterReader& parameters) {
    return parameters.wholeInt("SoftNo", 0, kMaxCatalogueNumber);
}

int level(ParameterReader& parameters) {
    return parameters.wholeInt("Level", 1, kMaxLevel);
}

// "2024-5-3" (the program's day 1) or "2024-05-03" (as the server sent it
// back) as yyyy-MM-dd; empty for an empty day.
std::optional<QString> dayDate(const QString& text, bool& valid) {
    valid = true;
    if (text.isEmpty() || text == QStringLiteral("0000-00-00"))
        return std::nullopt;
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    const QRegularExpressionMatch match = form.match(text);
    const QDate date =
        match.hasMatch()
            ? QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt())
            : QDate();
    if (!date.isValid()) {
        valid = false;
        return std::nullopt;
    }
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace

RankingService::RankingService(Store& store, const Programs& programs, Today today)
    : store_(store), programs_(programs), today_(std::move(today)) {}

Reply RankingService::handle(const QByteArray& rawPath, const QByteArray& rawQuery) {
    using Page = Reply (RankingService::*)(ParameterReader&);
    static const std::vector<std::pair<QString, Page>> routes{
        {ranking::kUploadPage, &RankingService::upload},
        {ranking::kTotalsPage, &RankingService::totals},
        {ranking::kRecentDaysUpdatePage, &RankingService::updateRecentDays},
        {ranking::kWorldRankPage, &RankingService::worldRank},
        {ranking::kClearNotificationPage, &RankingService::clearNotification},
        {ranking::kRankingPage, &RankingService::rankingPage},
        {ranking::kRecentResultsPage, &RankingService::recentResults},
        {ranking::kPersonalPassPage, &RankingService::personalPasses},
        {ranking::kPassListPage, &RankingService::passList},
        {ranking::kProgramInfoPage, &RankingService::programInfo},
    };

    Result<QString> path = percentDecoded(rawPath);
    if (!path)
        return refused(404, QStringLiteral("no such page"));
    Page handler = nullptr;
    if (path.value().startsWith(ranking::kRankingPath)) {
        const QString name = path.value().mid(ranking::kRankingPath.size());
        for (const auto& [page, method] : routes) {
            if (page == name)
                handler = method;
        }
    }
    if (!handler)
        return refused(404, QStringLiteral("no such page"));

    Result<Query> query = Query::parse(rawQuery);
    if (!query)
        return refused(400, query.error().message);
    ParameterReader parameters(query.value());
    return (this->*handler)(parameters);
}

Reply RankingService::upload(ParameterReader& parameters) {
    Upload upload;
    upload.key.school = schoolNumber(parameters);
    upload.schoolName = parameters.text("JukuName", kMaxName);
    upload.key.student = student(parameters);
    upload.birthYear = parameters.wholeInt("SeitoUmare", 0, 9999);
    upload.studentName = parameters.text("SeitoName", kMaxName);
    upload.softGroup = parameters.wholeInt("SoftGroup", 0, kMaxCatalogueNumber);
    upload.key.soft = soft(parameters);
    upload.softName = parameters.text("SoftName", kMaxTitle);
    upload.key.level = level(parameters);
    upload.runDate = parameters.date("JisshiDate1");
    upload.runTime = parameters.time("JisshiTime1");
    upload.points = parameters.whole("point", 0, kMaxFigure);
    upload.runs = parameters.whole("kaisuu", 0, kMaxFigure);
    upload.key.athome = parameters.place("athome");
    upload.bestTime = parameters.whole("KirokuTime", 0, kMaxFigure);
    if (!parameters.ok())
        return refused(400, parameters.problem());
    if (Status done = store_.upload(upload); !done)
        return failed(done.error());
    return answer(pages::stored(), kText);
}

Reply RankingService::totals(ParameterReader& parameters) {
    PlaceKey key;
    // The program asks for the school totals with an empty place.
    key.athome = parameters.place("athome", true);
    key.school = schoolNumber(parameters);
    key.student = student(parameters);
    key.soft = soft(parameters);
    key.level = level(parameters);
    if (!parameters.ok())
        return refused(400, parameters.problem());
    Result<std::optional<PlaceTotals>> totals = store_.totals(key);
    if (!totals)
        return failed(totals.error());
    Result<std::vector<StoredDay>> days = store_.recentDays(key);
    if (!days)
        return failed(days.error());
    return answer(pages::totals(totals.value(), days.value()), kText);
}

Reply RankingService::updateRecentDays(ParameterReader& parameters) {
    PlaceKey key;
    key.athome = parameters.place("athome");
    key.school = schoolNumber(parameters);
    key.student = student(parameters);
    key.soft = soft(parameters);
    key.level = level(parameters);

    // Entries 1, 2, … up to the first one missing; today is always entry 1.
    std::vector<StoredDay> days;
    for (int entry = 1; entry <= ranking::kRecentDayEntries && parameters.ok(); ++entry) {
        const QString number = QString::number(entry);
        const std::optional<QString> date = parameters.optional(QStringLiteral("hiduke") + number);
        if (!date) {
            if (entry == 1)
                parameters.fail(QStringLiteral("hiduke1: missing"));
            break;
        }
        bool valid = true;
        const std::optional<QString> day = dayDate(*date, valid);
        if (!valid) {
            parameters.fail(QStringLiteral("hiduke%1: not a date written yyyy-m-d").arg(entry));
            break;
        }
        double figures[3] = {0, 0, 0};
        const char* const names[3] = {"kaisuu", "pointo", "saikoutime"};
        for (int i = 0; i < 3 && parameters.ok(); ++i) {
            const QString key = QLatin1String(names[i]) + number;
            // A value the program could not read from the server's page comes back empty.
            const QString value = parameters.optional(key).value_or(QString());
            if (!value.isEmpty() && !isDecimalNumber(value))
                parameters.fail(QStringLiteral("%1: not a number").arg(key));
            else
                figures[i] = value.toDouble();
        }
        if (day)
            days.push_back({*day, figures[0], figures[1], figures[2]});
    }
    if (!parameters.ok())
        return refused(400, parameters.problem());
    if (days.empty())
        return refused(400, QStringLiteral("hiduke1: empty"));
    if (Status done = store_.replaceRecentDays(key, days); !done)
        return failed(done.error());
    return answer(pages::stored(), kText);
}

Reply RankingService::worldRank(ParameterReader& parameters) {
    const int program = soft(parameters);
    const int onLevel = level(parameters);
    parameters.text("prgname", kMaxTitle);
    const int viewer = student(parameters, "Seitbangou");
    const QString school = schoolNumber(parameters);
    if (!parameters.ok())
        return refused(400, parameters.problem());
    Result<std::optional<Standing>> standing = store_.standing(program, onLevel, school, viewer);
    if (!standing)
        return failed(standing.error());
    Result<WorldRanking> ranking = store_.worldRanking(program, onLevel, 0);
    if (!ranking)
        return failed(ranking.error());
    return answer(pages::worldRank(school, viewer, standing.value(), ranking.value().students),
                  kText);
}

Reply RankingService::clearNotification(ParameterReader& parameters) {
    PlaceKey key;
    key.school = schoolNumber(parameters);
    key.student = student(parameters);
    key.soft = soft(parameters);
    key.level = level(parameters);
    const int passed = parameters.wholeInt("gouhi", 0, 1);
    key.athome = parameters.place("athome");
    if (!parameters.ok())
        return refused(400, parameters.problem());
    const QString today = today_().toString(QStringLiteral("yyyy-MM-dd"));
    if (Status done = store_.setPass(key, passed == 1, today); !done)
        return failed(done.error());
    return answer(pages::stored(), kText);
}

Reply RankingService::rankingPage(ParameterReader& parameters) {
    pages::RankingView view;
    const int program = soft(parameters);
    view.level = level(parameters);
    view.programTitle = parameters.text("prgname", kMaxTitle);
    view.viewerStudent = student(parameters, "Seitbangou");
    view.viewerSchool = schoolNumber(parameters);
    if (!parameters.ok())
        return refused(400, parameters.problem());
    view.settings = programs_.level(program, view.level);
    Result<WorldRanking> ranking = store_.worldRanking(program, view.level, kLeaders);
    if (!ranking)
        return failed(ranking.error());
    view.ranking = std::move(ranking).value();
    Result<std::optional<Standing>> viewer =
        store_.standing(program, view.level, view.viewerSchool, view.viewerStudent);
    if (!viewer)
        return failed(viewer.error());
    view.viewer = viewer.value();
    return answer(pages::rankingHtml(view), kHtml);
}

QString RankingService::programTitle(int soft, QString& problem) {
    Result<QString> name = store_.softName(soft);
    if (!name) {
        problem = name.error().message;
        return {};
    }
    return name.value().trimmed().isEmpty() ? QStringLiteral("ソフト %1").arg(soft) : name.value();
}

Reply RankingService::recentResults(ParameterReader& parameters) {
    pages::RecentResultsView view;
    PlaceKey key;
    key.athome = parameters.place("athome");
    key.school = schoolNumber(parameters);
    key.student = student(parameters);
    key.soft = soft(parameters);
    key.level = level(parameters);
    if (!parameters.ok())
        return refused(400, parameters.problem());
    view.athome = key.athome;
    view.level = key.level;
    QString problem;
    view.programTitle = programTitle(key.soft, problem);
    if (!problem.isEmpty())
        return failed(Error{problem});
    Result<std::optional<StudentInfo>> info = store_.student(key.school, key.student);
    if (!info)
        return failed(info.error());
    view.student = info.value();
    Result<std::optional<PlaceTotals>> totals = store_.totals(key);
    if (!totals)
        return failed(totals.error());
    view.totals = totals.value();
    Result<std::vector<StoredDay>> days = store_.recentDays(key);
    if (!days)
        return failed(days.error());
    view.days = std::move(days).value();
    return answer(pages::recentResultsHtml(view), kHtml);
}

Reply RankingService::personalPasses(ParameterReader& parameters) {
    const QString school = schoolNumber(parameters);
    const int viewer = student(parameters);
    const std::vector<int> programs = parameters.catalogueList("SSS");
    if (!parameters.ok())
        return refused(400, parameters.problem());
    pages::PersonalPassView view;
    Result<std::optional<StudentInfo>> info = store_.student(school, viewer);
    if (!info)
        return failed(info.error());
    view.student = info.value();
    Result<std::vector<LevelRecord>> records = store_.studentLevels(school, viewer);
    if (!records)
        return failed(records.error());

    std::set<int> listed;
    for (int program : programs) {
        if (!listed.insert(program).second)
            continue;
        // The levels the server knows of the program and those the student has played.
        std::map<int, pages::LevelProgress> levels;
        for (int n = 1; n <= programs_.levelCount(program); ++n)
            levels[n].level = n;
        for (const LevelRecord& record : records.value()) {
            if (record.soft != program)
                continue;
            pages::LevelProgress& progress = levels[record.level];
            progress.level = record.level;
            progress.points = record.points;
            progress.passed = record.passed;
            progress.passedDate = record.passedDate;
        }
        if (levels.empty())
            continue;
        pages::ProgramProgress section;
        QString problem;
        section.title = programTitle(program, problem);
        if (!problem.isEmpty())
            return failed(Error{problem});
        for (auto& [n, progress] : levels) {
            progress.clearPoints = programs_.level(program, n).clearPoints;
            section.levels.push_back(progress);
        }
        view.programs.push_back(std::move(section));
    }
    return answer(pages::personalPassHtml(view), kHtml);
}

Reply RankingService::passList(ParameterReader& parameters) {
    const QString school = schoolNumber(parameters);
    const int viewer = student(parameters);
    const std::vector<int> programs = parameters.catalogueList("SSS");
    if (!parameters.ok())
        return refused(400, parameters.problem());
    pages::PassListView view;
    view.viewerStudent = viewer;
    Result<QString> name = store_.schoolName(school);
    if (!name)
        return failed(name.error());
    view.schoolName = name.value();
    Result<std::vector<PassEntry>> passes = store_.schoolPasses(school);
    if (!passes)
        return failed(passes.error());

    std::set<int> listed;
    for (int program : programs) {
        if (!listed.insert(program).second)
            continue;
        pages::ProgramPasses section;
        // The passes come ordered by program, level and date.
        for (const PassEntry& entry : passes.value()) {
            if (entry.soft != program)
                continue;
            if (section.levels.empty() || section.levels.back().level != entry.level)
                section.levels.push_back({entry.level, {}});
            section.levels.back().students.push_back(entry);
        }
        if (section.levels.empty())
            continue;
        QString problem;
        section.title = programTitle(program, problem);
        if (!problem.isEmpty())
            return failed(Error{problem});
        view.programs.push_back(std::move(section));
    }
    return answer(pages::passListHtml(view), kHtml);
}

Reply RankingService::programInfo(ParameterReader& parameters) {
    const int program = soft(parameters);
    if (!parameters.ok())
        return refused(400, parameters.problem());
    return answer(pages::programInfo(program, programs_), kText);
}

} // namespace kavoret::server
