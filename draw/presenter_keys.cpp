#include "draw/presenter_keys.h"

#include <QKeyEvent>
#include <QPushButton>

PresenterKeys::PresenterKeys(QWidget *stage, std::function<QPushButton *()> target)
    : QObject(stage), m_stage(stage), m_target(std::move(target))
{
}

bool PresenterKeys::isPresenterKey(int key)
{
    switch (key) {
    case Qt::Key_PageDown:
    case Qt::Key_PageUp:
    case Qt::Key_Right:
    case Qt::Key_Left:
    case Qt::Key_Down:
    case Qt::Key_Up:
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return false;
    }
}

bool PresenterKeys::isNewPress(const QKeyEvent &press)
{
    const int key = press.key();
    if (press.isAutoRepeat() || m_held.contains(key))
        return false;
    m_held.insert(key);
    // A release with this very timestamp was the first half of X11's repeat pair.
    const auto released = m_releasedAt.constFind(key);
    return !(press.timestamp() != 0 && released != m_releasedAt.cend() &&
             *released == press.timestamp());
}

void PresenterKeys::noteRelease(const QKeyEvent &release)
{
    if (release.isAutoRepeat())
        return;
    m_held.remove(release.key());
    m_releasedAt.insert(release.key(), release.timestamp());
}

bool PresenterKeys::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::ApplicationStateChange) {
        m_held.clear(); // keys released while another program had them
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (!isPresenterKey(key->key()))
        return false;
    // A release counts in any window: a key let go over a message box is up all the same.
    if (type == QEvent::KeyRelease)
        noteRelease(*key);
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_stage)
        return false; // the settings, the start lock, a message box: their keys are their own
    // Taken from every control of the stage, so Space on a focused 关闭 never closes; a held key
    // presses once, however long it is held.
    if (type == QEvent::KeyPress && isNewPress(*key)) {
        if (QPushButton *button = m_target(); button && button->isEnabled())
            button->click();
    }
    return true;
}
