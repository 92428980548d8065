#include <QTest>

#include "platform/text_codec.h"
#include "record/results_file.h"
#include "support/program_dir.h"

class TestResultsFile : public QObject
{
    Q_OBJECT
private slots:
    void namesAfterDateAndHour_data();
    void namesAfterDateAndHour();
    void headerBytes();
    void roundBlocks_data();
    void roundBlocks();
    void drawTimeIsChineseOnAnyMachine_data();
    void drawTimeIsChineseOnAnyMachine();
    void redrawBlocks_data();
    void redrawBlocks();
    void secondRunInTheSameHourGetsTheNextName();
    void closedFileCanBeAppendedTo();
    void writeToClosedFileFails();
};

void TestResultsFile::namesAfterDateAndHour_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("name");
    QTest::newRow("1 Oct 2016 00:30") << QDateTime(QDate(2016, 10, 1), QTime(0, 30))
                                      << QStringLiteral("中奖名单 ― 2016年10月1日00时.txt");
    QTest::newRow("8 Jan 2016 09:41") << QDateTime(QDate(2016, 1, 8), QTime(9, 41))
                                      << QStringLiteral("中奖名单 ― 2016年1月8日09时.txt");
    QTest::newRow("31 Dec 23:59") << QDateTime(QDate(2026, 12, 31), QTime(23, 59))
                                  << QStringLiteral("中奖名单 ― 2026年12月31日23时.txt");
}

void TestResultsFile::namesAfterDateAndHour()
{
    QFETCH(QDateTime, when);
    QFETCH(QString, name);
    QCOMPARE(Results::fileName(when), name);
    QCOMPARE(name.at(5), QChar(0x2015)); // the horizontal bar between two blanks
}

void TestResultsFile::headerBytes()
{
    Results::HeaderFields f;
    f.company = QStringLiteral("甲公司");
    f.activity = QStringLiteral("年会");
    f.dateTime = QStringLiteral("2016/1/8 9:41:00");
    f.firstPrize = QStringLiteral("汽车");
    f.secondPrize = QStringLiteral("电脑");
    f.thirdPrize = QStringLiteral("红包");
    ProgramDir dir;
    ResultsFile file;
    QVERIFY(file.create(dir.file(QStringLiteral("r.txt"))));
    QVERIFY(file.write(Results::headerText(f)));
    file.close();
    const QByteArray expected = TextCodec::toAnsi(QStringLiteral(
        "甲公司\r\n\r\n年会\r\n\r\n幸运属于您！您是幸运星！\r\n开奖时间：2016/1/8 9:41:00\r\n"
        "请以下获奖人员，及时领取奖品！\r\n\r\n现场特设奖品如下：\r\n一等奖： 汽车\r\n"
        "二等奖： 电脑\r\n三等奖：红包\r\n\r\n\r\n"));
    QCOMPARE(dir.read(QStringLiteral("r.txt")), expected);
    QCOMPARE(TextCodec::splitLines(TextCodec::decode(expected)).size(), 14);
}

void TestResultsFile::roundBlocks_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("round");
    QTest::addColumn<QStringList>("winners");
    QTest::addColumn<QString>("text");
    QTest::newRow("third prize, two winners")
        << 3 << 1 << QStringList{"王五", "张三"}
        << "★★ 三等奖第 1 次抽奖结果：★★\r\n\r\n王五\r\n张三\r\n\r\n";
    QTest::newRow("second prize") << 2 << 2 << QStringList{"甲"}
                                  << "◆◆ 二等奖第 2 次抽奖结果：◆◆\r\n\r\n甲\r\n\r\n";
    QTest::newRow("first prize, no winner: three lines")
        << 1 << 12 << QStringList{} << "●● 一等奖第 12 次抽奖结果：●●\r\n\r\n\r\n";
    // The text ends in a line break: only the first winner's leading blanks go.
    QTest::newRow("blanks trimmed off the whole text only")
        << 3 << 2 << QStringList{"  甲 ", " 乙  "}
        << "★★ 三等奖第 2 次抽奖结果：★★\r\n\r\n甲 \r\n 乙  \r\n\r\n";
}

void TestResultsFile::roundBlocks()
{
    // The stop's one write: the whole block, synced, in one call.
    QFETCH(int, level);
    QFETCH(int, round);
    QFETCH(QStringList, winners);
    QFETCH(QString, text);
    ProgramDir dir;
    ResultsFile file;
    QVERIFY(file.create(dir.file(QStringLiteral("r.txt"))));
    QVERIFY(file.writeBytes(Results::roundBlockBytes(level, round, Results::winnersText(winners))));
    QCOMPARE(dir.read(QStringLiteral("r.txt")), TextCodec::toAnsi(text)); // on disk at once
}

void TestResultsFile::drawTimeIsChineseOnAnyMachine_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("text");
    QTest::newRow("December") << QDateTime(QDate(2026, 12, 10), QTime(10, 24, 35))
                              << "2026/12/10 10:24:35";
    QTest::newRow("January morning")
        << QDateTime(QDate(2016, 1, 8), QTime(9, 41, 0)) << "2016/1/8 09:41:00";
}

void TestResultsFile::drawTimeIsChineseOnAnyMachine()
{
    QFETCH(QDateTime, when);
    QFETCH(QString, text);
    // The suites run under the C locale: the machine's own form would be "10 Dec 2026".
    QVERIFY(QLocale::system().language() != QLocale::Chinese);
    QCOMPARE(Results::dateTimeText(when), text);
}

void TestResultsFile::redrawBlocks_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("round");
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<QStringList>("replacements");
    QTest::addColumn<QString>("text");
    QTest::newRow("one of the third prize")
        << 3 << 2 << QStringList{"张三"} << QStringList{"李四"}
        << "★★ 三等奖第 2 次补抽结果：★★\r\n\r\n未到场：张三\r\n李四\r\n\r\n";
    QTest::newRow("two of the first prize, stage order")
        << 1 << 1 << QStringList{"乙", "甲"} << QStringList{"丁", "丙"}
        << "●● 一等奖第 1 次补抽结果：●●\r\n\r\n未到场：乙\r\n未到场：甲\r\n丁\r\n丙\r\n\r\n";
    QTest::newRow("blanks kept inside, the first replacement's leading ones trimmed")
        << 2 << 3 << QStringList{" 甲 "} << QStringList{"  乙 ", " 丙"}
        << "◆◆ 二等奖第 3 次补抽结果：◆◆\r\n\r\n未到场： 甲 \r\n乙 \r\n 丙\r\n\r\n";
}

void TestResultsFile::redrawBlocks()
{
    QFETCH(int, level);
    QFETCH(int, round);
    QFETCH(QStringList, absent);
    QFETCH(QStringList, replacements);
    QFETCH(QString, text);
    QCOMPARE(Results::redrawBlockBytes(level, round, absent, Results::winnersText(replacements)),
             TextCodec::toAnsi(text));
}

void TestResultsFile::secondRunInTheSameHourGetsTheNextName()
{
    ProgramDir dir;
    const QDateTime when(QDate(2016, 1, 8), QTime(9, 41));
    const QString first = Results::freePath(dir.path(), when);
    QCOMPARE(first, dir.file(QStringLiteral("中奖名单 ― 2016年1月8日09时.txt")));
    ResultsFile run1;
    QVERIFY(run1.create(first));
    QVERIFY(run1.write(QStringLiteral("第一次")));
    run1.close();

    const QString second = Results::freePath(dir.path(), when.addSecs(600));
    QCOMPARE(second, dir.file(QStringLiteral("中奖名单 ― 2016年1月8日09时 (2).txt")));
    ResultsFile run2;
    QVERIFY(run2.create(second));
    QVERIFY(run2.write(QStringLiteral("第二次")));
    QCOMPARE(dir.read(QStringLiteral("中奖名单 ― 2016年1月8日09时.txt")),
             TextCodec::toAnsi(QStringLiteral("第一次\r\n")));
    QCOMPARE(Results::freePath(dir.path(), when),
             dir.file(QStringLiteral("中奖名单 ― 2016年1月8日09时 (3).txt")));
    // Creating over an existing file is refused rather than emptying it.
    ResultsFile clash;
    QVERIFY(!clash.create(first));
    QCOMPARE(dir.read(QStringLiteral("中奖名单 ― 2016年1月8日09时.txt")),
             TextCodec::toAnsi(QStringLiteral("第一次\r\n")));
}

void TestResultsFile::closedFileCanBeAppendedTo()
{
    ProgramDir dir;
    ResultsFile file;
    QVERIFY(file.create(dir.file(QStringLiteral("r.txt"))));
    QVERIFY(file.write(QStringLiteral("a")));
    file.close();
    file.close(); // a second close does nothing
    QVERIFY(file.reopenForAppend());
    QVERIFY(file.write(QStringLiteral("b")));
    file.close();
    QCOMPARE(dir.read(QStringLiteral("r.txt")), QByteArray("a\r\nb\r\n"));
}

void TestResultsFile::writeToClosedFileFails()
{
    ResultsFile never;
    QVERIFY(!never.write(QStringLiteral("x")));
    QVERIFY(!never.reopenForAppend());
}

QTEST_GUILESS_MAIN(TestResultsFile)
#include "tst_results_file.moc"
