#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <set>

#include "draw/random_pick.h"
#include "platform/text_codec.h"
#include "record/event_journal.h"
#include "support/stage.h"
#include "windows/redraw_form.h"

// 补抽 through the real stage and its window.
class TestRedraw : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void redrawReplacesTheTickedWinners_data();
    void redrawReplacesTheTickedWinners();
    void nothingTickedKeepsTheWindow();
    void poolTooSmallKeepsTheWindow();
    void cancelOrCloseChangesNothing_data();
    void cancelOrCloseChangesNothing();
    void keyboardTicksAndStarts();
    void replacementCanBeRedrawnAgain();
    void nextRollEndsTheChanceToRedraw();
    void firstPrizeLastRoundAfterTheEnd();
    void continuedEventKeepsItsRedraws();
    void nobodyWinsTwiceInAnyOrder_data();
    void nobodyWinsTwiceInAnyOrder();
    void windowShowsTheRound_data();
    void windowShowsTheRound();

private:
    void startEvent(int people, int r1, int w1, int r2, int w2, int r3, int w3);
    RedrawForm *openWindow();
    // Ticks the given stage positions in the open window and starts; false if it did not start.
    bool startRedraw(const QList<int> &positions);
    // One tick of the roll and the stop: the replacements shown.
    QStringList stopRedraw();
    QStringList resultLines() const;
    MainForm &form() { return m_stage->form(); }

    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<Stage> m_stage;
    QStringList m_people;
};

void TestRedraw::init()
{
    RandomSource::shared().setFixedSeed(11);
    m_dir = std::make_unique<ProgramDir>();
}

void TestRedraw::cleanup()
{
    m_stage.reset();
    m_dir.reset();
    RandomSource::shared().clearFixedSeed();
}

void TestRedraw::startEvent(int people, int r1, int w1, int r2, int w2, int r3, int w3)
{
    m_people = ProgramDir::people(people);
    m_dir->writeSettings(r1, w1, r2, w2, r3, w3);
    const QString path = m_dir->writeRoster(QStringLiteral("名单.vok"), m_people);
    m_stage = std::make_unique<Stage>(*m_dir);
    m_stage->prepare(path);
}

RedrawForm *TestRedraw::openWindow()
{
    m_stage->click(QStringLiteral("Command6"));
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("补抽") && w->isVisible())
            return qobject_cast<RedrawForm *>(w);
    }
    return nullptr;
}

bool TestRedraw::startRedraw(const QList<int> &positions)
{
    RedrawForm *window = openWindow();
    if (!window)
        return false;
    for (int p : positions)
        QTest::mouseClick(window->findChild<QCheckBox *>(QStringLiteral("Check%1").arg(p + 1)),
                          Qt::LeftButton, {}, QPoint(5, 5));
    QPointer<RedrawForm> alive(window);
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("start")), Qt::LeftButton);
    return alive.isNull() || !alive->isVisible();
}

QStringList TestRedraw::stopRedraw()
{
    form().Timer1_Timer();
    QStringList names = m_stage->text(QStringLiteral("Label1")).split(QStringLiteral("\r\n"));
    names.removeLast();
    m_stage->click(QStringLiteral("Command6"));
    return names;
}

QStringList TestRedraw::resultLines() const
{
    const auto bytes = TextCodec::readFile(m_stage->form().str2);
    return bytes ? TextCodec::splitLines(TextCodec::decode(*bytes)) : QStringList();
}

void TestRedraw::redrawReplacesTheTickedWinners_data()
{
    QTest::addColumn<QList<int>>("ticked");
    QTest::newRow("one winner") << QList<int>{1};
    QTest::newRow("two winners, ticked out of order") << QList<int>{2, 0};
}

void TestRedraw::redrawReplacesTheTickedWinners()
{
    QFETCH(QList<int>, ticked);
    startEvent(20, 1, 1, 1, 1, 2, 3);
    QCOMPARE(m_stage->enabledButtons(),
             (QStringList{"Command2", "Command3", "Command4", "Command7", "Command9"}));
    const QStringList winners = m_stage->drawRound(3);
    QVERIFY(m_stage->button(QStringLiteral("Command6"))->isEnabled());

    RedrawForm *window = openWindow();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("补抽：请勾选未到场的中奖者"));
    QStringList boxes;
    for (QCheckBox *box : window->findChildren<QCheckBox *>())
        boxes.append(box->text());
    QCOMPARE(boxes, winners);
    QCOMPARE(window->focusWidget(), window->findChild<QCheckBox *>(QStringLiteral("Check1")));

    const QByteArray before = *TextCodec::readFile(form().str2);
    QVERIFY(startRedraw(ticked));
    QCOMPARE(m_stage->text(QStringLiteral("Command6")), QStringLiteral("停止"));
    QCOMPARE(m_stage->text(QStringLiteral("Label8")),
             QStringLiteral("三等奖的补抽正在火热进行中 ……"));
    QCOMPARE(m_stage->text(QStringLiteral("Label5")), QStringLiteral("奖励红包"));
    QVERIFY(m_stage->shown(QStringLiteral("Label1")));
    QVERIFY(!m_stage->shown(QStringLiteral("Label2")));
    QCOMPARE(m_stage->enabledButtons(), (QStringList{"Command6", "Command7", "Command9"}));
    m_stage->click(QStringLiteral("Command6")); // before the first tick: ignored
    QCOMPARE(m_stage->text(QStringLiteral("Command6")), QStringLiteral("停止"));

    const QStringList replacements = stopRedraw();
    QCOMPARE(replacements.size(), ticked.size());
    QStringList absent;
    for (int k = 0; k < winners.size(); ++k) {
        if (ticked.contains(k))
            absent.append(winners[k]);
    }
    // One block, appended after the round's.
    QStringList block{QStringLiteral("★★ 三等奖第 1 次补抽结果：★★"), QString()};
    for (const QString &a : absent)
        block.append(QStringLiteral("未到场：") + a);
    block += replacements;
    block.append(QString());
    const QByteArray after = *TextCodec::readFile(form().str2);
    QVERIFY(after.startsWith(before));
    QCOMPARE(TextCodec::splitLines(TextCodec::decode(after.mid(before.size()))), block);
    QCOMPARE(m_stage->log().mid(m_stage->log().size() - block.size() + 2),
             QStringList{QStringLiteral("三等奖第 1 次补抽：")} + block.mid(2, block.size() - 3));

    QCOMPARE(m_stage->text(QStringLiteral("Label5")), QStringLiteral("三等奖第 1 次补抽结果"));
    // The round as it now stands: each replacement, marked, in the place of whom it replaces.
    QStringList standing = winners;
    for (int k = 0, r = 0; k < winners.size(); ++k) {
        if (ticked.contains(k))
            standing[k] = replacements[r++] + QStringLiteral("（补）");
    }
    QCOMPARE(m_stage->text(QStringLiteral("Label2")).split("\r\n").mid(0, winners.size()),
             standing);
    QVERIFY(!m_stage->shown(QStringLiteral("Label8")));
    QCOMPARE(m_stage->text(QStringLiteral("Command6")), QStringLiteral("补抽"));
    QCOMPARE(form().g3, qint16(1)); // a redraw is no round
    QCOMPARE(m_stage->enabledButtons(),
             (QStringList{"Command2", "Command6", "Command7", "Command9"}));
    for (const QString &name : winners + replacements)
        QVERIFY2(!form().ST.contains(name), qPrintable(name));
    QCOMPARE(form().ST.size(), 20 - 3 - replacements.size());

    QString journal = m_dir->resultsFiles().first();
    journal.replace(QStringLiteral(".txt"), QStringLiteral(".jsonl"));
    const Journal::History h = Journal::read(m_dir->read(journal));
    QVERIFY2(h.isSound(), qPrintable(h.error));
    QCOMPARE(h.entries.last().kind, Journal::Entry::Kind::Redraw);
    QCOMPARE(h.entries.last().absent.size(), absent.size());
    QCOMPARE(h.entries.last().absent.first().text, absent.first());
}

void TestRedraw::nothingTickedKeepsTheWindow()
{
    startEvent(20, 1, 1, 1, 1, 2, 3);
    m_stage->drawRound(3);
    QVERIFY(!startRedraw({}));
    QCOMPARE(m_stage->boxes.texts().last(), QStringLiteral("请勾选未到场的中奖者！"));
    QVERIFY(openWindow()->isVisible());
    QCOMPARE(m_stage->text(QStringLiteral("Command6")), QStringLiteral("补抽"));
}

void TestRedraw::poolTooSmallKeepsTheWindow()
{
    startEvent(8, 1, 1, 1, 1, 2, 3);
    m_stage->drawRound(3);
    m_stage->drawRound(3); // two left
    QVERIFY(!startRedraw({0, 1, 2}));
    QCOMPARE(m_stage->boxes.texts().last(), QStringLiteral("剩余人数不足，无法补抽！"));
    QCOMPARE(form().ST.size(), 2);
    QCOMPARE(m_stage->text(QStringLiteral("Command6")), QStringLiteral("补抽"));
    // The window stayed, ticks and all; two of them can be replaced by the two left.
    RedrawForm *window = openWindow();
    QVERIFY(window);
    QCOMPARE(window->ticked(), (QList<int>{0, 1, 2}));
    QTest::mouseClick(window->findChild<QCheckBox *>(QStringLiteral("Check3")), Qt::LeftButton, {},
                      QPoint(5, 5));
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("start")), Qt::LeftButton);
    QCOMPARE(stopRedraw().size(), 2);
    QCOMPARE(form().ST.size(), 0);
}

void TestRedraw::cancelOrCloseChangesNothing_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("取消") << false;
    QTest::newRow("the close box") << true;
}

void TestRedraw::cancelOrCloseChangesNothing()
{
    QFETCH(bool, closeBox);
    startEvent(20, 1, 1, 1, 1, 2, 3);
    m_stage->drawRound(3);
    const QByteArray before = *TextCodec::readFile(form().str2);
    const QStringList log = m_stage->log();
    const QStringList pool = form().ST;
    QPointer<RedrawForm> window = openWindow();
    QVERIFY(window);
    QTest::mouseClick(window->findChild<QCheckBox *>(QStringLiteral("Check1")), Qt::LeftButton, {},
                      QPoint(5, 5));
    if (closeBox)
        window->close();
    else
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("cancel")),
                          Qt::LeftButton);
    QTRY_VERIFY(window.isNull());
    QCOMPARE(*TextCodec::readFile(form().str2), before);
    QCOMPARE(m_stage->log(), log);
    QCOMPARE(form().ST, pool);
    QVERIFY(m_stage->button(QStringLiteral("Command6"))->isEnabled());
    // Opened again: nothing ticked, and a second click brings the same window forward.
    RedrawForm *again = openWindow();
    QVERIFY(again);
    QCOMPARE(again->ticked(), QList<int>());
    QCOMPARE(openWindow(), again);
}

void TestRedraw::keyboardTicksAndStarts()
{
    startEvent(20, 1, 1, 1, 1, 2, 3);
    const QStringList winners = m_stage->drawRound(3);
    RedrawForm *window = openWindow();
    QVERIFY(window);
    QTest::keyClick(window->focusWidget(), Qt::Key_Space);
    QCOMPARE(window->ticked(), QList<int>{0});
    QTest::keyClick(window->focusWidget(), Qt::Key_Return);
    QCOMPARE(m_stage->text(QStringLiteral("Command6")), QStringLiteral("停止"));
    stopRedraw();
    QVERIFY(resultLines().contains(QStringLiteral("未到场：") + winners[0]));
}

void TestRedraw::replacementCanBeRedrawnAgain()
{
    startEvent(20, 1, 1, 1, 1, 2, 3);
    const QStringList winners = m_stage->drawRound(3);
    QVERIFY(startRedraw({0, 1}));
    const QStringList first = stopRedraw();
    RedrawForm *window = openWindow();
    QVERIFY(window);
    QStringList boxes;
    for (QCheckBox *box : window->findChildren<QCheckBox *>())
        boxes.append(box->text());
    QCOMPARE(boxes, first);
    QVERIFY(startRedraw({1}));
    const QStringList second = stopRedraw();
    QCOMPARE(second.size(), 1);
    std::set<QString> all(winners.begin(), winners.end());
    all.insert(first.begin(), first.end());
    all.insert(second.begin(), second.end());
    QCOMPARE(int(all.size()), 3 + 2 + 1);
    QVERIFY(resultLines().contains(QStringLiteral("未到场：") + first[1]));

    QString journal = m_dir->resultsFiles().first();
    journal.replace(QStringLiteral(".txt"), QStringLiteral(".jsonl"));
    const Journal::History h = Journal::read(m_dir->read(journal));
    QVERIFY2(h.isSound(), qPrintable(h.error));
    QCOMPARE(h.entries.size(), 3);
}

void TestRedraw::nextRollEndsTheChanceToRedraw()
{
    startEvent(20, 1, 1, 1, 1, 2, 3);
    m_stage->drawRound(3);
    QPointer<RedrawForm> window = openWindow();
    QVERIFY(window);
    m_stage->click(QStringLiteral("Command2")); // the next roll starts
    QTRY_VERIFY(window.isNull() || !window->isVisible());
    QVERIFY(!m_stage->button(QStringLiteral("Command6"))->isEnabled());
    form().Timer1_Timer();
    m_stage->click(QStringLiteral("Command2"));
    QVERIFY(m_stage->button(QStringLiteral("Command6"))->isEnabled());
}

void TestRedraw::firstPrizeLastRoundAfterTheEnd()
{
    startEvent(20, 1, 2, 1, 1, 1, 1);
    const QStringList winners = m_stage->drawRound(1); // the event's end
    QVERIFY(!form().resultsFile().isOpen());
    QVERIFY(m_stage->button(QStringLiteral("Command6"))->isEnabled());
    QVERIFY(startRedraw({1}));
    QCOMPARE(m_stage->text(QStringLiteral("Label8")),
             QStringLiteral("一等奖的补抽正在火热进行中 ……"));
    const QStringList replacement = stopRedraw();
    QVERIFY(!form().resultsFile().isOpen());
    const QStringList lines = resultLines();
    QCOMPARE(lines.mid(lines.size() - 5),
             (QStringList{"●● 一等奖第 1 次补抽结果：●●", "", "未到场：" + winners[1],
                          replacement.first(), ""}));
    QCOMPARE(form().scrollTextLines(), lines);
    // The other levels are still to draw, and go on as late rounds.
    QCOMPARE(m_stage->enabledButtons(),
             (QStringList{"Command2", "Command3", "Command6", "Command7", "Command9"}));
}

void TestRedraw::continuedEventKeepsItsRedraws()
{
    startEvent(20, 1, 1, 1, 1, 2, 3);
    const QStringList winners = m_stage->drawRound(3);
    QVERIFY(startRedraw({0}));
    const QStringList replacement = stopRedraw();
    const QStringList pool = form().ST;
    const QStringList log = m_stage->log();
    m_stage.reset(); // interrupted

    m_stage = std::make_unique<Stage>(*m_dir);
    form().offerUnfinishedEvent();
    QVERIFY(m_stage->boxes.texts().first().endsWith(
        QStringLiteral("已抽 1 轮，4 人中奖。是否继续这次抽奖？")));
    QCOMPARE(form().ST, pool);
    QCOMPARE(m_stage->log(), log);
    QVERIFY(!m_stage->button(QStringLiteral("Command6"))->isEnabled());
    m_stage->unlock();
    // The last stop was the redraw: its replacement can be redrawn in turn.
    RedrawForm *window = openWindow();
    QVERIFY(window);
    QCOMPARE(window->findChildren<QCheckBox *>().size(), 1);
    QCOMPARE(window->findChildren<QCheckBox *>().first()->text(), replacement.first());
    window->close();
    const QStringList next = m_stage->drawRound(3);
    for (const QString &name : next)
        QVERIFY(!winners.contains(name) && !replacement.contains(name));
}

void TestRedraw::nobodyWinsTwiceInAnyOrder_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 2u, 3u, 4u, 5u, 6u})
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

void TestRedraw::nobodyWinsTwiceInAnyOrder()
{
    QFETCH(quint32, seed);
    RandomSource::shared().setFixedSeed(seed);
    startEvent(40, 2, 1, 2, 2, 3, 3);
    QRandomGenerator choose(seed);
    QStringList everyone; // every winner and replacement, in the order drawn
    for (int step = 0; step < 40; ++step) {
        QStringList levels;
        for (int flag = 1; flag <= 3; ++flag) {
            if (m_stage->button(Stage::levelButton(flag))->isEnabled())
                levels.append(Stage::levelButton(flag));
        }
        const bool canRedraw = m_stage->button(QStringLiteral("Command6"))->isEnabled();
        if (levels.isEmpty() && !canRedraw)
            break;
        if (canRedraw && (levels.isEmpty() || choose.bounded(2) == 0)) {
            RedrawForm *window = openWindow();
            QVERIFY(window);
            const int count = int(window->findChildren<QCheckBox *>().size());
            QList<int> ticked{int(choose.bounded(count))};
            if (!startRedraw(ticked)) {
                window->close();
                break; // the pool ran out
            }
            everyone += stopRedraw();
        } else {
            const QString button = levels[int(choose.bounded(int(levels.size())))];
            const int flag = button == QStringLiteral("Command4")   ? 1
                             : button == QStringLiteral("Command3") ? 2
                                                                    : 3;
            everyone += m_stage->drawRound(flag);
        }
    }
    QCOMPARE(int(std::set<QString>(everyone.begin(), everyone.end()).size()), everyone.size());
    QStringList expectedPool = m_people;
    for (const QString &w : everyone)
        QVERIFY(expectedPool.removeOne(w));
    QCOMPARE(form().ST, expectedPool);
    QString journal = m_dir->resultsFiles().first();
    journal.replace(QStringLiteral(".txt"), QStringLiteral(".jsonl"));
    const Journal::History h = Journal::read(m_dir->read(journal));
    QVERIFY2(h.isSound(), qPrintable(h.error));
    QCOMPARE(h.winnersCount(), everyone.size());
}

void TestRedraw::windowShowsTheRound_data()
{
    QTest::addColumn<int>("winners");
    QTest::newRow("5 winners") << 5;
    QTest::newRow("12 winners") << 12;
    QTest::newRow("20 winners: filtered") << 20;
}

void TestRedraw::windowShowsTheRound()
{
    QFETCH(int, winners);
    startEvent(60, 1, 1, 1, 1, 2, winners);
    m_stage->drawRound(3);
    RedrawForm *window = openWindow();
    QVERIFY(window);
    // The stage's own window: a click on the stage does not cover it.
    QCOMPARE(window->parentWidget(), &form());
    QVERIFY(window->isWindow());

    // The focus is on the first box and shown as such at once.
    auto *first = window->findChild<QCheckBox *>(QStringLiteral("Check1"));
    QTRY_VERIFY(first->hasFocus());
    if (winners > 1) {
        // Seen at once: the focused row is painted unlike the others, before any key.
        auto *second = window->findChild<QCheckBox *>(QStringLiteral("Check2"));
        const QPoint corner(first->width() - 2, first->height() / 2);
        QVERIFY(first->grab().toImage().pixel(corner) != second->grab().toImage().pixel(corner));
    }

    auto *scroll = window->findChild<QScrollArea *>(QStringLiteral("winners"));
    auto *filter = window->findChild<QLineEdit *>(QStringLiteral("filter"));
    const QList<QCheckBox *> boxes = window->findChildren<QCheckBox *>();
    QCOMPARE(boxes.size(), winners);
    if (winners <= 12) {
        // Every row in view, no scroll bar.
        QVERIFY(!filter);
        QVERIFY(!scroll->verticalScrollBar()->isVisible());
        for (QCheckBox *box : boxes)
            QVERIFY(!box->visibleRegion().isEmpty());
        return;
    }
    QVERIFY(filter);
    const QString wanted = boxes[13]->text();
    boxes[13]->setChecked(true);
    QTest::keyClicks(filter, wanted.section(u' ', 0, 0)); // its number, as typed
    QList<QCheckBox *> shown;
    for (QCheckBox *box : boxes) {
        if (!box->isHidden())
            shown.append(box);
    }
    QCOMPARE(shown, QList<QCheckBox *>{boxes[13]});
    filter->clear();
    for (QCheckBox *box : boxes)
        QVERIFY(!box->isHidden());
    QCOMPARE(window->ticked(), QList<int>{13}); // the tick survives the filter
}

QTEST_MAIN(TestRedraw)
#include "tst_redraw.moc"
