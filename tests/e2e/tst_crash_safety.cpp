#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include "e2e/results_reader.h"
#include "settings/ini_document.h"
#include "support/program_dir.h"

// Kills the running program at chosen moments and checks that nothing completed was lost.
class TestCrashSafety : public QObject
{
    Q_OBJECT
private slots:
    void killedDuringTheDrawKeepsEveryRound_data();
    void killedDuringTheDrawKeepsEveryRound();
    void killedDuringSettingsLeavesAWholeFile_data();
    void killedDuringSettingsLeavesAWholeFile();

private:
    static bool waitForLine(QProcess &process, const QByteArray &prefix, int count,
                            QByteArray *last = nullptr);
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
    QProcess driver;
    driver.start(QStringLiteral(LUMORA_EVENT_DRIVER),
                 {QStringLiteral("event"), dir.path(), roster});
    QVERIFY(driver.waitForStarted());
    QVERIFY(waitForLine(driver, "ROUND", killAfter));
    if (delayMs > 0)
        QTest::qWait(delayMs);
    driver.kill(); // SIGKILL: no handler, no flush, no close
    QVERIFY(driver.waitForFinished());

    QCOMPARE(dir.resultsFiles().size(), 1);
    const ResultsRead read = readResults(dir.read(dir.resultsFiles().first()));
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    QVERIFY(read.blocks.size() >= killAfter);
    for (int k = 0; k < read.blocks.size(); ++k) {
        QCOMPARE(read.blocks[k].round, k + 1);
        QCOMPARE(read.blocks[k].winners.size(), 3);
    }
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

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crash_safety.moc"
