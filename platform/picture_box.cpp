#include "platform/picture_box.h"

#include <QFontMetricsF>
#include <QPainter>

PictureBox::PictureBox(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_image = QImage();
}

const QImage &PictureBox::image() const
{
    return ensureImage();
}

QImage &PictureBox::ensureImage() const
{
    const QSize wanted = size().expandedTo(QSize(0, 0));
    if (m_image.size() == wanted && !m_image.isNull())
        return m_image;
    QImage next(wanted, QImage::Format_RGB32);
    if (next.isNull()) {
        m_image = QImage();
        return m_image;
    }
    next.fill(palette().color(QPalette::Window));
    QPainter painter(&next);
    if (!m_picture.isNull()) {
        // The picture lies unscaled in the top-left corner; on a surface larger than the
        // picture (a big screen) it is stretched to cover it, so no bare band shows.
        if (m_picture.width() >= wanted.width() && m_picture.height() >= wanted.height())
            painter.drawImage(0, 0, m_picture);
        else
            painter.drawImage(QRect(QPoint(0, 0), wanted), m_picture);
    }
    if (!m_image.isNull())
        painter.drawImage(0, 0, m_image);
    painter.end();
    m_image = next;
    return m_image;
}

double PictureBox::textHeight(const QString &text) const
{
    const QFontMetricsF metrics(font(), &ensureImage());
    const qsizetype lines = text.count(u'\n') + 1;
    return metrics.height() * double(lines);
}

double PictureBox::textWidth(const QString &text) const
{
    return QFontMetricsF(font(), &ensureImage()).horizontalAdvance(text);
}

void PictureBox::print(const QString &text)
{
    QImage &target = ensureImage();
    if (!target.isNull()) {
        QPainter painter(&target);
        painter.setFont(font());
        painter.setPen(m_foreColor);
        const QFontMetricsF metrics(font(), &target);
        painter.drawText(QPointF(m_currentX, m_currentY + metrics.ascent()), text);
    }
    m_currentY += textHeight(text);
    m_currentX = 0;
}

void PictureBox::copyRect(PictureBox &destination, int x, int y, int width, int height,
                          const PictureBox &source, int sourceX, int sourceY)
{
    QImage &target = destination.ensureImage();
    const QImage &from = source.ensureImage();
    if (target.isNull() || from.isNull() || width <= 0 || height <= 0)
        return;
    // Only the part that lies inside the source is copied, unscaled.
    const QRect sourceRect = QRect(sourceX, sourceY, width, height) & from.rect();
    if (sourceRect.isEmpty())
        return;
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(x + sourceRect.x() - sourceX, y + sourceRect.y() - sourceY), from,
                      sourceRect);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, ensureImage());
}
