#include <QLabel>
#include <QTest>

#include "layout/proportional_layout.h"
#include "platform/interval_timer.h"
#include "support/stage.h"

class TestLayout : public QObject
{
    Q_OBJECT
private slots:
    void parsesTags_data();
    void parsesTags();
    void recordsDesignGeometryInTags();
    void workedExample();
    void roundTripRestoresEveryControl_data();
    void roundTripRestoresEveryControl();
    void negativePositionsStayNegative();
    void fontsAreNeverTouched();
};

void TestLayout::parsesTags_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QList<double>>("values");
    QTest::newRow("recorded") << "4095   2580   6450   5460   "
                              << QList<double>{4095, 2580, 6450, 5460};
    QTest::newRow("negative") << "-6120   9405   6720   5595   "
                              << QList<double>{-6120, 9405, 6720, 5595};
    QTest::newRow("empty") << "" << QList<double>{0, 0, 0, 0};
    QTest::newRow("last field without separator") << "1   2   3   4" << QList<double>{1, 2, 3, 0};
    QTest::newRow("not numbers") << "a   b   c   d   " << QList<double>{0, 0, 0, 0};
    QTest::newRow("fraction") << "1.5   2   3   4   " << QList<double>{1.5, 2, 3, 4};
}

void TestLayout::parsesTags()
{
    QFETCH(QString, tag);
    QFETCH(QList<double>, values);
    const auto parsed = ProportionalLayout::parseTag(tag);
    QCOMPARE((QList<double>{parsed[0], parsed[1], parsed[2], parsed[3]}), values);
    if (tag.endsWith(QStringLiteral("   ")) && values != QList<double>{0, 0, 0, 0})
        QCOMPARE(ProportionalLayout::formatTag(values[0], values[1], values[2], values[3]), tag);
}

void TestLayout::recordsDesignGeometryInTags()
{
    ProgramDir dir;
    Stage stage(dir);
    QCOMPARE(stage.child<QWidget>(QStringLiteral("移动图1"))->property("Tag").toString(),
             QStringLiteral("4095   2580   6450   5460   "));
    QCOMPARE(stage.child<QWidget>(QStringLiteral("Command7"))->property("Tag").toString(),
             QStringLiteral("13455   8505   1095   375   "));
    // A timer has no geometry: its Tag stays empty and it is skipped.
    QVERIFY(stage.form()
                .findChild<IntervalTimer *>(QStringLiteral("Timer1"))
                ->property("Tag")
                .toString()
                .isEmpty());
}

void TestLayout::workedExample()
{
    ProgramDir dir;
    Stage stage(dir);
    stage.form().resize(29340 / 15, 14580 / 15);
    QCOMPARE(stage.child<QWidget>(QStringLiteral("移动图1"))->geometry(),
             QRect(8190 / 15, 3870 / 15, 12900 / 15, 8190 / 15));
    // The button column stays at the right edge.
    QWidget *close = stage.child<QWidget>(QStringLiteral("Command7"));
    QVERIFY(close->geometry().right() < stage.form().width());
    QVERIFY(close->geometry().right() > stage.form().width() * 0.95);
}

void TestLayout::roundTripRestoresEveryControl_data()
{
    QTest::addColumn<QSize>("other");
    QTest::newRow("twice the size") << QSize(978 * 2, 648 * 2);
    QTest::newRow("nothing") << QSize(0, 0);
    QTest::newRow("odd size") << QSize(1023, 767);
}

void TestLayout::roundTripRestoresEveryControl()
{
    QFETCH(QSize, other);
    ProgramDir dir;
    Stage stage(dir);
    MainForm &form = stage.form();
    const QSize design = form.size();
    QMap<QString, QRect> before;
    for (QWidget *w : form.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        before[w->objectName()] = w->geometry();
    form.resize(other);
    if (other.isEmpty()) {
        QCOMPARE(stage.child<QWidget>(QStringLiteral("Command5"))->geometry(), QRect(0, 0, 0, 0));
    }
    form.resize(design);
    for (QWidget *w : form.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        QCOMPARE(w->geometry(), before[w->objectName()]);
}

void TestLayout::negativePositionsStayNegative()
{
    ProgramDir dir;
    Stage stage(dir);
    stage.form().resize(978 * 2, 648);
    QCOMPARE(stage.child<QWidget>(QStringLiteral("移动图3"))->x(), -6120 * 2 / 15);
}

void TestLayout::fontsAreNeverTouched()
{
    ProgramDir dir;
    Stage stage(dir);
    QLabel *heading = stage.child<QLabel>(QStringLiteral("Label5")); // 48 points
    stage.form().resize(978 / 2, 648 / 2);
    QCOMPARE(heading->font().pointSizeF(), 48.0);
    // Half its designed box (135, 2610, 14010, 1065 twips), rounded to pixels.
    QCOMPARE(heading->geometry(), QRect(5, 87, 467, 36));
    QCOMPARE(stage.child<QLabel>(QStringLiteral("Label9"))->font().pointSizeF(), 42.0);
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
