#pragma once

#include <QtGlobal>

// The blinking titles: a title in the first colour of its pair turns to the second; any other
// colour (the second, the design colour or one set from outside) turns to the first.
namespace Blink {

inline constexpr quint32 kMagenta = 0x00FF00FF;
inline constexpr quint32 kGold = 0x0000D7FF;
inline constexpr quint32 kGreen = 0x0000FF00;

inline quint32 nextColor(quint32 current, quint32 first, quint32 second)
{
    return current == first ? second : first;
}

} // namespace Blink
