#pragma once

#include <QString>

// The contract between the program and the family's ranking server: where the
// pages lie, what they are called and how values are marked in the pages the
// program reads. The program's request builders and page parsers and the
// ranking server both use these, so the two sides cannot drift apart.
namespace kavoret::ranking {

// Every page lies under this path of the server.
inline const QString kRankingPath = QStringLiteral("/benkyouRanking/");

// The pages, by what they do.
inline const QString kUploadPage = QStringLiteral("BenkyouTuikaKousin.php");
inline const QString kRankingPage = QStringLiteral("BenkyouHyouji002.php");
inline const QString kTotalsPage = QStringLiteral("BenkyouKakoHyoujiVB.php"); // and the recent days
inline const QString kRecentDaysUpdatePage = QStringLiteral("BenkyouKakoHenkou.php");
inline const QString kWorldRankPage = QStringLiteral("BenkyouHyouji0022.php");
inline const QString kClearNotificationPage = QStringLiteral("BenkyouTuikaKousinGouhinomi.php");
inline const QString kRecentResultsPage = QStringLiteral("BenkyouKakoHyouji.php");
inline const QString kPersonalPassPage = QStringLiteral("BenkyouGouhiHyoujikojin.php");
inline const QString kPassListPage = QStringLiteral("BenkyouGouhiHyouji.php");
inline const QString kProgramInfoPage = QStringLiteral("BenkyouSoftInfoHyouji.php");

// The day entries of a recent-days update are numbered 1 to this.
constexpr int kRecentDayEntries = 10;

// Marked values: marker, value, kValueEnd. The totals page carries the points
// and then the runs; the recent-days page the latest day's date and then date,
// runs, points and time of each stored day.
inline const QString kTotalsMarker = QStringLiteral("###");
inline const QString kRecentDaysMarker = QStringLiteral("***");
inline const QString kValueEnd = QStringLiteral("<");

// The world ranking page names the student by this key; the rank follows it
// between two kWorldRankStar.
inline QString worldRankKey(const QString& schoolNumber, int studentNo) {
    return u'>' + schoolNumber + u'_' + QString::number(studentNo) + u'<';
}
inline const QString kWorldRankStar = QStringLiteral("*");

// The program-information page: values each ended by this separator, two
// leading values first, then one reference time per level.
inline const QString kProgramInfoSeparator = QStringLiteral("_");

} // namespace kavoret::ranking
