#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QTimer>

class QWidget;

// Hides the mouse pointer over one window after a while without movement, and shows it again at
// the next movement. Other windows keep their pointer: the blank shape is the window's own.
class PointerHider : public QObject
{
    Q_OBJECT
public:
    PointerHider(QWidget *window, int idleMs);

    void setIdleMs(int ms) { m_idleMs = ms; }
    bool isHidden() const { return m_hidden; }

private:
    void check();

    QWidget *m_window;
    int m_idleMs;
    QTimer m_poll;
    QElapsedTimer m_sinceMove;
    QPoint m_last;
    bool m_hidden = false;
};
