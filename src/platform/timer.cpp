// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/timer.h"

#include <chrono>
#include <optional>
#include <utility>

namespace platform {

namespace {

constexpr qint64 nsPerMs = 1'000'000;

qint64 steadyNow()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Timer::Clock clock = steadyNow;

// When the tick whose handler runs now was due; none outside timer handlers.
std::optional<qint64> runningTickDue;

} // namespace

void Timer::setClock(Clock replacement)
{
    clock = replacement ? std::move(replacement) : Clock(steadyNow);
}

Timer::Timer(const char *name, int interval, QObject *parent)
    : QObject(parent)
    , timer_(this)
    , interval_(interval)
{
    setObjectName(QLatin1String(name));
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
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
    if (!enabled_ || interval_ <= 0) {
        timer_.stop();
        return;
    }
    const qint64 now = clock();
    due_ = runningTickDue.value_or(now) + interval_ * nsPerMs;
    waitForDue(now);
}

void Timer::waitForDue(qint64 now)
{
    // A tick that came so late that the next is already overdue: count afresh
    // from now rather than firing a burst of ticks to catch up.
    if (due_ < now)
        due_ = now + interval_ * nsPerMs;
    // Whole milliseconds, cut rather than rounded: the event loop wakes up to a
    // millisecond after the time it is given, so this keeps a tick centred on its due time.
    timer_.start(int((due_ - now) / nsPerMs));
}

void Timer::tick()
{
    if (!enabled_ || interval_ <= 0)
        return;
    const qint64 due = due_;
    due_ += interval_ * nsPerMs;
    waitForDue(clock());
    if (inHandler_ || !handler_)
        return;
    inHandler_ = true;
    const std::optional<qint64> outer = std::exchange(runningTickDue, due);
    handler_();
    runningTickDue = outer;
    inHandler_ = false;
}

} // namespace platform
