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
