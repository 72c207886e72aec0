// SPDX-License-Identifier: GPL-3.0-or-later

#include "reaction/round.h"

#include "platform/runtime.h"
#include "reaction/verdicts.h"

namespace reaction {

namespace {

constexpr short earlyClicksAllowed = 2;
// The fixed allowance taken off every measured time, in milliseconds.
constexpr double allowanceMs = 50;

} // namespace

Round::Round(platform::Random &random, platform::Counter &counter)
    : random_(random)
    , counter_(counter)
{ }

int Round::start()
{
    clicks = 0;
    reactiontime = 0;
    state = State::Waiting;
    // In double: in single precision the largest Rnd below 1 would give 6000.
    return int(platform::Int(double(random_.Rnd()) * 5000 + 1000));
}

void Round::circleShown()
{
    state = State::Stimulus;
    xTimer &watch = stopwatchOnFirstUse();
    watch.Calibrieren();
    watch.Start();
}

Round::Click Round::click()
{
    clicks = short(clicks + 1);
    if (state == State::Stimulus) {
        measure();
        return Click::Measured; // whatever the count says
    }
    return clicks == earlyClicksAllowed + 1 ? Click::Cheated : Click::Early;
}

void Round::measure()
{
    xTimer &watch = stopwatchOnFirstUse();
    watch.Halt();
    reactiontime = float(watch.RunTime() - allowanceMs);
    reactiontime = reactiontime / 1000.0f;
    state = State::Rating;
}

void Round::ratereaction()
{
    verdictindex = verdictIndex(reactiontime, random_);
    verdicttext = verdictText(verdictindex);
}

xTimer &Round::stopwatchOnFirstUse()
{
    if (!stopwatch)
        stopwatch.emplace(counter_);
    return *stopwatch;
}

} // namespace reaction
