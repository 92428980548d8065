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
    void keyPressEvent(QKeyEvent *event) override; // Esc closes, as in every other window

private:
    QImage m_background;
    bool m_shownBefore = false;
};
