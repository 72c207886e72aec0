#include "platform/timer.h"

namespace platform {

Timer::Timer(const char *name, int interval, QObject *parent)
    : QObject(parent)
    , timer_(this)
    , interval_(interval)
{
    setObjectName(QLatin1String(name));
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Timer::tick);
}

void Timer::setInterval(int milliseconds)
{
    interval_ = milliseconds;
    restart();
}

void Timer::setEnabled(bool enabled)
{
    enabled_ = enabled;
    restart();
}

void Timer::restart()
{
    // An interval of 0 keeps a timer silent, as it always did.
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

void Timer::tick()
{
    if (inHandler_ || !enabled_ || !handler_)
        return;
    inHandler_ = true;
    handler_();
    inHandler_ = false;
}

} // namespace platform
