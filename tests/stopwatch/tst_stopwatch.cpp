// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakeservices.h"
#include "stopwatch/xtimer.h"

#include <QTest>

using Readings = QList<quint64>;

class tst_stopwatch : public QObject
{
    Q_OBJECT

private slots:
    // A counter with scripted readings, so that every expected value is exact arithmetic on known tick
    // counts; the steps: C calibrates, S starts, H halts.
    void runTime_data()
    {
        QTest::addColumn<Readings>("readings");
        QTest::addColumn<quint64>("frequency");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<double>("milliseconds");
        const quint64 acpi = 3'579'545;
        QTest::newRow("right after calibrating") << Readings { 100, 4200 } << acpi << "C" << 0.0;
        QTest::newRow("250 ms at 10 MHz") << Readings { 7'000'000, 9'500'000 } << quint64(10'000'000) << "SH" << 250.0;
        QTest::newRow("low half's top bit set")
            << Readings { 0, 0x180000000 } << quint64(1'000'000'000) << "SH" << 6442.450944;
        QTest::newRow("low half crosses its top bit")
            << Readings { 0x7FFFFFFF, 0x80000000 } << quint64(1000) << "SH" << 1.0;
        QTest::newRow("high half's top bit set")
            << Readings { 0x8000000000000000, 0x8000000000000800 } << quint64(1024) << "SH" << 2000.0;
        QTest::newRow("frequency 0 measures nothing") << Readings { 100, 900 } << quint64(0) << "SH" << 0.0;
        QTest::newRow("less the overhead") << Readings { 0, 2, 10, 310 } << quint64(1000) << "CSH" << 298.0;
        QTest::newRow("a fresh overhead replaces the old")
            << Readings { 0, 2, 10, 310, 1000, 1001, 2000, 2100 } << quint64(1000) << "CSHCSH" << 99.0;
        // The stop reading is still the calibration's: (1010 - 4000) ticks at 1 MHz, less 0.01 ms.
        QTest::newRow("started, not halted") << Readings { 1000, 1010, 4000 } << quint64(1'000'000) << "CS" << -3.0;
    }
    void runTime()
    {
        QFETCH(Readings, readings);
        FakeCounter counter;
        counter.readings = readings;
        QFETCH(quint64, frequency);
        counter.ticksPerSecond = frequency;
        xTimer stopwatch(counter);
        QFETCH(QString, steps);
        for (QChar step : steps) {
            if (step == 'C')
                stopwatch.Calibrieren();
            else
                step == 'S' ? stopwatch.Start() : stopwatch.Halt();
        }
        QCOMPARE(counter.reads, readings.size()); // one reading a start or halt, two a calibration
        QTEST(stopwatch.RunTime(), "milliseconds");
        QCOMPARE(counter.reads, readings.size()); // the result reads nothing
    }
};

QTEST_MAIN(tst_stopwatch)
#include "tst_stopwatch.moc"
