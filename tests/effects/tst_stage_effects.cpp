#include <QPaintEvent>
#include <QTest>

#include "effects/scroll_caption.h"
#include "platform/interval_timer.h"
#include "platform/look.h"
#include "platform/picture_box.h"
#include "platform/text_outline.h"
#include "support/stage.h"

namespace {

double luminance(const QColor &c)
{
    auto channel = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int distance(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

} // namespace

class TestStageEffects : public QObject
{
    Q_OBJECT
private slots:
    void captionScrollsRosterAndRestarts();
    void captionMovesUpOnePixelPerTick();
    void titlesBlinkInTheirPairs();
    void ticksBetweenRefreshesComposeNothing();
    void blinkingRepaintsOnlyTheTitles_data();
    void blinkingRepaintsOnlyTheTitles();
    void stageTextReadsAgainstTheBackground_data();
    void stageTextReadsAgainstTheBackground();

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

void TestStageEffects::ticksBetweenRefreshesComposeNothing()
{
    ProgramDir dir;
    dir.writeRoster(QStringLiteral("参与抽奖名单.vok"), ProgramDir::people(30));
    Stage stage(dir);
    MainForm &form = stage.form();
    form.findChild<IntervalTimer *>(QStringLiteral("timScrollText"))->setEnabled(false);
    auto *display = stage.child<PictureBox>(QStringLiteral("移动图1"));
    auto *work = stage.child<PictureBox>(QStringLiteral("移动图2"));
    auto *back = stage.child<PictureBox>(QStringLiteral("移动图3"));
    form.composeCaptionFrame(); // nothing pending yet: draws nothing
    for (int k = 0; k < 300; ++k)
        form.timScrollText_Timer(); // the names are well inside the display now
    const QImage before = display->image().copy();
    const qint32 newest = form.scrollPosition() + 1;
    for (int k = 0; k < 5; ++k)
        form.timScrollText_Timer();
    QCOMPARE(display->image(), before); // ticks alone draw nothing
    QVERIFY(form.captionFramePending());

    form.composeCaptionFrame();
    QVERIFY(!form.captionFramePending());
    const QImage composed = display->image().copy();
    QVERIFY(composed != before);
    // The frame is exactly the one that drawing every tick would have left on the display.
    for (qint32 position = newest; position >= newest - 5; --position)
        ScrollCaption::DrawScrollText(form.scrollTextLines(), *back, *work, *display, 0x00C0FFFF,
                                      0x000080FF, position, 1, 2);
    QCOMPARE(composed, display->image());
    QCOMPARE(form.scrollPosition(), newest - 6);
}

void TestStageEffects::blinkingRepaintsOnlyTheTitles_data()
{
    QTest::addColumn<QString>("label");
    QTest::newRow("Label4 by Timer2") << "Label4";
    QTest::newRow("Label9 by Timer3") << "Label9";
}

void TestStageEffects::blinkingRepaintsOnlyTheTitles()
{
    QFETCH(QString, label);
    ProgramDir dir;
    Stage stage(dir);
    MainForm &form = stage.form();
    for (const char *name : {"Timer1", "Timer2", "Timer3", "timScrollText"})
        form.findChild<IntervalTimer *>(QLatin1String(name))->setEnabled(false);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(); // the first paint of the whole stage

    // Every paint of the stage and its controls, in stage coordinates.
    class PaintWatcher : public QObject
    {
    public:
        explicit PaintWatcher(QWidget *stage) : m_stage(stage) {}
        QRegion painted;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Paint) {
                auto *widget = static_cast<QWidget *>(watched);
                const QRect r = static_cast<QPaintEvent *>(event)->rect();
                painted += QRect(widget->mapTo(m_stage, r.topLeft()), r.size());
            }
            return false;
        }

    private:
        QWidget *m_stage;
    } watcher(&form);
    form.installEventFilter(&watcher);
    for (QWidget *child : form.findChildren<QWidget *>())
        child->installEventFilter(&watcher);

    if (label == QStringLiteral("Label4"))
        form.Timer2_Timer();
    else
        form.Timer3_Timer();
    QTRY_VERIFY(!watcher.painted.isEmpty());
    QCoreApplication::processEvents();
    // The titles with their outlines, nothing else of the stage: an outlined label is drawn
    // whole, so the other title, which overlaps this one's box, is drawn again too.
    QRegion titles;
    for (const char *name : {"Label4", "Label9"}) {
        QWidget *title = stage.child<QWidget>(QLatin1String(name));
        const int w = qobject_cast<TextOutlineEffect *>(title->graphicsEffect())->width();
        titles += title->geometry().adjusted(-w, -w, w, w);
    }
    QVERIFY(stage.child<QWidget>(label)->geometry().intersects(watcher.painted.boundingRect()));
    QVERIFY2((watcher.painted - titles).isEmpty(),
             qPrintable(QStringLiteral("painted %1,%2 %3x%4")
                            .arg(watcher.painted.boundingRect().x())
                            .arg(watcher.painted.boundingRect().y())
                            .arg(watcher.painted.boundingRect().width())
                            .arg(watcher.painted.boundingRect().height())));
}

void TestStageEffects::stageTextReadsAgainstTheBackground_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QSize>("screen");
    for (const QSize screen : {QSize(1366, 768), QSize(1920, 1080)}) {
        for (const char *label : {"Label4", "Label9", "Label5", "Label2"}) {
            QTest::addRow("%s at %dx%d", label, screen.width(), screen.height())
                << QString::fromLatin1(label) << screen;
        }
    }
}

void TestStageEffects::stageTextReadsAgainstTheBackground()
{
    QFETCH(QString, label);
    QFETCH(QSize, screen);
    ProgramDir dir;
    dir.writeSettings(1, 1, 1, 1, 2, 3);
    const QString roster = dir.writeRoster(QStringLiteral("名单.vok"), ProgramDir::people(20));
    Stage stage(dir);
    stage.form().resize(screen);
    stage.prepare(roster);
    stage.drawRound(3); // the blue heading and the winners on stage
    QWidget *text = stage.child(label);
    QVERIFY(text->isVisible());
    const QColor ink = text->palette().color(QPalette::WindowText);
    const QColor outline = TextOutlineEffect::colour();

    // Around the glyphs, on the stage as painted: pixels of the outline's colour, and the
    // background they stand on far enough from it.
    const QImage shown = stage.form().grab().toImage();
    const QRect area = text->geometry().intersected(shown.rect());
    int outlinePixels = 0;
    QList<QColor> background;
    for (int y = area.top(); y <= area.bottom(); y += 1) {
        for (int x = area.left(); x <= area.right(); x += 1) {
            const QColor c = shown.pixelColor(x, y);
            if (distance(c, outline) < 40)
                ++outlinePixels;
            else if (distance(c, ink) > 120 && (x + y) % 7 == 0)
                background.append(c);
        }
    }
    QVERIFY2(outlinePixels > 100, qPrintable(QString::number(outlinePixels)));
    QVERIFY(!background.isEmpty());
    std::sort(background.begin(), background.end(),
              [](const QColor &a, const QColor &b) { return luminance(a) < luminance(b); });
    // The background of the stage behind the text, by its median.
    QVERIFY2(contrast(outline, background[background.size() / 2]) >= 3.0,
             qPrintable(background[background.size() / 2].name()));
}

QTEST_MAIN(TestStageEffects)
#include "tst_stage_effects.moc"
