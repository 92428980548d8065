#include <QLineEdit>
#include <QTest>

#include "platform/interval_timer.h"
#include "platform/text_codec.h"
#include "settings/rwini.h"
#include "support/event_loop.h"
#include "support/stage.h"
#include "windows/start_lock_form.h"

class TestStartLock : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void rightPasswordUnlocksAndClearsStage();
    void wrongEntriesAreRefused_data();
    void wrongEntriesAreRefused();
    void missingKeyIsAddedAndOnlyEmptyEntryUnlocks();
    void cancelChangesNothing();
    void handEditIsSeenAtNextOpening();
    void unlockButtonBringsOpenWindowForward();

private:
    void loadRoster();
    StartLockForm *open();
    void type(const QString &entry);

    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<Stage> m_stage;
};

void TestStartLock::init()
{
    m_dir = std::make_unique<ProgramDir>();
    m_dir->writeSettings(1, 2, 2, 3, 3, 4);
    m_dir->writeRoster(QStringLiteral("参与抽奖名单.vok"), ProgramDir::people(30));
    m_stage = std::make_unique<Stage>(*m_dir);
    loadRoster();
}

void TestStartLock::cleanup()
{
    m_stage.reset();
    m_dir.reset();
}

void TestStartLock::loadRoster()
{
    m_stage->confirmAndLoad(m_dir->file(QStringLiteral("参与抽奖名单.vok")));
    QVERIFY(m_stage->button(QStringLiteral("Command8"))->isEnabled());
    m_stage->boxes.shown.clear(); // the settings' confirmation
}

StartLockForm *TestStartLock::open()
{
    m_stage->click(QStringLiteral("Command8"));
    return m_stage->form().startLock();
}

void TestStartLock::type(const QString &entry)
{
    auto *field = m_stage->form().startLock()->findChild<QLineEdit *>(QStringLiteral("Text2"));
    field->clear();
    QTest::keyClicks(field, entry);
}

void TestStartLock::rightPasswordUnlocksAndClearsStage()
{
    m_stage->child<QWidget>(QStringLiteral("List2"))->setVisible(true);
    QPointer<StartLockForm> lock = open();
    QVERIFY(lock && lock->isVisible());
    QCOMPARE(lock->windowTitle(), QStringLiteral("键入密码启动抽奖系统"));
    QVERIFY(!m_stage->shown(QStringLiteral("List2")));
    QCOMPARE(lock->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), QString());
    type(QStringLiteral("52718364"));
    m_stage->click(lock, QStringLiteral("Command1"));

    QVERIFY(m_stage->boxes.shown.isEmpty());
    QTRY_VERIFY(lock.isNull());
    QCOMPARE(m_stage->enabledButtons(),
             (QStringList{"Command2", "Command3", "Command4", "Command7", "Command9"}));
    for (const char *surface : {"移动图1", "移动图2", "移动图3"})
        QVERIFY(!m_stage->shown(QString::fromUtf8(surface)));
    auto *caption = m_stage->form().findChild<IntervalTimer *>(QStringLiteral("timScrollText"));
    QCOMPARE(caption->interval(), 0);
    QVERIFY(!caption->isTicking());
    const qint32 position = m_stage->form().scrollPosition();
    QVERIFY(letTimersRun(6)); // the caption's 5 ms ticks would have moved it
    QCOMPARE(m_stage->form().scrollPosition(), position);
}

void TestStartLock::wrongEntriesAreRefused_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("wrong digits") << "12345678";
    QTest::newRow("trailing blank") << "52718364 ";
    QTest::newRow("empty") << "";
}

void TestStartLock::wrongEntriesAreRefused()
{
    QFETCH(QString, entry);
    StartLockForm *lock = open();
    type(entry);
    m_stage->click(lock, QStringLiteral("Command1"));
    QCOMPARE(m_stage->boxes.shown.size(), 1);
    const auto &box = m_stage->boxes.shown.first();
    QCOMPARE(box.text, QStringLiteral("密码错误！无权启动抽奖系统."));
    QCOMPARE(box.caption, QStringLiteral("再次确认启动密码"));
    QCOMPARE(box.icon, MessageBoxService::Icon::Critical);
    QVERIFY(lock->isVisible());
    QCOMPARE(lock->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), entry);
    QVERIFY(!m_stage->button(QStringLiteral("Command2"))->isEnabled());
    QVERIFY(m_stage->button(QStringLiteral("Command8"))->isEnabled());

    // Then the right one unlocks.
    type(QStringLiteral("52718364"));
    m_stage->click(lock, QStringLiteral("Command1"));
    QVERIFY(m_stage->button(QStringLiteral("Command2"))->isEnabled());
}

void TestStartLock::missingKeyIsAddedAndOnlyEmptyEntryUnlocks()
{
    m_dir->write(QStringLiteral("SysInfo.ini"),
                 ProgramDir::gb18030Lines({QStringLiteral("[其他]"), QStringLiteral("a=1")}));
    StartLockForm *lock = open();
    QVERIFY(TextCodec::decode(m_dir->read(QStringLiteral("SysInfo.ini")))
                .endsWith(QStringLiteral("[密码]\r\nvok=\r\n")));
    type(QStringLiteral("52718364"));
    m_stage->click(lock, QStringLiteral("Command1"));
    QCOMPARE(m_stage->boxes.shown.size(), 1);
    type(QString());
    m_stage->click(lock, QStringLiteral("Command1"));
    QVERIFY(m_stage->button(QStringLiteral("Command3"))->isEnabled());
}

void TestStartLock::cancelChangesNothing()
{
    QPointer<StartLockForm> lock = open();
    m_stage->click(lock, QStringLiteral("Command2"));
    QTRY_VERIFY(lock.isNull());
    QCOMPARE(m_stage->enabledButtons(), (QStringList{"Command7", "Command8", "Command9"}));
    QVERIFY(!m_stage->shown(QStringLiteral("List2")));
    QVERIFY(m_stage->shown(QStringLiteral("移动图1")));
    auto *caption = m_stage->form().findChild<IntervalTimer *>(QStringLiteral("timScrollText"));
    QVERIFY(caption->isTicking());
}

void TestStartLock::handEditIsSeenAtNextOpening()
{
    QPointer<StartLockForm> lock = open();
    WriteIni(QStringLiteral("密码"), QStringLiteral("vok"), QStringLiteral("new"));
    type(QStringLiteral("new"));
    m_stage->click(lock, QStringLiteral("Command1")); // the open window still holds the old one
    QCOMPARE(m_stage->boxes.shown.size(), 1);
    // Its press wrote the old password back.
    QCOMPARE(ReadIni(QStringLiteral("密码"), QStringLiteral("vok"), QString()),
             QStringLiteral("52718364"));
    WriteIni(QStringLiteral("密码"), QStringLiteral("vok"), QStringLiteral("new"));
    lock->close();
    QTRY_VERIFY(lock.isNull());
    lock = open();
    type(QStringLiteral("new"));
    m_stage->click(lock, QStringLiteral("Command1"));
    QVERIFY(m_stage->button(QStringLiteral("Command4"))->isEnabled());
}

void TestStartLock::unlockButtonBringsOpenWindowForward()
{
    StartLockForm *lock = open();
    type(QStringLiteral("5271"));
    QCOMPARE(open(), lock);
    // Not loaded again: the entry keeps what was typed.
    QCOMPARE(lock->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), QStringLiteral("5271"));
}

QTEST_MAIN(TestStartLock)
#include "tst_start_lock.moc"
