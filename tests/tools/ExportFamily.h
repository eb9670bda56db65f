#pragma once

// A family with a roster of awkward names and a results file, for the export.

#include "FamilyFixture.h"
#include "frame/JapaneseDate.h"
#include "results/ResultRecord.h"

#include <QByteArray>
#include <QDate>
#include <QTime>

namespace kavoret::test {

class ExportFamily : public FamilyFixture {
public:
    ExportFamily() {
        writeStandardFiles(); // school year from April; target times 30, 35, 40, 45
        // A comma and a line break inside quotes, quotes inside an unquoted name,
        // blanks around a name, a withdrawn student.
        writeText(QStringLiteral("新名簿.txt"),
                  QStringLiteral("1,2019,0,0,\"田中, ゆい\",0,\"\",\"\"\n"
                                 "2,2011,0,0,山田\"太郎\",0,\"\",\"\"\n"
                                 "3,2017,0,0,\"森\nゆうと\",0,\"\",\"\"\n"
                                 "4,2004,0,0,\"  あべ  \",1,\"\",\"\"\n"));
    }

    // One run as the program records it.
    void addRun(const QDate& date, const QTime& clock, int student, int level, int seconds) {
        const results::ResultRecord record =
            results::runRecord(serialDay(date), clock.msecsSinceStartOfDay() / 86400000.0, student,
                               level, seconds, QStringLiteral("1234"));
        const results::RecordBytes bytes = results::encodeRecord(record);
        results_.append(reinterpret_cast<const char*>(bytes.data()),
                        static_cast<qsizetype>(bytes.size()));
        writeBytes(resultsFile(), results_);
    }

    // A record cut short, as a write that did not finish leaves it.
    void addTornRecord() {
        results_.append(QByteArray(20, '\x01'));
        writeBytes(resultsFile(), results_);
    }

    static QString resultsFile() { return QStringLiteral("abc1/成績累積データ.dat"); }

private:
    QByteArray results_;
};

} // namespace kavoret::test
