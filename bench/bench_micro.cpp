// SPDX-License-Identifier: GPL-3.0-or-later

// The small figures, each beside what it is measured against (Google Benchmark):
//
//   pointer sample:   one Form_MouseMove of the dexterity window during a run,
//                     against a 1x1 grab of the window (asking the widget for
//                     the pixel) and a read of one pixel from a QImage at hand;
//   stopwatch read:   xTimer's Start on the real counter, against a raw
//                     std::chrono::steady_clock read.

#include "dexterity/coursesurface.h"
#include "dexterity/form3.h"
#include "fakeservices.h"
#include "platform/realservices.h"
#include "stopwatch/xtimer.h"

#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<FakeServices> fake;
std::unique_ptr<Form3> form;

// Points over the whole client area, so the reads are not all from one cache line.
const std::vector<QPointF> &spreadPoints()
{
    static const std::vector<QPointF> points = [] {
        std::vector<QPointF> all;
        for (int i = 0; i < 4096; ++i)
            all.emplace_back((i * 37) % 628 + 0.5, (i * 53) % 449 + 0.5);
        return all;
    }();
    return points;
}

void pointerSample(benchmark::State &state)
{
    const std::vector<QPointF> &points = spreadPoints();
    size_t i = 0;
    for (auto _ : state) {
        const QPointF point = points[i++ & 4095];
        form->Form_MouseMove(point.x(), point.y());
        benchmark::DoNotOptimize(form->pixelcolour);
    }
}
BENCHMARK(pointerSample);

void grabOnePixel(benchmark::State &state)
{
    const std::vector<QPointF> &points = spreadPoints();
    size_t i = 0;
    for (auto _ : state) {
        const QPoint point(int(points[i & 4095].x()), int(points[i & 4095].y()));
        ++i;
        const QPixmap pixel = form->client()->grab(QRect(point, QSize(1, 1)));
        benchmark::DoNotOptimize(pixel.cacheKey());
    }
}
BENCHMARK(grabOnePixel);

void imagePixel(benchmark::State &state)
{
    const QImage picture = form->controls().surface->picture();
    const std::vector<QPointF> &points = spreadPoints();
    size_t i = 0;
    for (auto _ : state) {
        const QPoint point(int(points[i & 4095].x()), int(points[i & 4095].y()));
        ++i;
        benchmark::DoNotOptimize(picture.pixel(point));
    }
}
BENCHMARK(imagePixel);

void stopwatchRead(benchmark::State &state)
{
    platform::SteadyCounter counter;
    xTimer stopwatch(counter);
    for (auto _ : state) {
        stopwatch.Start();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(stopwatchRead);

void steadyClockRead(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(std::chrono::steady_clock::now());
}
BENCHMARK(steadyClockRead);

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    fake = std::make_unique<FakeServices>();
    form = std::make_unique<Form3>(fake->services);
    form->setVisible(true);
    if (!QTest::qWaitForWindowExposed(form->frame()))
        return 1;
    form->Command1_Click();

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    form.reset();
    fake.reset();
    return 0;
}
