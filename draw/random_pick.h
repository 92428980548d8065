#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

// The draw's random source: uniform doubles in [0, 1) with 53 random bits, reseeded from the
// operating system's entropy mixed with the clock. Tests may fix the seed; the program never does.
class RandomSource
{
public:
    static RandomSource &shared();

    double next();
    void reseedFromClock();

    // Makes the sequence reproducible: reseeding then continues the fixed sequence.
    void setFixedSeed(std::uint64_t seed);
    void clearFixedSeed();

private:
    std::mt19937_64 m_engine{std::random_device{}()};
    bool m_fixed = false;
};

// Draws `n` different integers from NumMin..NumMax. Element 0 of the result is 1 on success,
// followed by the values in the order drawn; 0 alone when the range holds fewer than `n`
// values (or `n` is negative). `counter` is the pick counter, counting the picks from 1 to n.
std::vector<std::int32_t> pickDistinct(std::int32_t NumMin, std::int32_t NumMax, std::int32_t n,
                                       RandomSource &random, std::int32_t &counter);

// Removes the first element equal to `s` (exact text); returns a copy of the array.
QStringList deleteFirstEqual(QStringList &X, const QString &s);

// Removes the entries at the given indices in one pass; the others keep their order.
template <typename List, typename Index = qint32>
void removeIndices(List &pool, std::vector<Index> indices)
{
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    qsizetype write = 0;
    size_t next = 0;
    for (qsizetype read = 0; read < qsizetype(pool.size()); ++read) {
        if (next < indices.size() && indices[next] == read) {
            ++next;
            continue;
        }
        if (write != read)
            pool[write] = std::move(pool[read]);
        ++write;
    }
    pool.resize(write);
}
