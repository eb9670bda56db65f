#include "Pages.h"

#include "ranking/PageParsers.h"
#include "ranking/RankingContract.h"

#include <QDate>

namespace kavoret::server::pages {

namespace {

using ranking::decimalText;

// A run of this many seconds or more has no valid time.
constexpr qint64 kNoTime = 5000;

const QString kEmptyDate = QStringLiteral("0000-00-00");

const char* const kStyle = R"css(
* { box-sizing: border-box; }
body { margin: 0; font-family: "Noto Sans CJK JP", "Noto Sans JP", sans-serif; font-size: 13px;
  color: #1d2a44; background: #f4f7fc; }
header { background: linear-gradient(135deg, #1d4f9e, #3c80d9); color: #fff; padding: 6px 10px 7px; }
header h1 { margin: 0; font-size: 15px; font-weight: 700; letter-spacing: 0.04em; }
header p { margin: 2px 0 0; font-size: 11px; opacity: 0.92; }
main { padding: 6px 7px 10px; }
h2 { margin: 10px 0 4px; font-size: 13px; color: #1d4f9e; border-left: 4px solid #3c80d9;
  padding-left: 6px; }
h2:first-child { margin-top: 2px; }
table { width: 100%; border-collapse: collapse; background: #fff; border-radius: 6px;
  overflow: hidden; box-shadow: 0 1px 2px rgba(20, 40, 90, 0.12); }
th { background: #e6edf9; color: #3a4a6b; font-size: 11px; font-weight: 600; padding: 3px 4px;
  text-align: left; white-space: nowrap; }
td { padding: 3px 4px; border-top: 1px solid #edf0f6; vertical-align: middle; }
.n { text-align: right; white-space: nowrap; font-variant-numeric: tabular-nums; }
.c { text-align: center; }
.who { overflow-wrap: anywhere; }
.sub { display: block; color: #6b7893; font-size: 10px; font-weight: 400; }
tr.me td { background: #fff2b8; font-weight: 700; }
tr.gap td { text-align: center; color: #98a2b8; padding: 0; border-top: none; }
.medal { display: inline-block; min-width: 20px; height: 20px; line-height: 20px; border-radius: 10px;
  text-align: center; font-weight: 700; font-size: 11px; color: #fff; background: #9aa6bf; }
.m1 { background: #e0a800; } .m2 { background: #8d99ab; } .m3 { background: #c07a3c; }
.cards { display: flex; gap: 5px; margin-bottom: 6px; }
.card { flex: 1; background: #fff; border-radius: 6px; padding: 4px 6px; text-align: center;
  box-shadow: 0 1px 2px rgba(20, 40, 90, 0.12); }
.card b { display: block; font-size: 16px; color: #1d4f9e; }
.card span { font-size: 10px; color: #6b7893; }
.levels { display: flex; flex-wrap: wrap; gap: 5px; }
.level { flex: 1 1 150px; background: #fff; border-radius: 6px; padding: 5px 7px;
  box-shadow: 0 1px 2px rgba(20, 40, 90, 0.12); border-left: 5px solid #c9d2e3; }
.level.ok { border-left-color: #2e9e5b; }
.level b { font-size: 12px; }
.badge { float: right; font-size: 11px; font-weight: 700; color: #fff; background: #2e9e5b;
  border-radius: 8px; padding: 0 7px; }
.bar { height: 6px; background: #e6ebf3; border-radius: 3px; margin-top: 4px; overflow: hidden; }
.bar i { display: block; height: 100%; background: #3c80d9; }
.names { display: flex; flex-wrap: wrap; gap: 4px; }
.name { background: #fff; border-radius: 12px; padding: 2px 9px;
  box-shadow: 0 1px 2px rgba(20, 40, 90, 0.12); }
.name.me { background: #fff2b8; font-weight: 700; }
.name small { color: #6b7893; margin-left: 4px; }
.empty { color: #6b7893; text-align: center; padding: 18px 6px; }
.goal { color: #6b7893; font-size: 11px; margin: 0 0 4px; }
.you { background: #fff2b8; border-radius: 6px; padding: 3px 7px; margin: 0 0 5px; font-size: 12px; }
.you b { color: #b35c00; font-size: 14px; }
@media (max-width: 300px) {
  body { font-size: 12px; }
  .wide { display: none; }
  header h1 { font-size: 14px; }
}
)css";

QString page(const QString& title, const QString& subtitle, const QString& body) {
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\">"
                          "<meta name=\"viewport\" content=\"width=device-width\">"
                          "<title>%1</title><style>%2</style></head>\n<body><header><h1>%1</h1>"
                          "<p>%3</p></header>\n<main>%4</main></body></html>\n")
        .arg(escaped(title), QString::fromUtf8(kStyle), subtitle, body);
}

QString levelText(int level) {
    return QStringLiteral("レベル%1").arg(level);
}

QString bestTimeText(qint64 seconds) {
    return seconds > 0 && seconds < kNoTime ? QStringLiteral("%1秒").arg(seconds)
                                            : QStringLiteral("—");
}

// "5/3(金)" for 2024-05-03; the stored text when it is not a date.
QString dayText(const QString& date) {
    static const QString weekdays = QStringLiteral("月火水木金土日");
    const QDate day = QDate::fromString(date, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        return escaped(date);
    return QStringLiteral("%1/%2(%3)")
        .arg(day.month())
        .arg(day.day())
        .arg(weekdays[day.dayOfWeek() - 1]);
}

QString shortDate(const QString& date) {
    const QDate day = QDate::fromString(date, QStringLiteral("yyyy-MM-dd"));
    return day.isValid()
               ? QStringLiteral("%1/%2/%3").arg(day.year()).arg(day.month()).arg(day.day())
               : escaped(date);
}

QString nameText(const QString& name) {
    const QString trimmed = name.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("（名前なし）") : escaped(trimmed);
}

QString standingRow(const Standing& standing, bool viewer) {
    // One pass of arg(), so that no stored text is read as a place holder.
    const QString medal =
        standing.rank <= 3 ? QStringLiteral(" m%1").arg(standing.rank) : QString();
    return QStringLiteral("<tr%1><td class=\"c\"><span class=\"medal%2\">%3</span></td>"
                          "<td class=\"who\">%4<span class=\"sub\">%5</span></td>"
                          "<td class=\"n\">%6</td><td class=\"n wide\">%7</td>"
                          "<td class=\"n wide\">%8</td></tr>\n")
        .arg(viewer ? QStringLiteral(" class=\"me\"") : QString(), medal,
             QString::number(standing.rank), nameText(standing.studentName),
             escaped(standing.schoolName.trimmed()), QString::number(standing.points),
             QString::number(standing.runs), bestTimeText(standing.bestTime));
}

} // namespace

QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        case u'\'':
            out += QStringLiteral("&#39;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString programInfo(int soft, const Programs& programs) {
    const QString& separator = ranking::kProgramInfoSeparator;
    const int levels = programs.levelCount(soft);
    QString text = QStringLiteral("SoftInfo") + separator + QString::number(soft) + separator +
                   QString::number(levels) + separator;
    for (int level = 1; level <= levels; ++level)
        text += decimalText(programs.level(soft, level).referenceTime) + separator;
    return text + u'\n';
}

QString totals(const std::optional<PlaceTotals>& totals, const std::vector<StoredDay>& days) {
    const auto marked = [](const QString& marker, const QString& value) {
        return marker + value + ranking::kValueEnd + u'\n';
    };
    QString text;
    text += marked(ranking::kTotalsMarker, QString::number(totals ? totals->points : 0));
    text += marked(ranking::kTotalsMarker, QString::number(totals ? totals->runs : 0));
    text += marked(ranking::kRecentDaysMarker, days.empty() ? kEmptyDate : days.front().date);
    for (int index = 0; index < ranking::kRecentDayEntries; ++index) {
        const bool stored = static_cast<std::size_t>(index) < days.size();
        const StoredDay day = stored ? days[static_cast<std::size_t>(index)] : StoredDay{};
        text += marked(ranking::kRecentDaysMarker, stored ? day.date : kEmptyDate);
        text += marked(ranking::kRecentDaysMarker, decimalText(day.runs));
        text += marked(ranking::kRecentDaysMarker, decimalText(day.points));
        text += marked(ranking::kRecentDaysMarker, decimalText(day.time));
    }
    return text;
}

QString worldRank(const QString& school, int student, const std::optional<Standing>& standing,
                  int students) {
    QString text = QStringLiteral("students %1\n").arg(students);
    if (standing)
        text += ranking::worldRankKey(school, student) + ranking::kWorldRankStar +
                QString::number(standing->rank) + ranking::kWorldRankStar + u'\n';
    return text;
}

QString stored() {
    return QStringLiteral("OK\n");
}

QString rankingHtml(const RankingView& view) {
    const QString subtitle = QStringLiteral("%1　%2　全%3人")
                                 .arg(escaped(view.programTitle.trimmed()), levelText(view.level),
                                      QString::number(view.ranking.students));
    QString body;
    if (view.ranking.leaders.empty()) {
        body = QStringLiteral("<p class=\"empty\">まだ記録がありません。<br>"
                              "最初のランキング入りをめざそう！</p>");
        return page(QStringLiteral("世界ランキング"), subtitle, body);
    }
    // The student's own place first, so a narrow view shows it without scrolling.
    if (view.viewer)
        body += QStringLiteral("<p class=\"you\">あなたは <b>%1位</b>　%2 / %3 ポイント</p>\n")
                    .arg(view.viewer->rank)
                    .arg(view.viewer->points)
                    .arg(view.settings.clearPoints);
    else
        body += QStringLiteral("<p class=\"goal\">クリア：塾と家で合計 %1 ポイント</p>\n")
                    .arg(view.settings.clearPoints);
    body += QStringLiteral("<table><tr><th class=\"c\">順位</th><th>名前</th>"
                           "<th class=\"n\">ポイント</th><th class=\"n wide\">回数</th>"
                           "<th class=\"n wide\">ベスト</th></tr>\n");
    bool viewerShown = false;
    for (const Standing& standing : view.ranking.leaders) {
        const bool viewer =
            standing.school == view.viewerSchool && standing.student == view.viewerStudent;
        viewerShown = viewerShown || viewer;
        body += standingRow(standing, viewer);
    }
    if (view.viewer && !viewerShown) {
        body += QStringLiteral("<tr class=\"gap\"><td colspan=\"5\">⋮</td></tr>\n");
        body += standingRow(*view.viewer, true);
    }
    body += QStringLiteral("</table>\n");
    return page(QStringLiteral("世界ランキング"), subtitle, body);
}

QString recentResultsHtml(const RecentResultsView& view) {
    const QString title =
        view.athome == 1 ? QStringLiteral("家での成績") : QStringLiteral("塾での成績");
    QString subtitle = escaped(view.programTitle.trimmed()) + u'　' + levelText(view.level);
    if (view.student)
        subtitle = nameText(view.student->studentName) + QStringLiteral("さん　") + subtitle;

    QString body;
    const PlaceTotals totals = view.totals.value_or(PlaceTotals{});
    body += QStringLiteral("<div class=\"cards\"><div class=\"card\"><b>%1</b><span>ポイント</span>"
                           "</div><div class=\"card\"><b>%2</b><span>回数</span></div>"
                           "<div class=\"card\"><b>%3</b><span>ベスト</span></div></div>\n")
                .arg(totals.points)
                .arg(totals.runs)
                .arg(bestTimeText(view.totals ? totals.bestTime : 0));
    if (view.days.empty()) {
        body += QStringLiteral("<p class=\"empty\">最近の記録はまだありません。</p>");
    } else {
        body += QStringLiteral("<table><tr><th>日付</th><th class=\"n\">回数</th>"
                               "<th class=\"n\">ポイント</th><th class=\"n\">タイム</th></tr>\n");
        for (const StoredDay& day : view.days)
            body += QStringLiteral("<tr><td>%1</td><td class=\"n\">%2</td><td class=\"n\">%3</td>"
                                   "<td class=\"n\">%4</td></tr>\n")
                        .arg(dayText(day.date), decimalText(day.runs), decimalText(day.points),
                             decimalText(day.time));
        body += QStringLiteral("</table>\n");
    }
    return page(title, subtitle, body);
}

QString personalPassHtml(const PersonalPassView& view) {
    QString subtitle;
    if (view.student)
        subtitle = nameText(view.student->studentName) + QStringLiteral("さん　") +
                   escaped(view.student->schoolName.trimmed());
    QString body;
    for (const ProgramProgress& program : view.programs) {
        body += QStringLiteral("<h2>%1</h2>\n<div class=\"levels\">\n").arg(escaped(program.title));
        for (const LevelProgress& level : program.levels) {
            const int percent = level.clearPoints > 0
                                    ? static_cast<int>(std::min<qint64>(100, level.points * 100 /
                                                                                 level.clearPoints))
                                    : 100;
            if (level.passed) {
                body += QStringLiteral("<div class=\"level ok\"><span class=\"badge\">合格</span>"
                                       "<b>%1</b><span class=\"sub\">%2 ポイント　%3 合格</span>"
                                       "</div>\n")
                            .arg(levelText(level.level))
                            .arg(level.points)
                            .arg(shortDate(level.passedDate));
            } else {
                body += QStringLiteral("<div class=\"level\"><b>%1</b><span class=\"sub\">%2 / %3 "
                                       "ポイント</span><div class=\"bar\"><i style=\"width: %4%\">"
                                       "</i></div></div>\n")
                            .arg(levelText(level.level))
                            .arg(level.points)
                            .arg(level.clearPoints)
                            .arg(percent);
            }
        }
        body += QStringLiteral("</div>\n");
    }
    if (body.isEmpty())
        body = QStringLiteral("<p class=\"empty\">まだ記録がありません。</p>");
    return page(QStringLiteral("合格の記録"), subtitle, body);
}

QString passListHtml(const PassListView& view) {
    QString body;
    for (const ProgramPasses& program : view.programs) {
        body += QStringLiteral("<h2>%1</h2>\n").arg(escaped(program.title));
        body += QStringLiteral("<table><tr><th>レベル</th><th>合格した人</th></tr>\n");
        for (const LevelPasses& level : program.levels) {
            QString names;
            for (const PassEntry& entry : level.students)
                names += QStringLiteral("<span class=\"name%1\">%2<small>%3</small></span>")
                             .arg(entry.student == view.viewerStudent ? QStringLiteral(" me")
                                                                      : QString(),
                                  nameText(entry.studentName), shortDate(entry.passedDate));
            body += QStringLiteral("<tr><td>%1<span class=\"sub\">%2人</span></td>"
                                   "<td><div class=\"names\">%3</div></td></tr>\n")
                        .arg(levelText(level.level), QString::number(level.students.size()), names);
        }
        body += QStringLiteral("</table>\n");
    }
    if (body.isEmpty())
        body = QStringLiteral("<p class=\"empty\">まだ合格した人はいません。</p>");
    return page(QStringLiteral("合格者一覧"), escaped(view.schoolName.trimmed()), body);
}

} // namespace kavoret::server::pages
