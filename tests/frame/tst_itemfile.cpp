#include "FamilyFixture.h"
#include "frame/Cp932.h"
#include "frame/ItemFile.h"

#include <QTest>

using namespace kavoret;

class tst_ItemFile : public QObject {
    Q_OBJECT
private slots:
    void parses_data();
    void parses();
    void numbers_data();
    void numbers();
    void roundTripsCp932ByteForByte();
    void reportsInvalidBytesWithOffset();
    void reportsMissingFile();
    void writesAndAppends();
    void refusesTextCp932CannotHold();
};

void tst_ItemFile::parses_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QList<bool>>("quoted");

    QTest::newRow("commas and line ends")
        << "a,b\r\nc" << QStringList{"a", "b", "c"} << QList<bool>{false, false, false};
    QTest::newRow("quoted comma") << "\"x,y\",z" << QStringList{"x,y", "z"}
                                  << QList<bool>{true, false};
    QTest::newRow("blanks around unquoted dropped")
        << "  a b  ,\t c \r\n"
        << QStringList{"a b", "c"} << QList<bool>{false, false};
    QTest::newRow("blanks inside quotes kept")
        << "\"  a  \"" << QStringList{"  a  "} << QList<bool>{true};
    QTest::newRow("empty quoted item")
        << "1,\"\"" << QStringList{"1", ""} << QList<bool>{false, true};
    QTest::newRow("empty between commas")
        << "a,,b" << QStringList{"a", "", "b"} << QList<bool>{false, false, false};
    QTest::newRow("trailing comma promises an item")
        << "a,\r\nb" << QStringList{"a", "", "b"} << QList<bool>{false, false, false};
    QTest::newRow("blank lines hold no item") << "a\r\n\r\n   \r\nb\r\n"
                                              << QStringList{"a", "b"} << QList<bool>{false, false};
    QTest::newRow("spread over lines") << "1,2\n3\r\n4,5" << QStringList{"1", "2", "3", "4", "5"}
                                       << QList<bool>{false, false, false, false, false};
    QTest::newRow("text after closing quote dropped")
        << "\"ab\"cd,e" << QStringList{"ab", "e"} << QList<bool>{true, false};
    QTest::newRow("unclosed quote runs to the end")
        << "\"abc" << QStringList{"abc"} << QList<bool>{true};
    QTest::newRow("empty text") << "" << QStringList{} << QList<bool>{};
}

void tst_ItemFile::parses() {
    QFETCH(QString, text);
    QFETCH(QStringList, items);
    QFETCH(QList<bool>, quoted);
    const QList<Item> parsed = parseItems(text);
    QStringList texts;
    QList<bool> flags;
    for (const Item& item : parsed) {
        texts << item.text;
        flags << item.quoted;
    }
    QCOMPARE(texts, items);
    QCOMPARE(flags, quoted);
}

void tst_ItemFile::numbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << "42" << true << 42.0;
    QTest::newRow("negative") << "-3" << true << -3.0;
    QTest::newRow("decimal") << "1.5" << true << 1.5;
    QTest::newRow("exponent") << "2E3" << true << 2000.0;
    QTest::newRow("text") << "abc" << false << 0.0;
    QTest::newRow("digits then text") << "12ab" << false << 0.0;
    QTest::newRow("quoted number keeps its value") << "\"7\"" << false << 7.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("inf is text") << "inf" << false << 0.0;
}

void tst_ItemFile::numbers() {
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(double, value);
    const QList<Item> parsed = parseItems(text + QStringLiteral(",end"));
    QVERIFY(!parsed.isEmpty());
    QCOMPARE(parsed.first().isNumber(), isNumber);
    QCOMPARE(parsed.first().number(), value);
}

void tst_ItemFile::roundTripsCp932ByteForByte() {
    test::FamilyFixture family;
    // "音フォルダ",12,"a,b" in code page 932.
    const QByteArray original = QByteArray("\"") + QByteArray::fromHex("89b983748348838b835f") +
                                QByteArray("\",12,\"a,b\"\r\n");
    family.writeBytes(QStringLiteral("in.txt"), original);
    Result<QList<Item>> read = readItemFile(family.root() + QStringLiteral("in.txt"));
    QVERIFY2(read.ok(), qPrintable(read.ok() ? QString() : read.error().message));
    QCOMPARE(read.value().size(), 3);
    QCOMPARE(read.value()[0].text, QStringLiteral("音フォルダ"));

    QList<OutItem> out;
    for (const Item& item : read.value())
        out << OutItem::from(item);
    QVERIFY(writeItemFile(family.root() + QStringLiteral("out.txt"), {out}).ok());
    QCOMPARE(family.readBytes(QStringLiteral("out.txt")), original);
}

void tst_ItemFile::reportsInvalidBytesWithOffset() {
    test::FamilyFixture family;
    // 0x81 0x20 is not a CP932 character; it starts at byte 4.
    family.writeBytes(QStringLiteral("bad.txt"), QByteArray("ab,c\x81 d", 7));
    Result<QList<Item>> read = readItemFile(family.root() + QStringLiteral("bad.txt"));
    QVERIFY(!read.ok());
    QVERIFY2(read.error().message.contains(QStringLiteral("bad.txt")),
             qPrintable(read.error().message));
    QVERIFY2(read.error().message.contains(QStringLiteral(" 4 バイト目")),
             qPrintable(read.error().message));

    // A lead byte cut off at the end of the file.
    family.writeBytes(QStringLiteral("cut.txt"), QByteArray("abc\x88", 4));
    Result<QList<Item>> cut = readItemFile(family.root() + QStringLiteral("cut.txt"));
    QVERIFY(!cut.ok());
    QVERIFY2(cut.error().message.contains(QStringLiteral(" 3 バイト目")),
             qPrintable(cut.error().message));
}

void tst_ItemFile::reportsMissingFile() {
    test::FamilyFixture family;
    Result<QList<Item>> read = readItemFile(family.root() + QStringLiteral("none.txt"));
    QVERIFY(!read.ok());
    QVERIFY(read.error().message.contains(QStringLiteral("none.txt")));
    QVERIFY(read.error().message.contains(QStringLiteral("ありません")));
}

void tst_ItemFile::writesAndAppends() {
    test::FamilyFixture family;
    const QString path = family.root() + QStringLiteral("log.csv");
    QVERIFY(appendItemLine(path, {OutItem::raw(QStringLiteral("#2026-12-11#"))}).ok());
    QVERIFY(appendItemLine(path, {OutItem::quotedText(QStringLiteral("名前")), OutItem::number(3)})
                .ok());
    Result<QByteArray> name = cp932::encode(QStringLiteral("名前"));
    QVERIFY(name.ok());
    QCOMPARE(family.readBytes(QStringLiteral("log.csv")),
             QByteArray("#2026-12-11#\r\n\"") + name.value() + QByteArray("\",3\r\n"));
}

void tst_ItemFile::refusesTextCp932CannotHold() {
    test::FamilyFixture family;
    const QString path = family.root() + QStringLiteral("keep.txt");
    family.writeBytes(QStringLiteral("keep.txt"), "old\r\n");
    Status written = writeItemFile(path, {{OutItem::quotedText(QStringLiteral("😀"))}});
    QVERIFY(!written.ok());
    QVERIFY(written.error().message.contains(QStringLiteral("keep.txt")));
    QCOMPARE(family.readBytes(QStringLiteral("keep.txt")), QByteArray("old\r\n"));
    QVERIFY(!appendItemLine(path, {OutItem::quotedText(QStringLiteral("a\"b"))}).ok());
    QCOMPARE(family.readBytes(QStringLiteral("keep.txt")), QByteArray("old\r\n"));
}

QTEST_GUILESS_MAIN(tst_ItemFile)
#include "tst_itemfile.moc"
