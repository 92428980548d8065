#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include "draw/roster.h"
#include "e2e/results_reader.h"
#include "platform/text_codec.h"
#include "record/event_journal.h"
#include "record/verify.h"
#include "record/workbook.h"
#include "record/workbook_reader.h"
#include "settings/ini_document.h"
#include "support/program_dir.h"

// Kills the running program at chosen moments and checks that nothing completed was lost.
class TestCrashSafety : public QObject
{
    Q_OBJECT
private slots:
    void killedDuringTheDrawKeepsEveryRound_data();
    void killedDuringTheDrawKeepsEveryRound();
    void killedAnywhereTheNextStartContinues_data();
    void killedAnywhereTheNextStartContinues();
    void killedDuringSettingsLeavesAWholeFile_data();
    void killedDuringSettingsLeavesAWholeFile();
    void killedAtAnExactPointTheNextStartMendsTheRecord_data();
    void killedAtAnExactPointTheNextStartMendsTheRecord();
    void aSecondProgramOnTheFolderStepsAside();

private:
    static bool waitForLine(QProcess &process, const QByteArray &prefix, int count,
                            QByteArray *last = nullptr);
    // Runs the driver until it has printed `count` lines starting with `line`, waits `delayMs`
    // more and kills it: SIGKILL, no handler, no flush, no close.
    static bool killAt(const QStringList &arguments, const QByteArray &line, int count,
                       int delayMs);
    // Runs the driver with LUMORA_KILL_AT=`point`; the lines it printed until it ended.
    static QByteArray runKilledAt(const QStringList &arguments, const QString &point);
};

bool TestCrashSafety::waitForLine(QProcess &process, const QByteArray &prefix, int count,
                                  QByteArray *last)
{
    int seen = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 120000) {
        while (process.canReadLine()) {
            const QByteArray line = process.readLine().trimmed();
            if (line.startsWith(prefix) && ++seen >= count) {
                if (last)
                    *last = line;
                return true;
            }
        }
        if (process.state() == QProcess::NotRunning)
            return false;
        process.waitForReadyRead(100);
    }
    return false;
}

bool TestCrashSafety::killAt(const QStringList &arguments, const QByteArray &line, int count,
                             int delayMs)
{
    QProcess driver;
    driver.start(QStringLiteral(LUMORA_EVENT_DRIVER), arguments);
    if (!driver.waitForStarted() || !waitForLine(driver, line, count))
        return false;
    if (delayMs > 0)
        QTest::qWait(delayMs);
    driver.kill();
    return driver.waitForFinished();
}

void TestCrashSafety::killedDuringTheDrawKeepsEveryRound_data()
{
    QTest::addColumn<int>("killAfter");
    QTest::addColumn<int>("delayMs");
    QTest::newRow("after round 1") << 1 << 0;
    QTest::newRow("after round 3, a moment later") << 3 << 3;
    QTest::newRow("after round 6") << 6 << 1;
    QTest::newRow("after round 11, later still") << 11 << 7;
    QTest::newRow("after round 17") << 17 << 0;
}

void TestCrashSafety::killedDuringTheDrawKeepsEveryRound()
{
    QFETCH(int, killAfter);
    QFETCH(int, delayMs);
    ProgramDir dir;
    dir.writeSettings(1, 1, 1, 1, 20, 3);
    const QString roster = dir.writeRoster(QStringLiteral("r.vok"), ProgramDir::people(200));
    QVERIFY(killAt({QStringLiteral("event"), dir.path(), roster}, "ROUND", killAfter, delayMs));

    QCOMPARE(dir.resultsFiles().size(), 1);
    const ResultsRead read = readResults(dir.read(dir.resultsFiles().first()));
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    QVERIFY(read.blocks.size() >= killAfter);
    for (int k = 0; k < read.blocks.size(); ++k) {
        QCOMPARE(read.blocks[k].round, k + 1);
        QCOMPARE(read.blocks[k].winners.size(), 3);
    }
}

void TestCrashSafety::killedAnywhereTheNextStartContinues_data()
{
    // Third prize (3 rounds of 3), then the first (2 of 1), then the second (2 of 2), which is
    // drawn after the event's end; with "r", every stop is followed by a redraw of its first name.
    QTest::addColumn<QString>("order");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("delayMs");
    QTest::newRow("between rounds") << "312" << QByteArray("ROUND") << 2 << 3;
    QTest::newRow("just after a stop") << "312" << QByteArray("ROUND") << 4 << 0;
    QTest::newRow("during a roll") << "312" << QByteArray("ROLLING") << 3 << 0;
    QTest::newRow("a moment into a stop") << "312" << QByteArray("ROLLING") << 5 << 2;
    QTest::newRow("during the pause at the end") << "312" << QByteArray("PAUSING") << 1 << 0;
    QTest::newRow("after the end, between late rounds") << "312" << QByteArray("ROUND") << 6 << 1;
    QTest::newRow("during a redraw's roll") << "312r" << QByteArray("REDRAWING") << 2 << 0;
    QTest::newRow("a moment into a redraw's stop") << "312r" << QByteArray("REDRAWING") << 4 << 2;
    QTest::newRow("just after a redraw") << "312r" << QByteArray("REDRAWN") << 5 << 0;
}

void TestCrashSafety::killedAnywhereTheNextStartContinues()
{
    QFETCH(QString, order);
    QFETCH(QByteArray, line);
    QFETCH(int, count);
    QFETCH(int, delayMs);
    ProgramDir dir;
    dir.writeSettings(2, 1, 2, 2, 3, 3);
    const QString roster = dir.writeRoster(QStringLiteral("r.vok"), ProgramDir::people(40));
    QVERIFY(killAt({QStringLiteral("full"), dir.path(), roster, order}, line, count, delayMs));
    // Whatever the instant, the workbook on disk is a whole one (the previous one, if the kill
    // came during its rewrite).
    QString workbookError;
    const QString workbook = Workbook::pathFor(dir.file(dir.resultsFiles().first()));
    QVERIFY2(Workbook::readFirstSheet(*TextCodec::readFile(workbook), &workbookError),
             qPrintable(workbookError));

    QProcess next;
    next.start(QStringLiteral(LUMORA_EVENT_DRIVER),
               {QStringLiteral("continue"), dir.path(), order});
    QVERIFY(next.waitForStarted());
    QByteArray offer;
    QVERIFY(waitForLine(next, "MESSAGE", 1, &offer));
    QVERIFY2(offer.contains("发现未完成的抽奖"), offer.constData());
    QVERIFY(waitForLine(next, "DONE", 1));
    next.kill();
    QVERIFY(next.waitForFinished());

    // One file, one header, every configured round once and in order, every redraw of a winner
    // of its round, nobody twice.
    QCOMPARE(dir.resultsFiles().size(), 1);
    const QString results = dir.resultsFiles().first();
    const ResultsRead read = readResults(dir.read(results));
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    const QStringList levels{QStringLiteral("三等奖"), QStringLiteral("一等奖"),
                             QStringLiteral("二等奖")};
    const int rounds[] = {3, 2, 2};
    const int winners[] = {3, 1, 2};
    QList<std::pair<QString, int>> expectedRounds;
    for (int level = 0; level < 3; ++level) {
        for (int round = 1; round <= rounds[level]; ++round)
            expectedRounds.append({levels[level], round});
    }
    QList<std::pair<QString, int>> drawnRounds;
    QSet<QString> won;
    QMap<std::pair<QString, int>, QSet<QString>> present;
    int redraws = 0;
    for (const ResultsBlock &block : read.blocks) {
        const std::pair<QString, int> key{block.level, block.round};
        if (block.redraw) {
            ++redraws;
            QCOMPARE(block.absent.size(), block.winners.size());
            for (const QString &a : block.absent)
                QVERIFY2(present[key].remove(a), qPrintable(a));
        } else {
            drawnRounds.append(key);
            QCOMPARE(block.winners.size(), winners[levels.indexOf(block.level)]);
        }
        for (const QString &w : block.winners) {
            QVERIFY2(!won.contains(w), qPrintable(w));
            won.insert(w);
            present[key].insert(w);
        }
    }
    QCOMPARE(drawnRounds, expectedRounds);
    if (order.contains(u'r'))
        QVERIFY(redraws >= 7);
    QString journalName = results;
    journalName.replace(QStringLiteral(".txt"), QStringLiteral(".jsonl"));
    const Journal::History history = Journal::read(dir.read(journalName));
    QVERIFY2(history.isSound(), qPrintable(history.error));
    QVERIFY(history.isFinished());
    QCOMPARE(history.winnersCount(), qsizetype(won.size()));
    const Verify::Outcome verified =
        Verify::verifyEvent(dir.file(results), QString(), Roster::poolEntries);
    QVERIFY2(verified.exitCode == 0, qPrintable(verified.report.join(u'\n')));
}

void TestCrashSafety::killedDuringSettingsLeavesAWholeFile_data()
{
    QTest::addColumn<int>("killAfter");
    QTest::newRow("after 1 confirmation") << 1;
    QTest::newRow("after 20") << 20;
    QTest::newRow("after 75") << 75;
}

void TestCrashSafety::killedDuringSettingsLeavesAWholeFile()
{
    QFETCH(int, killAfter);
    ProgramDir dir;
    dir.writeSettings(1, 1, 1, 1, 1, 1);
    QProcess driver;
    driver.start(QStringLiteral(LUMORA_EVENT_DRIVER), {QStringLiteral("settings"), dir.path()});
    QVERIFY(driver.waitForStarted());
    QVERIFY(waitForLine(driver, "OK", killAfter));
    QTest::qWait(QRandomGenerator::global()->bounded(5));
    driver.kill();
    QVERIFY(driver.waitForFinished());

    const IniDocument settings(dir.read(QStringLiteral("SysInfo.ini")));
    const char16_t *keys[][2] = {{u"公司名称", u"公司名称"}, {u"公司名称", u"活动名称"},
                                 {u"一等奖", u"次数"},       {u"一等奖", u"奖品"},
                                 {u"三等奖", u"人数"},       {u"作者信息", u"微信"},
                                 {u"密码", u"vok"}};
    for (const auto &k : keys) {
        const auto value = settings.value(QString::fromUtf16(k[0]), QString::fromUtf16(k[1]));
        QVERIFY2(value && !value->isEmpty(), qPrintable(QString::fromUtf16(k[1])));
    }
    QVERIFY(settings.value(QStringLiteral("公司名称"), QStringLiteral("公司名称"))
                ->startsWith(QStringLiteral("公司")));
}

QByteArray TestCrashSafety::runKilledAt(const QStringList &arguments, const QString &point)
{
    QProcess driver;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LUMORA_KILL_AT"), point);
    driver.setProcessEnvironment(env);
    driver.start(QStringLiteral(LUMORA_EVENT_DRIVER), arguments);
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    // Ended by its kill, or waiting to be killed after DONE.
    while (driver.state() != QProcess::NotRunning && clock.elapsed() < 120000 &&
           !out.contains("DONE")) {
        driver.waitForReadyRead(100);
        out += driver.readAll();
    }
    driver.kill();
    driver.waitForFinished();
    return out + driver.readAll();
}

void TestCrashSafety::killedAtAnExactPointTheNextStartMendsTheRecord_data()
{
    // Third prize 2 rounds of 3, second 2 of 2, first 1 of 2, drawn third, second, first: the
    // first prize's round is the event's last, its 5th stop (the 10th with a redraw after each).
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("point");
    QTest::addColumn<QString>("nextPoint"); // a kill in the next start too
    QTest::addColumn<bool>("offered");
    QTest::newRow("after the first prize's block, before the workbook") << "321"
                                                                        << "block-written:5"
                                                                        << "" << false;
    QTest::newRow("after the workbook, before its record") << "321"
                                                           << "workbook-replaced:6"
                                                           << "" << false;
    QTest::newRow("during the first prize's block") << "321"
                                                    << "record-written:5"
                                                    << "" << true;
    QTest::newRow("during a redraw's block after the end") << "321r"
                                                           << "record-written:10"
                                                           << "" << true;
    QTest::newRow("after the next start's cut of a torn block") << "321"
                                                                << "record-written:3"
                                                                << "results-cut:1" << true;
}

void TestCrashSafety::killedAtAnExactPointTheNextStartMendsTheRecord()
{
    QFETCH(QString, order);
    QFETCH(QString, point);
    QFETCH(QString, nextPoint);
    QFETCH(bool, offered);
    ProgramDir dir;
    dir.writeSettings(1, 2, 2, 2, 2, 3);
    const QString roster = dir.writeRoster(QStringLiteral("r.vok"), ProgramDir::people(40));
    const QByteArray first =
        runKilledAt({QStringLiteral("full"), dir.path(), roster, order}, point);
    QVERIFY2(!first.contains("DONE"), first.constData());
    if (!nextPoint.isEmpty())
        runKilledAt({QStringLiteral("continue"), dir.path(), order}, nextPoint);
    const QByteArray next = runKilledAt({QStringLiteral("continue"), dir.path(), order}, QString());
    QCOMPARE(next.contains("CONTINUED"), offered);
    if (offered)
        QVERIFY2(next.contains("DONE"), next.constData());
    if (point.startsWith(QStringLiteral("record-written:10")))
        QVERIFY2(next.contains("补抽未完成"), next.constData());

    // The record agrees with itself and the roster, every round once, nobody twice.
    QCOMPARE(dir.resultsFiles().size(), 1);
    const Verify::Outcome verified =
        Verify::verifyEvent(dir.file(dir.resultsFiles().first()), QString(), Roster::poolEntries);
    QVERIFY2(verified.exitCode == 0, qPrintable(verified.report.join(u'\n')));
    const Journal::History history = Journal::read(dir.read(
        QFileInfo(Journal::journalPathFor(dir.file(dir.resultsFiles().first()))).fileName()));
    QVERIFY(history.isFinished());
    const QList<qint64> won = history.wonIndices();
    QCOMPARE(QSet<qint64>(won.begin(), won.end()).size(), won.size());
}

void TestCrashSafety::aSecondProgramOnTheFolderStepsAside()
{
    ProgramDir dir;
    dir.writeSettings(3, 2, 2, 2, 2, 3);
    const QString roster = dir.writeRoster(QStringLiteral("r.vok"), ProgramDir::people(40));
    QProcess running;
    running.start(QStringLiteral(LUMORA_EVENT_DRIVER),
                  {QStringLiteral("full"), dir.path(), roster, QStringLiteral("321")});
    QVERIFY(running.waitForStarted());
    QVERIFY(waitForLine(running, "ROUND", 2));
    const QStringList records = {QStringLiteral("中奖名单*"), QStringLiteral("*.vok"),
                                 QStringLiteral("*.ini")};
    const QStringList before = QDir(dir.path()).entryList(records, QDir::Files);

    QProcess second;
    second.start(QStringLiteral(LUMORA_EVENT_DRIVER),
                 {QStringLiteral("continue"), dir.path(), "321"});
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(second.exitCode(), 4);
    QVERIFY(second.readAllStandardOutput().contains("ALREADY RUNNING"));
    // Nothing read, offered, set aside or written: the running event's files are its own.
    QCOMPARE(QDir(dir.path()).entryList(records, QDir::Files), before);

    QVERIFY(waitForLine(running, "DONE", 1));
    running.kill();
    QVERIFY(running.waitForFinished());
    const Verify::Outcome verified =
        Verify::verifyEvent(dir.file(dir.resultsFiles().first()), QString(), Roster::poolEntries);
    QVERIFY2(verified.exitCode == 0, qPrintable(verified.report.join(u'\n')));
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crash_safety.moc"
