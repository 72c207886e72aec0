// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/charts.h"

#include "history/rules.h"
#include "history/statistics.h"
#include "platform/runtime.h"

#include <QAreaSeries>
#include <QChart>
#include <QDateTimeAxis>
#include <QLegend>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace history {

namespace {

const QString progressTitle = QStringLiteral("Ergebnisse im Zeitverlauf");
const QString spreadTitle = QStringLiteral("Verteilung der Zeiten, Median %1");
const QString noResults = QStringLiteral("Noch keine Ergebnisse");
const QString resultsName = QStringLiteral("Ergebnis");
const QString runningName = QStringLiteral("Median der letzten 10");
const QString bestName = QStringLiteral("Bestes");
const QString countTitle = QStringLiteral("Anzahl");
const QString secondsTitle = QStringLiteral("Sekunden (Streifen: Stufen der Bewertung)");
const QString dateFormat = QStringLiteral("dd.MM. HH:mm");

const QColor bandShade = QColor::fromRgba(0x18000000); // a light grey over any background
constexpr qint64 marginMs = 120000; // two minutes: a single result still gets distinct times on the axis
// Where the verdicts change: below the first bound and from the last one on, a single verdict each.
constexpr double maxTicks = 10;
constexpr double verdictBounds[] = { 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8 };

// Filled before it joins a chart: filled afterwards, every point would redraw the chart.
template <typename Series> Series *withPoints(const QList<QPointF> &points)
{
    auto *series = new Series;
    series->append(points);
    return series;
}

template <typename Series> Series *add(QChart *chart, Series *series, const char *name, const QString &caption = {})
{
    series->setObjectName(QLatin1String(name));
    series->setName(caption);
    chart->addSeries(series);
    return series;
}

// The area under a line; the line belongs to the area.
QAreaSeries *areaUnder(const QList<QPointF> &line)
{
    auto *upper = withPoints<QLineSeries>(line);
    auto *area = new QAreaSeries(upper);
    upper->setParent(area);
    return area;
}

// Axes for every series of the chart.
void attachAxes(QChart *chart, QAbstractAxis *x, QAbstractAxis *y)
{
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries *series : chart->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
}

// Drops what the chart showed; says whether there is anything to show now.
bool restart(QChart *chart, const QString &title, bool empty)
{
    chart->setLocalizeNumbers(true); // the decimal comma of the rest of the program
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes()) {
        chart->removeAxis(axis); // which hands the axis back to us
        delete axis;
    }
    chart->setTitle(empty ? noResults : title);
    return !empty;
}

// The least round step (0.1, 0.2, 0.5, 1, 2, 5 … seconds) that puts at most ten
// labels along the span, so that none is cut to "…".
double tickStep(double span)
{
    for (double step = bandWidth;; step *= 10) {
        for (const double factor : { 1.0, 2.0, 5.0 }) {
            if (span / (step * factor) <= maxTicks + 1e-9)
                return step * factor;
        }
    }
}

QValueAxis *valueAxis(const QString &title, double from, double to)
{
    auto *axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(from, to);
    return axis;
}

} // namespace

void showProgress(QChart *chart, platform::Test test, const QList<platform::Outcome> &outcomes)
{
    QList<QPointF> points;
    for (const platform::Outcome &outcome : outcomes) {
        if (const std::optional<double> value = valueOf(outcome))
            points << QPointF(qreal(outcome.when.toMSecsSinceEpoch()), *value);
    }
    if (!restart(chart, progressTitle, points.isEmpty()))
        return;
    QList<double> values;
    for (const QPointF &point : points)
        values << point.y();
    const QList<double> medians = runningMedian(values);
    QList<QPointF> running;
    for (qsizetype i = 0; i < points.size(); ++i)
        running << QPointF(points[i].x(), medians[i]);

    add(chart, withPoints<QScatterSeries>(points), "results", resultsName);
    add(chart, withPoints<QLineSeries>(running), "median", runningName);
    const QPointF best = points[*figuresOf(values, lowerIsBetter(test)).best];
    add(chart, withPoints<QScatterSeries>({ best }), "best", bestName)->setMarkerShape(QScatterSeries::MarkerShapeStar);

    // Room around the points, so that none sits on an edge: a twentieth of the span and two
    // minutes across; up and down a tenth of the span and a step of the value, for points two,
    // so that the ticks fall on whole points.
    auto *x = new QDateTimeAxis;
    x->setFormat(dateFormat);
    x->setTickCount(4); // room for each date
    const qint64 first = qint64(points.first().x());
    const qint64 last = qint64(points.last().x());
    const qint64 margin = (last - first) / 20 + marginMs;
    x->setRange(QDateTime::fromMSecsSinceEpoch(first - margin), QDateTime::fromMSecsSinceEpoch(last + margin));
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const bool seconds = test == platform::Test::Reaction;
    const double room = (*high - *low) / 10 + (seconds ? 0.01 : 2);
    // Every figure is a time, a count or points: the axis never goes below 0.
    auto *y = valueAxis(valueTitle(test), std::max(0.0, *low - room), *high + room);
    y->applyNiceNumbers();
    y->setLabelFormat(seconds ? QString() : QStringLiteral("%.0f"));
    attachAxes(chart, x, y);
}

void showSpread(QChart *chart, const QList<double> &seconds)
{
    const double middle = seconds.isEmpty() ? 0.0 : median(seconds);
    if (!restart(chart, spreadTitle.arg(platform::formatSeconds(middle)), seconds.isEmpty()))
        return;
    const Bins bins = binned(seconds);
    const double to = bins.from + double(bins.counts.size()) * binWidth;
    const double top = *std::max_element(bins.counts.begin(), bins.counts.end()) + 1;

    // Every other verdict band shaded, first, so that the counts lie on top of them. The edges
    // come in pairs, where a shaded band starts and where it ends.
    QList<double> edges { bins.from };
    edges << QList<double>(std::begin(verdictBounds), std::end(verdictBounds)) << to;
    for (qsizetype band = 0; band < edges.size(); band += 2) {
        auto *shade = add(chart, areaUnder({ { edges[band], top }, { edges[band + 1], top } }), "band");
        shade->setColor(bandShade);
        shade->setBorderColor(Qt::transparent);
    }
    QList<QPointF> outline { { bins.from, 0 } };
    for (qsizetype i = 0; i < bins.counts.size(); ++i) {
        const double start = bins.from + double(i) * binWidth;
        outline << QPointF(start, bins.counts[i]) << QPointF(start + binWidth, bins.counts[i]);
    }
    outline << QPointF(to, 0);
    add(chart, areaUnder(outline), "histogram");
    add(chart, withPoints<QLineSeries>({ { middle, 0 }, { middle, top } }), "median");
    chart->legend()->hide(); // the titles name the parts

    auto *x = valueAxis(secondsTitle, bins.from, to);
    // Ticks from 0: one per band, or a round step when a slow time stretches
    // the axis; whole counts up the side.
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickInterval(tickStep(to - bins.from));
    x->setLabelFormat(QStringLiteral("%.1f"));
    auto *y = valueAxis(countTitle, 0, top);
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickInterval(std::ceil(top / 5));
    y->setLabelFormat(QStringLiteral("%.0f"));
    attachAxes(chart, x, y);
}

} // namespace history
