// SPDX-License-Identifier: GPL-3.0-or-later

// What the reaction test pays between the wait running out and the stopwatch
// starting: hiding nothing, showing the circle, painting it at once, and
// calibrating. Every nanosecond of it is added to the user's reaction time,
// since the stopwatch starts only once the circle is on screen.
//
//   chain:     from the tick handler's call to the stopwatch's Start reading,
//              split into show-and-paint and calibration;
//   loop:      with the real event loop, from the moment the timer falls due to
//              the Start reading (the timer's own lateness plus the chain).

#include "fakeservices.h"
#include "platform/timer.h"
#include "reaction/form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int chainRounds = 2000;
constexpr int loopRounds = 200;
constexpr int loopWaitMs = 20;

quint64 steadyNow()
{
    return quint64(std::chrono::steady_clock::now().time_since_epoch().count());
}

// The steady clock, with every reading kept.
class RecordingCounter : public platform::Counter
{
public:
    quint64 now() override
    {
        readings.push_back(steadyNow());
        return readings.back();
    }
    quint64 frequency() override { return 1'000'000'000; }

    std::vector<quint64> readings;
};

void report(const char *what, std::vector<double> microseconds)
{
    std::sort(microseconds.begin(), microseconds.end());
    auto at = [&](double share) { return microseconds[size_t(share * double(microseconds.size() - 1))]; };
    std::printf("%-28s n=%-5zu median %8.1f us  p90 %8.1f us  p99 %8.1f us  max %8.1f us\n", what, microseconds.size(),
        at(0.5), at(0.9), at(0.99), microseconds.back());
}

void settle()
{
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    FakeServices fake;
    RecordingCounter counter;
    platform::Services services { fake.dialogs, fake.random, fake.desktop, counter, fake.program, fake.history };
    Form1 form(services);
    form.setVisible(true);
    if (!QTest::qWaitForWindowExposed(form.frame())) {
        std::fprintf(stderr, "the window was never exposed\n");
        return 1;
    }
    std::printf("platform %s\n", qPrintable(QGuiApplication::platformName()));

    std::vector<double> chain, paint, calibration;
    for (int round = 0; round < chainRounds + 100; ++round) {
        form.Command1_Click();
        settle();
        counter.readings.clear();
        const quint64 called = steadyNow();
        form.controls().Timer1->tick();
        const quint64 firstRead = counter.readings.at(0);
        const quint64 started = counter.readings.at(2);
        form.Command3_Click();
        settle();
        if (round < 100)
            continue; // warm-up
        chain.push_back(double(started - called) / 1000.0);
        paint.push_back(double(firstRead - called) / 1000.0);
        calibration.push_back(double(started - firstRead) / 1000.0);
    }
    report("tick -> Start (chain)", chain);
    report("  show and paint", paint);
    report("  calibration", calibration);

    std::vector<double> loop;
    for (int round = 0; round < loopRounds; ++round) {
        form.Command1_Click();
        settle();
        counter.readings.clear();
        const quint64 armed = steadyNow();
        form.controls().Timer1->setInterval(loopWaitMs);
        while (counter.readings.size() < 3)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const quint64 due = armed + quint64(loopWaitMs) * 1'000'000;
        loop.push_back((double(counter.readings.at(2)) - double(due)) / 1000.0);
        form.Command3_Click();
        settle();
    }
    report("due -> Start (event loop)", loop);

    form.unload();
    return 0;
}
