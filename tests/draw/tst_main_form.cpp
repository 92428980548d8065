#include <QDir>
#include <QFile>
#include <QTest>

#include "platform/interval_timer.h"
#include "platform/media_player.h"
#include "support/stage.h"

class TestMainForm : public QObject
{
    Q_OBJECT
private slots:
    void startsAwaitingSettings();
    void startsWithAssetsInPlace();
    void startsSilentlyWithoutAssets();
    void closeCancelledChangesNothing();
    void closeConfirmedClosesResultsAndEnds();
    void closeBeforeRosterEndsNormally();
    void closeLeavesStartLockOpen();

private:
    static MediaPlayer *player(Stage &stage, const char *name)
    {
        return stage.form().findChild<MediaPlayer *>(QLatin1String(name));
    }
};

void TestMainForm::startsAwaitingSettings()
{
    ProgramDir dir;
    dir.writeRoster(QStringLiteral("参与抽奖名单.vok"), {"甲", "乙"});
    Stage stage(dir);
    MainForm &form = stage.form();
    QCOMPARE(form.objectName(), QStringLiteral("抽奖主"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Lumora"));
    QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(stage.enabledButtons(), (QStringList{"Command5", "Command7", "Command9"}));
    for (const char *hidden : {"Label6", "Label7", "List2", "List1", "Label3", "Label8"})
        QVERIFY2(!stage.shown(QLatin1String(hidden)), hidden);
    for (const char *visible : {"Label4", "Label9", "Label5", "Label1", "Label2", "移动图1"})
        QVERIFY2(stage.shown(QString::fromUtf8(visible)), visible);
    QVERIFY(!stage.shown(QStringLiteral("移动图2")));
    QVERIFY(!stage.shown(QStringLiteral("移动图3")));
    QCOMPARE(stage.text(QStringLiteral("Label4")), QStringLiteral("Lumora"));
    QCOMPARE(stage.text(QStringLiteral("Label9")), QStringLiteral("大奖属于你"));
    QCOMPARE(form.nflag, qint16(0));
    QCOMPARE(form.mstrPath, dir.path() + u'/');
    QVERIFY(!form.mstrPath.endsWith(QStringLiteral("//")));
    QCOMPARE(form.scrollTextLines(), (QStringList{"甲", "乙"}));
    auto *caption = form.findChild<IntervalTimer *>(QStringLiteral("timScrollText"));
    QCOMPARE(caption->interval(), 5);
    QVERIFY(caption->isTicking());
    QVERIFY(!form.findChild<IntervalTimer *>(QStringLiteral("Timer1"))->isEnabled());
    QCOMPARE(form.findChild<IntervalTimer *>(QStringLiteral("Timer2"))->interval(), 300);
    QCOMPARE(form.findChild<IntervalTimer *>(QStringLiteral("Timer3"))->interval(), 250);

    QCOMPARE(player(stage, "WindowsMediaPlayer2")->url(),
             dir.path() + QStringLiteral("/Varneth - 默.mp3"));
    QCOMPARE(player(stage, "WindowsMediaPlayer2")->playCount(), 1000);
    QCOMPARE(player(stage, "WindowsMediaPlayer2")->state(), MediaPlayer::State::Playing);
    QCOMPARE(player(stage, "WindowsMediaPlayer1")->url(),
             dir.path() + QStringLiteral("/Ostrevel - 西班牙斗牛士.mp3"));
    QCOMPARE(player(stage, "WindowsMediaPlayer1")->state(), MediaPlayer::State::Stopped);
    QVERIFY(form.picTemp.isNull()); // no B3.jpg here
}

void TestMainForm::startsWithAssetsInPlace()
{
    ProgramDir dir;
    const QString source = qEnvironmentVariable("LUMORA_SOURCE_DIR") + QStringLiteral("/assets/");
    QVERIFY(QFile::copy(source + QStringLiteral("B3.jpg"), dir.file(QStringLiteral("B3.jpg"))));
    Stage stage(dir);
    QCOMPARE(stage.form().picTemp.size(), QSize(1920, 1080));
}

void TestMainForm::startsSilentlyWithoutAssets()
{
    ProgramDir dir;
    dir.write(QStringLiteral("B3.jpg"), QByteArray("not a picture"));
    dir.write(QStringLiteral("Varneth - 默.mp3"), QByteArray("not a tune"));
    Stage stage(dir);
    QVERIFY(stage.form().picTemp.isNull());
    QVERIFY(stage.boxes.shown.isEmpty());
    // The seven message lines scroll when the roster file is missing.
    QCOMPARE(stage.form().scrollTextLines().size(), 7);
    QCOMPARE(stage.form().scrollTextLines().first(), QStringLiteral("加载文件加载错误"));
}

void TestMainForm::closeCancelledChangesNothing()
{
    ProgramDir dir;
    Stage stage(dir);
    stage.boxes.setNextAnswer(MessageBoxService::Answer::Cancel);
    stage.click(QStringLiteral("Command7"));
    QCOMPARE(stage.boxes.shown.size(), 1);
    const auto &box = stage.boxes.shown.first();
    QCOMPARE(box.text, QStringLiteral("确定要关闭抽奖系统吗？"));
    QCOMPARE(box.caption, QStringLiteral("抽奖系统警告"));
    QCOMPARE(box.buttons, MessageBoxService::Buttons::OkCancel);
    QCOMPARE(box.icon, MessageBoxService::Icon::None);
    QVERIFY(stage.form().isVisible());
}

void TestMainForm::closeConfirmedClosesResultsAndEnds()
{
    ProgramDir dir;
    dir.writeSettings(1, 1, 1, 1, 1, 1);
    const QString roster = dir.writeRoster(QStringLiteral("r.vok"), ProgramDir::people(10));
    Stage stage(dir);
    stage.confirmAndLoad(roster);
    QVERIFY(stage.form().resultsFile().isOpen());
    const QString results = stage.form().str2;
    QPointer<QWidget> settings = stage.form().prizeSettings();
    stage.click(QStringLiteral("Command9"));
    QPointer<QWidget> notes = stage.form().instructions();

    QVERIFY(stage.closeProgram()); // the main window is gone: the program ends
    QTRY_VERIFY(settings.isNull());
    QTRY_VERIFY(notes.isNull());
    QFile file(results);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.size() > 0); // the header, whole
}

void TestMainForm::closeBeforeRosterEndsNormally()
{
    ProgramDir dir;
    Stage stage(dir);
    QVERIFY(stage.closeProgram());
    QVERIFY(dir.resultsFiles().isEmpty());
}

void TestMainForm::closeLeavesStartLockOpen()
{
    ProgramDir dir;
    dir.writeSettings(1, 1, 1, 1, 1, 1);
    const QString roster = dir.writeRoster(QStringLiteral("r.vok"), ProgramDir::people(10));
    Stage stage(dir);
    stage.confirmAndLoad(roster);
    stage.click(QStringLiteral("Command8"));
    QPointer<QWidget> lock = stage.form().startLock();
    stage.click(QStringLiteral("Command7"));
    QTRY_VERIFY(!stage.form().isVisible());
    QVERIFY(lock && lock->isVisible());
    delete lock.data();
}

QTEST_MAIN(TestMainForm)
#include "tst_main_form.moc"
