#pragma once

#include <QLabel>

// A wrapping label whose lines follow each other at the pitch of the 宋体 face the notes were
// laid out for (the font's pixel size plus one), so a fallback face with taller line spacing
// still fits the designed box.
class NoteLabel : public QLabel
{
    Q_OBJECT
public:
    NoteLabel(const QString &name, const QString &text, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
