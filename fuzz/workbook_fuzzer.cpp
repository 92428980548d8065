// Reading a workbook back, as the verifier does: any bytes give a sheet or a reason, never a
// crash or a hang.
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "record/workbook_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const auto sheet = Workbook::readFirstSheet(bytes, &error);
    FUZZ_CHECK(sheet.has_value() == error.isEmpty());
    if (sheet) {
        for (const auto &row : sheet->rows)
            FUZZ_CHECK(row.size() <= 16384);
    }
    return 0;
}
