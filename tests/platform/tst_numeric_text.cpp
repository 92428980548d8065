#include <QTest>

#include "platform/numeric_text.h"

class TestNumericText : public QObject
{
    Q_OBJECT
private slots:
    void leadingNumber_data();
    void leadingNumber();
    void toInt16_data();
    void toInt16();
    void roundsHalfToEven_data();
    void roundsHalfToEven();
};

void TestNumericText::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("0") << QStringLiteral("0") << 0.0;
    QTest::newRow("00") << QStringLiteral("00") << 0.0;
    QTest::newRow("0.0") << QStringLiteral("0.0") << 0.0;
    QTest::newRow("lone point") << QStringLiteral(".") << 0.0;
    QTest::newRow("1.5") << QStringLiteral("1.5") << 1.5;
    QTest::newRow("2.3.4") << QStringLiteral("2.3.4") << 2.3;
    QTest::newRow("1 blank 2") << QStringLiteral("1 2") << 12.0;
    QTest::newRow("minus 3") << QStringLiteral("-3") << -3.0;
    QTest::newRow("blanks tabs line feeds skipped") << QStringLiteral(" \t4\n2 ") << 42.0;
    QTest::newRow("stops at a letter") << QStringLiteral("12abc") << 12.0;
    QTest::newRow("letter first") << QStringLiteral("abc12") << 0.0;
    QTest::newRow("exponent") << QStringLiteral("1e3") << 1000.0;
    QTest::newRow("negative exponent") << QStringLiteral("25E-1") << 2.5;
    QTest::newRow("exponent without digits") << QStringLiteral("7e") << 7.0;
    QTest::newRow("exponent sign without digits") << QStringLiteral("7e+") << 7.0;
    QTest::newRow("second sign stops") << QStringLiteral("5-2") << 5.0;
    QTest::newRow("full-width digit is not a digit") << QStringLiteral("３") << 0.0;
}

void TestNumericText::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QCOMPARE(NumericText::leadingNumber(text), number);
}

void TestNumericText::toInt16_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << QStringLiteral("3") << true << 3;
    QTest::newRow("surrounding blanks") << QStringLiteral("  4 ") << true << 4;
    QTest::newRow("0.5 to even") << QStringLiteral("0.5") << true << 0;
    QTest::newRow("1.5 to even") << QStringLiteral("1.5") << true << 2;
    QTest::newRow("2.5 to even") << QStringLiteral("2.5") << true << 2;
    QTest::newRow("negative") << QStringLiteral("-2") << true << -2;
    QTest::newRow("lowest") << QStringLiteral("-32768") << true << -32768;
    QTest::newRow("highest") << QStringLiteral("32767") << true << 32767;
    QTest::newRow("rounds past highest") << QStringLiteral("32767.5") << false << 0;
    QTest::newRow("too large") << QStringLiteral("40000") << false << 0;
    QTest::newRow("too small") << QStringLiteral("-32769") << false << 0;
    QTest::newRow("two numbers") << QStringLiteral("1 2") << false << 0;
    QTest::newRow("not a number") << QStringLiteral("abc") << false << 0;
    QTest::newRow("empty") << QString() << false << 0;
    QTest::newRow("blanks only") << QStringLiteral("   ") << false << 0;
    QTest::newRow("trailing letters") << QStringLiteral("3x") << false << 0;
    QTest::newRow("huge") << QString(400, u'9') << false << 0;
}

void TestNumericText::toInt16()
{
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(int, value);
    const std::optional<qint16> result = NumericText::toInt16(text);
    QCOMPARE(result.has_value(), converts);
    if (converts)
        QCOMPARE(int(*result), value);
}

void TestNumericText::roundsHalfToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("1.5") << 1.5 << 2.0;
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("2.6") << 2.6 << 3.0;
    QTest::newRow("363.9") << 363.9 << 364.0;
}

void TestNumericText::roundsHalfToEven()
{
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(NumericText::roundHalfEven(value), rounded);
}

QTEST_GUILESS_MAIN(TestNumericText)
#include "tst_numeric_text.moc"
