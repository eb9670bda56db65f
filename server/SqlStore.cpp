#include "SqlStore.h"

namespace kavoret::server {

namespace {

// The tables. Texts are UTF-8; dates yyyy-MM-dd and times HH:mm:ss, so they
// sort as texts. A student is a roster number within a school.
const char* const kCreateStudents =
    "CREATE TABLE IF NOT EXISTS students ("
    " school TEXT NOT NULL, student INTEGER NOT NULL,"
    " school_name TEXT NOT NULL, student_name TEXT NOT NULL, birth_year INTEGER NOT NULL,"
    " last_seen TEXT NOT NULL,"
    " PRIMARY KEY (school, student))";
const char* const kCreatePrograms =
    "CREATE TABLE IF NOT EXISTS programs ("
    " soft INTEGER NOT NULL PRIMARY KEY, soft_group INTEGER NOT NULL, soft_name TEXT NOT NULL)";
const char* const kCreateResults =
    "CREATE TABLE IF NOT EXISTS results ("
    " school TEXT NOT NULL, athome INTEGER NOT NULL, student INTEGER NOT NULL,"
    " soft INTEGER NOT NULL, level INTEGER NOT NULL,"
    " points BIGINT NOT NULL, runs BIGINT NOT NULL, best_time BIGINT NOT NULL,"
    " run_date TEXT NOT NULL, run_time TEXT NOT NULL,"
    " PRIMARY KEY (school, athome, student, soft, level))";
const char* const kIndexResults =
    "CREATE INDEX IF NOT EXISTS results_by_level ON results (soft, level)";
const char* const kCreatePasses =
    "CREATE TABLE IF NOT EXISTS passes ("
    " school TEXT NOT NULL, athome INTEGER NOT NULL, student INTEGER NOT NULL,"
    " soft INTEGER NOT NULL, level INTEGER NOT NULL,"
    " passed INTEGER NOT NULL, passed_date TEXT NOT NULL,"
    " PRIMARY KEY (school, athome, student, soft, level))";
const char* const kCreateRecentDays =
    "CREATE TABLE IF NOT EXISTS recent_days ("
    " school TEXT NOT NULL, athome INTEGER NOT NULL, student INTEGER NOT NULL,"
    " soft INTEGER NOT NULL, level INTEGER NOT NULL, slot INTEGER NOT NULL,"
    " day TEXT NOT NULL, runs DOUBLE PRECISION NOT NULL, points DOUBLE PRECISION NOT NULL,"
    " time_sum DOUBLE PRECISION NOT NULL,"
    " PRIMARY KEY (school, athome, student, soft, level, slot))";

const char* const kUpsertStudent =
    "INSERT INTO students (school, student, school_name, student_name, birth_year, last_seen)"
    " VALUES ($1, $2, $3, $4, $5, $6)"
    " ON CONFLICT (school, student) DO UPDATE SET school_name = excluded.school_name,"
    " student_name = excluded.student_name, birth_year = excluded.birth_year,"
    " last_seen = excluded.last_seen";
const char* const kUpsertProgram =
    "INSERT INTO programs (soft, soft_group, soft_name) VALUES ($1, $2, $3)"
    " ON CONFLICT (soft) DO UPDATE SET soft_group = excluded.soft_group,"
    " soft_name = excluded.soft_name";
const char* const kUpsertResult =
    "INSERT INTO results (school, athome, student, soft, level, points, runs, best_time,"
    " run_date, run_time) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10)"
    " ON CONFLICT (school, athome, student, soft, level) DO UPDATE SET"
    " points = excluded.points, runs = excluded.runs, best_time = excluded.best_time,"
    " run_date = excluded.run_date, run_time = excluded.run_time";
// A repeated pass keeps the date of the first one.
const char* const kUpsertPass =
    "INSERT INTO passes (school, athome, student, soft, level, passed, passed_date)"
    " VALUES ($1, $2, $3, $4, $5, $6, $7)"
    " ON CONFLICT (school, athome, student, soft, level) DO UPDATE SET"
    " passed_date = CASE WHEN passes.passed = 1 AND excluded.passed = 1"
    " THEN passes.passed_date ELSE excluded.passed_date END,"
    " passed = excluded.passed";
const char* const kUpsertDay =
    "INSERT INTO recent_days (school, athome, student, soft, level, slot, day, runs, points,"
    " time_sum) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10)"
    " ON CONFLICT (school, athome, student, soft, level, slot) DO UPDATE SET"
    " day = excluded.day, runs = excluded.runs, points = excluded.points,"
    " time_sum = excluded.time_sum";
const char* const kDeleteDaysAfter =
    "DELETE FROM recent_days WHERE school = $1 AND athome = $2 AND student = $3 AND soft = $4"
    " AND level = $5 AND slot > $6";

const char* const kSelectTotals =
    "SELECT points, runs, best_time, run_date, run_time FROM results"
    " WHERE school = $1 AND athome = $2 AND student = $3 AND soft = $4 AND level = $5";
const char* const kSelectDays =
    "SELECT day, runs, points, time_sum FROM recent_days"
    " WHERE school = $1 AND athome = $2 AND student = $3 AND soft = $4 AND level = $5"
    " ORDER BY slot";
const char* const kCountRanked =
    "SELECT COUNT(*) FROM (SELECT school, student FROM results WHERE soft = $1 AND level = $2"
    " GROUP BY school, student) ranked";
// Students by points over both places; ties are shown by best time, then by key.
const char* const kSelectLeaders =
    "SELECT t.school, t.student, t.points, t.runs, t.best,"
    " COALESCE(s.school_name, ''), COALESCE(s.student_name, '')"
    " FROM (SELECT school, student, SUM(points) AS points, SUM(runs) AS runs,"
    " MIN(best_time) AS best FROM results WHERE soft = $1 AND level = $2"
    " GROUP BY school, student ORDER BY SUM(points) DESC, MIN(best_time), school, student"
    " LIMIT $3) t"
    " LEFT JOIN students s ON s.school = t.school AND s.student = t.student"
    " ORDER BY t.points DESC, t.best, t.school, t.student";
const char* const kSelectStanding =
    "WITH totals AS (SELECT school, student, SUM(points) AS points, SUM(runs) AS runs,"
    " MIN(best_time) AS best FROM results WHERE soft = $1 AND level = $2"
    " GROUP BY school, student)"
    " SELECT t.points, t.runs, t.best,"
    " (SELECT COUNT(*) FROM totals o WHERE o.points > t.points) + 1,"
    " COALESCE(s.school_name, ''), COALESCE(s.student_name, '')"
    " FROM totals t LEFT JOIN students s ON s.school = t.school AND s.student = t.student"
    " WHERE t.school = $3 AND t.student = $4";
const char* const kSelectStudent = "SELECT school_name, student_name, birth_year FROM students"
                                   " WHERE school = $1 AND student = $2";
const char* const kSelectSchoolName =
    "SELECT school_name FROM students WHERE school = $1 ORDER BY last_seen DESC LIMIT 1";
const char* const kSelectSoftName = "SELECT soft_name FROM programs WHERE soft = $1";
const char* const kSelectStudentLevels =
    "SELECT k.soft, k.level,"
    " COALESCE((SELECT SUM(r.points) FROM results r WHERE r.school = $1 AND r.student = $2"
    " AND r.soft = k.soft AND r.level = k.level), 0),"
    " COALESCE((SELECT SUM(r.runs) FROM results r WHERE r.school = $1 AND r.student = $2"
    " AND r.soft = k.soft AND r.level = k.level), 0),"
    " (SELECT MIN(p.passed_date) FROM passes p WHERE p.school = $1 AND p.student = $2"
    " AND p.soft = k.soft AND p.level = k.level AND p.passed = 1)"
    " FROM (SELECT soft, level FROM results WHERE school = $1 AND student = $2"
    " UNION SELECT soft, level FROM passes WHERE school = $1 AND student = $2) k"
    " ORDER BY k.soft, k.level";
const char* const kSelectSchoolPasses =
    "SELECT p.student, COALESCE(s.student_name, ''), p.soft, p.level, MIN(p.passed_date)"
    " FROM passes p LEFT JOIN students s ON s.school = p.school AND s.student = p.student"
    " WHERE p.school = $1 AND p.passed = 1"
    " GROUP BY p.student, s.student_name, p.soft, p.level"
    " ORDER BY p.soft, p.level, MIN(p.passed_date), p.student";

std::vector<SqlValue> keyValues(const PlaceKey& key) {
    return {key.school, qint64{key.athome}, qint64{key.student}, qint64{key.soft},
            qint64{key.level}};
}

QString text(const SqlRow& row, std::size_t column) {
    return column < row.size() && row[column] ? *row[column] : QString();
}

qint64 whole(const SqlRow& row, std::size_t column) {
    // Sums come back from PostgreSQL as numeric, which may carry a fraction.
    const QString value = text(row, column);
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    return ok ? number : static_cast<qint64>(value.toDouble());
}

double number(const SqlRow& row, std::size_t column) {
    return text(row, column).toDouble();
}

Standing standingFrom(const SqlRow& row) {
    Standing standing;
    standing.school = text(row, 0);
    standing.student = static_cast<int>(whole(row, 1));
    standing.points = whole(row, 2);
    standing.runs = whole(row, 3);
    standing.bestTime = whole(row, 4);
    standing.schoolName = text(row, 5);
    standing.studentName = text(row, 6);
    return standing;
}

} // namespace

Status SqlSession::execute(const char* sql, const std::vector<SqlValue>& parameters) {
    Result<SqlRows> rows = query(sql, parameters);
    if (!rows)
        return rows.error();
    return success();
}

const std::vector<const char*>& SqlStore::schema() {
    static const std::vector<const char*> statements{kCreateStudents, kCreatePrograms,
                                                     kCreateResults,  kIndexResults,
                                                     kCreatePasses,   kCreateRecentDays};
    return statements;
}

Result<SqlRows> SqlStore::read(const char* sql, const std::vector<SqlValue>& parameters) {
    SqlRows rows;
    Status done = run(false, [&](SqlSession& session) -> Status {
        Result<SqlRows> answer = session.query(sql, parameters);
        if (!answer)
            return answer.error();
        rows = std::move(answer).value();
        return success();
    });
    if (!done)
        return done.error();
    return rows;
}

Status SqlStore::upload(const Upload& upload) {
    const PlaceKey& key = upload.key;
    return run(true, [&](SqlSession& session) -> Status {
        if (Status done =
                session.execute(kUpsertStudent, {key.school, qint64{key.student}, upload.schoolName,
                                                 upload.studentName, qint64{upload.birthYear},
                                                 upload.runDate + u' ' + upload.runTime});
            !done)
            return done;
        if (Status done = session.execute(
                kUpsertProgram, {qint64{key.soft}, qint64{upload.softGroup}, upload.softName});
            !done)
            return done;
        std::vector<SqlValue> values = keyValues(key);
        values.insert(values.end(), {upload.points, upload.runs, upload.bestTime, upload.runDate,
                                     upload.runTime});
        return session.execute(kUpsertResult, values);
    });
}

Status SqlStore::setPass(const PlaceKey& key, bool passed, const QString& date) {
    std::vector<SqlValue> values = keyValues(key);
    values.insert(values.end(), {qint64{passed ? 1 : 0}, date});
    return run(true, [&](SqlSession& session) { return session.execute(kUpsertPass, values); });
}

Status SqlStore::replaceRecentDays(const PlaceKey& key, const std::vector<StoredDay>& days) {
    return run(true, [&](SqlSession& session) -> Status {
        // Each slot is written in place, so two updates of the same student
        // never race to insert the same row.
        qint64 slot = 0;
        for (const StoredDay& day : days) {
            std::vector<SqlValue> values = keyValues(key);
            values.insert(values.end(), {++slot, day.date, day.runs, day.points, day.time});
            if (Status done = session.execute(kUpsertDay, values); !done)
                return done;
        }
        std::vector<SqlValue> values = keyValues(key);
        values.push_back(slot);
        return session.execute(kDeleteDaysAfter, values);
    });
}

Result<std::optional<PlaceTotals>> SqlStore::totals(const PlaceKey& key) {
    Result<SqlRows> rows = read(kSelectTotals, keyValues(key));
    if (!rows)
        return rows.error();
    if (rows.value().empty())
        return std::optional<PlaceTotals>();
    const SqlRow& row = rows.value().front();
    return std::optional<PlaceTotals>(
        PlaceTotals{whole(row, 0), whole(row, 1), whole(row, 2), text(row, 3), text(row, 4)});
}

Result<std::vector<StoredDay>> SqlStore::recentDays(const PlaceKey& key) {
    Result<SqlRows> rows = read(kSelectDays, keyValues(key));
    if (!rows)
        return rows.error();
    std::vector<StoredDay> days;
    for (const SqlRow& row : rows.value())
        days.push_back({text(row, 0), number(row, 1), number(row, 2), number(row, 3)});
    return days;
}

Result<WorldRanking> SqlStore::worldRanking(int soft, int level, int leaders) {
    WorldRanking ranking;
    Status done = run(false, [&](SqlSession& session) -> Status {
        Result<SqlRows> count = session.query(kCountRanked, {qint64{soft}, qint64{level}});
        if (!count)
            return count.error();
        if (!count.value().empty())
            ranking.students = static_cast<int>(whole(count.value().front(), 0));
        Result<SqlRows> rows =
            session.query(kSelectLeaders, {qint64{soft}, qint64{level}, qint64{leaders}});
        if (!rows)
            return rows.error();
        for (const SqlRow& row : rows.value()) {
            Standing standing = standingFrom(row);
            // Equal points share a rank; the next rank counts everyone above.
            const std::size_t place = ranking.leaders.size();
            standing.rank = place > 0 && ranking.leaders.back().points == standing.points
                                ? ranking.leaders.back().rank
                                : static_cast<int>(place) + 1;
            ranking.leaders.push_back(std::move(standing));
        }
        return success();
    });
    if (!done)
        return done.error();
    return ranking;
}

Result<std::optional<Standing>> SqlStore::standing(int soft, int level, const QString& school,
                                                   int student) {
    Result<SqlRows> rows =
        read(kSelectStanding, {qint64{soft}, qint64{level}, school, qint64{student}});
    if (!rows)
        return rows.error();
    if (rows.value().empty())
        return std::optional<Standing>();
    const SqlRow& row = rows.value().front();
    Standing standing;
    standing.school = school;
    standing.student = student;
    standing.points = whole(row, 0);
    standing.runs = whole(row, 1);
    standing.bestTime = whole(row, 2);
    standing.rank = static_cast<int>(whole(row, 3));
    standing.schoolName = text(row, 4);
    standing.studentName = text(row, 5);
    return std::optional<Standing>(std::move(standing));
}

Result<std::optional<StudentInfo>> SqlStore::student(const QString& school, int student) {
    Result<SqlRows> rows = read(kSelectStudent, {school, qint64{student}});
    if (!rows)
        return rows.error();
    if (rows.value().empty())
        return std::optional<StudentInfo>();
    const SqlRow& row = rows.value().front();
    return std::optional<StudentInfo>(
        StudentInfo{text(row, 0), text(row, 1), static_cast<int>(whole(row, 2))});
}

Result<QString> SqlStore::schoolName(const QString& school) {
    Result<SqlRows> rows = read(kSelectSchoolName, {school});
    if (!rows)
        return rows.error();
    return rows.value().empty() ? QString() : text(rows.value().front(), 0);
}

Result<QString> SqlStore::softName(int soft) {
    Result<SqlRows> rows = read(kSelectSoftName, {qint64{soft}});
    if (!rows)
        return rows.error();
    return rows.value().empty() ? QString() : text(rows.value().front(), 0);
}

Result<std::vector<LevelRecord>> SqlStore::studentLevels(const QString& school, int student) {
    Result<SqlRows> rows = read(kSelectStudentLevels, {school, qint64{student}});
    if (!rows)
        return rows.error();
    std::vector<LevelRecord> levels;
    for (const SqlRow& row : rows.value()) {
        LevelRecord record;
        record.soft = static_cast<int>(whole(row, 0));
        record.level = static_cast<int>(whole(row, 1));
        record.points = whole(row, 2);
        record.runs = whole(row, 3);
        record.passed = row.size() > 4 && row[4].has_value();
        record.passedDate = text(row, 4);
        levels.push_back(std::move(record));
    }
    return levels;
}

Result<std::vector<PassEntry>> SqlStore::schoolPasses(const QString& school) {
    Result<SqlRows> rows = read(kSelectSchoolPasses, {school});
    if (!rows)
        return rows.error();
    std::vector<PassEntry> passes;
    for (const SqlRow& row : rows.value())
        passes.push_back({static_cast<int>(whole(row, 0)), text(row, 1),
                          static_cast<int>(whole(row, 2)), static_cast<int>(whole(row, 3)),
                          text(row, 4)});
    return passes;
}

} // namespace kavoret::server
