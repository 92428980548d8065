#include <QTest>

#include "draw/name_fit.h"

class TestNameFit : public QObject
{
    Q_OBJECT
private slots:
    void fits_data();
    void fits();
};

void TestNameFit::fits_data()
{
    QTest::addColumn<int>("names");
    QTest::addColumn<double>("width");
    QTest::addColumn<QSizeF>("area");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("columns");
    QTest::newRow("four names fit as designed") << 4 << 200.0 << QSizeF(900, 330) << 52.0 << 1;
    QTest::newRow("no names") << 0 << 0.0 << QSizeF(900, 330) << 52.0 << 1;
    QTest::newRow("ten names: columns at full size")
        << 10 << 200.0 << QSizeF(900, 330) << 52.0 << 3;
    QTest::newRow("hundred names: smaller and columns")
        << 100 << 200.0 << QSizeF(900, 330) << -1.0 << -1;
    QTest::newRow("one very long name shrinks") << 1 << 1800.0 << QSizeF(900, 330) << -1.0 << 1;
}

void TestNameFit::fits()
{
    QFETCH(int, names);
    QFETCH(double, width);
    QFETCH(QSizeF, area);
    QFETCH(double, points);
    QFETCH(int, columns);
    const double lineHeight = 70;
    const NameFit fit =
        fitNames(std::vector<double>(size_t(names), width), lineHeight, 52, area, 40);
    if (points > 0)
        QCOMPARE(fit.pointSize, points);
    else
        QVERIFY(fit.pointSize < 52);
    if (columns > 0)
        QCOMPARE(fit.columns, columns);
    // Whatever was chosen holds every name inside the area.
    const double scale = fit.pointSize / 52;
    QVERIFY(fit.rows * lineHeight * scale <= area.height() || names == 0);
    QVERIFY(fit.columns * width * scale + (fit.columns - 1) * 40 * scale <= area.width() + 1e-6);
    QVERIFY(fit.columns * fit.rows >= names);
}

QTEST_GUILESS_MAIN(TestNameFit)
#include "tst_name_fit.moc"
