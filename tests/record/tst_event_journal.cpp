#include <QDir>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

#include "platform/fault_points.h"
#include "platform/text_codec.h"
#include "record/event_journal.h"
#include "record/event_record.h"
#include "record/startup_survey.h"

using Journal::Winner;

// The event journal on its own, and together with its results file.
class TestEventJournal : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void roundTripKeepsEverything();
    void faultsAreFoundAtTheirLine_data();
    void faultsAreFoundAtTheirLine();
    void tornLastRecordIsIgnored_data();
    void tornLastRecordIsIgnored();
    void sameTextAtTwoPositionsIsTwoPeople();

    void reconcile_data();
    void reconcile();

    void unfinishedEventContinuesInTheSameFiles();
    void killBetweenRecordAndBlockDrawsTheRoundAgain();
    void killDuringTheLastRoundsBlockIsStillOffered();
    void changedPoolIsRefused();
    void finishedOrSetAsideIsNotOffered();
    void newestUnfinishedIsOffered();

    void powerCutTails_data();
    void powerCutTails();
    void leftoverJournalTakesTheName();
    void failedWriteIsNeverCounted_data();
    void failedWriteIsNeverCounted();
    void historyRewritesAreRefused_data();
    void historyRewritesAreRefused();
    void manyContinuedRecordsReadInOnePass();

private:
    // The pool "P0" … "P19"; third prize 3 rounds of 2, second 1 of 1, first 1 of 1.
    static QStringList pool();
    static Journal::EventStart eventStart(const QString &loadTime = "2026-12-10T10:00:00");
    QString resultsPath(const QString &name = QStringLiteral("中奖名单 ― a.txt")) const;
    // A started event with `rounds` third-prize rounds recorded, winners P0, P1, then P2, P3 …
    void drawThirdPrize(Record::EventRecord &record, int rounds, int from = 0);
    QByteArray journalBytes() const;
    // The journal as a kill between the last round's record and its block leaves it: without
    // the workbook's record that follows a whole block.
    void dropTrailingWorkbookRecord() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestEventJournal::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

QStringList TestEventJournal::pool()
{
    QStringList list;
    for (int k = 0; k < 20; ++k)
        list.append(QStringLiteral("P%1").arg(k));
    return list;
}

Journal::EventStart TestEventJournal::eventStart(const QString &loadTime)
{
    Journal::EventStart s;
    s.company = QStringLiteral("公司");
    s.activity = QStringLiteral("年会");
    s.loadTime = loadTime;
    s.headerTime = QStringLiteral("2026/12/10 10:00:00");
    for (int k = 1; k <= 11; ++k)
        s.fields[size_t(k)] = QStringLiteral("f%1").arg(k);
    s.counters = {1, 1, 3, 1, 1, 3, 1, 1, 2};
    s.rosterPath = QStringLiteral("/nowhere/r.vok");
    s.rosterSize = 123;
    s.rosterSha256 = QString(64, u'a');
    s.poolSize = 20;
    return s;
}

QString TestEventJournal::resultsPath(const QString &name) const
{
    return m_dir->filePath(name);
}

void TestEventJournal::drawThirdPrize(Record::EventRecord &record, int rounds, int from)
{
    for (int r = 0; r < rounds; ++r) {
        const int a = from + 2 * r;
        QVERIFY(record.recordRound(3, from / 2 + r + 1,
                                   {Winner{QStringLiteral("P%1").arg(a), a},
                                    Winner{QStringLiteral("P%1").arg(a + 1), a + 1}}));
    }
}

QByteArray TestEventJournal::journalBytes() const
{
    QFile file(Journal::journalPathFor(resultsPath()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestEventJournal::roundTripKeepsEverything()
{
    Record::EventRecord record;
    QVERIFY(record.start(resultsPath(), eventStart()));
    drawThirdPrize(record, 2);
    QVERIFY(record.recordRedraw(3, 2, {Winner{"P3", 3}}, {Winner{"P9", 9}}));
    record.close();

    const Journal::History h = Journal::read(journalBytes());
    QVERIFY2(h.isSound(), qPrintable(h.error));
    QCOMPARE(h.start->resultsName, QStringLiteral("中奖名单 ― a.txt"));
    QCOMPARE(h.start->fields[9], QStringLiteral("f9"));
    QCOMPARE(h.start->configuredRounds(3), 3);
    QCOMPARE(h.start->winnersPerRound(3), 2);
    QCOMPARE(h.start->rosterSha256, QString(64, u'a'));
    QCOMPARE(h.entries.size(), 3);
    QCOMPARE(h.entries[1].round, 2);
    QCOMPARE(h.entries[1].winners, (QList<Winner>{{"P2", 2}, {"P3", 3}}));
    QCOMPARE(h.entries[2].kind, Journal::Entry::Kind::Redraw);
    QCOMPARE(h.entries[2].absent, (QList<Winner>{{"P3", 3}}));
    QCOMPARE(h.roundsDrawn(3), 2);
    QCOMPARE(h.winnersCount(), 5);
    QList<qint64> won = h.wonIndices();
    std::sort(won.begin(), won.end());
    QCOMPARE(won, (QList<qint64>{0, 1, 2, 3, 9}));
    QCOMPARE(h.lastSeq, 7); // each round and redraw followed by the workbook's record
    QVERIFY(!h.isFinished());

    // The results file holds exactly what the journal says, header first.
    const auto results = TextCodec::readFile(resultsPath());
    QVERIFY(results);
    const Record::Reconciled r = Record::reconcile(h, *results);
    QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
    QCOMPARE(r.countedEntries, 3);
    QCOMPARE(r.wholeBytes, results->size());
}

void TestEventJournal::faultsAreFoundAtTheirLine_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<qint64>("line");
    QTest::addColumn<QString>("error");
    QTest::newRow("a byte edited") << 0 << 3LL << "记录内容与校验值不符（记录被改动）";
    QTest::newRow("a record removed") << 1 << 3LL << "记录链断裂（记录被删除、插入或调换）";
    QTest::newRow("two records swapped") << 2 << 3LL << "记录链断裂（记录被删除、插入或调换）";
    QTest::newRow("a winner drawn twice") << 3 << 7LL << "有人重复中奖";
    QTest::newRow("a winner outside the pool") << 4 << 7LL << "中奖者不在抽奖名单范围内";
    QTest::newRow("a round skipped") << 5 << 7LL << "轮次编号不连续";
    QTest::newRow("too few winners") << 6 << 7LL << "中奖人数与设置不符";
    QTest::newRow("a redraw of another's winner") << 7 << 7LL << "未到场者不是该轮的中奖者";
    QTest::newRow("an index no whole number holds") << 8 << 7LL << "抽奖轮次记录无法读取";
}

void TestEventJournal::faultsAreFoundAtTheirLine()
{
    QFETCH(int, fault);
    QFETCH(qint64, line);
    QFETCH(QString, error);
    Record::EventRecord record;
    QVERIFY(record.start(resultsPath(), eventStart()));
    drawThirdPrize(record, 2);
    record.close();
    QList<QByteArray> lines = journalBytes().split('\n');
    lines.removeLast(); // after the last "\n"
    const Journal::History sound = Journal::read(journalBytes());

    // A well-formed, correctly hashed record appended to the chain: only its meaning is wrong.
    auto append = [&](QJsonObject body) {
        lines.append(Journal::encode(body, sound.lastSeq + 1, sound.lastHash).chopped(1));
    };
    auto round = [](int number, const QList<std::pair<QString, int>> &winners) {
        QJsonArray array;
        for (const auto &[text, index] : winners)
            array.append(QJsonObject{{"text", text}, {"index", index}});
        return QJsonObject{{"kind", "round"},  {"level", 3},
                           {"round", number},  {"time", "t"},
                           {"winners", array}, {"block_sha256", QString(64, u'b')}};
    };
    switch (fault) {
    case 0:
        lines[2].replace("P0", "P7"); // the first round's record
        break;
    case 1:
        lines.removeAt(2);
        break;
    case 2:
        std::swap(lines[2], lines[3]);
        break;
    case 3:
        append(round(3, {{"P1", 1}, {"P9", 9}}));
        break;
    case 4:
        append(round(3, {{"P20", 20}, {"P9", 9}}));
        break;
    case 5:
        append(round(4, {{"P8", 8}, {"P9", 9}}));
        break;
    case 6:
        append(round(3, {{"P9", 9}}));
        break;
    case 7:
        append(QJsonObject{{"kind", "redraw"},
                           {"level", 3},
                           {"round", 2},
                           {"time", "t"},
                           {"absent", QJsonArray{QJsonObject{{"text", "P0"}, {"index", 0}}}},
                           {"replacements", QJsonArray{QJsonObject{{"text", "P9"}, {"index", 9}}}},
                           {"block_sha256", QString(64, u'b')}});
        break;
    case 8: {
        QJsonObject body = round(3, {{"P8", 8}});
        body["winners"] = QJsonArray{QJsonObject{{"text", "P8"}, {"index", 8}},
                                     QJsonObject{{"text", "P9"}, {"index", 1e300}}};
        append(body);
        break;
    }
    }
    const Journal::History h = Journal::read(lines.join('\n') + '\n');
    QCOMPARE(h.error, error);
    QCOMPARE(h.errorLine, line);
    QVERIFY(!h.isSound());
}

void TestEventJournal::tornLastRecordIsIgnored_data()
{
    QTest::addColumn<int>("keep"); // bytes kept of the last record, its "\n" excluded
    QTest::newRow("only its first byte") << 1;
    QTest::newRow("half of it") << -2;
    QTest::newRow("all but the newline") << -1;
}

void TestEventJournal::tornLastRecordIsIgnored()
{
    QFETCH(int, keep);
    Record::EventRecord record;
    QVERIFY(record.start(resultsPath(), eventStart()));
    drawThirdPrize(record, 2);
    record.close();
    QByteArray bytes = journalBytes();
    // Killed while the second round's record was being written, before its workbook record.
    bytes.truncate(bytes.lastIndexOf('\n', bytes.size() - 2) + 1);
    const qsizetype lastStart = bytes.lastIndexOf('\n', bytes.size() - 2) + 1;
    const qsizetype lastLength = bytes.size() - 1 - lastStart;
    const qsizetype kept = keep == -1 ? lastLength : keep == -2 ? lastLength / 2 : keep;
    bytes.truncate(lastStart + kept);

    const Journal::History h = Journal::read(bytes);
    QVERIFY2(h.isSound(), qPrintable(h.error));
    QVERIFY(h.tornTail);
    QCOMPARE(h.entries.size(), 1);
    QCOMPARE(h.wholeBytes, lastStart);
}

void TestEventJournal::sameTextAtTwoPositionsIsTwoPeople()
{
    Journal::EventStart start = eventStart();
    Record::EventRecord record;
    QVERIFY(record.start(resultsPath(), start));
    QVERIFY(record.recordRound(3, 1, {Winner{"张三", 4}, Winner{"李四", 5}}));
    QVERIFY(record.recordRound(3, 2, {Winner{"张三", 6}, Winner{"王五", 7}}));
    record.close();
    const Journal::History h = Journal::read(journalBytes());
    QVERIFY2(h.isSound(), qPrintable(h.error));
    QCOMPARE(h.wonIndices(), (QList<qint64>{4, 5, 6, 7}));
}

void TestEventJournal::reconcile_data()
{
    QTest::addColumn<int>("cut"); // bytes cut off the end of the results file
    QTest::addColumn<int>(
        "edit"); // 0: none, 1: a header byte, 2: a byte of the first block, 3: bytes added
    QTest::addColumn<int>("counted");
    QTest::addColumn<bool>("sound");
    QTest::newRow("whole") << 0 << 0 << 3 << true;
    QTest::newRow("last block torn") << 5 << 0 << 2 << true;
    QTest::newRow("last block missing") << -1 << 0 << 2 << true;
    QTest::newRow("header edited") << 0 << 1 << 0 << false;
    QTest::newRow("a block edited") << 0 << 2 << 0 << false;
    QTest::newRow("lines added") << 0 << 3 << 0 << false;
}

void TestEventJournal::dropTrailingWorkbookRecord() const
{
    QByteArray bytes = journalBytes();
    const qsizetype lastLine = bytes.lastIndexOf('\n', bytes.size() - 2) + 1;
    if (bytes.mid(lastLine).contains("\"kind\":\"workbook\""))
        bytes.truncate(lastLine);
    QFile file(Journal::journalPathFor(resultsPath()));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void TestEventJournal::reconcile()
{
    QFETCH(int, cut);
    QFETCH(int, edit);
    QFETCH(int, counted);
    QFETCH(bool, sound);
    Record::EventRecord record;
    QVERIFY(record.start(resultsPath(), eventStart()));
    drawThirdPrize(record, 3);
    record.close();
    if (cut != 0)
        dropTrailingWorkbookRecord();
    const Journal::History h = Journal::read(journalBytes());
    QByteArray results = *TextCodec::readFile(resultsPath());
    const qsizetype lastBlock = Record::blockBytes(h.entries.last()).size();
    const qsizetype beforeLast = results.size() - lastBlock;
    results.chop(cut == -1 ? lastBlock : cut);
    if (edit == 1)
        results[2] = 'x';
    if (edit == 2)
        results[Record::headerBytes(*h.start).size() + 3] = 'x';
    if (edit == 3)
        results.append("P99\r\n");

    const Record::Reconciled r = Record::reconcile(h, results);
    QCOMPARE(r.error.isEmpty(), sound);
    if (sound) {
        QCOMPARE(r.countedEntries, counted);
        QCOMPARE(r.wholeBytes, counted == 3 ? results.size() : beforeLast);
    }
}

void TestEventJournal::unfinishedEventContinuesInTheSameFiles()
{
    {
        Record::EventRecord record;
        QVERIFY(record.start(resultsPath(), eventStart()));
        drawThirdPrize(record, 2);
    } // closed by mistake, or killed: both files are synced round by round

    const auto event = Record::findUnfinished(m_dir->path());
    QVERIFY(event);
    QCOMPARE(event->resultsPath, resultsPath());
    QCOMPARE(event->history.roundsDrawn(3), 2);
    QCOMPARE(event->history.winnersCount(), 4);

    Record::EventRecord record;
    QVERIFY(record.continueEvent(*event, pool()));
    drawThirdPrize(record, 1, 4);
    record.close();

    const Journal::History h = Journal::read(journalBytes());
    QVERIFY2(h.isSound(), qPrintable(h.error));
    QCOMPARE(h.roundsDrawn(3), 3);
    const QByteArray results = *TextCodec::readFile(resultsPath());
    QCOMPARE(results.count(Record::headerBytes(*h.start)), 1);
    QByteArray expected = Record::headerBytes(*h.start);
    for (const Journal::Entry &e : h.entries)
        expected += Record::blockBytes(e);
    QCOMPARE(results, expected);
}

void TestEventJournal::killBetweenRecordAndBlockDrawsTheRoundAgain()
{
    {
        Record::EventRecord record;
        QVERIFY(record.start(resultsPath(), eventStart()));
        drawThirdPrize(record, 3);
    }
    // The kill came after round 3's record, while its block was being written.
    dropTrailingWorkbookRecord();
    QByteArray results = *TextCodec::readFile(resultsPath());
    results.chop(7);
    QFile file(resultsPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(results);
    file.close();

    const auto event = Record::findUnfinished(m_dir->path());
    QVERIFY(event);
    QCOMPARE(event->history.roundsDrawn(3), 2);
    Record::EventRecord record;
    QVERIFY(record.continueEvent(*event, pool()));
    QVERIFY(record.recordRound(3, 3, {Winner{"P10", 10}, Winner{"P11", 11}}));
    record.close();

    const Journal::History h = Journal::read(journalBytes());
    QVERIFY2(h.isSound(), qPrintable(h.error));
    QCOMPARE(h.entries.size(), 3);
    QCOMPARE(h.entries[2].winners.first().text, QStringLiteral("P10"));
    const Record::Reconciled r = Record::reconcile(h, *TextCodec::readFile(resultsPath()));
    QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
    QCOMPARE(r.countedEntries, 3);
    QVERIFY(!TextCodec::readFile(resultsPath())->contains("P4\r\n")); // round 3's torn names
}

void TestEventJournal::killDuringTheLastRoundsBlockIsStillOffered()
{
    {
        Record::EventRecord record;
        QVERIFY(record.start(resultsPath(), eventStart()));
        drawThirdPrize(record, 3);
        QVERIFY(record.recordRound(2, 1, {Winner{"P10", 10}}));
        QVERIFY(record.recordRound(1, 1, {Winner{"P11", 11}}));
    }
    QVERIFY(!Record::findUnfinished(m_dir->path())); // every round drawn
    // The first prize's record was on disk, its block cut short by the kill.
    dropTrailingWorkbookRecord();
    QByteArray results = *TextCodec::readFile(resultsPath());
    results.chop(4);
    QFile file(resultsPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(results);
    file.close();
    const auto event = Record::findUnfinished(m_dir->path());
    QVERIFY(event);
    QCOMPARE(event->history.roundsDrawn(1), 0);
    QCOMPARE(event->history.roundsDrawn(3), 3);
}

void TestEventJournal::changedPoolIsRefused()
{
    {
        Record::EventRecord record;
        QVERIFY(record.start(resultsPath(), eventStart()));
        drawThirdPrize(record, 1);
    }
    const auto event = Record::findUnfinished(m_dir->path());
    QVERIFY(event);
    const QByteArray before = journalBytes();
    QStringList shorter = pool();
    shorter.removeLast();
    QStringList renamed = pool();
    renamed[1] = QStringLiteral("someone else");
    Record::EventRecord record;
    QVERIFY(!record.continueEvent(*event, shorter));
    QVERIFY(!record.continueEvent(*event, renamed));
    QCOMPARE(journalBytes(), before); // nothing written
}

void TestEventJournal::finishedOrSetAsideIsNotOffered()
{
    {
        Record::EventRecord record;
        QVERIFY(record.start(resultsPath(), eventStart()));
        drawThirdPrize(record, 1);
    }
    auto event = Record::findUnfinished(m_dir->path());
    QVERIFY(event);
    QVERIFY(Record::setAside(*event));
    QVERIFY(!Record::findUnfinished(m_dir->path()));

    Journal::EventStart all = eventStart("2026-12-10T11:00:00");
    all.counters = {1, 0, 1, 1, 0, 1, 1, 0, 2};
    Record::EventRecord record;
    QVERIFY(record.start(resultsPath(QStringLiteral("中奖名单 ― b.txt")), all));
    QVERIFY(record.recordRound(3, 1, {Winner{"P0", 0}, Winner{"P1", 1}}));
    QVERIFY(Record::findUnfinished(m_dir->path()));
    QVERIFY(record.recordRound(1, 1, {Winner{"P2", 2}}));
    record.close();
    QVERIFY(!Record::findUnfinished(m_dir->path()));
}

void TestEventJournal::newestUnfinishedIsOffered()
{
    const QString names[] = {QStringLiteral("中奖名单 ― b.txt"), QStringLiteral("中奖名单 ― a.txt"),
                             QStringLiteral("中奖名单 ― c.txt")};
    const QString times[] = {QStringLiteral("2026-12-10T09:00:00"),
                             QStringLiteral("2026-12-10T12:00:00"),
                             QStringLiteral("2026-12-10T10:00:00")};
    for (int k = 0; k < 3; ++k) {
        Record::EventRecord record;
        QVERIFY(record.start(resultsPath(names[k]), eventStart(times[k])));
    }
    const auto event = Record::findUnfinished(m_dir->path());
    QVERIFY(event);
    QCOMPARE(event->resultsName(), names[1]);
}

void TestEventJournal::powerCutTails_data()
{
    // What stands where the last round's block should be, after a kill before it was whole.
    // Its length in bytes; negative: as long as the block.
    QTest::addColumn<int>("length");
    QTest::addColumn<char>("fill");
    QTest::addColumn<bool>("offered");
    QTest::newRow("zeros, as NTFS and FAT leave them") << 20 << '\0' << true;
    QTest::newRow("garbage as long as the block") << -1 << 'x' << true;
    QTest::newRow("more than a block could be") << 4000 << '\0' << false;
}

void TestEventJournal::powerCutTails()
{
    QFETCH(int, length);
    QFETCH(char, fill);
    QFETCH(bool, offered);
    {
        Record::EventRecord record;
        QVERIFY(record.start(resultsPath(), eventStart()));
        drawThirdPrize(record, 2);
    }
    dropTrailingWorkbookRecord();
    const Journal::History h = Journal::read(journalBytes());
    const QByteArray lastBlock = Record::blockBytes(h.entries.last());
    QByteArray results = *TextCodec::readFile(resultsPath());
    results.chop(lastBlock.size());
    const qsizetype whole = results.size();
    results += QByteArray(length < 0 ? lastBlock.size() : length, fill);
    QFile file(resultsPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(results);
    file.close();

    const Record::StartupSurvey survey = Record::surveyFolder(m_dir->path());
    QCOMPARE(bool(survey.offer), offered);
    if (offered) {
        QCOMPARE(survey.offer->history.roundsDrawn(3), 1);
        QCOMPARE(TextCodec::readFile(resultsPath())->size(), whole); // cut, and synced
        QVERIFY(survey.offer->history.voided);
    } else {
        // Never a silent fall back to an older event: the newest is named with its reason.
        QCOMPARE(survey.brokenName, QStringLiteral("中奖名单 ― a.txt"));
        QVERIFY(!survey.brokenReason.isEmpty());
        QCOMPARE(TextCodec::readFile(resultsPath())->size(), results.size()); // untouched
    }
}

void TestEventJournal::leftoverJournalTakesTheName()
{
    const QDateTime when(QDate(2026, 12, 10), QTime(10, 5));
    const QString name = Results::fileName(when);
    for (const QString &leftover : {QStringLiteral(".jsonl"), QStringLiteral(".xlsx")}) {
        QTemporaryDir dir;
        QFile file(Results::besideResults(QDir(dir.path()).filePath(name), leftover));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(QFileInfo(Results::freePath(dir.path(), when)).fileName(),
                 QStringLiteral("中奖名单 ― 2026年12月10日10时 (2).txt"));
    }
}

namespace {
// The writes the disk refuses, in order: each is refused once, when it comes next.
QList<QByteArray> g_refusals;
bool refusePlanned(const char *point)
{
    if (g_refusals.isEmpty() || g_refusals.first() != point)
        return false;
    g_refusals.removeFirst();
    return true;
}
} // namespace

void TestEventJournal::failedWriteIsNeverCounted_data()
{
    QTest::addColumn<QList<QByteArray>>("refused");
    QTest::addColumn<bool>("journalFailed");
    QTest::newRow("the journal's record") << QList<QByteArray>{"journal-write"} << true;
    QTest::newRow("the block; its record voided") << QList<QByteArray>{"results-write"} << false;
    // The void is refused too: it is written before the next record.
    QTest::newRow("the block and the void")
        << QList<QByteArray>{"results-write", "journal-write"} << false;
}

void TestEventJournal::failedWriteIsNeverCounted()
{
    QFETCH(QList<QByteArray>, refused);
    QFETCH(bool, journalFailed);
    Record::EventRecord record;
    QVERIFY(record.start(resultsPath(), eventStart()));
    drawThirdPrize(record, 1);
    const QByteArray resultsBefore = *TextCodec::readFile(resultsPath());

    g_refusals = refused;
    FaultPoints::setHandler(refusePlanned);
    const bool recorded = record.recordRound(3, 2, {Winner{"P2", 2}, Winner{"P3", 3}});
    FaultPoints::setHandler(nullptr);
    QVERIFY(!recorded);
    QVERIFY(g_refusals.isEmpty());
    QCOMPARE(record.failedPath(),
             journalFailed ? Journal::journalPathFor(resultsPath()) : resultsPath());
    QCOMPARE(*TextCodec::readFile(resultsPath()), resultsBefore);
    QVERIFY(Journal::read(journalBytes()).isSound());

    // The disk is freed: the same round is drawn again, with other winners, and counts.
    QVERIFY(record.recordRound(3, 2, {Winner{"P4", 4}, Winner{"P5", 5}}));
    record.close();
    const Journal::History h = Journal::read(journalBytes());
    QVERIFY2(h.isSound(), qPrintable(h.error));
    QCOMPARE(h.roundsDrawn(3), 2);
    QCOMPARE(h.entries.last().winners.first().text, QStringLiteral("P4"));
    QVERIFY(!h.wonIndices().contains(2));
    const Record::Reconciled r = Record::reconcile(h, *TextCodec::readFile(resultsPath()));
    QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
    QCOMPARE(r.countedEntries, 2);
}

void TestEventJournal::historyRewritesAreRefused_data()
{
    QTest::addColumn<int>("rewrite");
    QTest::addColumn<QString>("says");
    QTest::newRow("a continued record voiding two rounds") << 0 << "作废的不只是最后一轮";
    QTest::newRow("a redraw of an earlier round") << 1 << "补抽的不是最后一次停止的轮次";
}

void TestEventJournal::historyRewritesAreRefused()
{
    QFETCH(int, rewrite);
    QFETCH(QString, says);
    Record::EventRecord record;
    QVERIFY(record.start(resultsPath(), eventStart()));
    drawThirdPrize(record, 2);
    record.close();
    // A forger with the program's own encoder: every hash is right, the story is not.
    const Journal::History h = Journal::read(journalBytes());
    Journal::Entry redraw;
    redraw.kind = Journal::Entry::Kind::Redraw;
    redraw.level = 3;
    redraw.round = 1;
    redraw.absent = {Winner{"P0", 0}};
    redraw.winners = {Winner{"P9", 9}};
    redraw.blockSha256 = QString(64, u'b');
    const QJsonObject body = rewrite == 0 ? Journal::continuedRecord("2026-12-10T11:00:00", 0)
                                          : Journal::entryRecord(redraw);
    const QByteArray forged = journalBytes() + Journal::encode(body, h.lastSeq + 1, h.lastHash);
    const Journal::History read = Journal::read(forged);
    QVERIFY(!read.isSound());
    QVERIFY2(read.error.contains(says), qPrintable(read.error));
}

void TestEventJournal::manyContinuedRecordsReadInOnePass()
{
    Record::EventRecord record;
    QVERIFY(record.start(resultsPath(), eventStart()));
    drawThirdPrize(record, 2);
    record.close();
    Journal::History h = Journal::read(journalBytes());
    QByteArray bytes = journalBytes();
    QByteArray hash = h.lastHash;
    qint64 seq = h.lastSeq;
    for (int k = 0; k < 8000; ++k)
        bytes +=
            Journal::encode(Journal::continuedRecord("2026-12-10T11:00:00", 2), ++seq, hash, &hash);
    h = Journal::read(bytes);
    QVERIFY2(h.isSound(), qPrintable(h.error));
    QCOMPARE(h.entries.size(), 2);
    QCOMPARE(h.lastSeq, seq);
}

QTEST_GUILESS_MAIN(TestEventJournal)
#include "tst_event_journal.moc"
