#pragma once

#include <QGraphicsEffect>

// An outline around a stage label's glyphs, so that blue and magenta text reads against the red
// background from the back of the hall. The width is in device pixels.
class TextOutlineEffect : public QGraphicsEffect
{
    Q_OBJECT
public:
    explicit TextOutlineEffect(QWidget *label);

    void setWidth(int pixels);
    int width() const { return m_width; }
    // The stage's red is dark (a relative luminance near 0.1): only a light edge stands 3:1
    // against it. Blue and magenta glyphs get their shape from it; bright ones are light anyway.
    static QColor colour() { return QColor(255, 255, 240); }

    QRectF boundingRectFor(const QRectF &rect) const override;

protected:
    void draw(QPainter *painter) override;

private:
    int m_width = 1;
};
