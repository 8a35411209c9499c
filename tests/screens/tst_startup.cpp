// The real windows, offscreen, with a scripted clock: from the title screen
// through the speed measurement to the game window waiting for play.
#include "gamewindow.h"
#include "program.h"
#include "testworld.h"
#include "titlescreen.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace jorv;
using namespace jorv::test;

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void gameStartMeasuresOnceAndShowsTheReadyGameWindow() {
        World world;
        world.ender.unwind = false;
        world.pump.onEveryCall = [](long) { QCoreApplication::processEvents(); };
        // The deadline is 103; six readings of 100.5 to 103 count, so the
        // measured count is round(6 x 1.5) = 9.
        world.clock.readings = {100.0f};
        world.clock.step = 0.5f;
        Program program(world.services);
        program.start();
        QPointer<TitleScreen> title = program.titleScreen();
        title->move(40, 60);
        QVERIFY(QTest::qWaitForWindowExposed(title));
        QCOMPARE(title->label(3)->text(), "Version 1.2");

        // A second click while measuring is ignored.
        world.pump.at(2, [&] { QTest::mouseClick(title->choice(1), Qt::LeftButton); });
        QTest::mouseClick(title->choice(1), Qt::LeftButton);

        QCOMPARE(title->calibration().calibrationCount, 9);
        QCOMPARE(world.pump.calls, 6 + 9);
        QCOMPARE(world.random.draws, 9);
        QCOMPARE(title->label(3)->text(), "9");
        GameWindow* game = program.gameWindow();
        QVERIFY(game);
        QVERIFY(game->isVisible());
        QCOMPARE(game->game().speedCount, 9);
        QCOMPARE(game->label1()->text(), "準備はできましたか？");
        QCOMPARE(game->progressButton()->text(), "－－－－＞");
        QCOMPARE(game->pos(), QPoint(40, 60));
        QVERIFY(!program.titleScreen());
        QVERIFY(title->isHidden());
        QTRY_VERIFY(!title); // deleted once its click handler has returned
        QVERIFY(!world.ender.ended);

        // Closing it through the window system ends the program.
        game->close();
        QVERIFY(world.ender.ended);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
