#include <QFile>
#include <QTest>

#include "draw/random_pick.h"
#include "e2e/results_reader.h"
#include "platform/interval_timer.h"
#include "support/stage.h"
#include "windows/prize_settings_form.h"

namespace {

QString levelName(int flag)
{
    return flag == 1   ? QStringLiteral("一等奖")
           : flag == 2 ? QStringLiteral("二等奖")
                       : QStringLiteral("三等奖");
}

QString marker(int flag)
{
    return flag == 1   ? QStringLiteral("●●")
           : flag == 2 ? QStringLiteral("◆◆")
                       : QStringLiteral("★★");
}

QString trimLeadingBlanks(QString s)
{
    while (s.startsWith(u' '))
        s.remove(0, 1);
    return s;
}

} // namespace

class TestEvent : public QObject
{
    Q_OBJECT
private slots:
    void wholeEvent_data();
    void wholeEvent();
    void firstPrizeTooLargeForThePool();
};

void TestEvent::wholeEvent_data()
{
    QTest::addColumn<QByteArray>("roster");   // empty: the bundled roster
    QTest::addColumn<QList<int>>("config");   // rounds and winners: first, second, third
    QTest::addColumn<QList<int>>("order");    // the levels in the order they are drawn
    QTest::addColumn<QStringList>("entries"); // the pool the roster should give

    const QList<int> standard{1, 2, 2, 3, 3, 4};
    QTest::newRow("default configuration, bundled roster")
        << QByteArray() << QList<int>() << QList<int>{3, 2, 1} << QStringList();

    QStringList quirky = ProgramDir::people(30);
    quirky << ""
           << "   "
           << "P0001 名字1"
           << "  王五"
           << "甲|乙"
           << ""
           << "丙|丁 ";
    QStringList quirkyEntries = ProgramDir::people(30);
    quirkyEntries << "P0001 名字1"
                  << "  王五"
                  << "甲"
                  << "乙"
                  << "丙"
                  << "丁 ";
    QTest::newRow("blank lines, duplicates, leading blanks, separators")
        << ProgramDir::gb18030Lines(quirky) << standard << QList<int>{3, 2, 1} << quirkyEntries;

    QString utf8;
    for (const QString &p : ProgramDir::people(25))
        utf8 += p + u'\n';
    QTest::newRow("utf-8 roster with line feeds")
        << utf8.toUtf8() << standard << QList<int>{3, 2, 1} << ProgramDir::people(25);

    // 2 + 2 winners first, then the first prize needs 2 winners from a pool of at least 4.
    QTest::newRow("pool exactly large enough")
        << ProgramDir::gb18030Lines(ProgramDir::people(8)) << QList<int>{1, 2, 1, 2, 1, 2}
        << QList<int>{3, 2, 1} << ProgramDir::people(8);

    QTest::newRow("first prize before the others")
        << ProgramDir::gb18030Lines(ProgramDir::people(40)) << standard << QList<int>{1, 3, 2}
        << ProgramDir::people(40);
}

void TestEvent::wholeEvent()
{
    QFETCH(QByteArray, roster);
    QFETCH(QList<int>, config);
    QFETCH(QList<int>, order);
    QFETCH(QStringList, entries);

    ProgramDir dir;
    const QString assets = qEnvironmentVariable("LUMORA_SOURCE_DIR") + QStringLiteral("/assets/");
    QString rosterPath;
    if (roster.isEmpty()) {
        for (const char *name : {"SysInfo.ini", "参与抽奖名单.vok"})
            QVERIFY(
                QFile::copy(assets + QString::fromUtf8(name), dir.file(QString::fromUtf8(name))));
        rosterPath = dir.file(QStringLiteral("参与抽奖名单.vok"));
        QStringList lines;
        QVERIFY(TextCodec::readLines(rosterPath, lines));
        entries = lines;
    } else {
        dir.writeSettings(config[0], config[1], config[2], config[3], config[4], config[5]);
        rosterPath = dir.file(QStringLiteral("roster.vok"));
        dir.write(QStringLiteral("roster.vok"), roster);
    }

    Stage stage(dir);
    stage.form().resultsPauseMs = 50;
    stage.prepare(rosterPath);
    QCOMPARE(stage.form().ST, entries);
    QCOMPARE(stage.enabledButtons(),
             (QStringList{"Command2", "Command3", "Command4", "Command7", "Command9"}));

    QStringList pool = entries;
    QStringList allShown;
    QList<QPair<int, QStringList>> rounds; // level and the names shown
    const MainForm &form = stage.form();
    for (int flag : order) {
        const int count = flag == 1 ? form.c1 : flag == 2 ? form.c2 : form.c3;
        for (int r = 0; r < count; ++r) {
            const QStringList shown = stage.drawRound(flag);
            QCOMPARE(shown.size(), int(flag == 1 ? form.n1 : flag == 2 ? form.n2 : form.n3));
            for (const QString &name : shown)
                QVERIFY2(pool.removeOne(name),
                         qPrintable(QStringLiteral("not in the pool: ") + name));
            rounds.append({flag, shown});
            allShown += shown;
        }
    }
    // The roster less exactly the winners (a duplicated name may leave either occurrence).
    QStringList remaining = stage.form().ST;
    remaining.sort();
    pool.sort();
    QCOMPARE(remaining, pool);
    QCOMPARE(stage.enabledButtons(), (QStringList{"Command6", "Command7", "Command9"}));

    QCOMPARE(dir.resultsFiles().size(), 1);
    const QByteArray bytes = dir.read(dir.resultsFiles().first());
    const ResultsRead read = readResults(bytes);
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    QVERIFY(read.crLfOnly);
    QCOMPARE(TextCodec::detectEncoding(bytes), TextCodec::Encoding::Gb18030);
    QCOMPARE(read.header[4], QStringLiteral("幸运属于您！您是幸运星！"));
    QCOMPARE(read.blocks.size(), rounds.size());
    QMap<int, int> roundNumbers;
    for (int k = 0; k < rounds.size(); ++k) {
        const int flag = rounds[k].first;
        const ResultsBlock &block = read.blocks[k];
        QCOMPARE(block.marker, marker(flag));
        QCOMPARE(block.level, levelName(flag));
        QCOMPARE(block.round, ++roundNumbers[flag]);
        QStringList expected = rounds[k].second;
        if (!expected.isEmpty())
            expected[0] = trimLeadingBlanks(expected[0]);
        QCOMPARE(block.winners, expected);
    }

    // The event's end: the results scroll, and the close ends the program cleanly.
    QTRY_COMPARE(stage.form().scrollTextLines(), TextCodec::splitLines(TextCodec::decode(bytes)));
    QVERIFY(stage.closeProgram());
    QCOMPARE(dir.read(dir.resultsFiles().first()), bytes);
}

void TestEvent::firstPrizeTooLargeForThePool()
{
    ProgramDir dir;
    dir.writeSettings(1, 2, 1, 2, 1, 2);
    const QString roster = dir.writeRoster(QStringLiteral("r.vok"), ProgramDir::people(7));
    Stage stage(dir);
    stage.prepare(roster);
    stage.drawRound(3);
    stage.drawRound(2);
    QCOMPARE(stage.form().iCount, 2);
    stage.click(QStringLiteral("Command4"));
    QCOMPARE(stage.boxes.texts().last(),
             QStringLiteral(
                 "参与抽奖人数小于奖项数量，不用进行抽奖，请重新检查读入抽奖名单或者奖项设置！"));
    QCOMPARE(stage.form().nflag, qint16(0));
    QCOMPARE(stage.form().g1, qint16(1));
    // Nothing lost: the two rounds drawn are on disk, the file still open for more.
    const ResultsRead read = readResults(dir.read(dir.resultsFiles().first()));
    QVERIFY(read.error.isEmpty());
    QCOMPARE(read.blocks.size(), 2);
    QVERIFY(stage.form().resultsFile().isOpen());
}

QTEST_MAIN(TestEvent)
#include "tst_event.moc"
