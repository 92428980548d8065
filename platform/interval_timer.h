#pragma once

#include <QObject>
#include <QTimer>

// A timer with an Enabled switch and an Interval, where an interval of 0 means no ticks even
// while enabled (a QTimer with interval 0 would fire continuously).
class IntervalTimer : public QObject
{
    Q_OBJECT
public:
    IntervalTimer(const QString &name, int intervalMs, bool enabled, QObject *parent);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int interval() const { return m_interval; }
    void setInterval(int ms);
    // True when ticks are actually being delivered.
    bool isTicking() const { return m_timer.isActive(); }

signals:
    void Timer();

private:
    void apply();

    QTimer m_timer;
    int m_interval;
    bool m_enabled;
};
