#include "platform/pointer_hider.h"

#include <QCursor>
#include <QWidget>

namespace {
// Movement is looked for a few times a second: cheap, and no window needs mouse tracking.
constexpr int kPollMs = 100;
} // namespace

PointerHider::PointerHider(QWidget *window, int idleMs)
    : QObject(window), m_window(window), m_idleMs(idleMs), m_last(QCursor::pos())
{
    m_sinceMove.start();
    connect(&m_poll, &QTimer::timeout, this, &PointerHider::check);
    m_poll.start(kPollMs);
}

void PointerHider::check()
{
    const QPoint now = QCursor::pos();
    if (now != m_last) {
        m_last = now;
        m_sinceMove.restart();
        if (m_hidden) {
            m_hidden = false;
            m_window->unsetCursor();
        }
        return;
    }
    if (!m_hidden && m_sinceMove.elapsed() >= m_idleMs) {
        m_hidden = true;
        m_window->setCursor(Qt::BlankCursor);
    }
}
