#include <QTest>

#include "platform/interval_timer.h"
#include "platform/look.h"
#include "support/stage.h"

class TestStageEffects : public QObject
{
    Q_OBJECT
private slots:
    void captionScrollsRosterAndRestarts();
    void captionMovesUpOnePixelPerTick();
    void titlesBlinkInTheirPairs();

private:
    static quint32 colour(Stage &stage, const char *label)
    {
        return Look::toBgr(
            stage.child<QWidget>(QLatin1String(label))->palette().color(QPalette::WindowText));
    }
};

void TestStageEffects::captionScrollsRosterAndRestarts()
{
    ProgramDir dir;
    dir.writeRoster(QStringLiteral("参与抽奖名单.vok"), {"唯一的一行"});
    Stage stage(dir);
    MainForm &form = stage.form();
    auto *timer = form.findChild<IntervalTimer *>(QStringLiteral("timScrollText"));
    QCOMPARE(timer->interval(), 5);
    const qint32 start = form.scrollPosition();
    QCOMPARE(start, qint32(stage.child<QWidget>(QStringLiteral("移动图1"))->height()));
    timer->setEnabled(false); // drive the ticks by hand
    int ticks = 0;
    while (timer->interval() == 5 && ticks < 10000) {
        form.timScrollText_Timer();
        ++ticks;
    }
    QCOMPARE(timer->interval(), 10);
    QVERIFY(timer->isEnabled());
    QCOMPARE(form.scrollPosition(), start); // rewound to the bottom for the next pass
    // The pass ended when the line's top had passed one line height above the top edge.
    QVERIFY(ticks > start);
}

void TestStageEffects::captionMovesUpOnePixelPerTick()
{
    ProgramDir dir;
    dir.writeRoster(QStringLiteral("参与抽奖名单.vok"), ProgramDir::people(20));
    Stage stage(dir);
    MainForm &form = stage.form();
    form.findChild<IntervalTimer *>(QStringLiteral("timScrollText"))->setEnabled(false);
    const qint32 before = form.scrollPosition();
    for (int k = 0; k < 40; ++k)
        form.timScrollText_Timer();
    QCOMPARE(form.scrollPosition(), before - 40);
    QTRY_VERIFY(form.findChild<IntervalTimer *>(QStringLiteral("Timer2"))->isTicking());
}

void TestStageEffects::titlesBlinkInTheirPairs()
{
    ProgramDir dir;
    Stage stage(dir);
    MainForm &form = stage.form();
    for (const char *name : {"Timer2", "Timer3"})
        form.findChild<IntervalTimer *>(QLatin1String(name))->setEnabled(false);
    QCOMPARE(colour(stage, "Label4"), quint32(0x0000FFFF)); // design yellow before the first tick
    const quint32 label4[] = {0x00FF00FF, 0x0000D7FF, 0x00FF00FF, 0x0000D7FF};
    for (quint32 expected : label4) {
        form.Timer2_Timer();
        QCOMPARE(colour(stage, "Label4"), expected);
    }
    const quint32 label9[] = {0x0000FF00, 0x0000D7FF, 0x0000FF00};
    for (quint32 expected : label9) {
        form.Timer3_Timer();
        QCOMPARE(colour(stage, "Label9"), expected);
    }
    // A colour from outside the pair goes to the pair's first colour.
    QWidget *title = stage.child<QWidget>(QStringLiteral("Label9"));
    QPalette palette = title->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    title->setPalette(palette);
    form.Timer3_Timer();
    QCOMPARE(colour(stage, "Label9"), quint32(0x0000FF00));
}

QTEST_MAIN(TestStageEffects)
#include "tst_stage_effects.moc"
