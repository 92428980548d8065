#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

// Design units and looks of the program's windows.
namespace Look {

inline constexpr double kTwipsPerPixel = 15.0;

inline double twipsToPixels(double twips)
{
    return twips / kTwipsPerPixel;
}
QRect twipsRect(int left, int top, int width, int height);

// A colour written &H00BBGGRR.
QColor bgr(quint32 value);
quint32 toBgr(const QColor &color);

enum class Face { SongTi, HeiTi, LiShu, XinWei, Default };
// The face's family list with fallbacks, in points, bold or not.
QFont font(Face face, double points, bool bold);

// The program's default font for buttons, dialogs and message boxes: the Chinese system UI
// face at 9 points, with fallbacks.
QFont defaultFont();

} // namespace Look
