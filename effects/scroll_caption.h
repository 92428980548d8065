#pragma once

#include <QColor>
#include <QStringList>
#include <QtGlobal>

class PictureBox;

// The scrolling caption: lines of text rising over a background, coloured by their height.
namespace ScrollCaption {

// Draws one frame: the background copied into the work buffer, the lines inside the band printed
// on it, the finished frame copied to the display. `Position` is the y of line 0's top; the line
// pitch is the work buffer's font size in points taken as pixels, plus 6. Returns false once the
// last line has left the top (the pass is over). Only the lines inside the band are visited, so
// a frame's cost does not grow with the number of lines.
bool DrawScrollText(const QStringList &Lines, PictureBox &BackPic, PictureBox &WorkPic,
                    PictureBox &ShowPic, quint32 BottomColor, quint32 TopColor, qint32 Position,
                    qint32 Indent, qint32 Align);

// Whether the pass goes on after the frame at `Position` (DrawScrollText's result), without
// drawing: false once the last line's top lies more than a line height above the top edge. The caption's clock asks it on every tick; frames are drawn at most once per screen
// refresh.
bool PassGoesOn(const QStringList &Lines, const PictureBox &WorkPic, qint32 Position);

// The colour of a line whose top is at `y`, in a buffer of height `SH` with line height `TH`:
// the blend from `TopColor` at 0 to `BottomColor` at SH − TH, extrapolated outside, each
// component's absolute value rounded half to even and capped at 255.
QColor LineColor(quint32 BottomColor, quint32 TopColor, float SH, float TH, float y);

// Splits a colour &H00BBGGRR into its components.
void SplitColor(quint32 Color, int &Red, int &Green, int &Blue);

} // namespace ScrollCaption
