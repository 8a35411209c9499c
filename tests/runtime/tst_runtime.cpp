// The runtime: measurement, random numbers, waits, Qt's pump, end and controls.
#include "calibration.h"
#include "pumpwait.h"
#include "qtcontrols.h"
#include "qtservices.h"
#include "stdrandom.h"
#include "testworld.h"

#include <QApplication>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace jorv;
using namespace jorv::test;
using namespace std::chrono;

class TestRuntime : public QObject {
    Q_OBJECT
private slots:
    // The measurement counts pump calls, under the hourglass, until the clock
    // passes its first reading plus 3, rounded, whatever the time of day does.
    // The hand-over then makes a pump call and a draw for each count.
    void measurementCountsPumpCallsUntilTheDeadline() {
        const std::vector<std::tuple<std::vector<float>, float, int, int>> cases{
            {{100.0f, 101.0f, 102.0f, 103.0f, 103.5f}, 0.0f, 3, 4},
            {{2.5f, 5.9f, 6.0f, 6.2f}, 0.0f, 2, 3}, // the deadline rounded up to even
            {{1.6f, 5.0f, 5.01f}, 0.0f, 1, 2},      // exactly 5
            {{1.5f}, 0.0f, 0, 0},                   // 4 by a tie: nothing measured
            {{86399.0f, 86399.9f, 86400.5f, 86401.9f, 86402.01f}, 0.0f, 3, 4}, // over midnight
            {{43200.0f}, -3600.0f, 3000, 4500},
            {{43200.0f}, 3600.0f, 3000, 4500}};
        for (const auto& [readings, shift, pumpCalls, count] : cases) {
            World world;
            world.readings = readings;
            world.step = 0.001f; // a millisecond a call past the readings
            RecordingControl label3(world, "Label3");
            SpeedCalibration calibration(world.services);
            world.pump.at(1, [&] {
                QCOMPARE(calibration.calibrating, -1);
                QCOMPARE(label3.caption(), "しばらくお待ちください。");
            });
            world.pump.at(1000, [&] { world.timeOfDayShift = shift; });
            calibration.measure(label3);
            // Single-precision readings near noon step unevenly: a count or so either way.
            const int slack = count > 100 ? 3 : 0;
            QVERIFY2(std::abs(world.pump.calls - pumpCalls) <= slack &&
                         std::abs(calibration.calibrationCount - count) <= slack,
                     qPrintable(QString::asprintf("%ld calls, %d", world.pump.calls,
                                                  int(calibration.calibrationCount))));
            QCOMPARE(calibration.calibrating, count > 0 ? -1 : 0);
            const std::vector<int> pointers{int(Pointer::Hourglass), int(Pointer::Arrow)};
            QCOMPARE(world.pointers, count > 0 ? pointers : std::vector<int>{});
            const long measured = world.pump.calls;
            calibration.handOver(label3);
            QCOMPARE(world.pump.calls - measured, world.draws);
            QCOMPARE(world.draws, long(calibration.calibrationCount));
        }
    }

    void randomNumbersStayBelowOne() {
        QVERIFY(StdRandom::toUnit(0xFFFFFFFFu) < 1.0f && StdRandom::toUnit(0) == 0.0f);
    }

    // A counted wait goes on from where a handler leaves its counter, and
    // stops at the top of the counter's range.
    void handlerInsideAWaitMovesItsCounter() {
        const std::vector<std::tuple<int, int, long>> cases{
            {10, 9, 3}, {10, 1, 11}, {INT32_MAX, INT32_MAX - 1, 3}, {10, INT32_MAX, 2}};
        for (auto [steps, movedTo, calls] : cases) {
            World world;
            std::int32_t loopIndex = 0;
            world.pump.at(2, [&] { loopIndex = movedTo; });
            pumpWait(world.pump, loopIndex, steps);
            QCOMPARE(world.pump.calls, calls);
        }
    }

    // A counted run sleeps, but an event in it is handled at its tick, and a
    // handler held open (a modal box) is one call: the ticks left follow.
    void aCountedRunHandlesEventsAtTheirTick() {
        QtPump pump;
        std::int32_t counter = 0, seen = 0, after = 0;
        steady_clock::time_point closed;
        QTimer::singleShot(50, Qt::PreciseTimer, [&] {
            seen = counter;
            QEventLoop box;
            QTimer::singleShot(300, &box, &QEventLoop::quit);
            box.exec();
            after = counter;
            closed = steady_clock::now();
        });
        pump.pumpCounted(counter, 500);
        QVERIFY2(seen >= 45 && seen < 500 && after == seen, qPrintable(QString::number(seen)));
        QVERIFY(steady_clock::now() - closed >= milliseconds(500 - seen - 2));
        QCOMPARE(counter, 501);
    }

    // However fast events come (a timer that fires at every turn of the loop,
    // events posted from another thread), no call ends before its tick: the
    // counter never runs ahead of the clock and the run lasts its n ticks. A
    // single call, too, lasts to the next tick.
    void aStreamOfEventsDoesNotShortenTheCalls() {
        QtPump pump;
        std::int32_t counter = 0;
        const auto began = steady_clock::now();
        long ahead = 0;
        QTimer spinning;
        connect(&spinning, &QTimer::timeout, [&] {
            const auto ticks = duration_cast<milliseconds>(steady_clock::now() - began).count() + 1;
            ahead = std::max(ahead, counter - ticks);
        });
        spinning.start(0);
        QObject receiver;
        std::atomic<bool> done = false;
        std::thread poster([&] {
            while (!done) {
                QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
                std::this_thread::sleep_for(microseconds(50));
            }
        });
        pump.pumpCounted(counter, 300);
        const auto counted = steady_clock::now() - began;
        for (int call = 0; call < 20; ++call)
            pump.pump();
        done = true;
        poster.join();
        QCOMPARE(counter, 301);
        QVERIFY2(ahead <= 0, qPrintable(QString::number(ahead)));
        QVERIFY(counted >= milliseconds(299));
        QVERIFY(steady_clock::now() - began - counted >= milliseconds(19));
        // A call begun late in a tick ends with it, not a tick later.
        std::vector<steady_clock::duration> lasted;
        for (int k = 0; k < 21; ++k) {
            while (steady_clock::now().time_since_epoch() % milliseconds(1) < microseconds(500)) {
            }
            const auto start = steady_clock::now();
            pump.pump();
            lasted.push_back(steady_clock::now() - start);
        }
        const auto shortest = *std::min_element(lasted.begin(), lasted.end());
        QVERIFY2(shortest < milliseconds(1), qPrintable(QString::number(shortest.count())));
    }

    // Deep in nested event loops the end leaves at once with status 0.
    void endServiceLeavesAtOnceWithStatusZero() {
        const pid_t child = fork();
        if (child == 0) {
            QTimer::singleShot(0, [] {
                QtPump().pump();
                QtEnder().endProgram();
            });
            QEventLoop().exec();
            _exit(3);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    // A self-sizing label moves only to stay in its window, or takes a smaller size.
    void labelsSizingThemselvesStayInTheWindow() {
        for (auto [alignment, text, box, side] :
             {std::tuple{int(Qt::AlignLeft), "Miss!", QRect(370, 10, 20, 50), 1},
              {int(Qt::AlignHCenter), "Miss!", QRect(-20, 10, 20, 50), -1},
              {int(Qt::AlignLeft), "ALL Clear! ALL Clear!", QRect(40, 10, 300, 50), 0}}) {
            QWidget window;
            window.resize(400, 300);
            auto* label = new SelfSizingLabel(&window);
            label->setFont(QFont(QApplication::font().family(), 48));
            label->setAlignment(Qt::Alignment(alignment) | Qt::AlignTop);
            label->setGeometry(box);
            label->sizeItselfToText();
            QtLabel(label).setCaption(text);
            const QRect placed = label->geometry();
            QVERIFY(window.rect().contains(placed) && placed.top() == box.top());
            QVERIFY(side > 0   ? placed.right() == 399
                    : side < 0 ? placed.left() == 0
                               : label->font().pointSize() < 48);
        }
    }
};

QTEST_MAIN(TestRuntime)
#include "tst_runtime.moc"
