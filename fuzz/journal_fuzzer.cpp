// Reading an event journal back: any bytes give a history or a fault, never a crash, and a
// history said to be sound keeps every promise the offer and the continuation rely on.
#include <QSet>
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "record/event_journal.h"
#include "record/event_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const Journal::History h = Journal::read(bytes);
    FUZZ_CHECK(h.wholeBytes >= 0 && h.wholeBytes <= bytes.size());
    if (!h.isSound()) {
        FUZZ_CHECK(!h.error.isEmpty() || !h.start);
        return 0;
    }
    FUZZ_CHECK(h.lastSeq >= 0 && h.lastHash.size() == 64);
    FUZZ_CHECK(!h.start->resultsName.contains(u'/'));
    // Nobody twice, everyone inside the pool: the continuation removes them by position.
    QSet<qint64> won;
    for (qint64 index : h.wonIndices()) {
        FUZZ_CHECK(index >= 0 && index < h.start->poolSize);
        FUZZ_CHECK(!won.contains(index));
        won.insert(index);
    }
    for (int level = 1; level <= 3; ++level)
        FUZZ_CHECK(h.roundsDrawn(level) <= h.start->configuredRounds(level));
    // The journal is also checked against a results file: any file, no crash.
    const Record::Reconciled r = Record::reconcile(h, bytes);
    FUZZ_CHECK(r.countedEntries <= h.entries.size());
    FUZZ_CHECK(r.wholeBytes <= bytes.size());
    return 0;
}
