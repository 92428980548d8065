#include <QApplication>
#include <QProcess>
#include <QTest>

#include "draw/random_pick.h"
#include "draw/roster.h"
#include "platform/text_codec.h"
#include "record/verify.h"
#include "record/workbook.h"
#include "record/workbook_reader.h"
#include "support/stage.h"

// lumora-verify's checks on a real event's record, and after each kind of tampering.
class TestVerify : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void realEventPasses();
    void tamperingIsFoundAndPlaced_data();
    void tamperingIsFoundAndPlaced();
    void missingFilesExitWithTwo_data();
    void missingFilesExitWithTwo();
    void theProgramPrintsAndExits();

private:
    Verify::Outcome verify(const QString &roster = QString()) const;

    std::unique_ptr<ProgramDir> m_dir;
    QString m_roster;
    QString m_results;
};

void TestVerify::init()
{
    // A whole event through the stage: rounds of every level, a redraw, a name that occurs twice.
    RandomSource::shared().setFixedSeed(5);
    m_dir = std::make_unique<ProgramDir>();
    m_dir->writeSettings(1, 1, 1, 2, 2, 3);
    QStringList people = ProgramDir::people(20);
    people.append(people[3]);
    m_roster = m_dir->writeRoster(QStringLiteral("名单.vok"), people);
    Stage stage(*m_dir);
    stage.prepare(m_roster);
    stage.drawRound(3);
    stage.drawRound(3);
    stage.form().Command6_Click();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("补抽") && w->isVisible()) {
            QTest::mouseClick(w->findChild<QWidget *>(QStringLiteral("Check2")), Qt::LeftButton, {},
                              QPoint(5, 5));
            QTest::mouseClick(w->findChild<QWidget *>(QStringLiteral("start")), Qt::LeftButton);
        }
    }
    stage.form().Timer1_Timer();
    stage.click(QStringLiteral("Command6"));
    stage.drawRound(2);
    stage.drawRound(1);
    m_results = stage.form().str2;
}

void TestVerify::cleanup()
{
    m_dir.reset();
    RandomSource::shared().clearFixedSeed();
}

Verify::Outcome TestVerify::verify(const QString &roster) const
{
    return Verify::verifyEvent(m_results, roster, Roster::poolEntries);
}

void TestVerify::realEventPasses()
{
    const Verify::Outcome outcome = verify();
    QCOMPARE(outcome.report.last(), QStringLiteral("核验通过"));
    QCOMPARE(outcome.exitCode, 0);
    QVERIFY(outcome.report.contains(QStringLiteral("抽奖名单人数：21")));
    QVERIFY(outcome.report.contains(QStringLiteral("三等奖：已抽 2 / 2 轮，每轮 3 人")));
    QVERIFY(outcome.report.contains(QStringLiteral("补抽：1 次，未到场 1 人")));
    QVERIFY(
        outcome.report.contains(QStringLiteral("中奖者：10 人（都在抽奖名单中，无人重复中奖）")));
}

void TestVerify::tamperingIsFoundAndPlaced_data()
{
    QTest::addColumn<int>("tamper");
    QTest::addColumn<QString>("says");
    QTest::newRow("a winner line changed")
        << 0 << "中奖名单文件 %1 第 18 行与记录不符（三等奖第 1 次抽奖结果）";
    QTest::newRow("a block removed")
        << 1 << "中奖名单文件 %1 第 21 行与记录不符（三等奖第 2 次抽奖结果）";
    QTest::newRow("lines added at the end") << 2 << "中奖名单文件 %1 第 41 行起有记录之外的内容";
    QTest::newRow("a workbook row changed") << 3 << "中奖名单表格 %2 第 3 行与记录不符";
    QTest::newRow("the roster changed by one byte") << 4 << "名单文件与抽奖记录不符";
    QTest::newRow("a journal record removed") << 5 << "抽奖记录 %3 第 3 行：记录链断裂";
    QTest::newRow("two journal records swapped") << 6 << "抽奖记录 %3 第 3 行：记录链断裂";
    QTest::newRow("a journal record edited") << 7 << "抽奖记录 %3 第 4 行：记录内容与校验值不符";
    QTest::newRow("the journal garbage") << 8 << "抽奖记录 %3 第 1 行：不是抽奖记录";
}

void TestVerify::tamperingIsFoundAndPlaced()
{
    QFETCH(int, tamper);
    QFETCH(QString, says);
    const QString results = QFileInfo(m_results).fileName();
    const QString workbook = QFileInfo(Workbook::pathFor(m_results)).fileName();
    const QString journal = QFileInfo(Journal::journalPathFor(m_results)).fileName();
    QByteArray bytes;
    QString file;
    switch (tamper) {
    case 0:
    case 1:
    case 2: {
        file = results;
        QStringList lines = TextCodec::splitLines(TextCodec::decode(m_dir->read(file)));
        if (tamper == 0)
            lines[17] = QStringLiteral("P9999 冒名");
        if (tamper == 1)
            lines.erase(lines.begin() + 20, lines.begin() + 26); // round 2 of the third prize
        if (tamper == 2)
            lines.append(QStringLiteral("P9999 冒名"));
        bytes = ProgramDir::gb18030Lines(lines);
        break;
    }
    case 3: {
        file = workbook;
        const Journal::History h = Journal::read(m_dir->read(journal));
        QList<Workbook::Row> rows = Workbook::rowsFor(h.entries);
        rows[1].winner = QStringLiteral("P9999 冒名");
        bytes = *Workbook::build(rows, m_dir->path());
        break;
    }
    case 4:
        file = QFileInfo(m_roster).fileName();
        bytes = m_dir->read(file);
        bytes[5] = bytes[5] == '1' ? '2' : '1';
        break;
    default: {
        file = journal;
        QList<QByteArray> lines = m_dir->read(file).split('\n');
        if (tamper == 5)
            lines.removeAt(2);
        if (tamper == 6)
            std::swap(lines[2], lines[3]);
        if (tamper == 7) {
            for (QByteArray &line : lines) {
                if (line.contains("P00")) {
                    line.replace("P00", "P99");
                    break;
                }
            }
        }
        if (tamper == 8)
            lines = {"garbage", ""};
        bytes = lines.join('\n');
    }
    }
    m_dir->write(file, bytes);

    const Verify::Outcome outcome = verify();
    QCOMPARE(outcome.exitCode, 1);
    const QString expected =
        QStringLiteral("核验失败：") + QString(says)
                                           .replace(QStringLiteral("%1"), results)
                                           .replace(QStringLiteral("%2"), workbook)
                                           .replace(QStringLiteral("%3"), journal);
    QVERIFY2(outcome.report.last().startsWith(expected), qPrintable(outcome.report.last()));
}

void TestVerify::missingFilesExitWithTwo_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("says");
    QTest::newRow("results file") << 0 << "无法读取中奖名单文件：";
    QTest::newRow("journal") << 1 << "无法读取抽奖记录：";
    QTest::newRow("workbook") << 2 << "无法读取中奖名单表格：";
    QTest::newRow("roster") << 3 << "无法读取名单文件：";
}

void TestVerify::missingFilesExitWithTwo()
{
    QFETCH(int, which);
    QFETCH(QString, says);
    const QString paths[] = {m_results, Journal::journalPathFor(m_results),
                             Workbook::pathFor(m_results), m_roster};
    QVERIFY(QFile::remove(paths[which]));
    const Verify::Outcome outcome = verify();
    QCOMPARE(outcome.exitCode, 2);
    QCOMPARE(outcome.report.last(), says + paths[which]);
}

void TestVerify::theProgramPrintsAndExits()
{
    QProcess verifier;
    verifier.start(QStringLiteral(LUMORA_VERIFY), {m_results});
    QVERIFY(verifier.waitForFinished());
    QCOMPARE(verifier.exitCode(), 0);
    const QString out = QString::fromUtf8(verifier.readAllStandardOutput());
    QVERIFY2(out.endsWith(QStringLiteral("核验通过\n")), qPrintable(out));

    // A roster given on the command line is used in place of the recorded one.
    const QString moved = m_dir->file(QStringLiteral("moved.vok"));
    QVERIFY(QFile::rename(m_roster, moved));
    verifier.start(QStringLiteral(LUMORA_VERIFY), {m_results, moved});
    QVERIFY(verifier.waitForFinished());
    QCOMPARE(verifier.exitCode(), 0);

    verifier.start(QStringLiteral(LUMORA_VERIFY), {QStringLiteral("--fingerprint"), moved});
    QVERIFY(verifier.waitForFinished());
    QCOMPARE(verifier.exitCode(), 0);
    const QString print = QString::fromUtf8(verifier.readAllStandardOutput());
    QVERIFY(print.contains(QStringLiteral("SHA-256：") +
                           Journal::sha256Hex(*TextCodec::readFile(moved))));
    QVERIFY(print.contains(QStringLiteral("抽奖名单人数：21")));

    verifier.start(QStringLiteral(LUMORA_VERIFY), {});
    QVERIFY(verifier.waitForFinished());
    QCOMPARE(verifier.exitCode(), 2);
}

QTEST_MAIN(TestVerify)
#include "tst_verify.moc"
