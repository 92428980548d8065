#include "draw/roster.h"

#include "platform/text_codec.h"

namespace Roster {

QStringList loadFailureLines()
{
    return {QStringLiteral("加载文件加载错误"), QString(),
            QStringLiteral("请确认根目录存在"), QString(),
            QStringLiteral("参与抽奖名单.vok"), QString(),
            QStringLiteral("如果没有，请建立")};
}

void loadFileLines(const QString &path, QStringList &lines)
{
    QStringList read;
    if (!TextCodec::readLines(path, read)) {
        lines = loadFailureLines();
        return;
    }
    if (!read.isEmpty())
        lines = std::move(read);
}

bool isBlank(const QString &line)
{
    for (const QChar c : line) {
        if (c != u' ')
            return false;
    }
    return true;
}

Pool buildPool(const QStringList &lines)
{
    Pool pool;
    for (const QString &line : lines) {
        if (isBlank(line))
            continue;
        pool.accepted.append(line);
        if (line.contains(kSeparator))
            pool.entries.append(line.split(kSeparator));
        else
            pool.entries.append(line); // shares the line's text, no copy
    }
    return pool;
}

Pool buildPool(const QByteArray &rosterBytes)
{
    return buildPool(TextCodec::splitLines(TextCodec::decode(rosterBytes)));
}

QStringList poolEntries(const QByteArray &rosterBytes)
{
    return buildPool(rosterBytes).entries;
}

} // namespace Roster
