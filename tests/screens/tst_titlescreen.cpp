// The title screen offscreen: its icon, the highlight of the
// line under the pointer, and the choices while idle and while measuring.
#include "fonts.h"
#include "gamewindow.h"
#include "numbers.h"
#include "program.h"
#include "testworld.h"
#include "titlescreen.h"

#include <QTest>

#include <set>

using namespace jorv;
using namespace jorv::test;

namespace {

// The program started in the test world: the title screen is shown, and the
// pump hands Qt's events over in every call.
struct Started {
    Started() {
        world.pump.onEveryCall = [](long) { QCoreApplication::processEvents(); };
        program.start();
        title = program.titleScreen();
    }
    World world;
    Program program{world.services};
    TitleScreen* title;
};

// The three choice lines' colours: Y yellow, K black.
QString lineColours(const TitleScreen& title) {
    QString colours;
    for (int i = 1; i <= 3; ++i) {
        const QColor colour = title.choice(i)->palette().color(QPalette::WindowText);
        colours += colour == QColor(255, 255, 0) ? 'Y' : colour == QColor(0, 0, 0) ? 'K' : '?';
    }
    return colours;
}

// Moves the pointer over a choice ("1" to "3"), a label ("L1" to "L3") or the
// window's background ("bg"); "dragL1" moves over Label1 with the button held.
void moveOver(TitleScreen& title, const QString& target) {
    if (target.startsWith("drag")) {
        QLabel* label = title.label(target.back().digitValue());
        QTest::mousePress(label, Qt::LeftButton, {}, label->rect().topLeft());
        QTest::mouseMove(label, label->rect().center());
        QTest::mouseRelease(label, Qt::LeftButton, {}, label->rect().center());
        return;
    }
    QWidget* widget = &title;
    QPoint point(toPixels(6500), toPixels(3000)); // right of "☆Show Help"
    if (target.startsWith('L'))
        widget = title.label(target.mid(1).toInt());
    else if (target != "bg")
        widget = title.choice(target.toInt());
    if (widget != &title)
        point = widget->rect().center();
    QTest::mouseMove(widget, point);
}

} // namespace

class TestTitleScreen : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerJapaneseFaces(); }

    // The game's own icon, the same as the game window's: 32 by 32 in at
    // most 16 colours. Closing the title screen ends the program.
    void theGamesIconAndClosing() {
        Started started;
        TitleScreen& title = *started.title;
        const QImage icon = title.windowIcon().pixmap(32, 32).toImage();
        QCOMPARE(icon.size(), QSize(32, 32));
        std::set<QRgb> colours;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                colours.insert(icon.pixel(x, y));
        QVERIFY(colours.size() > 4 && colours.size() <= 16);
        GameWindow game(started.world.services, started.program);
        QCOMPARE(game.windowIcon().pixmap(32, 32).toImage(), icon);
        started.world.ender.unwind = false;
        title.close();
        QVERIFY(started.world.ender.ended);
    }

    // Moves of the pointer, in order, and the colours of the three lines
    // after them. (Showing the window under the pointer is a move already.)
    void highlightFollowsThePointer() {
        for (const char* moves : {"1 YKK", "2 3 KKY", "1 bg KKK", "1 L1 YKK", "3 dragL3 KKY"}) {
            QStringList steps = QString(moves).split(' ');
            const QString colours = steps.takeLast();
            Started started;
            QVERIFY(QTest::qWaitForWindowExposed(started.title));
            for (const QString& step : steps)
                moveOver(*started.title, step);
            QVERIFY2(lineColours(*started.title) == colours, moves);
        }
    }

    // "☆Game Start" measures, hands over and shows the game window ready for
    // play where the title screen stood, which goes. Once the measurement has
    // begun the lines keep their colours under the pointer and only the
    // background turns them black; "☆Show Help" and a second "☆Game Start"
    // do nothing.
    void gameStartMeasuresOnceAndShowsTheReadyGameWindow() {
        Started started;
        World& world = started.world;
        world.ender.unwind = false;
        QPointer<TitleScreen> title = started.title;
        title->move(40, 60);
        QVERIFY(QTest::qWaitForWindowExposed(title));
        // The deadline is 103; six readings of 100.5 to 103 count, so the
        // measured count is round(6 x 1.5) = 9.
        world.clock.readings = {100.0f};
        world.clock.step = 0.5f;
        QStringList seen;
        world.pump.at(2, [&] {
            moveOver(*title, "2");
            seen << lineColours(*title);
            moveOver(*title, "bg");
            moveOver(*title, "3");
            seen << lineColours(*title);
            QTest::mouseClick(title->choice(2), Qt::LeftButton);
            QTest::mouseClick(title->choice(1), Qt::LeftButton);
        });
        moveOver(*title, "1");
        QTest::mouseClick(title->choice(1), Qt::LeftButton);

        QCOMPARE(seen, (QStringList{"YKK", "KKK"}));
        QVERIFY(!started.program.helpViewer());
        QCOMPARE(world.pump.calls, 6 + 9);
        QCOMPARE(world.random.draws, 9);
        QCOMPARE(title->label(3)->text(), "9");
        GameWindow* game = started.program.gameWindow();
        QVERIFY(game && game->isVisible());
        QCOMPARE(game->game().speedCount, 9);
        QCOMPARE(game->label1()->text(), "準備はできましたか？");
        QCOMPARE(game->pos(), QPoint(40, 60));
        QVERIFY(!started.program.titleScreen());
        QVERIFY(title->isHidden());
        QTRY_VERIFY(!title); // deleted once its click handler has returned
        QVERIFY(!world.ender.ended);
    }

    // "Thank you." stands for one pump call, then the program ends; during
    // the measurement too, and then no game window is made.
    void endThisGameThanksForOnePumpCall() {
        for (bool measuring : {false, true}) {
            Started started;
            World& world = started.world;
            TitleScreen* title = started.title;
            world.clock.readings = {100.0f};
            world.clock.step = 0.5f;
            QStringList shown; // what Label3 shows in each pump call, by call number
            world.pump.onEveryCall = [&](long call) {
                shown << QString::number(call) + " " + title->label(3)->text();
            };
            if (measuring)
                world.pump.at(2, [&] { title->choose(3); });
            QVERIFY_THROWS_EXCEPTION(ProgramEnded, title->choose(measuring ? 1 : 3));
            QCOMPARE(shown.join('|'),
                     measuring ? "1 しばらくお待ちください。|3 Thank you." : "1 Thank you.");
            QVERIFY(!started.program.gameWindow());
        }
    }
};

QTEST_MAIN(TestTitleScreen)
#include "tst_titlescreen.moc"
