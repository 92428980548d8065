#include <QTest>

#include "draw/roster.h"
#include "platform/text_codec.h"
#include "support/program_dir.h"

class TestRoster : public QObject
{
    Q_OBJECT
private slots:
    void buildsThePool_data();
    void buildsThePool();
    void readsEveryEncodingAndLineEnd_data();
    void readsEveryEncodingAndLineEnd();
    void missingFileGivesTheSevenMessageLines();
    void emptyFileLeavesTheOldLines();
    void shorterFileReplacesLongerLines();
};

void TestRoster::buildsThePool_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("pool");
    QTest::addColumn<QStringList>("accepted");
    QTest::newRow("five-line example")
        << QStringList{"1001 张三", "", "  ", "1002 李四", "1003|1004"}
        << QStringList{"1001 张三", "1002 李四", "1003", "1004"}
        << QStringList{"1001 张三", "1002 李四", "1003|1004"};
    QTest::newRow("blank and all-space lines skipped")
        << QStringList{"", " ", "     ", "a"} << QStringList{"a"} << QStringList{"a"};
    QTest::newRow("tab and full-width space are participants")
        << QStringList{"\t", QStringLiteral("\u3000")}
        << QStringList{"\t", QStringLiteral("\u3000")}
        << QStringList{"\t", QStringLiteral("\u3000")};
    QTest::newRow("separator alone gives two empty entries")
        << QStringList{"|"} << QStringList{"", ""} << QStringList{"|"};
    QTest::newRow("trailing separator adds an empty entry")
        << QStringList{"王五|"} << QStringList{"王五", ""} << QStringList{"王五|"};
    QTest::newRow("blanks kept inside entries")
        << QStringList{"  王五 ", "x | y"} << QStringList{"  王五 ", "x ", " y"}
        << QStringList{"  王五 ", "x | y"};
    QTest::newRow("all blank") << QStringList{"", "  "} << QStringList{} << QStringList{};
    QTest::newRow("duplicates stay")
        << QStringList{"a", "a"} << QStringList{"a", "a"} << QStringList{"a", "a"};
}

void TestRoster::buildsThePool()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, pool);
    QFETCH(QStringList, accepted);
    const Roster::Pool built = Roster::buildPool(lines);
    QCOMPARE(built.entries, pool);
    QCOMPARE(built.accepted, accepted);
}

void TestRoster::readsEveryEncodingAndLineEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    const QStringList names{QStringLiteral("张三"), QString(), QStringLiteral("李四")};
    QTest::newRow("gb18030 cr lf")
        << TextCodec::toAnsi(QStringLiteral("张三\r\n\r\n李四\r\n")) << names;
    QTest::newRow("lone cr") << TextCodec::toAnsi(QStringLiteral("张三\r\r李四")) << names;
    QTest::newRow("lone lf, one participant per line")
        << TextCodec::toAnsi(QStringLiteral("张三\n\n李四\n")) << names;
    QTest::newRow("no final terminator")
        << TextCodec::toAnsi(QStringLiteral("张三\r\n\r\n李四")) << names;
    QTest::newRow("utf-8") << QStringLiteral("张三\r\n\r\n李四\r\n").toUtf8() << names;
    QTest::newRow("utf-8 with bom")
        << QByteArray("\xEF\xBB\xBF") + QStringLiteral("张三\n\n李四").toUtf8() << names;
    QByteArray utf16("\xFF\xFE");
    for (QChar c : QStringLiteral("张三\r\n\r\n李四\r\n"))
        utf16.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    QTest::newRow("utf-16le with bom") << utf16 << names;
    QTest::newRow("all blank") << QByteArray("\r\n  \r\n") << QStringList{"", "  "};
}

void TestRoster::readsEveryEncodingAndLineEnd()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    ProgramDir dir;
    dir.write(QStringLiteral("r.vok"), bytes);
    QStringList read{QStringLiteral("old")};
    Roster::loadFileLines(dir.file(QStringLiteral("r.vok")), read);
    QCOMPARE(read, lines);
}

void TestRoster::missingFileGivesTheSevenMessageLines()
{
    ProgramDir dir;
    QStringList read{"a", "b", "c", "d", "e", "f", "g", "h", "i"};
    Roster::loadFileLines(dir.file(QStringLiteral("参与抽奖名单.vok")), read);
    QCOMPARE(read, (QStringList{QStringLiteral("加载文件加载错误"), QString(),
                                QStringLiteral("请确认根目录存在"), QString(),
                                QStringLiteral("参与抽奖名单.vok"), QString(),
                                QStringLiteral("如果没有，请建立")}));
}

void TestRoster::emptyFileLeavesTheOldLines()
{
    ProgramDir dir;
    dir.write(QStringLiteral("empty.vok"), QByteArray());
    QStringList read{QStringLiteral("old")};
    Roster::loadFileLines(dir.file(QStringLiteral("empty.vok")), read);
    QCOMPARE(read, QStringList{QStringLiteral("old")});
}

void TestRoster::shorterFileReplacesLongerLines()
{
    ProgramDir dir;
    dir.write(QStringLiteral("two.vok"), QByteArray("x\r\ny\r\n"));
    QStringList read{"1", "2", "3", "4"};
    Roster::loadFileLines(dir.file(QStringLiteral("two.vok")), read);
    QCOMPARE(read, (QStringList{"x", "y"}));
}

QTEST_GUILESS_MAIN(TestRoster)
#include "tst_roster.moc"
