#include "fakeservices.h"
#include "stopwatch/xtimer.h"

#include <QTest>
#include <cmath>

// The counter is scripted: each now() takes the next reading, so every
// expected value below is exact arithmetic on known tick counts.
class tst_stopwatch : public QObject
{
    Q_OBJECT

private slots:
    void runTimeRightAfterCalibrationIsZero_data();
    void runTimeRightAfterCalibrationIsZero();
    void startWithoutHaltGoesNegative();
    void runTimeChangesNothing();
    void overheadIsSubtracted();
    void measuresTicksAsMilliseconds_data();
    void measuresTicksAsMilliseconds();
    void readingsConvertAsUnsigned_data();
    void readingsConvertAsUnsigned();
    void frequencyZeroMeasuresNothing();
    void frequencyIsReadOnceAtCreation();
    void startAndHaltTakeOneReadingEach();
    void nextMeasurementOverwritesReadings();
};

void tst_stopwatch::runTimeRightAfterCalibrationIsZero_data()
{
    QTest::addColumn<quint64>("first");
    QTest::addColumn<quint64>("second");
    QTest::addColumn<quint64>("frequency");
    QTest::newRow("small") << quint64(100) << quint64(107) << quint64(10'000'000);
    QTest::newRow("same reading") << quint64(500) << quint64(500) << quint64(10'000'000);
    QTest::newRow("across the low half's top bit")
        << quint64(0x17FFFFFF0) << quint64(0x180000010) << quint64(1'000'000'000);
    QTest::newRow("near the top of 64 bits")
        << quint64(0xFFFFFFFF00000000) << quint64(0xFFFFFFFF00001000) << quint64(3'579'545);
}

void tst_stopwatch::runTimeRightAfterCalibrationIsZero()
{
    QFETCH(quint64, first);
    QFETCH(quint64, second);
    QFETCH(quint64, frequency);
    FakeCounter counter;
    counter.ticksPerSecond = frequency;
    counter.readings = { first, second };
    xTimer stopwatch(counter);

    stopwatch.Calibrieren();
    QCOMPARE(stopwatch.RunTime(), 0.0);
}

void tst_stopwatch::startWithoutHaltGoesNegative()
{
    FakeCounter counter;
    counter.ticksPerSecond = 1'000'000;
    counter.readings = { 1000, 1010, 4000 };
    xTimer stopwatch(counter);

    stopwatch.Calibrieren();
    stopwatch.Start(); // the stop reading is still the calibration's
    // (1010 - 4000) ticks at 1 MHz = -2.99 ms, less 0.01 ms overhead
    QCOMPARE(stopwatch.RunTime(), -3.0);
    QVERIFY(stopwatch.RunTime() < 0);
}

void tst_stopwatch::runTimeChangesNothing()
{
    FakeCounter counter;
    counter.readings = { 10, 20, 1'000'000, 251'000'000 };
    xTimer stopwatch(counter);
    stopwatch.Calibrieren();
    stopwatch.Start();
    stopwatch.Halt();
    const int reads = counter.reads;

    const double first = stopwatch.RunTime();
    const double second = stopwatch.RunTime();
    QCOMPARE(first, second);
    QCOMPARE(first, 250.0 - 0.00001);
    QCOMPARE(counter.reads, reads);
}

void tst_stopwatch::overheadIsSubtracted()
{
    FakeCounter counter;
    counter.ticksPerSecond = 1'000'000'000;
    counter.readings = { 0, 1000, 5000, 2'005'000 }; // 1 µs per read, 2 ms measured
    xTimer stopwatch(counter);

    stopwatch.Calibrieren();
    stopwatch.Start();
    stopwatch.Halt();
    QCOMPARE(stopwatch.RunTime(), 1.999);
}

void tst_stopwatch::measuresTicksAsMilliseconds_data()
{
    QTest::addColumn<quint64>("start");
    QTest::addColumn<quint64>("halt");
    QTest::addColumn<quint64>("frequency");
    QTest::addColumn<double>("expected");
    QTest::newRow("250 ms at 10 MHz") << quint64(7'000'000) << quint64(9'500'000) << quint64(10'000'000) << 250.0;
    QTest::newRow("sub-millisecond") << quint64(0) << quint64(1234) << quint64(1'000'000) << 1.234;
    QTest::newRow("low half's top bit set")
        << quint64(0) << quint64(0x0000000180000000) << quint64(1'000'000'000) << 6442.450944;
    QTest::newRow("low half crosses its top bit")
        << quint64(0x000000007FFFFFFF) << quint64(0x0000000080000000) << quint64(1000) << 1.0;
    QTest::newRow("high half's top bit set")
        << quint64(0x8000000000000000) << quint64(0x8000000000000000 + 2048) << quint64(1024) << 2000.0;
}

void tst_stopwatch::measuresTicksAsMilliseconds()
{
    QFETCH(quint64, start);
    QFETCH(quint64, halt);
    QFETCH(quint64, frequency);
    QFETCH(double, expected);
    FakeCounter counter;
    counter.ticksPerSecond = frequency;
    counter.readings = { start, halt };
    xTimer stopwatch(counter);

    stopwatch.Start();
    stopwatch.Halt();
    QCOMPARE(stopwatch.RunTime(), expected); // not calibrated: no overhead
}

void tst_stopwatch::readingsConvertAsUnsigned_data()
{
    QTest::addColumn<quint64>("reading");
    QTest::addColumn<double>("expected");
    QTest::newRow("zero") << quint64(0) << 0.0;
    QTest::newRow("low top bit") << quint64(0x80000000) << 2147483648.0;
    QTest::newRow("low all ones") << quint64(0xFFFFFFFF) << 4294967295.0;
    QTest::newRow("both halves") << quint64(0x0000000180000000) << 6442450944.0;
    QTest::newRow("high top bit") << quint64(0x8000000000000000) << 9223372036854775808.0;
    QTest::newRow("all ones rounds to 2^64") << quint64(0xFFFFFFFFFFFFFFFF) << 18446744073709551616.0;
}

void tst_stopwatch::readingsConvertAsUnsigned()
{
    QFETCH(quint64, reading);
    QFETCH(double, expected);
    QCOMPARE(xTimer::toDouble(reading), expected);
}

void tst_stopwatch::frequencyZeroMeasuresNothing()
{
    FakeCounter counter;
    counter.ticksPerSecond = 0;
    counter.readings = { 100, 200, 300, 900 };
    xTimer stopwatch(counter);

    stopwatch.Calibrieren();
    QCOMPARE(stopwatch.RunTime(), 0.0);
    stopwatch.Start();
    stopwatch.Halt();
    const double measured = stopwatch.RunTime();
    QVERIFY(std::isfinite(measured));
    QCOMPARE(measured, 0.0);
}

void tst_stopwatch::frequencyIsReadOnceAtCreation()
{
    FakeCounter counter;
    counter.ticksPerSecond = 1000;
    counter.readings = { 0, 500 };
    xTimer stopwatch(counter);
    counter.ticksPerSecond = 1; // later changes are not seen

    stopwatch.Start();
    stopwatch.Halt();
    QCOMPARE(stopwatch.RunTime(), 500.0);
}

void tst_stopwatch::startAndHaltTakeOneReadingEach()
{
    FakeCounter counter;
    xTimer stopwatch(counter);
    QCOMPARE(counter.reads, 0);
    stopwatch.Calibrieren();
    QCOMPARE(counter.reads, 2);
    stopwatch.Start();
    QCOMPARE(counter.reads, 3);
    stopwatch.Halt();
    QCOMPARE(counter.reads, 4);
    stopwatch.RunTime();
    QCOMPARE(counter.reads, 4);
}

void tst_stopwatch::nextMeasurementOverwritesReadings()
{
    FakeCounter counter;
    counter.ticksPerSecond = 1000;
    counter.readings = { 0, 2, 10, 310, 1000, 1001, 2000, 2100 };
    xTimer stopwatch(counter);

    stopwatch.Calibrieren();
    stopwatch.Start();
    stopwatch.Halt();
    QCOMPARE(stopwatch.RunTime(), 298.0);

    stopwatch.Calibrieren(); // a fresh overhead of 1 ms replaces the old 2 ms
    stopwatch.Start();
    stopwatch.Halt();
    QCOMPARE(stopwatch.RunTime(), 99.0);
}

QTEST_MAIN(tst_stopwatch)
#include "tst_stopwatch.moc"
