#pragma once

#include <QSizeF>
#include <vector>

// How a round's names are laid out so that every one of them is on the stage: the largest font
// (at most the base size) and the fewest columns with which all names fit the area.
struct NameFit
{
    double pointSize = 0;
    int columns = 1;
    int rows = 0;
};

// `widths` are the names' widths and `lineHeight` the line height at `basePoints`; sizes scale
// in proportion to the point size. `gap` is the space between columns at the base size.
NameFit fitNames(const std::vector<double> &widths, double lineHeight, double basePoints,
                 const QSizeF &area, double gap, double minPoints = 8.0);
