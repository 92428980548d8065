#include "bench_data.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/text_codec.h"

namespace BenchData {

QStringList people(int count)
{
    // Names of one length, so that every size of roster draws the same amount of text.
    static const QStringList names = {QStringLiteral("张伟明"), QStringLiteral("李秀英"),
                                      QStringLiteral("王晓东"), QStringLiteral("刘雨涵"),
                                      QStringLiteral("陈子轩"), QStringLiteral("杨欣怡")};
    QStringList list;
    list.reserve(count);
    for (int k = 1; k <= count; ++k)
        list.append(
            QStringLiteral("P%1 %2").arg(k, 7, 10, QLatin1Char('0')).arg(names[k % names.size()]));
    return list;
}

QString scratchFolder()
{
    static QTemporaryDir dir;
    return dir.path();
}

QString rosterFile(int count, bool utf8)
{
    const QString path =
        QDir(scratchFolder())
            .filePath(QStringLiteral("roster-%1-%2.vok").arg(count).arg(utf8 ? "utf8" : "gb"));
    if (QFile::exists(path))
        return path;
    const QString text = people(count).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(utf8 ? text.toUtf8() : TextCodec::toAnsi(text));
    return path;
}

} // namespace BenchData
