#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

// A drawing surface with a persistent off-screen image, measured in pixels: its own font, a
// print position and a fore colour, printing of text lines, and rectangle copies between
// surfaces. What is drawn reaches the screen at `refresh`.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(const QString &name, QWidget *parent = nullptr);

    // A picture laid into the image's top-left corner whenever the image is (re)made.
    void setPicture(const QImage &picture);
    const QImage &image() const;

    double scaleTop() const { return 0.0; }
    double scaleWidth() const { return image().width(); }
    double scaleHeight() const { return image().height(); }
    double fontSize() const { return font().pointSizeF(); }

    double textHeight(const QString &text) const;
    double textWidth(const QString &text) const;

    double currentX() const { return m_currentX; }
    double currentY() const { return m_currentY; }
    void setCurrentX(double x) { m_currentX = x; }
    void setCurrentY(double y) { m_currentY = y; }
    void setForeColor(const QColor &color) { m_foreColor = color; }

    // Draws the text with a transparent background at the print position, then moves the print
    // position to the left edge, one text height lower.
    void print(const QString &text);

    // Copies a rectangle, unscaled, from one surface's image into another's.
    static void copyRect(PictureBox &destination, int x, int y, int width, int height,
                         const PictureBox &source, int sourceX, int sourceY);

    void refresh() { update(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The image follows the widget's size; a hidden widget gets no resize event until shown.
    QImage &ensureImage() const;

    mutable QImage m_image;
    QImage m_picture;
    QColor m_foreColor = Qt::black;
    double m_currentX = 0;
    double m_currentY = 0;
};
