#pragma once

#include "frame/Result.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace kavoret::tools {

// What kavoret-export is asked for.
struct ExportOptions {
    QString dataFolder;
    std::optional<QDate> from; // runs on this day and later
    std::optional<QDate> to;   // runs on this day and earlier
    std::optional<int> student;
};

// The command line after the program's name:
//   DATA_FOLDER [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--student N]
// An error says what is wrong with it.
Result<ExportOptions> parseExportArguments(const QStringList& arguments);

// One field of a CSV row: in double quotes, its quotes doubled, when it holds
// a comma, a quote or a line-breaking character (RFC 4180); else as it is.
QString csvField(const QString& text);

// How a run ended: "ok" for a valid time (below 5000 seconds), "timeout" when
// it reached the time limit (99999), "failed" for any other time.
QString runOutcome(int seconds);

// The header row of the export, without its line end.
QString exportHeader();

// Reads the family of a data folder as the program finds it, without writing
// anything: the path file ../パスデータ.txt beside the folder names the root,
// whose shared settings give the school year's first month and whose roster
// the names and grades (of today's school year); the folder's criteria give
// each level's target time. Then every run of the folder's results file that
// the program keeps (a torn last record and records without a student or
// level are skipped), in file order, becomes one row, filtered by the
// options. The CSV is UTF-8 with a byte-order mark and CR LF line ends. A
// missing results file is no runs yet. Any other problem gives an error
// naming the file or folder and the problem.
Result<QByteArray> exportResults(const ExportOptions& options, const QDate& today);

} // namespace kavoret::tools
