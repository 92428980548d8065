#pragma once

#include <QTest>
#include <QTimer>

// Lets the event loop deliver `ticks` ticks of a 5 ms timer: long enough for a timer under test
// to have fired had it been running, waiting for a condition rather than a fixed time.
inline bool letTimersRun(int ticks)
{
    QTimer sentinel;
    int seen = 0;
    QObject::connect(&sentinel, &QTimer::timeout, [&seen] { ++seen; });
    sentinel.start(5);
    return QTest::qWaitFor([&seen, ticks] { return seen >= ticks; });
}
