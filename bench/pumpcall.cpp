// One call of the game's Qt event pump with a shown window, as a QtTest
// benchmark: a call handles what is pending and sleeps to the next tick of
// 1 ms, so it lasts 1 ms on average.
#include "qtservices.h"

#include <QLabel>
#include <QTest>

class PumpCall final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        window_.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window_));
    }
    void pump() {
        QBENCHMARK {
            pump_.pump();
        }
    }

private:
    QLabel window_{QStringLiteral("pump call")};
    jorv::QtPump pump_;
};

QTEST_MAIN(PumpCall)
#include "pumpcall.moc"
