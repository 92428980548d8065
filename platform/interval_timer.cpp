#include "platform/interval_timer.h"

IntervalTimer::IntervalTimer(const QString &name, int intervalMs, bool enabled, QObject *parent)
    : QObject(parent), m_interval(intervalMs), m_enabled(enabled)
{
    setObjectName(name);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &IntervalTimer::Timer);
    apply();
}

void IntervalTimer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    apply();
}

void IntervalTimer::setInterval(int ms)
{
    m_interval = ms;
    apply();
}

void IntervalTimer::apply()
{
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}
