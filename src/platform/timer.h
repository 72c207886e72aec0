#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace platform {

// A precise timer with the rules the windows were designed for: an interval in
// milliseconds, Enabled switches it, enabling (or a new interval) restarts the
// wait, and it never re-enters its own handler: while the handler waits in a
// modal box, the ticks that fall due are dropped.
class Timer : public QObject
{
    Q_OBJECT

public:
    Timer(const char *name, int interval, QObject *parent);

    int Interval() const { return interval_; }
    void setInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    void onTick(std::function<void()> handler) { handler_ = std::move(handler); }
    // One tick as the event loop delivers it, re-entry rule included.
    void tick();

private:
    void restart();

    QTimer timer_;
    std::function<void()> handler_;
    int interval_ = 0;
    bool enabled_ = false;
    bool inHandler_ = false;
};

} // namespace platform
