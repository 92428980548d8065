#include "effects/scroll_caption.h"

#include <QColor>
#include <algorithm>
#include <cmath>

#include "platform/numeric_text.h"
#include "platform/picture_box.h"

namespace ScrollCaption {

namespace {

const QString kMeasureText = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");

// No caption shows more than a few dozen characters of a line; a pathological line (a roster
// line of megabytes) is measured and drawn by its head only, so a frame stays cheap.
constexpr qsizetype kMaxDrawnCharacters = 512;

QString drawnPart(const QString &line)
{
    return line.size() > kMaxDrawnCharacters ? line.left(kMaxDrawnCharacters) : line;
}

struct Gradient
{
    bool flat = true; // one colour for every line
    int bottom[3] = {0, 0, 0};
    int top[3] = {0, 0, 0};
    float step[3] = {0, 0, 0};

    QColor at(float y) const
    {
        if (flat)
            return QColor(bottom[0], bottom[1], bottom[2]);
        int c[3];
        for (int k = 0; k < 3; ++k) {
            const float value = std::fabs(float(top[k]) - step[k] * y);
            c[k] = std::min(255, int(NumericText::roundHalfEven(double(value))));
        }
        return QColor(c[0], c[1], c[2]);
    }
};

Gradient makeGradient(quint32 bottomColor, quint32 topColor, float SH, float TH)
{
    Gradient g;
    SplitColor(bottomColor, g.bottom[0], g.bottom[1], g.bottom[2]);
    if (bottomColor == topColor || SH - TH <= 0.0f)
        return g; // a buffer no taller than one line: every line in the bottom colour
    SplitColor(topColor, g.top[0], g.top[1], g.top[2]);
    g.flat = false;
    for (int k = 0; k < 3; ++k)
        g.step[k] = float(g.top[k] - g.bottom[k]) / (SH - TH);
    return g;
}

int roundToInt(double value)
{
    return int(NumericText::roundHalfEven(value));
}

} // namespace

QColor LineColor(quint32 BottomColor, quint32 TopColor, float SH, float TH, float y)
{
    return makeGradient(BottomColor, TopColor, SH, TH).at(y);
}

bool PassGoesOn(const QStringList &Lines, const PictureBox &WorkPic, qint32 Position)
{
    const qsizetype last = Lines.size() - 1;
    if (last < 0)
        return false; // nothing to scroll: the pass is over at once
    const double TH = double(float(WorkPic.textHeight(kMeasureText)));
    const double SH = double(float(WorkPic.scaleHeight()));
    const double y = double(Position) + double(last) * WorkPic.fontSize() + 6.0 * double(last);
    // The last line printed leaves the print position one text height below its top.
    const bool lastPrinted = -TH <= y && y <= SH;
    const double finalY = lastPrinted ? y + TH : y;
    return !(finalY <= -TH);
}

void SplitColor(quint32 Color, int &Red, int &Green, int &Blue)
{
    Red = int(Color & 0xFF);
    Green = int((Color >> 8) & 0xFF);
    Blue = int((Color >> 16) & 0xFF);
}

bool DrawScrollText(const QStringList &Lines, PictureBox &BackPic, PictureBox &WorkPic,
                    PictureBox &ShowPic, quint32 BottomColor, quint32 TopColor, qint32 Position,
                    qint32 Indent, qint32 Align)
{
    const qsizetype last = Lines.size() - 1;
    const float TH = float(WorkPic.textHeight(kMeasureText));
    const float SH = float(WorkPic.scaleHeight());
    const float SW = float(WorkPic.scaleWidth());
    const Gradient gradient = makeGradient(BottomColor, TopColor, SH, TH);

    PictureBox::copyRect(WorkPic, 0, roundToInt(WorkPic.scaleTop()), roundToInt(SW), roundToInt(SH),
                         BackPic, 0, 0);

    if (last >= 0) {
        const double pitch = WorkPic.fontSize() + 6.0;
        auto lineTop = [&](qsizetype i) {
            return double(Position) + double(i) * WorkPic.fontSize() + 6.0 * double(i);
        };
        auto alignedX = [&](const QString &line, double x) {
            switch (Align) {
            case 0:
                return 0.0;
            case 1:
                return double(SW) - WorkPic.textWidth(line);
            case 2:
                // A line wider than the picture shows its head, not its middle.
                return std::max(0.0, (double(SW) - WorkPic.textWidth(line)) / 2.0);
            default:
                return x; // left where it was
            }
        };
        // The lines that can touch the band; one more on each side guards the rounding.
        const double lowest = std::floor((double(-TH) - Position) / pitch) - 1.0;
        const double highest = std::ceil((double(SH) - Position) / pitch) + 1.0;
        const qsizetype first = qsizetype(std::clamp(lowest, 0.0, double(last) + 1.0));
        const qsizetype lastVisited = qsizetype(std::clamp(highest, -1.0, double(last)));

        double x = WorkPic.currentX();
        if (Align < 0 || Align > 2)
            x += double(Indent) * double(first); // the skipped lines' indents accumulate
        double y = WorkPic.currentY();
        for (qsizetype i = first; i <= lastVisited; ++i) {
            const QString line = drawnPart(Lines[i]);
            y = lineTop(i);
            x = alignedX(line, x) + Indent;
            const bool inside = -double(TH) <= y && y <= double(SH);
            if (inside) {
                WorkPic.setCurrentX(x);
                WorkPic.setCurrentY(y);
                WorkPic.setForeColor(gradient.at(float(y)));
                WorkPic.print(line);
                x = 0;
                y += double(TH);
            }
        }
        const bool visitedLast = first <= last && lastVisited == last;
        if (!visitedLast) {
            // The lines not visited are not printed; the print position ends on the last one.
            const qsizetype skipped = last - std::max<qsizetype>(lastVisited, first - 1);
            if (Align < 0 || Align > 2)
                x += double(Indent) * double(skipped);
            else
                x = alignedX(drawnPart(Lines[last]), x) + Indent;
            y = lineTop(last);
        }
        WorkPic.setCurrentX(x);
        WorkPic.setCurrentY(y);
    }

    PictureBox::copyRect(ShowPic, 0, roundToInt(ShowPic.scaleTop()),
                         roundToInt(ShowPic.scaleWidth()), roundToInt(ShowPic.scaleHeight()),
                         WorkPic, 0, 0);
    ShowPic.refresh();
    return PassGoesOn(Lines, WorkPic, Position);
}

} // namespace ScrollCaption
