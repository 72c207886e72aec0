#include "fakeservices.h"
#include "stopwatch/xtimer.h"

#include <QTest>

namespace {

// A counter with scripted readings: each now() takes the next one, so every
// expected value below is exact arithmetic on known tick counts.
FakeCounter counterWith(quint64 ticksPerSecond, const QList<quint64> &readings)
{
    FakeCounter counter;
    counter.ticksPerSecond = ticksPerSecond;
    counter.readings = readings;
    return counter;
}

} // namespace

class tst_stopwatch : public QObject
{
    Q_OBJECT

private slots:
    void runTimeRightAfterCalibrationIsZero_data()
    {
        QTest::addColumn<quint64>("first"); // the second reading is 4100 ticks later
        QTest::newRow("small") << quint64(100);
        QTest::newRow("across the low half's top bit") << quint64(0x17FFFF000);
        QTest::newRow("near the top of 64 bits") << quint64(0xFFFFFFFF00000000);
    }
    void runTimeRightAfterCalibrationIsZero()
    {
        QFETCH(quint64, first);
        FakeCounter counter = counterWith(3'579'545, { first, first + 4100 });
        xTimer stopwatch(counter);
        stopwatch.Calibrieren();
        QCOMPARE(stopwatch.RunTime(), 0.0);
    }

    void measuresTicksAsUnsignedMilliseconds_data()
    {
        QTest::addColumn<quint64>("start");
        QTest::addColumn<quint64>("halt");
        QTest::addColumn<quint64>("frequency");
        QTest::addColumn<double>("expected");
        QTest::newRow("250 ms at 10 MHz") << quint64(7'000'000) << quint64(9'500'000) << quint64(10'000'000) << 250.0;
        QTest::newRow("low half's top bit set")
            << quint64(0) << quint64(0x180000000) << quint64(1'000'000'000) << 6442.450944;
        QTest::newRow("low half crosses its top bit")
            << quint64(0x7FFFFFFF) << quint64(0x80000000) << quint64(1000) << 1.0;
        QTest::newRow("frequency 0 measures nothing") << quint64(100) << quint64(900) << quint64(0) << 0.0;
        QTest::newRow("high half's top bit set")
            << quint64(0x8000000000000000) << quint64(0x8000000000000800) << quint64(1024) << 2000.0;
    }
    void measuresTicksAsUnsignedMilliseconds()
    {
        QFETCH(quint64, start);
        QFETCH(quint64, halt);
        QFETCH(quint64, frequency);
        QFETCH(double, expected);
        FakeCounter counter = counterWith(frequency, { start, halt });
        xTimer stopwatch(counter);
        stopwatch.Start();
        stopwatch.Halt();
        QCOMPARE(stopwatch.RunTime(), expected); // not calibrated: no overhead
    }

    void runTimeSubtractsTheLatestOverheadAndReadsNothing()
    {
        FakeCounter counter = counterWith(1000, { 0, 2, 10, 310, 1000, 1001, 2000, 2100 });
        xTimer stopwatch(counter);
        stopwatch.Calibrieren();
        stopwatch.Start();
        stopwatch.Halt();
        QCOMPARE(stopwatch.RunTime(), 298.0);
        QCOMPARE(stopwatch.RunTime(), 298.0);
        QCOMPARE(counter.reads, 4); // two to calibrate, one each to start and halt

        stopwatch.Calibrieren(); // a fresh overhead of 1 ms replaces the old 2 ms
        stopwatch.Start();
        stopwatch.Halt();
        QCOMPARE(stopwatch.RunTime(), 99.0);
    }

    void startWithoutHaltGoesNegative()
    {
        FakeCounter counter = counterWith(1'000'000, { 1000, 1010, 4000 });
        xTimer stopwatch(counter);
        stopwatch.Calibrieren();
        stopwatch.Start(); // the stop reading is still the calibration's
        // (1010 - 4000) ticks at 1 MHz = -2.99 ms, less 0.01 ms overhead
        QCOMPARE(stopwatch.RunTime(), -3.0);
    }
};

QTEST_MAIN(tst_stopwatch)
#include "tst_stopwatch.moc"
