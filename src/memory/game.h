// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <array>
#include <optional>

namespace platform {
class Random;
} // namespace platform

namespace memory {

// The four colours of the memory training, stored and compared as small codes,
// numbered as their buttons stand from left to right.
enum Colour : short { noColour = 0, green = 1, red = 2, blue = 3, yellow = 4 };

// The rules of the memory training, without a window: a sequence of colours is
// shown one at a time, then the player repeats it. The window passes every
// event here and copies the state below into its controls.
class Game
{
public:
    // Where the game stands. The answer rule needs to know whether a result is
    // on show, and the result's OK whether a new game has begun meanwhile.
    enum class Phase { Idle, Showing, Answering, Result };
    // The wait that runs in the show phase: the blank gap before the next
    // colour (Timer1), or the display of a colour (Timer2).
    enum class Wait { none, gap, display };
    enum class Speed { fast, middle, slow };

    static constexpr int lastPosition = 500; // the most colours one game can hold
    static constexpr int gapMs = 750;

    explicit Game(platform::Random &random);

    // A freshly loaded window: 5 colours at the middle speed, no game running.
    void load();

    void start();
    void nextstep(); // the end of the gap: the next colour, or the answers
    void endcolour(); // the end of a colour's display: the blank gap
    // A click on a colour button: ignored unless answering; a wrong colour
    // ends the game, the last right one wins it.
    void answer(Colour colour);
    void cancel();
    // Closes the result on show and hands back its score; nothing without one.
    std::optional<int> closeresult();

    void choosespeed(Speed chosen);
    void choosecount(int count);
    // The player's own count: a whole number from 1 to lastPosition. Anything
    // else gives 5 colours, as a cancelled box (an empty text) does; then false.
    bool chooseowncount(const QString &typed);
    // Typed text that is no such number earns a word to the player.
    static bool refusesowncount(const QString &typed);

    // The game's fields, under their design names.
    int colourcount {};
    QString settingtext;
    QString speedword;
    int showstep {};
    short clickcount {};
    using Positions = std::array<Colour, lastPosition + 1>; // index 0 unused
    Positions sequence {};
    Positions answers {};

    // What the window shows.
    Phase phase = Phase::Idle;
    Wait wait = Wait::none;
    Colour square = noColour; // the colour on show, also beneath the blanking square
    bool blanked {}; // the blanking square covers it
    Speed speed = Speed::middle;
    int displaytime {}; // ms a colour is shown
    bool progressshown {}; // the progress line outlives a cancel and the next start
    QString progress;
    bool resultshown {}; // the result panel outlives a cancel and the next start
    QString resultsentence;
    int resultscore {}; // the score of the result on show

private:
    void hidesquares();
    void startanswers();
    void showprogress();
    void showfailure();
    void showsuccess();
    void showresult(const QString &sentence);
    int colourstorepeat() const;
    void applysettings();

    platform::Random &random_;
};

} // namespace memory
