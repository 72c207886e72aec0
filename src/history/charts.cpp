#include "history/charts.h"

#include "history/rules.h"
#include "history/statistics.h"

#include <QAreaSeries>
#include <QChart>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>

namespace history {

namespace {

const QString progressTitle = QStringLiteral("Ergebnisse im Zeitverlauf");
const QString spreadTitle = QStringLiteral("Verteilung der Zeiten (Streifen: je eine Stufe der Bewertung)");
const QString noResults = QStringLiteral("Noch keine Ergebnisse");
const QString resultsName = QStringLiteral("Ergebnis");
const QString runningName = QStringLiteral("Median der letzten 10");
const QString bestName = QStringLiteral("Bestes");
const QString countName = QStringLiteral("Anzahl");
const QString medianName = QStringLiteral("Median");
const QString secondsTitle = QStringLiteral("Sekunden");
const QString dateFormat = QStringLiteral("dd.MM. HH:mm");

const QColor bandShade = QColor::fromRgba(0x18000000); // a light grey over any background
constexpr double bestMarkerSize = 18;
constexpr qint64 minuteMs = 60'000;

// Filled before it joins a chart: filled afterwards, every point would redraw the chart.
template <typename Series> Series *withPoints(const QList<QPointF> &points)
{
    auto *series = new Series;
    series->append(points);
    return series;
}

template <typename Series> Series *add(QChart *chart, Series *series, const char *name, const QString &caption)
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

// Axes for every series of the chart, old ones dropped.
void attachAxes(QChart *chart, QAbstractAxis *x, QAbstractAxis *y)
{
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries *series : chart->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
}

bool restart(QChart *chart, const QString &title, bool empty)
{
    chart->setLocalizeNumbers(true); // the decimal comma of the rest of the program
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes())
        chart->removeAxis(axis);
    chart->setTitle(empty ? noResults : title);
    return !empty;
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

    add(chart, withPoints<QScatterSeries>(points), "results", resultsName);
    QList<QPointF> running;
    const QList<double> medians = runningMedian(values);
    for (qsizetype i = 0; i < points.size(); ++i)
        running << QPointF(points[i].x(), medians[i]);
    add(chart, withPoints<QLineSeries>(running), "median", runningName);
    auto *best = add(
        chart, withPoints<QScatterSeries>({ points[*figuresOf(values, lowerIsBetter(test)).best] }), "best", bestName);
    best->setMarkerShape(QScatterSeries::MarkerShapeStar);
    best->setMarkerSize(bestMarkerSize);

    // A little room around the points, and some even when they all came in one minute.
    auto *x = new QDateTimeAxis;
    x->setFormat(dateFormat);
    const qint64 first = qint64(points.first().x());
    const qint64 last = qint64(points.last().x());
    const qint64 margin = std::max(minuteMs, (last - first) / 20);
    x->setRange(QDateTime::fromMSecsSinceEpoch(first - margin), QDateTime::fromMSecsSinceEpoch(last + margin));
    auto *y = new QValueAxis;
    y->setTitleText(valueTitle(test));
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const double room = (*high - *low) / 10 + (test == platform::Test::Reaction ? 0.01 : 1);
    y->setRange(*low - room, *high + room);
    y->applyNiceNumbers();
    attachAxes(chart, x, y);
}

void showSpread(QChart *chart, const QList<double> &seconds)
{
    if (!restart(chart, spreadTitle, seconds.isEmpty()))
        return;
    const Bins bins = binned(seconds);
    const double to = bins.from + double(bins.counts.size()) * binWidth;
    const int top = *std::max_element(bins.counts.begin(), bins.counts.end()) + 1;

    // The verdict bands first, so that the counts lie on top of them.
    for (double start = bins.from; start < to; start += 2 * bandWidth) {
        auto *band = add(
            chart, areaUnder({ { start, qreal(top) }, { std::min(start + bandWidth, to), qreal(top) } }), "band", {});
        band->setColor(bandShade);
        band->setBorderColor(Qt::transparent);
        chart->legend()->markers(band).constFirst()->setVisible(false);
    }

    QList<QPointF> outline { { bins.from, 0 } };
    for (qsizetype i = 0; i < bins.counts.size(); ++i) {
        const double start = bins.from + double(i) * binWidth;
        outline << QPointF(start, bins.counts[i]) << QPointF(start + binWidth, bins.counts[i]);
    }
    outline << QPointF(to, 0);
    add(chart, areaUnder(outline), "histogram", countName);

    const double middle = median(seconds);
    add(chart, withPoints<QLineSeries>({ { middle, 0 }, { middle, qreal(top) } }), "median", medianName);

    auto *x = new QValueAxis;
    x->setTitleText(secondsTitle);
    x->setRange(bins.from, to);
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    // One tick per band, fewer when a slow time stretches the axis.
    x->setTickInterval(to - bins.from > 1.5 ? 5 * bandWidth : bandWidth);
    x->setLabelFormat(QStringLiteral("%.1f"));
    auto *y = new QValueAxis;
    y->setTitleText(countName);
    y->setRange(0, top);
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0);
    y->setTickInterval(std::ceil(top / 5.0));
    y->setLabelFormat(QStringLiteral("%d"));
    attachAxes(chart, x, y);
}

} // namespace history
