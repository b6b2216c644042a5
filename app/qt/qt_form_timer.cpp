#include "app/qt/qt_form_timer.h"

#include <QCoreApplication>
#include <algorithm>

namespace horalia::qt {

QtFormTimer::QtFormTimer() {
    timer_.setSingleShot(true);
    // A coarse timer may fire up to 5 % late, which would move a tick into the next second.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (fired_) {
            fired_();
        }
    });
}

void QtFormTimer::Arm(std::int32_t delayMilliseconds) {
    timer_.start(std::max<std::int32_t>(delayMilliseconds, 0));
}

void QtFormTimer::Cancel() {
    timer_.stop();
}

void QtEventPump::ProcessPendingEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::Post(std::function<void()> task) {
    QMetaObject::invokeMethod(&context_, std::move(task), Qt::QueuedConnection);
}

}  // namespace horalia::qt
