// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/services.h"
#include "stopwatch/xtimer.h"

#include <QString>
#include <optional>

namespace reaction {

// One reaction round without its window: the random wait, the early clicks,
// the measured time and its comment.
class Round
{
public:
    // Idle until the player is ready; Waiting for the circle; Stimulus while
    // the circle is up and the stopwatch runs; Rating while the comment is shown.
    enum class State { Idle, Waiting, Stimulus, Rating };
    // What a click on the field did: counted, measured, or the third click
    // before the circle, which ends the program after a rebuke.
    enum class Click { Early, Measured, Cheated };

    Round(platform::Random &random, platform::Counter &counter);

    int start(); // a new round; answers the wait in milliseconds, 1000..5999
    void circleShown(); // the circle is on screen: the stopwatch starts
    Click click(); // a measured click is then rated by ratereaction
    void ratereaction(); // the comment for reactiontime
    void rated() { state = State::Idle; } // the comment has been read

    // The design's fields.
    short clicks {}; // clicks on the field since the round began
    float reactiontime {}; // seconds
    short verdictindex {};
    QString verdicttext;
    std::optional<xTimer> stopwatch; // made on first use, kept while the round exists

    State state = State::Idle;

private:
    xTimer &stopwatchOnFirstUse();
    void measure();

    platform::Random &random_;
    platform::Counter &counter_;
};

} // namespace reaction
