#pragma once

#include <QString>
#include <array>

class QWidget;

// Proportional layout: every control of a window keeps its place and proportion at any window
// size. The design geometry (twips) is recorded once as text in each control's "Tag" property
// and every rescale starts from it, so resizing accumulates no rounding. Fonts are never touched.
namespace ProportionalLayout {

// "4095   2580   6450   5460   ": each number followed by three spaces.
QString formatTag(double left, double top, double width, double height);
// Reads the four numbers back; a field without a following separator reads as 0.
std::array<double, 4> parseTag(const QString &tag);

// Records the client size (twips) and every control's geometry. Controls without a geometry
// (timers, players) keep their Tag as it was.
void ResizeInit(QWidget *FormName, qint32 &designWidth, qint32 &designHeight);
// Moves every control to its recorded geometry times the current ratios; controls that cannot
// be moved are skipped silently.
void ResizeForm(QWidget *FormName, qint32 designWidth, qint32 designHeight);

} // namespace ProportionalLayout
