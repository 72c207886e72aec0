// SPDX-License-Identifier: GPL-3.0-or-later

#include "stopwatch/xtimer.h"

xTimer::xTimer(platform::Counter &counter)
    : counter_(counter)
    , frequency(counter.frequency())
{ }

void xTimer::Calibrieren()
{
    startcount = counter_.now();
    stopcount = counter_.now();
    overhead = milliseconds(startcount, stopcount);
}

double xTimer::RunTime() const
{
    return milliseconds(startcount, stopcount) - overhead;
}

double xTimer::toDouble(quint64 reading)
{
    const auto high = static_cast<quint32>(reading >> 32);
    const auto low = static_cast<quint32>(reading);
    return double(high) * 4294967296.0 + double(low);
}

double xTimer::milliseconds(quint64 from, quint64 to) const
{
    if (frequency == 0)
        return 0;
    return (toDouble(to) - toDouble(from)) / toDouble(frequency) * 1000.0;
}
