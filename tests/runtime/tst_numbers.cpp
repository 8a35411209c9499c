// Rounding and number reading.
#include "numbers.h"

#include <QTest>

#include <limits>

using namespace jorv;

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void nearestRoundsTiesToEven_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("expected");
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("4.5 of a count of 3") << 4.5 << 4;
        QTest::newRow("7.5 of a count of 5") << 7.5 << 8;
        QTest::newRow("-2.5") << -2.5 << -2;
        QTest::newRow("2.51") << 2.51 << 3;
        QTest::newRow("beyond the range") << 1e12 << std::numeric_limits<int>::max();
        QTest::newRow("below the range") << -1e12 << std::numeric_limits<int>::min();
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 0;
    }
    void nearestRoundsTiesToEven() {
        QFETCH(double, x);
        QFETCH(int, expected);
        QCOMPARE(nearest(x), expected);
    }

    void leadingNumberReadsTheStartOfAText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("digits") << "4512" << 4512.0;
        QTest::newRow("blanks first") << "  37" << 37.0;
        QTest::newRow("text after") << "12 pumps" << 12.0;
        QTest::newRow("fraction") << "2.5" << 2.5;
        QTest::newRow("sign") << "-7" << -7.0;
        QTest::newRow("no number") << "Version 1.2" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
    }
    void leadingNumberReadsTheStartOfAText() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(leadingNumber(text.toStdString()), expected);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
