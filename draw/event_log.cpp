#include "draw/event_log.h"

#include "draw/prize_levels.h"
#include "record/results_file.h"

namespace EventLog {

QStringList linesOf(const Journal::Entry &entry)
{
    const QString start = prizeLevel(entry.level).logStart + QString::number(entry.round);
    QStringList lines;
    if (entry.kind == Journal::Entry::Kind::Round) {
        lines.append(start + QStringLiteral(" 次抽奖："));
    } else {
        lines.append(start + QStringLiteral(" 次补抽："));
        for (const Journal::Winner &w : entry.absent)
            lines.append(QStringLiteral("未到场：") + w.text);
    }
    lines.append(Results::winnerLines(Results::winnersText(Journal::textsOf(entry.winners))));
    return lines;
}

} // namespace EventLog
