#include <QTemporaryDir>
#include <QTest>

#include "platform/text_codec.h"

class TestTextCodec : public QObject
{
    Q_OBJECT
private slots:
    void decodesByEvidence_data();
    void decodesByEvidence();
    void splitsLines_data();
    void splitsLines();
    void writesAnsiAsGb18030();
    void readLinesReportsMissingFile();
};

void TestTextCodec::decodesByEvidence_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString chinese = QStringLiteral("张三|李四");
    QTest::newRow("ascii") << QByteArray("abc 123") << QStringLiteral("abc 123");
    QTest::newRow("gb18030") << TextCodec::toAnsi(chinese) << chinese;
    QTest::newRow("utf-8 without bom") << chinese.toUtf8() << chinese;
    QTest::newRow("utf-8 with bom") << QByteArray("\xEF\xBB\xBF") + chinese.toUtf8() << chinese;
    QByteArray utf16le("\xFF\xFE");
    for (QChar c : chinese)
        utf16le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    QTest::newRow("utf-16le with bom") << utf16le << chinese;
    QByteArray utf16be("\xFE\xFF");
    for (QChar c : chinese)
        utf16be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    QTest::newRow("utf-16be with bom") << utf16be << chinese;
    QTest::newRow("gb18030 four-byte character")
        << TextCodec::toAnsi(QStringLiteral("𠀀甲")) << QStringLiteral("𠀀甲");
}

void TestTextCodec::decodesByEvidence()
{
    if (!TextCodec::hasFourByteGb18030() &&
        QByteArray(QTest::currentDataTag()).contains("four-byte"))
        QSKIP("no GB18030 code page here (Wine): four-byte characters cannot be converted");
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(TextCodec::decode(bytes), text);
}

void TestTextCodec::splitsLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("cr lf") << QStringLiteral("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lone cr") << QStringLiteral("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("lone lf") << QStringLiteral("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("mixed") << QStringLiteral("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("no final terminator") << QStringLiteral("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("blank lines kept")
        << QStringLiteral("\r\n\r\n  \r\nx") << QStringList{"", "", "  ", "x"};
    QTest::newRow("lf cr is two ends") << QStringLiteral("a\n\rb") << QStringList{"a", "", "b"};
}

void TestTextCodec::splitsLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(TextCodec::splitLines(text), lines);
}

void TestTextCodec::writesAnsiAsGb18030()
{
    QCOMPARE(TextCodec::toAnsi(QStringLiteral("中")), QByteArray("\xD6\xD0"));
    QCOMPARE(TextCodec::toAnsi(QStringLiteral("―")), QByteArray("\xA8\x44"));
}

void TestTextCodec::readLinesReportsMissingFile()
{
    QTemporaryDir dir;
    QStringList lines{QStringLiteral("kept")};
    QVERIFY(!TextCodec::readLines(dir.filePath(QStringLiteral("missing.txt")), lines));
    QCOMPARE(lines, QStringList{QStringLiteral("kept")});
    QVERIFY(!TextCodec::readLines(dir.path(), lines)); // a folder is not a text file
}

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_text_codec.moc"
