// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace platform {
class Random;
}

namespace arithmetic {

// A number range of the drill, as the menu "Einstellung" offers it.
struct Range
{
    short lowfactor; // smallest factor
    short factorspan; // how many different factors can be drawn
    int taskpoints; // points per right answer
};

inline constexpr Range upToTen { 1, 10, 1 };
inline constexpr Range tenToTwenty { 10, 10, 3 };
inline constexpr Range tenToHundred { 10, 90, 6 };

// The multiplication drill without its window: the range, the task on show,
// when a typed value is judged, the points and the 60-second countdown. The
// window follows a start and each judged answer with drawtask, and copies the
// phase and the texts into its controls after every event.
class Drill
{
public:
    // Idle: nothing runs. Running: tasks and countdown. Ended: the time ran
    // out; the answer box stays disabled and the labels keep their texts.
    enum class Phase { Idle, Running, Ended };

    explicit Drill(platform::Random &random);

    void load(); // the first range and the idle display, as every load of the window gives
    void chooseRange(const Range &range);
    void start();
    // Whether the typed value has reached the size of the product: a product
    // below 10 is judged on every key release.
    bool readyToJudge(double typed) const;
    void checkanswer(double typed);
    void drawtask();
    void tick(); // one second; the last one ends the drill
    void reset(); // after a cancel, and after an end without an entry
    int points() const { return rightanswers * taskpoints; }

    // The design's fields.
    short lowfactor {};
    short factorspan {};
    int product {};
    int rightanswers {};
    int secondsleft {};
    int taskpoints {};
    short qualifies {}; // 1 when the points earn a place in the list

    // What the window shows: the phase and the texts of Label1 to Label3.
    Phase phase = Phase::Idle;
    QString task; // " 7 x 8"
    QString score; // " 12 Punkte"
    QString countdown; // "Noch 59 Sekunden"

private:
    int drawfactor();

    platform::Random &random_;
};

} // namespace arithmetic
