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

// How a drawn square looks: "solid" red, or the ways its red lines run down
// over the blue: "\\" from top left to bottom right, "/" the other way, "X"
// both.
QString lookOf(const QImage& square) {
    int reds = 0;
    bool right = false;
    bool left = false;
    for (int y = 0; y < square.height(); ++y)
        for (int x = 0; x < square.width(); ++x) {
            const QColor colour = square.pixelColor(x, y);
            if (colour != red) {
                if (colour != blue)
                    return "stray colour";
                continue;
            }
            ++reds;
            auto isRed = [&](int px, int py) {
                return square.valid(px, py) && square.pixelColor(px, py) == red;
            };
            right |= isRed(x + 1, y + 1);
            left |= isRed(x - 1, y + 1);
        }
    if (reds == square.width() * square.height())
        return "solid";
    return right && left ? "X" : right ? "\\" : left ? "/" : "dots";
}

} // namespace

class TestQtControls : public QObject {
    Q_OBJECT
private slots:
    // Solid fills every pixel; a hatch leaves the window showing between its
    // lines.
    void shapesDrawTheirFillStyle_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("look");
        QTest::newRow("0 solid") << 0 << "solid";
        QTest::newRow("1 solid") << 1 << "solid";
        QTest::newRow("5 downward diagonal") << 5 << "\\";
        QTest::newRow("7 diagonal cross") << 7 << "X";
    }
    void shapesDrawTheirFillStyle() {
        QFETCH(int, style);
        QFETCH(QString, look);
        QCOMPARE(lookOf(drawnSquare(style)), look);
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
        auto* label = new SelfSizingLabel(&window);
        const QFont design(QApplication::font().family(), 48);
        label->setFont(design);
        label->setAlignment(Qt::Alignment(alignment) | Qt::AlignTop);
        label->setGeometry(box);
        QtLabel control(label);
        control.sizeItselfToText();
        control.setCaption(text.toStdString());

        const QRect placed = label->geometry();
        QVERIFY(window.rect().contains(placed));
        QCOMPARE(placed.top(), box.top());
        if (side < 0)
            QCOMPARE(placed.left(), 0);
        else if (side > 0)
            QCOMPARE(placed.right(), window.rect().right());
        else // too wide at the design size: a smaller one
            QVERIFY(label->font().pointSizeF() < design.pointSizeF());
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
