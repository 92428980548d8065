#include <QTest>
#include <set>

#include "draw/random_pick.h"

class TestRandomPick : public QObject
{
    Q_OBJECT
private slots:
    void edgeCases_data();
    void edgeCases();
    void picksAreDistinctAndInRange();
    void everyValueEquallyLikelyAtEveryPosition();
    void worksBeyondSixteenBits();
    void deleteArray_data();
    void deleteArray();
    void removeIndicesKeepsOrder();
};

void TestRandomPick::edgeCases_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("size");
    QTest::newRow("single value") << 5 << 5 << 1 << 1 << 2;
    QTest::newRow("whole range") << 0 << 9 << 10 << 1 << 11;
    QTest::newRow("range too small") << 0 << 9 << 11 << 0 << 1;
    QTest::newRow("none wanted") << 0 << 9 << 0 << 1 << 1;
    QTest::newRow("size a multiple of 8 plus one") << 0 << 8 << 9 << 1 << 10;
    QTest::newRow("negative count refused") << 0 << 9 << -2 << 0 << 1;
    QTest::newRow("empty pool") << 0 << -1 << 1 << 0 << 1;
    QTest::newRow("empty pool, none wanted") << 0 << -1 << 0 << 1 << 1;
}

void TestRandomPick::edgeCases()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, n);
    QFETCH(int, first);
    QFETCH(int, size);
    RandomSource random;
    random.setFixedSeed(1);
    std::int32_t counter = 0;
    const auto result = pickDistinct(min, max, n, random, counter);
    QCOMPARE(int(result.size()), size);
    QCOMPARE(result[0], first);
    std::set<int> values(result.begin() + 1, result.end());
    QCOMPARE(int(values.size()), size - 1);
    for (int v : values)
        QVERIFY(v >= min && v <= max);
    if (n == max - min + 1 && n > 0) // the whole range: every value once
        QCOMPARE(*values.rbegin(), max);
}

void TestRandomPick::picksAreDistinctAndInRange()
{
    RandomSource random;
    random.setFixedSeed(7);
    std::int32_t counter = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        const int max = trial % 60;
        const int n = (trial * 7) % (max + 2);
        const auto result = pickDistinct(0, max, n, random, counter);
        if (n > max + 1) {
            QCOMPARE(result, std::vector<std::int32_t>{0});
            continue;
        }
        QCOMPARE(int(result.size()), n + 1);
        std::set<int> seen;
        for (size_t k = 1; k < result.size(); ++k) {
            QVERIFY(result[k] >= 0 && result[k] <= max);
            QVERIFY(seen.insert(result[k]).second);
        }
    }
}

void TestRandomPick::everyValueEquallyLikelyAtEveryPosition()
{
    // Chi-square over 10 values at each of 4 pick positions, 20,000 calls: with 9 degrees of
    // freedom, 27.88 is the 0.1% critical value.
    RandomSource random;
    random.setFixedSeed(20161001);
    constexpr int kValues = 10, kPositions = 4, kCalls = 20000;
    int counts[kPositions][kValues] = {};
    std::int32_t counter = 0;
    for (int call = 0; call < kCalls; ++call) {
        const auto result = pickDistinct(0, kValues - 1, kPositions, random, counter);
        for (int p = 0; p < kPositions; ++p)
            ++counts[p][result[size_t(p + 1)]];
    }
    const double expected = double(kCalls) / kValues;
    for (int p = 0; p < kPositions; ++p) {
        double chi2 = 0;
        for (int v = 0; v < kValues; ++v)
            chi2 += (counts[p][v] - expected) * (counts[p][v] - expected) / expected;
        QVERIFY2(chi2 < 27.88, qPrintable(QStringLiteral("position %1: chi2 %2").arg(p).arg(chi2)));
    }
}

void TestRandomPick::worksBeyondSixteenBits()
{
    RandomSource random;
    random.setFixedSeed(3);
    std::int32_t counter = 0;
    const auto result = pickDistinct(0, 999999, 100, random, counter);
    QCOMPARE(result.size(), size_t(101));
    QCOMPARE(result[0], 1);
    QCOMPARE(counter, 101);
    bool beyond = false;
    for (size_t k = 1; k < result.size(); ++k)
        beyond = beyond || result[k] > 32767;
    QVERIFY(beyond);
}

void TestRandomPick::deleteArray_data()
{
    QTest::addColumn<QStringList>("array");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("first of two equal")
        << QStringList{"a", "b", "a", "c"} << "a" << QStringList{"b", "a", "c"};
    QTest::newRow("case matters") << QStringList{"a", "b"} << "A" << QStringList{"a", "b"};
    QTest::newRow("blanks matter") << QStringList{"a", "b"} << "a " << QStringList{"a", "b"};
    QTest::newRow("last element") << QStringList{"x", "y", "z"} << "z" << QStringList{"x", "y"};
    QTest::newRow("only element") << QStringList{"x"} << "x" << QStringList{};
}

void TestRandomPick::deleteArray()
{
    QFETCH(QStringList, array);
    QFETCH(QString, text);
    QFETCH(QStringList, after);
    const QStringList copy = deleteFirstEqual(array, text);
    QCOMPARE(array, after);
    QCOMPARE(copy, after);
}

void TestRandomPick::removeIndicesKeepsOrder()
{
    QStringList pool{"a", "b", "c", "d", "e", "f"};
    removeIndices(pool, {4, 0, 2, 4});
    QCOMPARE(pool, (QStringList{"b", "d", "f"}));
    removeIndices(pool, {});
    QCOMPARE(pool.size(), 3);
}

QTEST_GUILESS_MAIN(TestRandomPick)
#include "tst_random_pick.moc"
