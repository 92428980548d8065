// The numeric-text rules: any text converts or is refused, never out of range.
#include <QByteArray>
#include <cmath>
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "platform/numeric_text.h"
#include "platform/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text =
        TextCodec::decode(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const double leading = NumericText::leadingNumber(text);
    FUZZ_CHECK(!std::isnan(leading));
    const std::optional<qint16> whole = NumericText::toInt16(text);
    if (whole) {
        // A text that converts is one number: the leading-number rule reads the same value.
        FUZZ_CHECK(
            std::fabs(NumericText::roundHalfEven(NumericText::leadingNumber(text.trimmed())) -
                      *whole) < 1.0 ||
            text.contains(u'e') || text.contains(u'E'));
    }
    return 0;
}
