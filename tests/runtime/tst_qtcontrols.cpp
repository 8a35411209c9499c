// The Qt controls that need more than a property: the hatched shapes as they
// are drawn, labels that size themselves to their text, and the clock panel.
#include "numbers.h"
#include "qtcontrols.h"

#include <QApplication>
#include <QImage>
#include <QTest>

using namespace jorv;

namespace {

const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);

// The pixels of a red square drawn with `style` over a blue window.
QImage drawnSquare(int style) {
    QWidget window;
    window.resize(40, 40);
    window.setAutoFillBackground(true);
    window.setPalette(QPalette(blue, blue));
    auto* widget = new ShapeWidget(&window);
    placeInTwips(widget, 75, 75, 375, 375);
    QtShape shape(widget);
    shape.setFillColor(Colour::rgb(255, 0, 0));
    shape.setFillStyle(style);
    return window.grab().toImage().copy(5, 5, 25, 25);
}

// Whether every pixel has the colour of its neighbour one step along (dx, dy).
bool constantAlong(const QImage& image, int dx, int dy) {
    for (int y = 1; y < image.height() - 1; ++y)
        for (int x = 0; x < image.width() - 1; ++x)
            if (image.pixelColor(x, y) != image.pixelColor(x + dx, y + dy))
                return false;
    return true;
}

int countOf(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

} // namespace

class TestQtControls : public QObject {
    Q_OBJECT
private slots:
    // Solid fills every pixel; a hatch leaves the window showing between its
    // lines, which run from top left to bottom right (5) or both ways (7).
    void shapesDrawTheirFillStyle_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("solid");
        QTest::addColumn<bool>("downward"); // lines from top left to bottom right
        QTest::addColumn<bool>("upward");
        QTest::newRow("0 solid") << 0 << true << true << true;
        QTest::newRow("1 solid") << 1 << true << true << true;
        QTest::newRow("5 downward diagonal") << 5 << false << true << false;
        QTest::newRow("7 diagonal cross") << 7 << false << false << false;
    }
    void shapesDrawTheirFillStyle() {
        QFETCH(int, style);
        QFETCH(bool, solid);
        QFETCH(bool, downward);
        QFETCH(bool, upward);
        const QImage square = drawnSquare(style);
        const int reds = countOf(square, red);
        QCOMPARE(reds + countOf(square, blue), 25 * 25);
        if (solid)
            QCOMPARE(reds, 25 * 25);
        else
            QVERIFY(reds > 25 * 2 && reds < 25 * 25 / 2);
        QCOMPARE(constantAlong(square, 1, 1), downward);
        QCOMPARE(constantAlong(square, 1, -1), upward);
        if (style == 7) {
            // Both directions carry lines: some red pixels continue down to
            // the right, others down to the left.
            bool right = false;
            bool left = false;
            for (int y = 0; y < 24; ++y)
                for (int x = 1; x < 24; ++x)
                    if (square.pixelColor(x, y) == red) {
                        right |= square.pixelColor(x + 1, y + 1) == red;
                        left |= square.pixelColor(x - 1, y + 1) == red;
                    }
            QVERIFY(right && left);
        }
    }

    // A label that sizes itself and would leave its window moves only as far
    // as it must to stay inside; one wider than the window is centred on it.
    // (The windows' tests see the edges and centres that stay.)
    void labelsSizingThemselvesStayInTheWindow_data() {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<int>("side"); // -1 window's left, 1 its right, 0 centred
        QTest::newRow("left, out on the right")
            << int(Qt::AlignLeft) << "Miss!" << QRect(370, 10, 20, 50) << 1;
        QTest::newRow("centred, out on the left")
            << int(Qt::AlignHCenter) << "Miss!" << QRect(-20, 10, 20, 50) << -1;
        QTest::newRow("wider than the window")
            << int(Qt::AlignLeft) << "ALL Clear! ALL Clear!" << QRect(40, 10, 300, 50) << 0;
    }
    void labelsSizingThemselvesStayInTheWindow() {
        QFETCH(int, alignment);
        QFETCH(QString, text);
        QFETCH(QRect, box);
        QFETCH(int, side);
        QWidget window;
        window.resize(400, 300);
        auto* label = new QLabel(&window);
        label->setFont(QFont(QApplication::font().family(), 48));
        label->setAlignment(Qt::Alignment(alignment) | Qt::AlignTop);
        label->setGeometry(box);
        QtLabel control(label);
        control.sizeItselfToText();
        control.setCaption(text.toStdString());

        const QSize size = label->sizeHint();
        const int room = window.width() - size.width();
        QCOMPARE(label->geometry(), QRect(QPoint(side < 0   ? 0
                                                 : side > 0 ? room
                                                            : room / 2,
                                                 box.top()),
                                          size));
    }

    // The clock shows hours and minutes and wakes just after the minute
    // turns.
    void clockPanelShowsHoursAndMinutes_data() {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("wake");
        QTest::newRow("morning") << QTime(9, 5, 30, 250) << "9:05" << 29750 + 50;
        QTest::newRow("midnight") << QTime(0, 0) << "0:00" << 60000 + 50;
        QTest::newRow("last minute") << QTime(23, 59, 59, 990) << "23:59" << 10 + 50;
    }
    void clockPanelShowsHoursAndMinutes() {
        QFETCH(QTime, now);
        QFETCH(QString, text);
        QFETCH(int, wake);
        ClockPanel panel([&] { return now; });
        QCOMPARE(panel.text(), text);
        QVERIFY(panel.msecsToNextMinute() <= wake && panel.msecsToNextMinute() > wake - 1000);

        now = now.addSecs(60);
        panel.refresh();
        QCOMPARE(panel.text(), now.toString("H:mm"));
    }
};

QTEST_MAIN(TestQtControls)
#include "tst_qtcontrols.moc"
