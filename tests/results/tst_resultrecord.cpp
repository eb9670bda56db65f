#include "results/ResultRecord.h"

#include <QTest>

using namespace kavoret;
using namespace kavoret::results;

namespace {

// A run on 2026-12-11 (serial day 46367) at 12:00:00 by student 1234 on level 3
// in 57 seconds at school "801", as the program writes it.
const RecordBytes kWrittenRun = {
    0x00, 0x00, 0x00, 0x00, 0xe0, 0xa3, 0xe6, 0x40, // date 46367.0
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xe0, 0x3f, // clock 0.5
    0xd2, 0x04,                                     // student 1234
    0x03, 0x00,                                     // level 3
    0x39, 0x00, 0x00, 0x00,                         // 57 seconds
    0x38, 0x30, 0x31, 0x20, 0x20,                   // "801  "
    0x20, 0x20, 0x20, 0x20, 0x20,                   // note: five blanks
    0x20, 0x30, 0x20, 0x20, 0x20,                   // points " 0   "
    0x00, 0x00, 0x00, 0x00, 0x00,                   // spare
};

// Negative numbers and text another program may have left.
const RecordBytes kOddRecord = {
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xf8, 0xbf, // date -1.5
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xf0, 0x7f, // clock +infinity
    0xff, 0xff,                                     // student -1
    0x00, 0x80,                                     // level -32768
    0x9f, 0x86, 0x01, 0x00,                         // 99999 seconds
    0x93, 0x8c, 0x8b, 0x9e, 0x20,                   // "東京 "
    0xb6, 0xc5, 0x41, 0x42, 0x43,                   // "ｶﾅABC"
    0x31, 0x32, 0x2e, 0x36, 0x20,                   // points "12.6 "
    0x01, 0x02, 0x03, 0x04, 0x05,                   // spare
};

TextField text(const char (&five)[6]) {
    TextField field;
    std::copy(five, five + 5, field.begin());
    return field;
}

} // namespace

class tst_ResultRecord : public QObject {
    Q_OBJECT
private slots:
    void decodesEveryFieldAtItsOffset();
    void decodesSignedAndOddFields();
    void writtenRunMatchesTheFileBytes();
    void partialRecordAtTheEndIsLeftOut();
    void textFields_data();
    void textFields();
    void storedPoints_data();
    void storedPoints();
};

void tst_ResultRecord::decodesEveryFieldAtItsOffset() {
    const ResultRecord record = decodeRecord(kWrittenRun);
    QCOMPARE(record.date, 46367.0);
    QCOMPARE(record.clock, 0.5);
    QCOMPARE(record.student, 1234);
    QCOMPARE(record.level, 3);
    QCOMPARE(record.seconds, 57);
    QCOMPARE(record.school, text("801  "));
    QCOMPARE(record.note, text("     "));
    QCOMPARE(record.pointsText, text(" 0   "));
    QCOMPARE(record.spare, (TextField{0, 0, 0, 0, 0}));
}

void tst_ResultRecord::decodesSignedAndOddFields() {
    const ResultRecord record = decodeRecord(kOddRecord);
    QCOMPARE(record.date, -1.5);
    QVERIFY(std::isinf(record.clock) && record.clock > 0);
    QCOMPARE(record.student, -1);
    QCOMPARE(record.level, -32768);
    QCOMPARE(record.seconds, 99999);
    QCOMPARE(textFieldValue(record.school), QStringLiteral("東京 "));
    QCOMPARE(textFieldValue(record.note), QStringLiteral("ｶﾅABC"));
    QCOMPARE(storedPointsValue(record.pointsText), 13);
    QCOMPARE(record.spare, (TextField{1, 2, 3, 4, 5}));
    // Nothing is lost on the way back.
    QCOMPARE(encodeRecord(record), kOddRecord);
}

void tst_ResultRecord::writtenRunMatchesTheFileBytes() {
    const ResultRecord run = runRecord(46367, 0.5, 1234, 3, 57, QStringLiteral("801"));
    QCOMPARE(encodeRecord(run), kWrittenRun);
}

void tst_ResultRecord::partialRecordAtTheEndIsLeftOut() {
    QByteArray bytes(reinterpret_cast<const char*>(kWrittenRun.data()), kRecordSize);
    bytes.append(reinterpret_cast<const char*>(kOddRecord.data()), kRecordSize);
    bytes.append(reinterpret_cast<const char*>(kWrittenRun.data()), 17);
    const std::vector<ResultRecord> records = decodeRecords(bytes);
    QCOMPARE(records.size(), 2u);
    QCOMPARE(records[0].seconds, 57);
    QCOMPARE(records[1].student, -1);
    QVERIFY(decodeRecords(QByteArray(43, 'x')).empty());
}

void tst_ResultRecord::textFields_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("padded with blanks") << "801" << QByteArray("801  ");
    QTest::newRow("cut to five bytes") << "12345678" << QByteArray("12345");
    QTest::newRow("empty") << "" << QByteArray("     ");
    QTest::newRow("half-width kana take one byte")
        << "ｶﾅｶﾅｶﾅ" << QByteArray("\xb6\xc5\xb6\xc5\xb6");
    // The third character would need bytes 5 and 6: its place is padded.
    QTest::newRow("no half character at the cut") << "東京都" << QByteArray("\x93\x8c\x8b\x9e ");
    QTest::newRow("mixed") << "ab東京" << QByteArray("ab\x93\x8c ");
    QTest::newRow("outside CP932") << QString::fromUtf8("\xf0\x9f\x99\x82"
                                                        "1")
                                   << QByteArray("?1   ");
}

void tst_ResultRecord::textFields() {
    QFETCH(QString, value);
    QFETCH(QByteArray, bytes);
    const TextField field = textField(value);
    QCOMPARE(QByteArray(field.data(), kTextFieldSize), bytes);
}

void tst_ResultRecord::storedPoints_data() {
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("value");
    QTest::newRow("as written") << QByteArray(" 0   ") << 0;
    QTest::newRow("whole number") << QByteArray("   12") << 12;
    QTest::newRow("rounded up") << QByteArray("12.6 ") << 13;
    QTest::newRow("rounded down") << QByteArray("12.4 ") << 12;
    QTest::newRow("negative") << QByteArray("-3   ") << -3;
    QTest::newRow("text is 0") << QByteArray("abc  ") << 0;
    QTest::newRow("number ends at text") << QByteArray("7x9  ") << 7;
    QTest::newRow("blanks") << QByteArray("     ") << 0;
    QTest::newRow("zero bytes") << QByteArray(5, '\0') << 0;
}

void tst_ResultRecord::storedPoints() {
    QFETCH(QByteArray, field);
    QFETCH(int, value);
    TextField stored;
    std::copy(field.begin(), field.end(), stored.begin());
    QCOMPARE(storedPointsValue(stored), value);
}

QTEST_GUILESS_MAIN(tst_ResultRecord)
#include "tst_resultrecord.moc"
