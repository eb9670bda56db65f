#include "tools/ResultsExport.h"

#include "board/Listings.h"
#include "criteria/CriteriaTable.h"
#include "frame/FolderSetup.h"
#include "frame/ItemFile.h"
#include "frame/JapaneseDate.h"
#include "frame/SharedState.h"
#include "frame/Text.h"
#include "results/LoadedResults.h"
#include "results/ResultRecord.h"
#include "results/ResultsFile.h"
#include "roster/Roster.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <memory>
#include <vector>

namespace kavoret::tools {
namespace {

constexpr int kFamilyFileItems = 10; // the path file and the shared settings
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

Error usage(const QString& problem) {
    return Error{problem};
}

Result<QDate> dateArgument(const QString& option, const QString& value) {
    const QDate date = QDate::fromString(value, kDateFormat);
    if (!date.isValid() || value.size() != 10)
        return usage(
            QStringLiteral("%1 needs a date as YYYY-MM-DD, not \"%2\"").arg(option, value));
    return date;
}

Error shortFile(const QString& path, qsizetype have) {
    return Error{QStringLiteral(
                     "ファイル「%1」の項目が足りません（%2 項目必要ですが %3 項目しかありません）")
                     .arg(path)
                     .arg(kFamilyFileItems)
                     .arg(have)};
}

// An item file with at least the ten items the program reads from it.
Result<QList<Item>> familyFile(const QString& path) {
    Result<QList<Item>> items = readItemFile(path);
    if (items && items.value().size() < kFamilyFileItems)
        return shortFile(path, items.value().size());
    return items;
}

bool isLineBreaking(QChar c) {
    switch (c.unicode()) {
    case u'\n':
    case u'\r':
    case 0x000B: // line tabulation
    case 0x000C: // form feed
    case 0x0085: // next line
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
        return true;
    default:
        return false;
    }
}

// hh:mm:ss of a clock time (fraction of a day), to the nearest second.
QString clockText(double clock) {
    if (!std::isfinite(clock))
        clock = 0;
    long long seconds = std::llround((clock - std::floor(clock)) * 86400.0);
    if (seconds >= 86400)
        seconds -= 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// The family around the data folder, as far as the rows need it.
struct Family {
    int schoolYear = 0;
    std::unique_ptr<RosterState> roster = std::make_unique<RosterState>();
    std::vector<bool> inRoster = std::vector<bool>(kStudentSlots, false);
    CriteriaState criteria;
};

Result<Family> readFamily(const QString& dataFolder, const QDate& today) {
    // The program stands in its data folder; the path file beside that folder names the root.
    const QString pathFile = QDir::cleanPath(dataFolder + QStringLiteral("/../") + kPathFileName);
    Result<QList<Item>> pathItems = familyFile(pathFile);
    if (!pathItems)
        return pathItems.error();
    QString root = pathItems.value()[0].text;
    if (root.isEmpty())
        return Error{
            QStringLiteral("ファイル「%1」の最初の項目にルートフォルダがありません").arg(pathFile)};
    if (!root.endsWith(u'/'))
        root += u'/';

    const QString settingsFile = root + kSettingsFileName;
    Result<QList<Item>> settings = familyFile(settingsFile);
    if (!settings)
        return settings.error();
    const int startMonth = settings.value()[0].toInt();
    const int includeStatus2 = settings.value()[2].toInt();

    Family family;
    family.schoolYear = roster::schoolYearFor(today, startMonth);
    const QString rosterFile = root + roster::kRosterFileName;
    Result<QList<Item>> rosterItems = readItemFile(rosterFile);
    if (!rosterItems)
        return rosterItems.error();
    Result<std::vector<roster::FileEntry>> entries =
        roster::parseRosterItems(rosterItems.value(), rosterFile);
    if (!entries)
        return entries.error();
    if (Status applied = roster::applyRosterEntries(entries.value(), includeStatus2,
                                                    family.schoolYear, rosterFile, *family.roster);
        !applied)
        return applied.error();
    for (const roster::FileEntry& entry : entries.value())
        family.inRoster[static_cast<std::size_t>(entry.entry.number)] = true;

    if (Status loaded = criteria::loadCriteria(family.criteria,
                                               dataFolder + u'/' + criteria::kCriteriaFileName);
        !loaded)
        return loaded.error();
    return family;
}

// Every whole record of the results file, oldest first; none when the file
// does not exist yet.
Result<std::vector<results::ResultRecord>> readRecords(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return std::vector<results::ResultRecord>{};
    if (QFileInfo(path).isDir())
        return Error{QStringLiteral("「%1」はファイルではなくフォルダです").arg(path)};
    if (!file.open(QIODevice::ReadOnly))
        return Error{
            QStringLiteral("ファイル「%1」を読めません: %2").arg(path, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Error{
            QStringLiteral("ファイル「%1」を読めません: %2").arg(path, file.errorString())};
    // A record cut short at the end (a write that did not finish) is left out.
    return results::decodeRecords(bytes);
}

} // namespace

Result<ExportOptions> parseExportArguments(const QStringList& arguments) {
    ExportOptions options;
    bool haveFolder = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool isOption = argument.startsWith(QStringLiteral("--"));
        if (!isOption) {
            if (haveFolder)
                return usage(QStringLiteral("only one DATA_FOLDER, not also \"%1\"").arg(argument));
            options.dataFolder = argument;
            haveFolder = true;
            continue;
        }
        if (argument != u"--from" && argument != u"--to" && argument != u"--student")
            return usage(QStringLiteral("unknown option \"%1\"").arg(argument));
        if (i + 1 >= arguments.size())
            return usage(QStringLiteral("%1 needs a value").arg(argument));
        const QString& value = arguments[++i];
        if (argument == u"--student") {
            bool ok = false;
            const int number = value.toInt(&ok);
            if (!ok || number < 0 || number > kMaxStudent || value.trimmed() != value)
                return usage(
                    QStringLiteral("--student needs a roster number from 0 to %1, not \"%2\"")
                        .arg(kMaxStudent)
                        .arg(value));
            options.student = number;
            continue;
        }
        Result<QDate> date = dateArgument(argument, value);
        if (!date)
            return date.error();
        (argument == u"--from" ? options.from : options.to) = date.value();
    }
    if (!haveFolder || options.dataFolder.isEmpty())
        return usage(QStringLiteral("DATA_FOLDER is missing"));
    return options;
}

QString csvField(const QString& text) {
    bool quote = false;
    for (QChar c : text)
        quote = quote || c == u',' || c == u'"' || isLineBreaking(c);
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString runOutcome(int seconds) {
    if (results::isValidTime(seconds))
        return QStringLiteral("ok");
    if (seconds >= results::kTimedOut)
        return QStringLiteral("timeout");
    return QStringLiteral("failed");
}

QString exportHeader() {
    return QStringLiteral("date,time,student,name,grade,level,seconds,outcome,points");
}

Result<QByteArray> exportResults(const ExportOptions& options, const QDate& today) {
    const QString dataFolder = QDir::cleanPath(options.dataFolder);
    if (!QFileInfo(dataFolder).isDir())
        return Error{QStringLiteral("データフォルダ「%1」がありません").arg(dataFolder)};
    Result<Family> read = readFamily(dataFolder, today);
    if (!read)
        return read.error();
    const Family& family = read.value();
    const QString resultsFile = dataFolder + u'/' + results::kResultsFileName;
    Result<std::vector<results::ResultRecord>> records = readRecords(resultsFile);
    if (!records)
        return records.error();

    const QString lineEnd = QStringLiteral("\r\n");
    QString csv = exportHeader() + lineEnd;
    for (const results::ResultRecord& record : records.value()) {
        if (!results::isKeptRecord(record))
            continue;
        const QDate date = dateFromSerial(std::floor(record.date));
        if ((options.from && date < *options.from) || (options.to && date > *options.to) ||
            (options.student && record.student != *options.student))
            continue;
        const auto student = static_cast<std::size_t>(record.student);
        QString name;
        QString grade;
        if (family.inRoster[student]) {
            name = withoutSurroundingBlanks(family.roster->names[student]);
            grade = roster::halfWidthGradeLabel(
                roster::gradeOf(family.schoolYear, family.roster->birthYears[student]));
        }
        const bool timed = results::isValidTime(record.seconds);
        const int points =
            board::displayPoints(family.criteria.targetTimes[record.level], record.seconds);
        const QStringList row{date.toString(kDateFormat),
                              clockText(record.clock),
                              QString::number(record.student),
                              csvField(name),
                              grade,
                              QString::number(record.level),
                              timed ? QString::number(record.seconds) : QString(),
                              runOutcome(record.seconds),
                              QString::number(points)};
        csv += row.join(u',') + lineEnd;
    }
    return QByteArray("\xEF\xBB\xBF") + csv.toUtf8();
}

} // namespace kavoret::tools
