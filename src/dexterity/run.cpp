// SPDX-License-Identifier: GPL-3.0-or-later

#include "dexterity/run.h"

#include <algorithm>
#include <limits>

namespace dexterity {

void Run::load()
{
    modepoints1 = normalMode.points1;
    modepoints2 = normalMode.points2;
    modename = normalMode.name;
    going_ = false;
}

void Run::selectMode(const Mode &mode)
{
    linewidth = mode.linewidth;
    modepoints1 = mode.points1;
    modepoints2 = mode.points2;
    modename = mode.name;
}

void Run::start()
{
    going_ = true;
    seconds = 0;
}

Verdict Run::judge() const
{
    if (pixelcolour == black)
        return Verdict::Lost;
    if (pixelcolour == red)
        return Verdict::Won;
    return Verdict::None;
}

void Run::lose()
{
    going_ = false;
    seconds = 0;
}

void Run::reachGoal()
{
    going_ = false;
    points = runpoints();
}

void Run::qualification(int answer)
{
    qualifies = short(answer);
    if (qualifies == 0)
        seconds = 0;
}

void Run::openEntry()
{
    points = runpoints();
    entry = Result { points, seconds, modename };
}

void Run::entrySaved(bool firstEntry)
{
    // The count goes back to 0 as after every finished run, but never under a
    // run that was started while the panel was open.
    if (firstEntry && !going_)
        seconds = 0;
}

void Run::tickSecond()
{
    // A run left alone for nine hours stops counting instead of overflowing.
    if (seconds < std::numeric_limits<short>::max())
        seconds = short(seconds + 1);
}

short Run::runpoints() const
{
    // Cannot leave the 16-bit range while the seconds stop at its top; clamped all the same.
    const int value = modepoints2 + modepoints1 - seconds;
    return short(std::clamp<int>(value, std::numeric_limits<short>::min(), std::numeric_limits<short>::max()));
}

} // namespace dexterity
