// The line reader and the pool: any bytes decode and split; no line holds a line end; the pool
// is exactly the accepted lines split at the separator.
#include <QByteArray>
#include <cstdint>

#include "draw/roster.h"
#include "fuzz/fuzz_check.h"
#include "platform/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = TextCodec::decode(bytes);
    const QStringList lines = TextCodec::splitLines(text);
    FUZZ_CHECK(text.isEmpty() == lines.isEmpty());
    qsizetype characters = 0;
    for (const QString &line : lines) {
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
        characters += line.size();
    }
    FUZZ_CHECK(characters <= text.size());

    const Roster::Pool pool = Roster::buildPool(lines);
    qsizetype expected = 0;
    for (const QString &line : pool.accepted) {
        FUZZ_CHECK(!Roster::isBlank(line));
        expected += line.count(Roster::kSeparator) + 1;
    }
    FUZZ_CHECK(pool.entries.size() == expected);
    for (const QString &entry : pool.entries)
        FUZZ_CHECK(!entry.contains(Roster::kSeparator));
    return 0;
}
