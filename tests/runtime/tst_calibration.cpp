// The speed measurement, its hand-over, random numbers and the pump wait,
// against a scripted clock and a counting pump.
#include "calibration.h"
#include "numbers.h"
#include "pumpwait.h"
#include "stdrandom.h"
#include "testworld.h"

#include <QTest>

using namespace jorv;
using namespace jorv::test;

class TestCalibration : public QObject {
    Q_OBJECT
private slots:
    void measurementCountsPumpCallsUntilTheDeadline_data() {
        QTest::addColumn<std::vector<float>>("readings");
        QTest::addColumn<int>("pumpCalls");
        QTest::addColumn<int>("count");
        // The first reading sets the deadline: the clock plus 3, rounded.
        QTest::newRow("ordinary") << std::vector<float>{100.0f, 101.0f, 102.0f, 103.0f, 103.5f} << 3
                                  << 4;
        QTest::newRow("five calls")
            << std::vector<float>{100.2f, 100.5f, 101.0f, 101.5f, 102.0f, 103.0f, 103.01f} << 5
            << 8;
        QTest::newRow("deadline rounded up to even")
            << std::vector<float>{2.5f, 5.9f, 6.0f, 6.2f} << 2 << 3;
        QTest::newRow("deadline exactly 5") << std::vector<float>{1.6f, 5.0f, 5.01f} << 1 << 2;
        QTest::newRow("deadline 4 by a tie") << std::vector<float>{1.5f} << 0 << 0;
        QTest::newRow("just after midnight") << std::vector<float>{0.3f} << 0 << 0;
        // The time of day wraps to 0 while the steady clock runs on.
        QTest::newRow("across midnight")
            << std::vector<float>{86399.0f, 86399.9f, 86400.5f, 86401.9f, 86402.01f} << 3 << 4;
    }
    void measurementCountsPumpCallsUntilTheDeadline() {
        QFETCH(std::vector<float>, readings);
        QFETCH(int, pumpCalls);
        QFETCH(int, count);
        World world;
        world.clock.readings = readings;
        RecordingControl label3(world.trace, "Label3");
        SpeedCalibration calibration(world.services);
        calibration.measure(label3);
        QCOMPARE(world.pump.calls, pumpCalls);
        QCOMPARE(calibration.calibrationCount, count);
        const bool measured = nearest(readings.front() + 3.0) >= 5;
        QCOMPARE(world.clock.reads, measured ? static_cast<long>(readings.size()) : 0L);
        QCOMPARE(calibration.calibrating, measured ? -1 : 0);
        const std::vector<std::string> pointers =
            measured ? std::vector<std::string>{"11", "1"} : std::vector<std::string>{};
        QCOMPARE(world.trace.values("Screen", "MousePointer"), pointers);
    }

    // A machine that makes a pump call a millisecond measures about 4500,
    // whatever the time of day does in the middle of the window.
    void measurementSurvivesAStepOfTheTimeOfDay_data() {
        QTest::addColumn<float>("shift");
        QTest::newRow("steady") << 0.0f;
        QTest::newRow("an hour back") << -3600.0f;
        QTest::newRow("an hour on") << 3600.0f;
        QTest::newRow("a time sync") << 0.8f;
    }
    void measurementSurvivesAStepOfTheTimeOfDay() {
        QFETCH(float, shift);
        World world;
        world.clock.readings = {43200.0f};
        world.clock.step = 0.001f;
        world.pump.at(1000, [&] { world.clock.timeOfDayShift = shift; });
        RecordingControl label3(world.trace, "Label3");
        SpeedCalibration calibration(world.services);
        calibration.measure(label3);
        QVERIFY2(std::abs(calibration.calibrationCount - 4500) <= 3,
                 std::to_string(calibration.calibrationCount).c_str());
    }

    void measurementShowsItsStateBeforeTheFirstPumpCall() {
        World world;
        world.clock.readings = {100.0f, 101.0f, 104.0f};
        RecordingControl label3(world.trace, "Label3");
        SpeedCalibration calibration(world.services);
        world.pump.at(1, [&] {
            QCOMPARE(calibration.calibrating, -1);
            QCOMPARE(label3.caption(), "しばらくお待ちください。");
            QCOMPARE(world.pointer.current, 11);
        });
        calibration.measure(label3);
        QCOMPARE(world.pump.calls, 1);
    }

    void handOverDrawsOneNumberPerCountAndPumpCall_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("nothing measured") << 0;
        QTest::newRow("three") << 3;
        QTest::newRow("4500") << 4500;
    }
    void handOverDrawsOneNumberPerCountAndPumpCall() {
        QFETCH(int, count);
        World world;
        world.clock.readings = {12345.5f};
        RecordingControl label3(world.trace, "Label3");
        SpeedCalibration calibration(world.services);
        calibration.calibrationCount = count;
        long drawsBeforeCall = -1;
        world.pump.onEveryCall = [&](long call) {
            if (call == count)
                drawsBeforeCall = world.random.draws;
        };
        calibration.handOver(label3);
        QCOMPARE(label3.caption(), std::to_string(count));
        QCOMPARE(world.random.seeds, std::vector<float>{12345.5f});
        QCOMPARE(world.random.draws, count);
        QCOMPARE(world.pump.calls, count);
        if (count > 0) // each call comes before its draw
            QCOMPARE(drawsBeforeCall, count - 1);
    }

    void randomNumbersStayBelowOne() {
        QCOMPARE(StdRandom::toUnit(0), 0.0f);
        QVERIFY(StdRandom::toUnit(0xFFFFFFFFu) < 1.0f);
        StdRandom a, b;
        a.seed(100.25f);
        b.seed(100.25f);
        for (int i = 0; i < 100000; ++i) {
            const float r = a.next();
            QVERIFY(r >= 0.0f && r < 1.0f);
            QCOMPARE(b.next(), r);
        }
        b.seed(100.5f);
        QVERIFY(a.next() != b.next() || a.next() != b.next());
    }

    // The wait goes on from wherever a handler leaves its counter, and stops
    // at the top of the counter's range instead of passing it.
    void handlerInsideAWaitMovesItsCounter_data() {
        QTest::addColumn<std::int32_t>("steps");
        QTest::addColumn<std::int32_t>("movedTo");
        QTest::addColumn<long>("calls");
        QTest::newRow("on") << 10 << 9 << 3L;
        QTest::newRow("back") << 10 << 1 << 11L;
        QTest::newRow("to the top") << INT32_MAX << INT32_MAX - 1 << 3L;
        QTest::newRow("past the end") << 10 << INT32_MAX << 2L;
    }
    void handlerInsideAWaitMovesItsCounter() {
        QFETCH(std::int32_t, steps);
        QFETCH(std::int32_t, movedTo);
        QFETCH(long, calls);
        World world;
        std::int32_t loopIndex = 0;
        world.pump.at(2, [&] { loopIndex = movedTo; });
        pumpWait(world.pump, loopIndex, steps);
        QCOMPARE(world.pump.calls, calls);
    }
};

QTEST_GUILESS_MAIN(TestCalibration)
#include "tst_calibration.moc"
