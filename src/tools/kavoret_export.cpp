// kavoret-export DATA_FOLDER [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--student N]:
// prints the runs of a data folder's results file as CSV for a spreadsheet,
// with the names and grades of the family's roster. Reads only.
#include "tools/ResultsExport.h"

#include <QCoreApplication>
#include <QDate>
#include <cstdio>

namespace {

constexpr int kExitData = 1;
constexpr int kExitUsage = 2;

void printUsage(const QString& program) {
    std::fprintf(stderr,
                 "usage: %s DATA_FOLDER [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--student N]\n"
                 "  DATA_FOLDER  the program's folder holding its results file\n"
                 "  --from, --to the first and last day of the runs to list (both included)\n"
                 "  --student N  only the runs of roster number N\n"
                 "Prints one CSV row per run, oldest first: date, time, student, name, grade,\n"
                 "level, seconds, outcome (ok, failed, timeout) and points.\n",
                 qPrintable(program));
}

void printError(const QString& program, const QString& message) {
    std::fprintf(stderr, "%s: %s\n", program.toUtf8().constData(), message.toUtf8().constData());
}

} // namespace

int main(int argc, char** argv) {
    // For the file names' encoding and the arguments, not for an event loop.
    QCoreApplication application(argc, argv);
    const QString program = QStringLiteral("kavoret-export");
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    kavoret::Result<kavoret::tools::ExportOptions> options =
        kavoret::tools::parseExportArguments(arguments);
    if (!options) {
        printError(program, options.error().message);
        printUsage(program);
        return kExitUsage;
    }
    kavoret::Result<QByteArray> csv =
        kavoret::tools::exportResults(options.value(), QDate::currentDate());
    if (!csv) {
        printError(program, csv.error().message);
        return kExitData;
    }
    const QByteArray& bytes = csv.value();
    if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) !=
            static_cast<std::size_t>(bytes.size()) ||
        std::fflush(stdout) != 0) {
        printError(program, QStringLiteral("cannot write to standard output"));
        return kExitData;
    }
    return 0;
}
