#pragma once

#include <QString>

// The names and results-file markers of the three prize levels: 1 first, 2 second, 3 third prize.
namespace Record {

inline bool isLevel(int level)
{
    return level >= 1 && level <= 3;
}

// "一等奖", "二等奖", "三等奖".
QString levelName(int level);
// "●●", "◆◆", "★★".
QString levelMarker(int level);

} // namespace Record
