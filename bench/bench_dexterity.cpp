// SPDX-License-Identifier: GPL-3.0-or-later

// What the dexterity window pays for judging the pointer and for its picture.
//
//   sample:    one Form_MouseMove, the whole of what a pointer movement costs
//              (one pixel read from the course picture), in batches of moves;
//   render:    drawing the course picture afresh, as after a change of mode or
//              of the seconds text, at scale 1 and 2;
//   second:    one seconds tick during a run: new text, picture drawn again;
//   repaint:   putting the picture on the screen (the window's paint).

#include "dexterity/course.h"
#include "dexterity/coursesurface.h"
#include "dexterity/form3.h"
#include "fakeservices.h"
#include "platform/timer.h"

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int sampleBatches = 200;
constexpr int movesPerBatch = 10'000;
constexpr int renderRounds = 300;

double nowMicroseconds()
{
    using namespace std::chrono;
    return duration<double, std::micro>(steady_clock::now().time_since_epoch()).count();
}

void report(const char *what, std::vector<double> values, const char *unit)
{
    std::sort(values.begin(), values.end());
    auto at = [&](double share) { return values[size_t(share * double(values.size() - 1))]; };
    std::printf("%-30s n=%-5zu median %9.3f %s  p90 %9.3f %s  max %9.3f %s\n", what, values.size(), at(0.5), unit,
        at(0.9), unit, values.back(), unit);
}

// Points over the whole client area, so the reads are not all from one cache line.
std::vector<QPointF> spreadPoints()
{
    std::vector<QPointF> points;
    for (int i = 0; i < movesPerBatch; ++i)
        points.emplace_back((i * 37) % 628 + 0.5, (i * 53) % 449 + 0.5);
    return points;
}

std::vector<double> timeSamples(Form3 &form, const std::vector<QPointF> &points)
{
    std::vector<double> perMove;
    qint64 sum = 0; // keeps the reads from being optimised away
    for (int batch = 0; batch < sampleBatches; ++batch) {
        const double start = nowMicroseconds();
        for (QPointF point : points) {
            form.Form_MouseMove(point.x(), point.y());
            sum += form.pixelcolour;
        }
        perMove.push_back((nowMicroseconds() - start) * 1000.0 / double(points.size()));
    }
    std::printf("(checksum %lld)\n", static_cast<long long>(sum));
    return perMove;
}

std::vector<double> timeRenders(qreal ratio)
{
    course::Look look;
    look.texts = { { QRect(6720, 360, 735, 375), QStringLiteral("123"), true },
        { QRect(7440, 360, 1815, 375), QStringLiteral("Sekunden"), true } };
    std::vector<double> times;
    for (int round = 0; round < renderRounds; ++round) {
        look.linewidth = 5 + 5 * (round % 4);
        const double start = nowMicroseconds();
        const QImage picture = course::render(look, ratio);
        times.push_back(nowMicroseconds() - start);
    }
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    FakeServices fake;
    Form3 form(fake.services);
    form.setVisible(true);
    if (!QTest::qWaitForWindowExposed(form.frame())) {
        std::fprintf(stderr, "the window was never exposed\n");
        return 1;
    }
    const Form3::Controls &c = form.controls();
    std::printf(
        "platform %s, scale %g\n", qPrintable(QGuiApplication::platformName()), form.client()->devicePixelRatioF());

    form.Command1_Click();
    report("sample (Form_MouseMove)", timeSamples(form, spreadPoints()), "ns");

    report("render, scale 1", timeRenders(1), "us");
    report("render, scale 2", timeRenders(2), "us");

    std::vector<double> seconds, repaints;
    for (int round = 0; round < renderRounds; ++round) {
        const double start = nowMicroseconds();
        c.Timer2->tick();
        c.surface->picture();
        seconds.push_back(nowMicroseconds() - start);

        const double painted = nowMicroseconds();
        c.surface->repaint();
        repaints.push_back(nowMicroseconds() - painted);
    }
    report("second (tick + render)", seconds, "us");
    report("repaint (picture to screen)", repaints, "us");

    form.unload();
    return 0;
}
