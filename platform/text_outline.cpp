#include "platform/text_outline.h"

#include <QPainter>
#include <QWidget>

TextOutlineEffect::TextOutlineEffect(QWidget *label) : QGraphicsEffect(label) {}

void TextOutlineEffect::setWidth(int pixels)
{
    pixels = std::max(1, pixels);
    if (pixels == m_width)
        return;
    m_width = pixels;
    updateBoundingRect();
}

QRectF TextOutlineEffect::boundingRectFor(const QRectF &rect) const
{
    return rect.adjusted(-m_width, -m_width, m_width, m_width);
}

void TextOutlineEffect::draw(QPainter *painter)
{
    QPoint offset;
    const QPixmap glyphs = sourcePixmap(Qt::DeviceCoordinates, &offset, PadToEffectiveBoundingRect);
    if (glyphs.isNull())
        return;
    QPixmap outline(glyphs.size());
    outline.setDevicePixelRatio(glyphs.devicePixelRatio());
    outline.fill(Qt::transparent);
    {
        QPainter tint(&outline);
        tint.drawPixmap(0, 0, glyphs);
        tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tint.fillRect(outline.rect(), colour());
    }
    const QTransform saved = painter->worldTransform();
    painter->setWorldTransform(QTransform());
    const int w = m_width;
    for (const QPoint step : {QPoint(-w, 0), QPoint(w, 0), QPoint(0, -w), QPoint(0, w),
                              QPoint(-w, -w), QPoint(w, -w), QPoint(-w, w), QPoint(w, w)})
        painter->drawPixmap(offset + step, outline);
    painter->drawPixmap(offset, glyphs);
    painter->setWorldTransform(saved);
}
