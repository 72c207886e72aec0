#pragma once

// The rules of the multiplication drill that need no window: the number
// ranges, how a factor is drawn, and when a typed answer is judged.
namespace drill {

struct Range
{
    short lowfactor; // smallest factor
    short factorspan; // how many different factors can be drawn
    int taskpoints; // points per right answer
};

inline constexpr Range upToTen { 1, 10, 1 };
inline constexpr Range tenToTwenty { 10, 10, 3 };
inline constexpr Range tenToHundred { 10, 90, 6 };

// A factor from lowfactor to lowfactor + factorspan - 1, for r in [0, 1).
int factor(short lowfactor, short factorspan, float r);

// Whether the typed value has reached the size of the product, so that it is
// judged now. A product below 10 is judged on every key release.
bool readyToJudge(int product, double typed);

} // namespace drill
