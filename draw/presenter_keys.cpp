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

bool PresenterKeys::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_stage)
        return false; // the settings, the start lock, a message box: their keys are their own
    auto *key = static_cast<QKeyEvent *>(event);
    if (!isPresenterKey(key->key()))
        return false;
    // Taken from every control of the stage, so Space on a focused 关闭 never closes; a held key
    // presses once.
    if (type == QEvent::KeyPress && !key->isAutoRepeat()) {
        if (QPushButton *button = m_target(); button && button->isEnabled())
            button->click();
    }
    return true;
}
