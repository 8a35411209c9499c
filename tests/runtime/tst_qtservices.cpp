// The Qt pump and the end service.
#include "qtservices.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <sys/wait.h>
#include <unistd.h>

using namespace jorv;

class TestQtServices : public QObject {
    Q_OBJECT
private slots:
    void pumpHandlesPendingEventsAndWaitsForTheNextTick() {
        QtPump pump;
        bool handled = false;
        QMetaObject::invokeMethod(
            qApp, [&] { handled = true; }, Qt::QueuedConnection);
        pump.pump();
        QVERIFY(handled);
        // Each call ends on its own millisecond tick, so calls never spin.
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 20; ++i)
            pump.pump();
        QVERIFY(std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(19));
    }

    // A counted run sleeps between events, but an event that comes in the
    // middle is handled there, seeing the counter at the tick it came in.
    void aCountedRunHandlesAnEventAtItsTick() {
        QtPump pump;
        std::int32_t counter = 0, seen = 0;
        QTimer::singleShot(50, Qt::PreciseTimer, [&] { seen = counter; });
        const auto start = std::chrono::steady_clock::now();
        pump.pumpCounted(counter, 500);
        QVERIFY(std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(490));
        QVERIFY2(seen >= 45 && seen < 500, qPrintable(QString::number(seen)));
        QCOMPARE(counter, 501);
    }

    // A handler held open (a modal box) is one call: the run goes on after
    // it for the ticks it had left.
    void aHandlerHeldOpenIsOneCall() {
        QtPump pump;
        std::int32_t counter = 0, seen = 0, after = 0;
        std::chrono::steady_clock::time_point closed;
        QTimer::singleShot(10, Qt::PreciseTimer, [&] {
            seen = counter;
            QEventLoop box;
            QTimer::singleShot(300, &box, &QEventLoop::quit);
            box.exec();
            after = counter;
            closed = std::chrono::steady_clock::now();
        });
        pump.pumpCounted(counter, 100);
        QVERIFY(seen >= 1 && seen < 100);
        QCOMPARE(after, seen);
        const auto left = std::chrono::milliseconds(100 - seen - 2);
        QVERIFY(std::chrono::steady_clock::now() - closed >= left);
        QCOMPARE(counter, 101);
    }

    void endServiceLeavesAtOnceWithStatusZero() {
        const pid_t child = fork();
        if (child == 0) {
            // Deep inside a nested event loop, as in a wait inside a handler.
            QTimer::singleShot(0, [] {
                QtPump pump;
                pump.pump();
                QtEnder().endProgram();
            });
            QEventLoop().exec();
            _exit(3);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }
};

QTEST_MAIN(TestQtServices)
#include "tst_qtservices.moc"
