#include <QSignalSpy>
#include <QTest>

#include "platform/interval_timer.h"
#include "platform/media_player.h"
#include "platform/picture_box.h"
#include "platform/program_directory.h"
#include "support/event_loop.h"

class TestPlatformParts : public QObject
{
    Q_OBJECT
private slots:
    void timerWithIntervalZeroNeverTicks();
    void timerTicksWhileEnabled();
    void separatorEndsProgramDirectoryOnce_data();
    void separatorEndsProgramDirectoryOnce();
    void missingTuneIsSilent();
    void pictureBoxPrintsAndMovesDown();
    void copyRectCopiesUnscaledAndClips();
};

void TestPlatformParts::timerWithIntervalZeroNeverTicks()
{
    IntervalTimer timer(QStringLiteral("t"), 0, true, nullptr);
    QSignalSpy ticks(&timer, &IntervalTimer::Timer);
    QVERIFY(timer.isEnabled());
    QVERIFY(!timer.isTicking());
    QVERIFY(letTimersRun(6));
    QCOMPARE(ticks.count(), 0);
    timer.setInterval(5);
    QTRY_VERIFY(ticks.count() >= 2);
    timer.setInterval(0); // what the start lock does to stop the caption
    QVERIFY(!timer.isTicking());
    QVERIFY(timer.isEnabled());
}

void TestPlatformParts::timerTicksWhileEnabled()
{
    IntervalTimer timer(QStringLiteral("t"), 5, false, nullptr);
    QSignalSpy ticks(&timer, &IntervalTimer::Timer);
    QVERIFY(letTimersRun(4));
    QCOMPARE(ticks.count(), 0);
    timer.setEnabled(true);
    QTRY_VERIFY(ticks.count() >= 1);
    timer.setEnabled(false);
    const int seen = int(ticks.count());
    QVERIFY(letTimersRun(4));
    QCOMPARE(int(ticks.count()), seen);
}

void TestPlatformParts::separatorEndsProgramDirectoryOnce_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("withSeparator");
    QTest::newRow("ordinary") << QStringLiteral("/opt/lumora") << QStringLiteral("/opt/lumora/");
    QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/");
    QTest::newRow("drive root") << QStringLiteral("C:/") << QStringLiteral("C:/");
}

void TestPlatformParts::separatorEndsProgramDirectoryOnce()
{
    QFETCH(QString, directory);
    QFETCH(QString, withSeparator);
    QCOMPARE(ProgramDirectory::withSeparator(directory), withSeparator);
}

void TestPlatformParts::missingTuneIsSilent()
{
    MediaPlayer player(50);
    player.setUrl(QStringLiteral("/nonexistent/tune.mp3"));
    player.setPlayCount(1000);
    QCOMPARE(player.state(), MediaPlayer::State::Playing); // as far as the stage is concerned
    player.pause();
    QCOMPARE(player.state(), MediaPlayer::State::Paused);
    player.stop();
    QCOMPARE(player.state(), MediaPlayer::State::Stopped);
    QCOMPARE(player.url(), QStringLiteral("/nonexistent/tune.mp3"));
}

void TestPlatformParts::pictureBoxPrintsAndMovesDown()
{
    PictureBox box(QStringLiteral("box"));
    box.resize(200, 100);
    box.setCurrentX(12);
    box.setCurrentY(5);
    box.setForeColor(Qt::white);
    const double height = box.textHeight(QStringLiteral("X"));
    QVERIFY(height > 0);
    box.print(QStringLiteral("X"));
    QCOMPARE(box.currentX(), 0.0);
    QCOMPARE(box.currentY(), 5 + height);
    QCOMPARE(box.scaleWidth(), 200.0);
    QCOMPARE(box.scaleHeight(), 100.0);
}

void TestPlatformParts::copyRectCopiesUnscaledAndClips()
{
    PictureBox source(QStringLiteral("source"));
    source.resize(10, 10);
    QImage red(10, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    source.setPicture(red);
    PictureBox target(QStringLiteral("target"));
    target.resize(20, 20);
    QImage blue(20, 20, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    target.setPicture(blue);
    PictureBox::copyRect(target, 5, 5, 20, 20, source, 0, 0); // wider than the source
    QCOMPARE(target.image().pixelColor(5, 5), QColor(Qt::red));
    QCOMPARE(target.image().pixelColor(14, 14), QColor(Qt::red));
    QCOMPARE(target.image().pixelColor(15, 15), QColor(Qt::blue)); // beyond the source
    QCOMPARE(target.image().pixelColor(4, 4), QColor(Qt::blue));
}

QTEST_MAIN(TestPlatformParts)
#include "tst_platform_parts.moc"
