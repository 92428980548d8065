#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <cmath>

#include "assetgen.h"

namespace {

void redGlow(QPainter &p, const QSize &size, QColor centre, QColor edge)
{
    QRadialGradient g(size.width() / 2.0, size.height() * 0.45,
                      std::hypot(size.width(), size.height()) * 0.6);
    g.setColorAt(0, centre);
    g.setColorAt(1, edge);
    p.fillRect(QRect(QPoint(0, 0), size), g);
}

void sparkles(QPainter &p, const QSize &size, int count, QRandomGenerator &rng)
{
    p.setPen(Qt::NoPen);
    for (int k = 0; k < count; ++k) {
        const QPointF c(rng.bounded(size.width()), rng.bounded(size.height()));
        const double r = 0.6 + rng.generateDouble() * 2.2;
        QRadialGradient g(c, r * 3);
        g.setColorAt(0, QColor(255, 255, 255, 230));
        g.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(g);
        p.drawEllipse(c, r * 3, r * 3);
        if (r > 2.2) { // a four-pointed twinkle
            p.setPen(QPen(QColor(255, 255, 255, 180), 1));
            p.drawLine(c - QPointF(r * 4, 0), c + QPointF(r * 4, 0));
            p.drawLine(c - QPointF(0, r * 4), c + QPointF(0, r * 4));
            p.setPen(Qt::NoPen);
        }
    }
}

void firework(QPainter &p, QPointF c, double radius, QColor colour, QRandomGenerator &rng)
{
    const int rays = 28 + rng.bounded(12);
    for (int k = 0; k < rays; ++k) {
        const double a = 2 * M_PI * k / rays + rng.generateDouble() * 0.05;
        const double len = radius * (0.75 + 0.25 * rng.generateDouble());
        const QPointF end = c + QPointF(std::cos(a) * len, std::sin(a) * len);
        QLinearGradient g(c, end);
        QColor faint = colour;
        faint.setAlpha(0);
        g.setColorAt(0, faint);
        g.setColorAt(1, colour);
        p.setPen(QPen(QBrush(g), 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + (end - c) * 0.25, end);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 250, 220));
        p.drawEllipse(end, 2.2, 2.2);
    }
}

void lantern(QPainter &p, QPointF top, double w, const QString &glyph)
{
    const double h = w * 0.85;
    const QColor gold(255, 200, 60);
    p.setPen(QPen(gold, 2));
    p.drawLine(top, top + QPointF(0, h * 0.25)); // string
    const QPointF c = top + QPointF(0, h * 0.25 + h / 2);
    QRadialGradient body(c - QPointF(w * 0.15, h * 0.15), w * 0.7);
    body.setColorAt(0, QColor(255, 90, 60));
    body.setColorAt(0.7, QColor(210, 20, 20));
    body.setColorAt(1, QColor(140, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(c, w / 2, h / 2);
    p.setPen(QPen(QColor(255, 180, 60, 140), 1.5));
    p.setBrush(Qt::NoBrush);
    for (double f : {0.2, 0.5})
        p.drawEllipse(c, w / 2 * f, h / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    p.drawRect(QRectF(c.x() - w * 0.22, c.y() - h / 2 - h * 0.06, w * 0.44, h * 0.1));
    p.drawRect(QRectF(c.x() - w * 0.22, c.y() + h / 2 - h * 0.04, w * 0.44, h * 0.1));
    p.setPen(QPen(gold, 1.5));
    for (int k = -3; k <= 3; ++k) // tassel
        p.drawLine(c + QPointF(k * 1.8, h / 2 + h * 0.06), c + QPointF(k * 2.6, h / 2 + h * 0.45));
    QFont f(QStringLiteral("Noto Serif CJK SC"));
    f.setPixelSize(int(h * 0.42));
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(255, 215, 0));
    p.drawText(QRectF(c.x() - w / 2, c.y() - h / 2, w, h), Qt::AlignCenter, glyph);
}

QImage festiveScene(const QSize &size, quint32 seed)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(seed);
    redGlow(p, size, QColor(214, 30, 36), QColor(96, 0, 8));
    // Soft golden rays from the stage centre.
    const QPointF centre(size.width() / 2.0, size.height() * 0.55);
    for (int k = 0; k < 24; ++k) {
        const double a = 2 * M_PI * k / 24;
        QPainterPath ray;
        ray.moveTo(centre);
        const double r = std::hypot(size.width(), size.height());
        ray.lineTo(centre + QPointF(std::cos(a - 0.05) * r, std::sin(a - 0.05) * r));
        ray.lineTo(centre + QPointF(std::cos(a + 0.05) * r, std::sin(a + 0.05) * r));
        p.fillPath(ray, QColor(255, 200, 80, 18));
    }
    const double s = size.width() / 976.0;
    const QColor bursts[] = {QColor(255, 215, 0), QColor(255, 160, 200), QColor(255, 240, 180),
                             QColor(255, 120, 60)};
    firework(p, QPointF(180 * s, 120 * s), 90 * s, bursts[0], rng);
    firework(p, QPointF(800 * s, 110 * s), 80 * s, bursts[1], rng);
    firework(p, QPointF(560 * s, 70 * s), 55 * s, bursts[2], rng);
    firework(p, QPointF(330 * s, 60 * s), 45 * s, bursts[3], rng);
    sparkles(p, size, int(160 * s * s), rng);
    lantern(p, QPointF(60 * s, 0), 90 * s, QStringLiteral("福"));
    lantern(p, QPointF(150 * s, 0), 70 * s, QStringLiteral("喜"));
    lantern(p, QPointF(size.width() - 60 * s, 0), 90 * s, QStringLiteral("福"));
    lantern(p, QPointF(size.width() - 150 * s, 0), 70 * s, QStringLiteral("乐"));
    // A warm floor glow.
    QLinearGradient floor(0, size.height() * 0.8, 0, size.height());
    floor.setColorAt(0, QColor(255, 180, 60, 0));
    floor.setColorAt(1, QColor(255, 180, 60, 70));
    p.fillRect(QRectF(0, size.height() * 0.8, size.width(), size.height() * 0.2), floor);
    return image;
}

QImage sparkleField(const QSize &size, quint32 seed, QColor centre, QColor edge)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(seed);
    redGlow(p, size, centre, edge);
    sparkles(p, size, 140, rng);
    return image;
}

QImage icon()
{
    QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    lantern(p, QPointF(128, 8), 190, QStringLiteral("奖"));
    return image;
}

} // namespace

void makePictures(const QString &designDir, const QString &installDir)
{
    festiveScene(QSize(976, 646), 2016).save(designDir + QStringLiteral("/stage.jpg"), "JPG", 92);
    sparkleField(QSize(692, 614), 7, QColor(200, 24, 30), QColor(110, 0, 10))
        .convertToFormat(QImage::Format_RGB888)
        .save(designDir + QStringLiteral("/caption.bmp"), "BMP");
    sparkleField(QSize(734, 660), 11, QColor(220, 40, 40), QColor(150, 10, 16))
        .save(designDir + QStringLiteral("/instructions.jpg"), "JPG", 90);
    icon().save(designDir + QStringLiteral("/lumora.png"), "PNG");
    festiveScene(QSize(1920, 1080), 2026).save(installDir + QStringLiteral("/B3.jpg"), "JPG", 90);
}
