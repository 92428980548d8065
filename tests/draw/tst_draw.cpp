#include <QDir>
#include <QTest>
#include <QTimer>
#include <set>

#include "draw/names_label.h"
#include "draw/random_pick.h"
#include "platform/interval_timer.h"
#include "platform/media_player.h"
#include "platform/text_codec.h"
#include "record/workbook.h"
#include "support/stage.h"
#include "windows/prize_settings_form.h"

class TestDraw : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void workedExampleThirdPrize();
    void wholeEventNobodyWinsTwice();
    void poolCheckMessagesDoNotLockOtherLevels_data();
    void poolCheckMessagesDoNotLockOtherLevels();
    void zeroWinnersPerRound();
    void nameTwiceInRosterCanWinTwice();
    void winnerWithLeadingBlanksCannotWinAgain();
    void stopBeforeFirstTickIsIgnored();
    void startClearsTheLastRoundsNames();
    void roundAfterFirstPrizeIsAppended();
    void resultsScrollAfterThePause();
    void closingDuringThePauseEndsCleanly();
    void manyWinnersAllStayOnStage();
    void poolBeyondSixteenBitsDraws();
    void workbookThatCannotBeWrittenDoesNotStopTheDraw();
    void hugeRoundIsShownPageByPage();
    void pagesRead_data();
    void pagesRead();
    void namesStandUnderTheTitles_data();
    void namesStandUnderTheTitles();
    void longEntryDoesNotRuleTheStage_data();
    void longEntryDoesNotRuleTheStage();

private:
    void startEvent(const QStringList &roster, int r1, int w1, int r2, int w2, int r3, int w3);
    QStringList resultLines() const;
    MainForm &form() { return m_stage->form(); }

    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<Stage> m_stage;
};

void TestDraw::init()
{
    RandomSource::shared().setFixedSeed(42);
    m_dir = std::make_unique<ProgramDir>();
}

void TestDraw::cleanup()
{
    m_stage.reset();
    m_dir.reset();
    RandomSource::shared().clearFixedSeed();
}

void TestDraw::startEvent(const QStringList &roster, int r1, int w1, int r2, int w2, int r3, int w3)
{
    m_dir->writeSettings(r1, w1, r2, w2, r3, w3);
    const QString path = m_dir->writeRoster(QStringLiteral("名单.vok"), roster);
    m_stage = std::make_unique<Stage>(*m_dir);
    m_stage->prepare(path);
}

QStringList TestDraw::resultLines() const
{
    QFile file(m_stage->form().str2);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return TextCodec::splitLines(TextCodec::decode(file.readAll()));
}

void TestDraw::workedExampleThirdPrize()
{
    startEvent(ProgramDir::people(10), 1, 1, 1, 1, 3, 2);
    QCOMPARE(form().iCount, 9);
    m_stage->click(QStringLiteral("Command2"));
    QCOMPARE(m_stage->text(QStringLiteral("Command2")), QStringLiteral("停止"));
    QVERIFY(form().findChild<IntervalTimer *>(QStringLiteral("Timer1"))->isEnabled());
    QCOMPARE(form().nflag, qint16(3));
    QCOMPARE(m_stage->enabledButtons(), (QStringList{"Command2", "Command7", "Command9"}));
    QVERIFY(m_stage->shown(QStringLiteral("Label8")));
    QCOMPARE(m_stage->text(QStringLiteral("Label8")),
             QStringLiteral("三等奖的抽奖正在火热进行中 ……"));
    QCOMPARE(m_stage->text(QStringLiteral("Label5")), QStringLiteral("奖励红包"));
    QVERIFY(m_stage->shown(QStringLiteral("Label1")));
    QVERIFY(!m_stage->shown(QStringLiteral("Label2")));
    QCOMPARE(form().findChild<MediaPlayer *>(QStringLiteral("WindowsMediaPlayer1"))->state(),
             MediaPlayer::State::Playing);
    QCOMPARE(form().findChild<MediaPlayer *>(QStringLiteral("WindowsMediaPlayer2"))->state(),
             MediaPlayer::State::Stopped);

    form().Timer1_Timer();
    const QString shownText = m_stage->text(QStringLiteral("Label1"));
    QStringList winners = shownText.split(QStringLiteral("\r\n"));
    QCOMPARE(winners.size(), 3);
    QCOMPARE(winners.takeLast(), QString());
    m_stage->click(QStringLiteral("Command2"));

    QCOMPARE(m_stage->text(QStringLiteral("Command2")), QStringLiteral("三等奖"));
    QCOMPARE(form().g3, qint16(2));
    QCOMPARE(m_stage->log(), QStringList{QStringLiteral("三等奖第 1 次抽奖：")} + winners);
    QCOMPARE(form().iCount, 7);
    QCOMPARE(m_stage->text(QStringLiteral("Label3")), QStringLiteral("7"));
    QVERIFY(!m_stage->shown(QStringLiteral("Label8")));
    QVERIFY(!m_stage->shown(QStringLiteral("Label1")));
    QVERIFY(m_stage->shown(QStringLiteral("Label2")));
    QCOMPARE(m_stage->text(QStringLiteral("Label2")), shownText);
    QCOMPARE(m_stage->text(QStringLiteral("Label5")), QStringLiteral("三等奖第 1 次抽奖结果"));
    for (const QString &w : winners)
        QVERIFY(!form().ST.contains(w));
    QCOMPARE(form().findChild<MediaPlayer *>(QStringLiteral("WindowsMediaPlayer1"))->state(),
             MediaPlayer::State::Paused);

    const QByteArray bytes = m_dir->read(QFileInfo(form().str2).fileName());
    const QByteArray block =
        TextCodec::toAnsi(QStringLiteral("★★ 三等奖第 1 次抽奖结果：★★\r\n\r\n") +
                          winners.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n\r\n"));
    QVERIFY(bytes.endsWith(block));

    // Rounds two and three; then the level closes and the others open.
    m_stage->drawRound(3);
    QCOMPARE(m_stage->text(QStringLiteral("Label5")), QStringLiteral("三等奖第 2 次抽奖结果"));
    m_stage->drawRound(3);
    QCOMPARE(form().g3, qint16(0));
    QCOMPARE(form().iCount, 3);
    QCOMPARE(m_stage->enabledButtons(),
             (QStringList{"Command3", "Command4", "Command6", "Command7", "Command9"}));
    QCOMPARE(form().nflag, qint16(0));
    QVERIFY(resultLines().contains(QStringLiteral("★★ 三等奖第 3 次抽奖结果：★★")));
}

void TestDraw::wholeEventNobodyWinsTwice()
{
    const QStringList roster = ProgramDir::people(40);
    startEvent(roster, 1, 2, 2, 3, 3, 4);
    QStringList winners;
    for (int round = 0; round < 3; ++round)
        winners += m_stage->drawRound(3);
    for (int round = 0; round < 2; ++round)
        winners += m_stage->drawRound(2);
    QCOMPARE(m_stage->enabledButtons(),
             (QStringList{"Command4", "Command6", "Command7", "Command9"}));
    winners += m_stage->drawRound(1);

    QCOMPARE(winners.size(), 12 + 6 + 2);
    QCOMPARE(int(std::set<QString>(winners.begin(), winners.end()).size()), winners.size());
    QStringList expectedPool = roster;
    for (const QString &w : winners) {
        QVERIFY(roster.contains(w));
        expectedPool.removeOne(w);
    }
    QCOMPARE(form().ST, expectedPool);
    QCOMPARE(m_stage->enabledButtons(), (QStringList{"Command6", "Command7", "Command9"}));

    // The event's end: the file closed, read back into the caption, the notices shown.
    QVERIFY(!form().resultsFile().isOpen());
    const QStringList lines = resultLines();
    QCOMPARE(lines.size(), 14 + 3 * 7 + 2 * 6 + 5);
    QTRY_COMPARE(form().scrollTextLines(), lines);
    QVERIFY(m_stage->shown(QStringLiteral("Label6")));
    QVERIFY(m_stage->shown(QStringLiteral("Label7")));
    QVERIFY(!m_stage->shown(QStringLiteral("Label5")));
    QVERIFY(!m_stage->shown(QStringLiteral("Label2")));
    QVERIFY(m_stage->shown(QStringLiteral("移动图1")));
    QCOMPARE(form().findChild<IntervalTimer *>(QStringLiteral("timScrollText"))->interval(), 10);
    QCOMPARE(form().findChild<MediaPlayer *>(QStringLiteral("WindowsMediaPlayer2"))->state(),
             MediaPlayer::State::Playing);
    QCOMPARE(form().nflag, qint16(0));
}

void TestDraw::poolCheckMessagesDoNotLockOtherLevels_data()
{
    QTest::addColumn<int>("people");
    QTest::addColumn<QString>("message");
    QTest::newRow("pool of 4 for 3 winners")
        << 4 << "参与抽奖人数小于奖项数量，不用进行抽奖，请重新检查读入抽奖名单或者奖项设置！";
    QTest::newRow("pool of 1") << 1 << "请加载抽奖名单数据！";
}

void TestDraw::poolCheckMessagesDoNotLockOtherLevels()
{
    QFETCH(int, people);
    QFETCH(QString, message);
    startEvent(ProgramDir::people(people), 1, 1, 1, 1, 1, 3);
    m_stage->click(QStringLiteral("Command2"));
    QCOMPARE(m_stage->boxes.texts().last(), message);
    QCOMPARE(m_stage->text(QStringLiteral("Command2")), QStringLiteral("三等奖"));
    QCOMPARE(form().nflag, qint16(0));
    QCOMPARE(m_stage->enabledButtons(),
             (QStringList{"Command2", "Command3", "Command4", "Command7", "Command9"}));
    if (people == 4) {
        // With 5 names the round runs.
        QCOMPARE(m_stage->drawRound(2).size(), 1); // 3 left now, second prize takes 1
    }
}

void TestDraw::zeroWinnersPerRound()
{
    startEvent(ProgramDir::people(10), 1, 1, 1, 1, 2, 1);
    form().n3 = 0; // as a count of 0.4 used to give
    m_stage->click(QStringLiteral("Command2"));
    form().Timer1_Timer();
    QCOMPARE(m_stage->text(QStringLiteral("Label1")), QString());
    m_stage->click(QStringLiteral("Command2"));
    QCOMPARE(form().g3, qint16(1));
    QCOMPARE(m_stage->log(), QStringList{QStringLiteral("三等奖第 1 次抽奖：")});
    QVERIFY(m_stage->shown(QStringLiteral("Label1")));
    QVERIFY(!m_stage->shown(QStringLiteral("Label2")));
    QCOMPARE(m_stage->text(QStringLiteral("Label5")), QStringLiteral("奖励红包"));
    QCOMPARE(form().iCount, 9);
    const QStringList lines = resultLines();
    QCOMPARE(lines.mid(14), (QStringList{QStringLiteral("★★ 三等奖第 1 次抽奖结果：★★"), "", ""}));
}

void TestDraw::nameTwiceInRosterCanWinTwice()
{
    const QStringList roster{"张三", "张三", "甲", "乙", "丙"};
    std::uint64_t seed = 1;
    for (;; ++seed) {
        RandomSource probe;
        probe.setFixedSeed(seed);
        std::int32_t counter = 0;
        if (pickDistinct(0, 4, 1, probe, counter)[1] <= 1)
            break;
    }
    startEvent(roster, 1, 1, 1, 1, 3, 1);
    RandomSource::shared().setFixedSeed(seed);
    QCOMPARE(m_stage->drawRound(3), QStringList{QStringLiteral("张三")});
    QCOMPARE(form().ST.count(QStringLiteral("张三")), 1); // one occurrence left: can still win
    QCOMPARE(form().ST.size(), 4);
}

void TestDraw::winnerWithLeadingBlanksCannotWinAgain()
{
    const QStringList roster{"  王五", "甲", "乙", "丙", "丁", "戊"};
    // Find a seed whose first pick is the blank-led entry.
    std::uint64_t seed = 1;
    for (;; ++seed) {
        RandomSource probe;
        probe.setFixedSeed(seed);
        std::int32_t counter = 0;
        if (pickDistinct(0, 5, 4, probe, counter)[1] == 0)
            break;
    }
    startEvent(roster, 1, 1, 1, 1, 1, 4);
    RandomSource::shared().setFixedSeed(seed);
    const QStringList shown = m_stage->drawRound(3);
    QCOMPARE(shown.first(), QStringLiteral("  王五"));
    QVERIFY(!form().ST.contains(QStringLiteral("  王五")));
    QCOMPARE(form().ST.size(), 2);
    // Recorded without the blanks, as shown.
    QVERIFY(resultLines().contains(QStringLiteral("王五")));
    QCOMPARE(m_stage->log().at(1), QStringLiteral("王五"));
}

void TestDraw::stopBeforeFirstTickIsIgnored()
{
    startEvent(ProgramDir::people(10), 1, 1, 1, 1, 2, 2);
    m_stage->click(QStringLiteral("Command2"));
    m_stage->click(QStringLiteral("Command2")); // within the first 60 ms
    QCOMPARE(m_stage->text(QStringLiteral("Command2")), QStringLiteral("停止"));
    QVERIFY(form().findChild<IntervalTimer *>(QStringLiteral("Timer1"))->isEnabled());
    QCOMPARE(form().g3, qint16(2));
    QCOMPARE(resultLines().size(), 14);
    form().Timer1_Timer();
    m_stage->click(QStringLiteral("Command2"));
    QCOMPARE(form().g3, qint16(1));
    QCOMPARE(resultLines().size(), 14 + 5);
}

void TestDraw::startClearsTheLastRoundsNames()
{
    startEvent(ProgramDir::people(10), 1, 1, 1, 1, 2, 2);
    m_stage->drawRound(3);
    m_stage->click(QStringLiteral("Command2"));
    QCOMPARE(m_stage->text(QStringLiteral("Label1")), QString());
    QVERIFY(m_stage->shown(QStringLiteral("Label1")));
}

void TestDraw::roundAfterFirstPrizeIsAppended()
{
    startEvent(ProgramDir::people(20), 1, 2, 1, 1, 2, 2);
    m_stage->drawRound(1); // the first prize before the others: the event's end
    QVERIFY(!form().resultsFile().isOpen());
    QCOMPARE(m_stage->enabledButtons(),
             (QStringList{"Command2", "Command3", "Command6", "Command7", "Command9"}));
    m_stage->drawRound(3);
    const QStringList late = m_stage->drawRound(3);
    QVERIFY(!form().resultsFile().isOpen());
    const QStringList lines = resultLines();
    QCOMPARE(lines.size(), 14 + 5 + 5 + 5);
    QCOMPARE(lines[14], QStringLiteral("●● 一等奖第 1 次抽奖结果：●●"));
    QCOMPARE(lines[14 + 10], QStringLiteral("★★ 三等奖第 2 次抽奖结果：★★"));
    QCOMPARE(lines.mid(26, 2), late);
    QCOMPARE(form().scrollTextLines(), lines);
}

void TestDraw::resultsScrollAfterThePause()
{
    startEvent(ProgramDir::people(10), 1, 2, 1, 1, 1, 1);
    form().resultsPauseMs = 300;
    QElapsedTimer clock;
    clock.start();
    m_stage->drawRound(1);
    QVERIFY(clock.elapsed() >= 250);
    QCOMPARE(form().scrollTextLines(), resultLines());
}

void TestDraw::closingDuringThePauseEndsCleanly()
{
    startEvent(ProgramDir::people(10), 1, 2, 1, 1, 1, 1);
    form().resultsPauseMs = 5000;
    form().setAttribute(Qt::WA_DeleteOnClose);
    const QStringList before = form().scrollTextLines();
    const QString results = form().str2;
    QTimer::singleShot(50, [this] { m_stage->click(QStringLiteral("Command7")); });
    QElapsedTimer clock;
    clock.start();
    m_stage->drawRound(1);
    QTRY_VERIFY(!m_stage->isOpen());
    QVERIFY(clock.elapsed() < 4000);
    QFile file(results);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(TextCodec::splitLines(TextCodec::decode(file.readAll())).size(), 14 + 5);
}

void TestDraw::manyWinnersAllStayOnStage()
{
    startEvent(ProgramDir::people(300), 1, 1, 1, 1, 1, 100);
    form().resize(1024, 768);
    m_stage->click(QStringLiteral("Command2"));
    form().Timer1_Timer();
    auto *rolling = form().findChild<NamesLabel *>(QStringLiteral("Label1"));
    QVERIFY(rolling->currentFit().columns > 1);
    QVERIFY(rolling->currentFit().pointSize < 52);
    QVERIFY2(form().rect().contains(rolling->geometry()),
             qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6")
                            .arg(rolling->x())
                            .arg(rolling->y())
                            .arg(rolling->width())
                            .arg(rolling->height())
                            .arg(form().width())
                            .arg(form().height())));
    // Left of the button column.
    QVERIFY(rolling->geometry().right() < m_stage->button(QStringLiteral("Command2"))->x());
    QCOMPARE(rolling->font().pointSizeF(), 52.0); // the label's own font is as specified
    m_stage->click(QStringLiteral("Command2"));
    auto *winners = form().findChild<NamesLabel *>(QStringLiteral("Label2"));
    QVERIFY(form().rect().contains(winners->geometry()));
    QCOMPARE(winners->text().count(QStringLiteral("\r\n")), 100);
}

void TestDraw::poolBeyondSixteenBitsDraws()
{
    startEvent(ProgramDir::people(40000), 1, 1, 1, 1, 1, 50);
    QCOMPARE(form().iCount, 39999);
    const QStringList shown = m_stage->drawRound(3);
    QCOMPARE(shown.size(), 50);
    QCOMPARE(form().iCount, 39949);
    for (const QString &w : shown)
        QVERIFY(!form().ST.contains(w));
}

void TestDraw::workbookThatCannotBeWrittenDoesNotStopTheDraw()
{
    startEvent(ProgramDir::people(20), 1, 1, 1, 1, 3, 2);
    // Something else took the workbook's name: it cannot be replaced.
    const QString workbook = Workbook::pathFor(form().str2);
    QVERIFY(QFile::remove(workbook));
    QVERIFY(QDir().mkdir(workbook));
    m_stage->drawRound(3);
    m_stage->drawRound(3);
    QCOMPARE(m_stage->boxes.texts().filter(QStringLiteral("无法写入中奖名单表格：")),
             QStringList{QStringLiteral("无法写入中奖名单表格：") + workbook}); // once per event
    QCOMPARE(resultLines().filter(QStringLiteral("次抽奖结果")).size(), 2);
    QCOMPARE(form().g3, qint16(1));
}

void TestDraw::hugeRoundIsShownPageByPage()
{
    startEvent(ProgramDir::people(600), 1, 1, 1, 1, 2, 240);
    form().resize(1024, 768);
    const double readable = 768 / 30.0;
    auto *rolling = form().findChild<NamesLabel *>(QStringLiteral("Label1"));
    auto *winners = form().findChild<NamesLabel *>(QStringLiteral("Label2"));
    m_stage->click(QStringLiteral("Command2"));
    form().Timer1_Timer();
    QVERIFY(rolling->pageCount() > 1); // rolling names are paged too
    QVERIFY(rolling->shownTextHeight() >= readable);
    QVERIFY(form().rect().contains(rolling->geometry()));
    m_stage->click(QStringLiteral("Command2"));

    // Every winner is recorded; on stage they come page by page, each readable.
    const QStringList all = winners->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(all.size(), 240);
    QCOMPARE(resultLines().size(), 14 + 240 + 3);
    const int pages = winners->pageCount();
    QVERIFY(pages > 1);
    QVERIFY(winners->shownTextHeight() >= readable);
    QVERIFY(form().rect().contains(winners->geometry()));
    QVERIFY(winners->geometry().right() < m_stage->button(QStringLiteral("Command2"))->x());
    QCOMPARE(winners->pageNote(), QStringLiteral("第 1/%1 页").arg(pages));
    winners->setPageIntervalMs(20);
    QStringList seen = winners->pageNames();
    for (int page = 2; page <= pages; ++page) {
        QTRY_COMPARE(winners->pageNote(), QStringLiteral("第 %1/%2 页").arg(page).arg(pages));
        seen += winners->pageNames();
    }
    QCOMPARE(seen, all);                     // each winner on exactly one page, in order
    QTRY_COMPARE(winners->currentPage(), 0); // looping

    // The next start ends the pages.
    m_stage->click(QStringLiteral("Command2"));
    QCOMPARE(winners->pageCount(), 1);
    QCOMPARE(winners->pageNote(), QString());
}

QTEST_MAIN(TestDraw)
#include "tst_draw.moc"

void TestDraw::longEntryDoesNotRuleTheStage_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::newRow("1366x768") << QSize(1366, 768);
    QTest::newRow("1920x1080") << QSize(1920, 1080);
}

void TestDraw::longEntryDoesNotRuleTheStage()
{
    QFETCH(QSize, screen);
    const QString longEntry = QStringLiteral("P0099 欧阳") + QString(78, u'长');
    QStringList roster = ProgramDir::people(40);
    roster.insert(7, longEntry);
    startEvent(roster, 1, 1, 1, 1, 3, 5);
    form().resize(screen);
    auto *rolling = form().findChild<NamesLabel *>(QStringLiteral("Label1"));
    auto *winners = form().findChild<NamesLabel *>(QStringLiteral("Label2"));
    const int buttons = m_stage->button(QStringLiteral("Command2"))->x();
    NameFit withoutLong;
    auto onStage = [&](NamesLabel *label) {
        QVERIFY(form().rect().contains(label->geometry()));
        QVERIFY(label->geometry().right() < buttons);
        // Every set of five is laid out as if the long entry were as wide as the others.
        QCOMPARE(label->currentFit().pointSize, withoutLong.pointSize);
        QCOMPARE(label->currentFit().columns, withoutLong.columns);
        for (const QString &shown : label->pageNames())
            QVERIFY(shown == longEntry.left(shown.size() - 1) + u'…' || roster.contains(shown));
    };

    m_stage->click(QStringLiteral("Command2"));
    form().Timer1_Timer(); // the roll's own size
    // The layout five ordinary names get on this stage.
    rolling->setCaption(roster.mid(0, 5).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    withoutLong = rolling->currentFit();
    bool sawLong = false;
    for (int tick = 0; tick < 60; ++tick) {
        form().Timer1_Timer();
        sawLong = sawLong || rolling->text().contains(longEntry);
        onStage(rolling);
    }
    QVERIFY(sawLong);
    // Until a round holds the long entry: the stage shows its head, the record the whole.
    for (int round = 0; round < 3 && !winners->text().contains(longEntry); ++round) {
        if (round > 0)
            m_stage->click(QStringLiteral("Command2"));
        form().Timer1_Timer();
        m_stage->click(QStringLiteral("Command2"));
        onStage(winners);
    }
    if (winners->text().contains(longEntry))
        QVERIFY(resultLines().contains(longEntry));
}

void TestDraw::namesStandUnderTheTitles_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("perRound");
    QTest::newRow("one name, 1366x768") << QSize(1366, 768) << 1;
    QTest::newRow("one name, 1920x1080") << QSize(1920, 1080) << 1;
    QTest::newRow("four names, 1920x1080") << QSize(1920, 1080) << 4;
}

void TestDraw::namesStandUnderTheTitles()
{
    QFETCH(QSize, screen);
    QFETCH(int, perRound);
    startEvent(ProgramDir::people(30), 1, 1, 1, 1, 2, perRound);
    form().resize(screen);
    const int titles = m_stage->child(QStringLiteral("Label9"))->geometry().center().x();
    m_stage->click(QStringLiteral("Command2"));
    form().Timer1_Timer();
    auto *rolling = m_stage->child(QStringLiteral("Label1"));
    QVERIFY(qAbs(rolling->geometry().center().x() - titles) <= 1);
    m_stage->click(QStringLiteral("Command2"));
    auto *winners = m_stage->child(QStringLiteral("Label2"));
    QVERIFY(qAbs(winners->geometry().center().x() - titles) <= 1);
}

void TestDraw::pagesRead_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("perRound");
    QTest::newRow("60 at 1366x768") << QSize(1366, 768) << 60;
    QTest::newRow("150 at 1366x768") << QSize(1366, 768) << 150;
    QTest::newRow("240 at 1920x1080") << QSize(1920, 1080) << 240;
}

void TestDraw::pagesRead()
{
    QFETCH(QSize, screen);
    QFETCH(int, perRound);
    startEvent(ProgramDir::people(600), 1, 1, 1, 1, 2, perRound);
    form().resize(screen);
    auto *rolling = form().findChild<NamesLabel *>(QStringLiteral("Label1"));
    auto *winners = form().findChild<NamesLabel *>(QStringLiteral("Label2"));
    m_stage->click(QStringLiteral("Command2"));
    form().Timer1_Timer();
    const int rollPages = rolling->pageCount();
    m_stage->click(QStringLiteral("Command2"));
    // The round stops on as many pages as it rolled on.
    QCOMPARE(winners->pageCount(), rollPages);

    for (NamesLabel *label : {rolling, winners}) {
        // A character's ink, not its line, is at least 1/30 of the stage.
        QVERIFY(label->shownTextHeight() >= screen.height() / 30.0 - 0.5);
        QFont shown = label->font();
        shown.setPointSizeF(label->currentFit().pointSize);
        const double character = QFontMetricsF(shown).horizontalAdvance(QStringLiteral("国"));
        if (label->currentFit().columns > 1)
            QVERIFY(label->columnGap() >= 2 * character - 1);
    }

    // Every page, the last with fewer names too, stands in the middle of the label.
    winners->setPageIntervalMs(10);
    for (int page = 0; page < winners->pageCount(); ++page) {
        QTRY_COMPARE(winners->currentPage(), page);
        QRect used;
        for (const QRect &cell : winners->pageCells())
            used |= cell;
        QVERIFY2(qAbs(used.center().x() - winners->width() / 2) <= 2,
                 qPrintable(QStringLiteral("page %1: %2..%3 in %4")
                                .arg(page + 1)
                                .arg(used.left())
                                .arg(used.right())
                                .arg(winners->width())));
    }
}
