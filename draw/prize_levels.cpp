#include "draw/prize_levels.h"

const PrizeLevel &prizeLevel(int flag)
{
    static const std::array<PrizeLevel, 3> levels = {{
        {1,
         QStringLiteral("一等奖"),
         QStringLiteral("Command4"),
         9,
         QStringLiteral("一等奖的抽奖正在火热进行中 ……"),
         QStringLiteral("一等奖第 "),
         QStringLiteral("●●"),
         false,
         false,
         true,
         true,
         {3, 2}},
        {2,
         QStringLiteral("二等奖"),
         QStringLiteral("Command3"),
         10,
         QStringLiteral("二等奖的抽奖正在火热进行中 ……"),
         QStringLiteral("二等奖第 "),
         QStringLiteral("◆◆"),
         false,
         false,
         false,
         false,
         {3, 1}},
        {3,
         QStringLiteral("三等奖"),
         QStringLiteral("Command2"),
         11,
         QStringLiteral("三等奖的抽奖正在火热进行中 ……"),
         QStringLiteral("三等奖第 "),
         QStringLiteral("★★"),
         true,
         true,
         false,
         false,
         {2, 1}},
    }};
    return levels.at(size_t(flag - 1));
}

QString roundHeading(const PrizeLevel &level, int round, bool redraw)
{
    return level.logStart + QString::number(round) +
           (redraw ? QStringLiteral(" 次补抽结果") : QStringLiteral(" 次抽奖结果"));
}
