#include "draw/name_fit.h"

#include <algorithm>
#include <cmath>

NameFit fitNames(const std::vector<double> &widths, double lineHeight, double basePoints,
                 const QSizeF &area, double gap, double minPoints)
{
    const int count = int(widths.size());
    NameFit fit{basePoints, 1, count};
    if (count == 0 || lineHeight <= 0 || basePoints <= 0)
        return fit;
    const double widest = *std::max_element(widths.begin(), widths.end());
    const double step = std::max(0.5, basePoints / 40.0);
    for (double points = basePoints; points >= minPoints - 1e-9; points -= step) {
        const double scale = points / basePoints;
        const int maxRows = int(std::floor(area.height() / (lineHeight * scale)));
        if (maxRows < 1)
            continue;
        const int columns = (count + maxRows - 1) / maxRows;
        const double needed = columns * widest * scale + (columns - 1) * gap * scale;
        fit = NameFit{points, columns, (count + columns - 1) / columns};
        if (needed <= area.width())
            return fit;
    }
    return fit; // the smallest size tried: as much as the stage can hold
}
