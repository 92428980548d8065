#pragma once

#include <QRegularExpression>
#include <QStringList>

#include "platform/text_codec.h"

// Reads a results file back into its header and round blocks, checking its shape on the way.
struct ResultsBlock
{
    QString marker;
    QString level;
    int round = 0;
    QStringList winners; // a redraw's replacements
    bool redraw = false;
    QStringList absent; // a redraw's "未到场：" lines, without the prefix
};

struct ResultsRead
{
    QStringList header;
    QList<ResultsBlock> blocks;
    QString error; // empty when the file has the expected shape
    bool crLfOnly = true;
};

inline ResultsRead readResults(const QByteArray &bytes)
{
    ResultsRead read;
    read.crLfOnly =
        bytes.count("\r\n") == bytes.count('\n') && bytes.count('\r') == bytes.count('\n');
    const QStringList lines = TextCodec::splitLines(TextCodec::decode(bytes));
    if (lines.size() < 14) {
        read.error = QStringLiteral("short header");
        return read;
    }
    read.header = lines.mid(0, 14);
    static const QRegularExpression heading(QStringLiteral(
        "^(★★|◆◆|●●) (三等奖|二等奖|一等奖)第 (\\d+) 次(抽奖|补抽)结果：(★★|◆◆|●●)$"));
    qsizetype k = 14;
    while (k < lines.size()) {
        const auto m = heading.match(lines[k]);
        if (!m.hasMatch() || m.captured(1) != m.captured(5)) {
            read.error = QStringLiteral("line %1 is no round heading: %2").arg(k + 1).arg(lines[k]);
            return read;
        }
        if (k + 1 >= lines.size() || !lines[k + 1].isEmpty()) {
            read.error = QStringLiteral("no blank line after heading at %1").arg(k + 1);
            return read;
        }
        ResultsBlock block{m.captured(1),
                           m.captured(2),
                           m.captured(3).toInt(),
                           {},
                           m.captured(4) == QStringLiteral("补抽"),
                           {}};
        k += 2;
        static const QString absentPrefix = QStringLiteral("未到场：");
        while (block.redraw && k < lines.size() && lines[k].startsWith(absentPrefix))
            block.absent.append(lines[k++].mid(absentPrefix.size()));
        while (k < lines.size() && !lines[k].isEmpty())
            block.winners.append(lines[k++]);
        if (k >= lines.size()) {
            read.error =
                QStringLiteral("block %1 has no closing blank line").arg(read.blocks.size() + 1);
            return read;
        }
        ++k; // the closing blank line
        if (block.winners.isEmpty()) {
            // A round with no winner has one more blank line.
            if (k < lines.size() && lines[k].isEmpty())
                ++k;
        }
        read.blocks.append(block);
    }
    return read;
}
