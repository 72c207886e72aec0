// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/services.h"

// A millisecond stopwatch over a high-resolution counter. Calibrieren measures
// what one counter read costs; RunTime subtracts that cost from every result.
// Start and Halt take one reading each and nothing else, so the measured
// interval holds as little of the stopwatch's own work as possible.
class xTimer
{
public:
    explicit xTimer(platform::Counter &counter);

    void Calibrieren();
    void Start() { startcount = counter_.now(); }
    void Halt() { stopcount = counter_.now(); }
    // Milliseconds between Start and Halt, less the calibrated overhead. Not
    // clamped: a very short interval can come out slightly negative. A counter
    // without a frequency measures nothing and gives 0.
    double RunTime() const;

    // Readings as the old unsigned 64-bit conversion saw them.
    static double toDouble(quint64 reading);

private:
    double milliseconds(quint64 from, quint64 to) const;

    platform::Counter &counter_;
    quint64 startcount = 0;
    quint64 stopcount = 0;
    quint64 frequency = 0;
    double overhead = 0;
};
