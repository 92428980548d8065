#pragma once

#include <QImage>
#include <QWidget>

// "Lumora说明": static usage notes over a background picture.
class InstructionsForm : public QWidget
{
    Q_OBJECT
public:
    explicit InstructionsForm(QWidget *parent = nullptr);
    void showForward();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_background;
    bool m_shownBefore = false;
};
