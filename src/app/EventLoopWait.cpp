#include "app/EventLoopWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace kavoret {

void EventLoopWait::waitProcessingEvents(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
}

} // namespace kavoret
