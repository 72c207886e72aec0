// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/statistics.h"

#include <algorithm>
#include <cmath>

namespace history {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    if (values.size() % 2 == 1)
        return values[middle];
    return (values[middle - 1] + values[middle]) / 2;
}

QList<double> runningMedian(const QList<double> &values)
{
    QList<double> medians;
    for (qsizetype end = 1; end <= values.size(); ++end) {
        const qsizetype start = std::max<qsizetype>(0, end - recentCount);
        medians << median(values.mid(start, end - start));
    }
    return medians;
}

Figures figuresOf(const QList<double> &values, bool lowerIsBetter)
{
    Figures figures;
    figures.count = int(values.size());
    if (values.isEmpty())
        return figures;
    const auto best = lowerIsBetter ? std::min_element(values.begin(), values.end())
                                    : std::max_element(values.begin(), values.end());
    figures.best = int(best - values.begin());
    figures.median = median(values);

    const qsizetype recentStart = std::max<qsizetype>(0, values.size() - recentCount);
    figures.lastTen = median(values.mid(recentStart));
    const qsizetype beforeStart = std::max<qsizetype>(0, recentStart - recentCount);
    if (recentStart == beforeStart)
        return figures;
    figures.tenBefore = median(values.mid(beforeStart, recentStart - beforeStart));
    const double gain = lowerIsBetter ? *figures.tenBefore - *figures.lastTen : *figures.lastTen - *figures.tenBefore;
    figures.trend = gain > 0 ? Trend::Better : gain < 0 ? Trend::Worse : Trend::Same;
    return figures;
}

Bins binned(const QList<double> &seconds)
{
    // Times come in whole milliseconds; a millionth of a bin keeps 0.3 / 0.025 out of bin 11.
    constexpr double nudge = binWidth / 1e6;
    constexpr double shortest = 1;
    Bins bins;
    if (seconds.isEmpty())
        return bins;
    const auto [low, high] = std::minmax_element(seconds.begin(), seconds.end());
    bins.from = std::min(0.0, std::floor(*low / bandWidth + nudge) * bandWidth);
    const double to = std::max(shortest, (std::floor(*high / bandWidth + nudge) + 1) * bandWidth);
    bins.counts.fill(0, qRound((to - bins.from) / binWidth));
    for (double value : seconds)
        ++bins.counts[qsizetype(std::floor((value - bins.from) / binWidth + nudge))];
    return bins;
}

} // namespace history
