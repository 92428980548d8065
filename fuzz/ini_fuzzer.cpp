// The INI reader/writer: any bytes parse; an unchanged document gives its bytes back; a write
// keeps every line it does not touch, in order, and the value reads back.
#include <QByteArray>
#include <QList>
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "platform/text_codec.h"
#include "settings/ini_document.h"

namespace {

QList<QByteArray> rawLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype k = 0; k < bytes.size(); ++k) {
        if (bytes[k] == '\r' && k + 1 < bytes.size() && bytes[k + 1] == '\n')
            ++k;
        if (bytes[k] == '\r' || bytes[k] == '\n') {
            lines.append(bytes.mid(start, k + 1 - start));
            start = k + 1;
        }
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto encoding = TextCodec::detectEncoding(bytes);
    const bool eightBit =
        encoding == TextCodec::Encoding::Gb18030 || encoding == TextCodec::Encoding::Utf8;
    IniDocument document(bytes);
    if (eightBit)
        FUZZ_CHECK(document.toBytes() == bytes);

    // Section and key names taken from the input itself, so that existing ones get hit.
    const QString text = TextCodec::decode(bytes);
    const qsizetype cut = text.size() / 3;
    QString section = text.left(std::min<qsizetype>(cut, 12)).simplified();
    QString key = text.mid(cut, 8).simplified();
    section.remove(u'[').remove(u']').remove(u'=').remove(u';').remove(u'#');
    key.remove(u'[').remove(u'=').remove(u';').remove(u'#');
    // Names are real text: no lone surrogates, no blanks around them.
    section = QString::fromUtf8(section.toUtf8()).trimmed();
    key = QString::fromUtf8(key.toUtf8()).trimmed();
    if (section.isEmpty())
        section = QStringLiteral("一等奖");
    if (key.isEmpty())
        key = QStringLiteral("次数");
    const QString value = QStringLiteral(" 值 %1 ").arg(size).trimmed();
    (void)document.value(section, key);
    document.setValue(section, key, value);
    const auto readBack = document.value(section, key);
    FUZZ_CHECK(readBack.has_value());
    FUZZ_CHECK(*readBack == value);

    if (eightBit) {
        // Every original line is still there, in order: the change is one replaced line, or new
        // lines inserted at one place (a line without a terminator may gain one).
        const QList<QByteArray> before = rawLines(bytes);
        const QList<QByteArray> after = rawLines(document.toBytes());
        qsizetype head = 0;
        while (head < before.size() && head < after.size() && before[head] == after[head])
            ++head;
        qsizetype tail = 0;
        while (tail < before.size() - head && tail < after.size() - head &&
               before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
            ++tail;
        FUZZ_CHECK(before.size() - head - tail <= 1);
        FUZZ_CHECK(after.size() - head - tail <= 3);
    }
    return 0;
}
