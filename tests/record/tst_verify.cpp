#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "draw/random_pick.h"
#include "draw/roster.h"
#include "platform/fault_points.h"
#include "platform/text_codec.h"
#include "record/event_record.h"
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
    void interruptionIsNoTampering();
    void notedCodeAndPublishedFingerprint_data();
    void notedCodeAndPublishedFingerprint();
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

namespace {
// What a kill at the Nth journal record of a stop leaves on disk: the event's files as they
// stand at that instant, copied aside.
QString g_from, g_to;
int g_stopsLeft = 0;
bool snapshotAtRecord(const char *point)
{
    if (QByteArray(point) != "record-written" || --g_stopsLeft != 0)
        return false;
    const QDir from(g_from);
    for (const QString &name : from.entryList({QStringLiteral("中奖名单*")}, QDir::Files))
        QFile::copy(from.filePath(name), QDir(g_to).filePath(name));
    return false;
}
} // namespace

void TestVerify::interruptionIsNoTampering()
{
    ProgramDir dir;
    dir.writeSettings(1, 1, 1, 2, 2, 3);
    const QString roster = dir.writeRoster(QStringLiteral("名单.vok"), ProgramDir::people(20));
    QTemporaryDir killed; // not a program directory of its own
    g_from = dir.path();
    g_to = killed.path();
    g_stopsLeft = 4; // the first prize's round, the event's last
    FaultPoints::setHandler(snapshotAtRecord);
    {
        Stage stage(dir);
        stage.prepare(roster);
        for (int level : {3, 3, 2, 1})
            stage.drawRound(level);
    }
    FaultPoints::setHandler(nullptr);
    const QString results = QDir(killed.path()).filePath(dir.resultsFiles().first());
    // The block's first bytes reached the disk before the kill.
    const Journal::History h =
        Journal::read(*TextCodec::readFile(Journal::journalPathFor(results)));
    QFile file(results);
    QVERIFY(file.open(QIODevice::Append));
    file.write(Record::blockBytes(h.entries.last()).left(9));
    file.close();

    const Verify::Outcome outcome = Verify::verifyEvent(results, roster, Roster::poolEntries);
    QVERIFY2(outcome.report.contains(QStringLiteral("中断：一等奖第 1 次抽奖结果未完成，不算")),
             qPrintable(outcome.report.join(u'\n')));
    // The first prize is still to be drawn: the files agree, but it is no plain pass.
    QVERIFY2(outcome.exitCode == 3, qPrintable(outcome.report.join(u'\n')));
    QVERIFY(outcome.report.last().startsWith(QStringLiteral("这次抽奖尚未完成：")));
}

void TestVerify::notedCodeAndPublishedFingerprint_data()
{
    QTest::addColumn<bool>("forged");
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("noted"); // the value as noted; else one that differs
    QTest::addColumn<int>("exitCode");
    QTest::newRow("the noted code") << false << "--code" << true << 0;
    QTest::newRow("another code") << false << "--code" << false << 1;
    QTest::newRow("a forgery with recomputed hashes") << true << "--code" << true << 1;
    QTest::newRow("the published fingerprint") << false << "--roster-sha256" << true << 0;
    QTest::newRow("another fingerprint") << false << "--roster-sha256" << false << 1;
}

void TestVerify::notedCodeAndPublishedFingerprint()
{
    QFETCH(bool, forged);
    QFETCH(QString, option);
    QFETCH(bool, noted);
    QFETCH(int, exitCode);
    const QString journal = QFileInfo(Journal::journalPathFor(m_results)).fileName();
    const Journal::History h = Journal::read(m_dir->read(journal));
    Verify::Options options;
    if (option == QStringLiteral("--code")) {
        // As photographed from the stage: groups of four.
        options.code = Record::codeOf(h.lastHash);
        if (!noted)
            options.code[0] = options.code[0] == u'0' ? u'1' : u'0';
    } else {
        options.rosterSha256 = h.start->rosterSha256.toUpper();
        if (!noted)
            options.rosterSha256[3] = options.rosterSha256[3] == u'A' ? u'B' : u'A';
    }
    if (forged) {
        // One winner's text changed in every file, every hash recomputed by the program's own
        // encoder: only the noted code can tell.
        QList<QByteArray> lines = m_dir->read(journal).split('\n');
        lines.removeLast();
        QByteArray rebuilt, prev;
        for (qsizetype k = 0; k < lines.size(); ++k) {
            QJsonObject o = QJsonDocument::fromJson(lines[k]).object();
            o.remove(QStringLiteral("hash"));
            o.remove(QStringLiteral("seq"));
            o.remove(QStringLiteral("prev"));
            if (k == 0)
                o.insert(QStringLiteral("load_time"), QStringLiteral("2026-12-10T08:00:00"));
            rebuilt += Journal::encode(o, k, prev, &prev);
        }
        m_dir->write(journal, rebuilt);
        QVERIFY(Journal::read(rebuilt).isSound());
        QCOMPARE(Verify::verifyEvent(m_results, QString(), Roster::poolEntries).exitCode, 0);
    }
    const Verify::Outcome outcome = Verify::verifyEvent(m_results, options, Roster::poolEntries);
    QVERIFY2(outcome.exitCode == exitCode, qPrintable(outcome.report.join(u'\n')));
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
