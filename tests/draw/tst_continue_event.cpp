#include <QTest>
#include <set>
#include <sys/stat.h>

#include "draw/random_pick.h"
#include "platform/text_codec.h"
#include "record/event_journal.h"
#include "support/stage.h"
#include "windows/prize_settings_form.h"

// The offer at start-up to continue an interrupted event, through the real stage.
class TestContinueEvent : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void continueRestoresTheRun();
    void continuedRoundsCarryOnWithoutRepeats();
    void levelsEnabledAfterTheUnlock_data();
    void levelsEnabledAfterTheUnlock();
    void restartSetsTheEventAside();
    void changedRosterStartsFresh_data();
    void changedRosterStartsFresh();
    void unwritableResultsFileIsNamed();
    void winnersAreRecordedByTheirLoadedPositions();
    void continuedEventEndsAsAnUninterruptedOne();
    void stageShowsWhereTheEventStood_data();
    void stageShowsWhereTheEventStood();

private:
    // A first run: settings, roster, unlock, then `draws` (level flags) drawn; the stage is then
    // dropped as a crash or a close would leave it.
    void interruptedEvent(const QList<int> &draws, int r1 = 1, int w1 = 1, int r2 = 2, int w2 = 2,
                          int r3 = 3, int w3 = 3);
    // The next start, with the offer answered.
    void nextStart(MessageBoxService::Answer answer);
    QStringList resultLines() const;

    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<Stage> m_stage;
    QString m_roster;
    QStringList m_people;
    QStringList m_poolBefore;
    QStringList m_logBefore;
    std::multiset<QString> m_winnersBefore;
};

void TestContinueEvent::init()
{
    RandomSource::shared().setFixedSeed(7);
    m_dir = std::make_unique<ProgramDir>();
    m_people = ProgramDir::people(30);
    m_winnersBefore.clear();
}

void TestContinueEvent::cleanup()
{
    m_stage.reset();
    m_dir.reset();
    RandomSource::shared().clearFixedSeed();
}

void TestContinueEvent::interruptedEvent(const QList<int> &draws, int r1, int w1, int r2, int w2,
                                         int r3, int w3)
{
    m_dir->writeSettings(r1, w1, r2, w2, r3, w3);
    m_roster = m_dir->writeRoster(QStringLiteral("名单.vok"), m_people);
    m_stage = std::make_unique<Stage>(*m_dir);
    m_stage->prepare(m_roster);
    for (int flag : draws) {
        for (const QString &w : m_stage->drawRound(flag))
            m_winnersBefore.insert(w);
    }
    m_poolBefore = m_stage->form().ST;
    m_logBefore = m_stage->log();
    m_stage.reset();
}

void TestContinueEvent::nextStart(MessageBoxService::Answer answer)
{
    m_stage = std::make_unique<Stage>(*m_dir);
    m_stage->boxes.setNextAnswer(answer);
    m_stage->form().offerUnfinishedEvent();
}

QStringList TestContinueEvent::resultLines() const
{
    const auto bytes = TextCodec::readFile(m_stage->form().str2);
    return bytes ? TextCodec::splitLines(TextCodec::decode(*bytes)) : QStringList();
}

void TestContinueEvent::continueRestoresTheRun()
{
    interruptedEvent({3, 3});
    const QString results = m_dir->resultsFiles().first();
    m_dir->writeSettings(9, 9, 9, 9, 9, 9); // changed since: the event keeps what it recorded
    nextStart(MessageBoxService::Answer::Ok);

    QCOMPARE(m_stage->boxes.shown.size(), 1);
    const MessageBoxService::Request &offer = m_stage->boxes.shown.first();
    QCOMPARE(offer.caption, QStringLiteral("Lumora"));
    QCOMPARE(offer.text, QStringLiteral("发现未完成的抽奖：") + results +
                             QStringLiteral("\n已抽 2 轮，6 人中奖。是否继续这次抽奖？"));
    QCOMPARE(offer.okText, QStringLiteral("继续抽奖"));
    QCOMPARE(offer.cancelText, QStringLiteral("重新开始"));

    MainForm &form = m_stage->form();
    QCOMPARE(form.str2, m_dir->file(results));
    QCOMPARE(m_dir->resultsFiles(), QStringList{results});
    QCOMPARE(m_stage->text(QStringLiteral("Label4")), QStringLiteral("测试公司"));
    QCOMPARE(form.ST, m_poolBefore);
    QCOMPARE(form.iCount, m_poolBefore.size() - 1);
    QCOMPARE(m_stage->text(QStringLiteral("Label3")), QString::number(m_poolBefore.size() - 1));
    QCOMPARE(m_stage->log(), m_logBefore);
    QCOMPARE(m_stage->acceptedLines(), m_people);
    QCOMPARE((QList<qint16>{form.c3, form.g3, form.n3, form.c2, form.g2, form.n2}),
             (QList<qint16>{3, 1, 3, 2, 2, 2}));
    QCOMPARE(form.prizeSettings()->fieldText(11), QStringLiteral("红包"));
    QVERIFY(form.prizeSettings()->isHidden());
    QCOMPARE(m_stage->enabledButtons(),
             (QStringList{"Command7", "Command8", "Command9"})); // "Roster loaded"
    QVERIFY(form.resultsFile().isOpen());
}

void TestContinueEvent::continuedRoundsCarryOnWithoutRepeats()
{
    interruptedEvent({3, 3});
    nextStart(MessageBoxService::Answer::Ok);
    m_stage->unlock();
    const QStringList third = m_stage->drawRound(3);
    QCOMPARE(m_stage->text(QStringLiteral("Label5")), QStringLiteral("三等奖第 3 次抽奖结果"));
    const QStringList second = m_stage->drawRound(2);
    std::multiset<QString> all = m_winnersBefore;
    all.insert(third.begin(), third.end());
    all.insert(second.begin(), second.end());
    QCOMPARE(std::set<QString>(all.begin(), all.end()).size(), all.size());

    const QStringList lines = resultLines();
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^开奖时间："))).size(), 1);
    QCOMPARE(lines.filter(QStringLiteral("次抽奖结果")),
             (QStringList{"★★ 三等奖第 1 次抽奖结果：★★", "★★ 三等奖第 2 次抽奖结果：★★",
                          "★★ 三等奖第 3 次抽奖结果：★★", "◆◆ 二等奖第 1 次抽奖结果：◆◆"}));
    QCOMPARE(lines.mid(lines.indexOf(QStringLiteral("★★ 三等奖第 3 次抽奖结果：★★")) + 2, 3),
             third);
}

void TestContinueEvent::levelsEnabledAfterTheUnlock_data()
{
    // 补抽 (Command6) is open for the last stop's winners, as it was before the interruption.
    QTest::addColumn<QList<int>>("draws");
    QTest::addColumn<QStringList>("enabled");
    QTest::newRow("nothing drawn yet")
        << QList<int>{} << QStringList{"Command2", "Command3", "Command4", "Command7", "Command9"};
    QTest::newRow("third prize begun")
        << QList<int>{3} << QStringList{"Command2", "Command6", "Command7", "Command9"};
    QTest::newRow("third prize done")
        << QList<int>{3, 3, 3}
        << QStringList{"Command3", "Command4", "Command6", "Command7", "Command9"};
    QTest::newRow("third done, second begun")
        << QList<int>{3, 3, 3, 2} << QStringList{"Command3", "Command6", "Command7", "Command9"};
    QTest::newRow("first prize drawn first")
        << QList<int>{1} << QStringList{"Command2", "Command3", "Command6", "Command7", "Command9"};
}

void TestContinueEvent::levelsEnabledAfterTheUnlock()
{
    QFETCH(QList<int>, draws);
    QFETCH(QStringList, enabled);
    interruptedEvent(draws);
    nextStart(MessageBoxService::Answer::Ok);
    m_stage->unlock();
    QCOMPARE(m_stage->enabledButtons(), enabled);
}

void TestContinueEvent::restartSetsTheEventAside()
{
    interruptedEvent({3});
    const QString first = m_dir->resultsFiles().first();
    const QByteArray results = m_dir->read(first);
    nextStart(MessageBoxService::Answer::Cancel);

    // 重新开始 asks first (its default is 取消); 确定 sets the event aside.
    QCOMPARE(m_stage->boxes.shown.size(), 2);
    QCOMPARE(m_stage->boxes.shown.last().text,
             QStringLiteral("确定放弃这次未完成的抽奖吗？放弃后将不再询问。"));
    QVERIFY(m_stage->boxes.shown.last().cancelIsDefault);
    QVERIFY(m_stage->form().str2.isEmpty());
    QCOMPARE(m_stage->form().ST, QStringList());
    QCOMPARE(m_stage->enabledButtons(), (QStringList{"Command5", "Command7", "Command9"}));
    QCOMPARE(m_dir->read(first), results); // nothing removed or rewritten

    // A fresh event of its own; the earlier one is not offered again.
    m_stage->prepare(m_roster);
    QStringList files = m_dir->resultsFiles();
    QCOMPARE(files.size(), 2);
    files.removeOne(first);
    m_stage.reset();
    nextStart(MessageBoxService::Answer::Ok);
    QCOMPARE(m_stage->boxes.shown.size(), 1);
    QVERIFY(m_stage->boxes.shown.first().text.contains(files.first()));
}

void TestContinueEvent::changedRosterStartsFresh_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("one name changed") << 0;
    QTest::newRow("file removed") << 1;
    // Neither may hang the start or fill the memory: they are not read at all.
    QTest::newRow("a pipe in its place") << 2;
    QTest::newRow("a 10 GB sparse file in its place") << 3;
}

void TestContinueEvent::changedRosterStartsFresh()
{
    QFETCH(int, change);
    interruptedEvent({3});
    const QString journal = m_dir->resultsFiles().first().replace(".txt", ".jsonl");
    const QByteArray before = m_dir->read(journal);
    if (change == 0) {
        QStringList changed = m_people;
        changed[4] = QStringLiteral("P0005 名字五");
        m_dir->writeRoster(QStringLiteral("名单.vok"), changed);
    } else {
        QVERIFY(QFile::remove(m_roster));
    }
    if (change == 2)
        QCOMPARE(::mkfifo(QFile::encodeName(m_roster).constData(), 0600), 0);
    if (change == 3) {
        QFile huge(m_roster);
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(10LL * 1024 * 1024 * 1024));
    }
    nextStart(MessageBoxService::Answer::Ok);

    QCOMPARE(m_stage->boxes.texts().size(), 2);
    QCOMPARE(m_stage->boxes.texts().last(),
             QStringLiteral("名单文件已改变或不存在，无法继续这次抽奖：") + m_roster);
    QVERIFY(m_stage->form().str2.isEmpty());
    QCOMPARE(m_stage->enabledButtons(), (QStringList{"Command5", "Command7", "Command9"}));
    QCOMPARE(m_dir->read(journal), before); // nothing set aside: offered again next time
}

void TestContinueEvent::unwritableResultsFileIsNamed()
{
    interruptedEvent({3});
    const QString results = m_dir->file(m_dir->resultsFiles().first());
    const QByteArray before = m_dir->read(m_dir->resultsFiles().first());
    QFile::setPermissions(results, QFileDevice::ReadOwner);
    if (QFile(results).open(QIODevice::WriteOnly | QIODevice::Append))
        QSKIP("root writes to a read-only file");
    nextStart(MessageBoxService::Answer::Ok);
    QCOMPARE(m_stage->boxes.texts().last(),
             QStringLiteral("无法继续这次抽奖，文件无法写入：") + results);
    QVERIFY(m_stage->form().str2.isEmpty());
    QCOMPARE(m_dir->read(m_dir->resultsFiles().first()), before);
}

void TestContinueEvent::winnersAreRecordedByTheirLoadedPositions()
{
    interruptedEvent({3, 3, 3, 2});
    nextStart(MessageBoxService::Answer::Ok);
    m_stage->unlock();
    m_stage->drawRound(2);
    m_stage->drawRound(1);
    const QString journal = m_dir->resultsFiles().first().replace(".txt", ".jsonl");
    const Journal::History h = Journal::read(m_dir->read(journal));
    QVERIFY2(h.isSound(), qPrintable(h.error));
    QVERIFY(h.isFinished());
    for (const Journal::Entry &e : h.entries) {
        for (const Journal::Winner &w : e.winners)
            QCOMPARE(m_people[w.index], w.text);
    }
    QCOMPARE(h.winnersCount(), 3 * 3 + 2 * 2 + 1);
}

void TestContinueEvent::continuedEventEndsAsAnUninterruptedOne()
{
    interruptedEvent({3, 3, 3, 2, 2});
    nextStart(MessageBoxService::Answer::Ok);
    m_stage->unlock();
    m_stage->drawRound(1);
    QVERIFY(!m_stage->form().resultsFile().isOpen());
    QCOMPARE(m_stage->form().scrollTextLines(), resultLines());
    QCOMPARE(resultLines().filter(QStringLiteral("次抽奖结果")).size(), 6);
    QCOMPARE(m_stage->enabledButtons(), (QStringList{"Command6", "Command7", "Command9"}));

    // Finished: the next start offers nothing.
    m_stage.reset();
    nextStart(MessageBoxService::Answer::Ok);
    QVERIFY(m_stage->boxes.shown.isEmpty());
}

void TestContinueEvent::stageShowsWhereTheEventStood_data()
{
    QTest::addColumn<QList<int>>("draws");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<bool>("endSteps"); // the results caption follows the pause
    QTest::newRow("third prize begun") << QList<int>{3, 3} << "三等奖第 2 次抽奖结果" << false;
    QTest::newRow("second prize last")
        << QList<int>{3, 3, 3, 2} << "二等奖第 1 次抽奖结果" << false;
    QTest::newRow("first prize drawn first") << QList<int>{1} << "一等奖第 1 次抽奖结果" << true;
}

void TestContinueEvent::stageShowsWhereTheEventStood()
{
    QFETCH(QList<int>, draws);
    QFETCH(QString, heading);
    QFETCH(bool, endSteps);
    interruptedEvent(draws);
    // The last round's winners, as the results file has them after its heading.
    const QStringList lines = TextCodec::splitLines(
        TextCodec::decode(*TextCodec::readFile(m_dir->file(m_dir->resultsFiles().first()))));
    const qsizetype at = lines.lastIndexOf(QRegularExpression(QStringLiteral(".*次抽奖结果：.*")));
    QStringList lastWinners;
    for (qsizetype k = at + 2; k < lines.size() && !lines[k].isEmpty(); ++k)
        lastWinners.append(lines[k]);
    QVERIFY2(!lastWinners.isEmpty(), qPrintable(lines.mid(at).join(u'|')));

    nextStart(MessageBoxService::Answer::Ok);
    m_stage->form().resultsPauseMs = 60;
    QVERIFY(m_stage->text(QStringLiteral("Label2")).isEmpty()); // locked: the start-up stage
    m_stage->unlock();
    QCOMPARE(m_stage->text(QStringLiteral("Label5")), heading);
    QVERIFY(m_stage->shown(QStringLiteral("Label2")));
    QCOMPARE(
        m_stage->text(QStringLiteral("Label2")).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts),
        lastWinners);
    if (endSteps) {
        QTRY_VERIFY(m_stage->shown(QStringLiteral("移动图1")));
        QVERIFY(!m_stage->shown(QStringLiteral("Label2")));
        QCOMPARE(m_stage->form().scrollTextLines(), resultLines());
    } else {
        QTest::qWait(120);
        QVERIFY(m_stage->shown(QStringLiteral("Label2")));
        QVERIFY(!m_stage->shown(QStringLiteral("移动图1")));
    }
}

QTEST_MAIN(TestContinueEvent)
#include "tst_continue_event.moc"
