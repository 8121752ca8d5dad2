#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

// Serves the UI thread's events for `ms` milliseconds (repaints, posted messages), as a running
// program would between user actions.
inline void ProcessEventsFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}
