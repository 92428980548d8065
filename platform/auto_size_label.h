#pragma once

#include <QLabel>

// A label that sizes itself to its caption. Its box (the geometry it is placed at) fixes the top
// edge and the centre line; the label grows or shrinks about that centre as its text changes.
class AutoSizeLabel : public QLabel
{
    Q_OBJECT
public:
    explicit AutoSizeLabel(const QString &name, QWidget *parent = nullptr);

    void setBox(const QRect &box);
    QRect box() const { return m_box; }
    void setCaption(const QString &text);

protected:
    void changeEvent(QEvent *event) override;
    // The size the caption needs.
    virtual QSize captionSize() const;
    virtual void refit();

private:
    QRect m_box;
};
