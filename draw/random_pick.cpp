#include "draw/random_pick.h"

#include <algorithm>
#include <chrono>

RandomSource &RandomSource::shared()
{
    static RandomSource source;
    return source;
}

double RandomSource::next()
{
    // The top 53 bits of a 64-bit draw, scaled into [0, 1).
    return double(m_engine() >> 11) * 0x1.0p-53;
}

void RandomSource::reseedFromClock()
{
    if (m_fixed)
        return;
    std::random_device entropy;
    const auto clock =
        std::uint64_t(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::seed_seq seed{entropy(),
                       entropy(),
                       entropy(),
                       entropy(),
                       std::uint32_t(clock),
                       std::uint32_t(clock >> 32)};
    m_engine.seed(seed);
}

void RandomSource::setFixedSeed(std::uint64_t seed)
{
    m_engine.seed(seed);
    m_fixed = true;
}

void RandomSource::clearFixedSeed()
{
    m_fixed = false;
    reseedFromClock();
}

std::vector<std::int32_t> pickDistinct(std::int32_t NumMin, std::int32_t NumMax, std::int32_t n,
                                       RandomSource &random, std::int32_t &counter)
{
    const std::int64_t size = std::int64_t(NumMax) - std::int64_t(NumMin) + 1;
    if (n < 0 || n > size)
        return {0};

    std::vector<std::int32_t> result(size_t(n) + 1, 0);
    // One bit per candidate value: bit (k mod 8) of byte (k div 8) for value NumMin + k.
    std::vector<std::uint8_t> used(size_t((std::int64_t(NumMax) - NumMin) / 8 + 1), 0);
    random.reseedFromClock();
    result[0] = 1;
    for (counter = 1; counter <= n; ++counter) {
        std::int64_t k;
        do {
            k = std::min(std::int64_t(random.next() * double(size)), size - 1);
        } while (used[size_t(k / 8)] & (1u << (k % 8)));
        used[size_t(k / 8)] |= std::uint8_t(1u << (k % 8));
        result[size_t(counter)] = std::int32_t(NumMin + k);
    }
    return result;
}

QStringList deleteFirstEqual(QStringList &X, const QString &s)
{
    const qsizetype found = X.indexOf(s);
    if (found >= 0)
        X.removeAt(found);
    return X;
}
