// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <optional>

// The figures a player asks for about a series of results, oldest first.
namespace history {

// How many results the running median and the recent comparison take.
constexpr int recentCount = 10;

// The middle value; the mean of the two middle ones for an even count. Values must not be empty.
double median(QList<double> values);

// For each value, the median of it and the up to nine values before it.
QList<double> runningMedian(const QList<double> &values);

// Whether the last results are better than those before them.
enum class Trend { Better, Same, Worse };

struct Figures
{
    int count {};
    std::optional<int> best; // index of the best value, the first one where several are equal
    std::optional<double> median;
    std::optional<double> lastTen; // median of the last ten
    std::optional<double> tenBefore; // median of the ten before them, when there are any
    std::optional<Trend> trend; // of lastTen against tenBefore
};

Figures figuresOf(const QList<double> &values, bool lowerIsBetter);

// Reaction times are rated in bands a tenth of a second wide; the histogram
// counts them in bins a quarter of a band wide, so that bins never straddle bands.
constexpr double bandWidth = 0.1;
constexpr double binWidth = bandWidth / 4;

struct Bins
{
    double from {}; // where the first bin starts: 0, or the band of a negative time
    QList<int> counts; // up to at least 1 s, and at least to the band above the slowest time
};

Bins binned(const QList<double> &seconds);

} // namespace history
