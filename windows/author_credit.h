#pragma once

#include <QString>

// The author credit shown on the stage, in the instructions and saved with the settings.
namespace AuthorCredit {

inline QString alias()
{
    return QStringLiteral("星河工作室 XH");
}
inline QString qq()
{
    return QStringLiteral("800123456");
}
inline QString weChat()
{
    return QStringLiteral("lumora_xh");
}
inline QString stageLine()
{
    return QStringLiteral("Lumora 抽奖系统  ·  星河工作室 XH 制作");
}

} // namespace AuthorCredit
