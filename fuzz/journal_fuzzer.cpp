// Reading an event journal back: any bytes give a history or a fault, never a crash, and a
// history said to be sound keeps every promise the offer and the continuation rely on.
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "record/event_journal.h"
#include "record/event_record.h"

namespace {

// Input starting with '#': every line is re-chained (seq, prev and hash recomputed) before it is
// read, so that mutations get past the hash chain into the checks of the event's story.
QByteArray rechained(const QByteArray &lines)
{
    QByteArray out, prev;
    qint64 seq = 0;
    for (const QByteArray &line : lines.split('\n')) {
        QJsonObject o = QJsonDocument::fromJson(line).object();
        if (o.isEmpty()) {
            out += line + '\n';
            continue;
        }
        for (const char *member : {"seq", "prev", "hash"})
            o.remove(QLatin1String(member));
        out += Journal::encode(o, seq++, prev, &prev);
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (bytes.startsWith('#'))
        bytes = rechained(bytes.mid(1));
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
    // A redraw only ever takes the round of the stop just before it.
    for (qsizetype k = 0; k < h.entries.size(); ++k) {
        const Journal::Entry &e = h.entries[k];
        if (e.kind != Journal::Entry::Kind::Redraw)
            continue;
        FUZZ_CHECK(k > 0 && h.entries[k - 1].level == e.level && h.entries[k - 1].round == e.round);
    }
    // The journal is also checked against a results file: any file, no crash.
    const Record::Reconciled r = Record::reconcile(h, bytes);
    FUZZ_CHECK(r.countedEntries <= h.entries.size());
    FUZZ_CHECK(r.wholeBytes <= bytes.size());
    return 0;
}
