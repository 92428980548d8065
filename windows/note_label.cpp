#include "windows/note_label.h"

#include <QFontInfo>
#include <QPainter>
#include <QTextLayout>

NoteLabel::NoteLabel(const QString &name, const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setObjectName(name);
    setWordWrap(true);
}

void NoteLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    QTextLayout layout(text(), font());
    QTextOption option(alignment());
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const double pitch = QFontInfo(font()).pixelSize() + 1;
    double y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width());
        line.setPosition(QPointF(0, y));
        y += pitch;
    }
    layout.endLayout();
    layout.draw(&painter, QPointF(0, 0));
}
