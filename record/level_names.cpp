#include "record/level_names.h"

namespace Record {

QString levelName(int level)
{
    switch (level) {
    case 1:
        return QStringLiteral("一等奖");
    case 2:
        return QStringLiteral("二等奖");
    default:
        return QStringLiteral("三等奖");
    }
}

QString levelMarker(int level)
{
    switch (level) {
    case 1:
        return QStringLiteral("●●");
    case 2:
        return QStringLiteral("◆◆");
    default:
        return QStringLiteral("★★");
    }
}

} // namespace Record
