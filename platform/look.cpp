#include "platform/look.h"

#include <QApplication>
#include <cmath>

namespace Look {

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(int(std::lround(twipsToPixels(left))), int(std::lround(twipsToPixels(top))),
                 int(std::lround(twipsToPixels(width))), int(std::lround(twipsToPixels(height))));
}

QColor bgr(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

quint32 toBgr(const QColor &color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

QFont font(Face face, double points, bool bold)
{
    QFont f = QApplication::font();
    switch (face) {
    case Face::SongTi:
        f.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                       QStringLiteral("Noto Serif CJK SC")});
        break;
    case Face::HeiTi:
        f.setFamilies(
            {QStringLiteral("SimHei"), QStringLiteral("黑体"), QStringLiteral("Noto Sans CJK SC")});
        break;
    case Face::LiShu:
        f.setFamilies({QStringLiteral("LiSu"), QStringLiteral("隶书"),
                       QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC")});
        break;
    case Face::XinWei:
        f.setFamilies({QStringLiteral("STXinwei"), QStringLiteral("华文新魏"),
                       QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC")});
        break;
    case Face::Default:
        break;
    }
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QFont defaultFont()
{
    QFont f = QApplication::font();
    f.setFamilies({QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun"),
                   QStringLiteral("Noto Sans CJK SC")});
    f.setPointSizeF(9);
    return f;
}

} // namespace Look
