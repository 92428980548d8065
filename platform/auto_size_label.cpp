#include "platform/auto_size_label.h"

#include <QEvent>

AutoSizeLabel::AutoSizeLabel(const QString &name, QWidget *parent) : QLabel(parent)
{
    setObjectName(name);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

void AutoSizeLabel::setBox(const QRect &box)
{
    m_box = box;
    refit();
}

void AutoSizeLabel::setCaption(const QString &text)
{
    setText(text);
    refit();
}

void AutoSizeLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        refit();
}

QSize AutoSizeLabel::captionSize() const
{
    return text().isEmpty() ? QSize(0, fontMetrics().height()) : sizeHint();
}

void AutoSizeLabel::refit()
{
    const QSize wanted = captionSize();
    const int left = m_box.x() + (m_box.width() - wanted.width()) / 2;
    setGeometry(left, m_box.y(), wanted.width(), wanted.height());
}
