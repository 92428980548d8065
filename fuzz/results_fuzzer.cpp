// Reading a results file back into the caption: any file gives lines (or the seven message
// lines), never a crash, and a file with text never leaves the caption empty.
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

#include "draw/roster.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("中奖名单 ― 2016年1月8日09时.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    QStringList caption{QStringLiteral("old")};
    Roster::loadFileLines(path, caption);
    FUZZ_CHECK(!caption.isEmpty());
    if (size == 0)
        FUZZ_CHECK(caption == QStringList{QStringLiteral("old")});
    QStringList missing;
    Roster::loadFileLines(dir.filePath(QStringLiteral("gone.txt")), missing);
    FUZZ_CHECK(missing.size() == 7);
    return 0;
}
