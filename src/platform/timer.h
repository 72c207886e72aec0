// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace platform {

// A precise timer with the rules the windows were designed for: an interval in
// milliseconds, Enabled switches it, enabling (or a new interval) restarts the
// wait, and it never re-enters its own handler: while the handler waits in a
// modal box, the ticks that fall due are dropped.
//
// Ticks keep to a timeline: a running timer's next tick is due one interval
// after the last one was due, not after it arrived, and a timer enabled from
// inside another timer's tick counts its wait from when that tick was due. So
// a chain of timers (a colour shown, a gap, the next colour) never adds up the
// event loop's lateness.
class Timer : public QObject
{
    Q_OBJECT

public:
    // Nanoseconds on a steady clock.
    using Clock = std::function<qint64()>;

    Timer(const char *name, int interval, QObject *parent);

    int Interval() const { return interval_; }
    void setInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    void onTick(std::function<void()> handler) { handler_ = std::move(handler); }
    // One tick as the event loop delivers it, re-entry rule included.
    void tick();

    // When the next tick is due, on the timers' clock; meaningful while it runs.
    qint64 nextDue() const { return due_; }

    // The clock of all timers; a test puts its own in, an empty one restores the real one.
    static void setClock(Clock clock);

private:
    void restart();
    void waitForDue(qint64 now);

    QTimer timer_;
    std::function<void()> handler_;
    int interval_ = 0;
    bool enabled_ = false;
    bool inHandler_ = false;
    qint64 due_ = 0;
};

} // namespace platform
