// The game window's load, the flag reset and the flag-input switch.
#include "testworld.h"

#include <QTest>

using namespace jorv;
using namespace jorv::test;

class TestGame : public QObject {
    Q_OBJECT
private slots:
    void loadTakesOverTheTitleScreenAndWaits() {
        GameWorld world;
        world.titleWindow.setTop(1200);
        world.titleWindow.setLeft(2400);
        world.trace.writes.clear();
        world.load("4512.5"); // rounded to even
        Game& game = world.game;
        QCOMPARE(game.speedCount, 4512);
        QCOMPARE(game.colourWords.items_,
                 (std::array<std::string, 5>{"赤", "黄", "黒", "緑", "白"}));
        QCOMPARE(game.actionWords.items_,
                 (std::array<std::string, 4>{"あげて", "さげて", "さげない", "あげない"}));
        QCOMPARE(game.missesLeft, 10);
        QCOMPARE(game.stage, 0);
        QCOMPARE(bits(game.flagUp) + bits(game.expectedUp), "0000000000");
        QCOMPARE(world.pump.calls, 0);
        // Every write of the load, in order: the window moves before the
        // title screen goes, and the messages come last.
        std::vector<std::string> expected{"TitleLabel3.Caption=4512.5", "Form.Top=1200",
                                          "Form.Left=2400", "TitleForm.Unload=True",
                                          "バー残量.Value=14"};
        for (int i = 1; i <= 5; ++i)
            for (const char* control : {"Command1", "メニュー各旗"})
                expected.push_back(control + ("(" + std::to_string(i) + ").Enabled=False"));
        expected.push_back("Label1.Caption=準備はできましたか？");
        expected.push_back("進行ボタン.Caption=－－－－＞");
        QCOMPARE(world.trace.lines(), expected);
    }

    void resetFlagsLowersEveryFlagAndShowsThoseInPlay() {
        GameWorld world;
        Game& game = world.game;
        game.flagInPlay = {{true, false, true, false, true}};
        game.flagUp = {{true, true, false, true, true}};
        game.expectedUp = {{true, false, true, true, false}};
        game.loopIndex = 7;
        game.resetFlags();
        QCOMPARE(bits(game.flagUp) + bits(game.expectedUp), "0000000000");
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(world.Shape1[i].top(), 2625);
            QCOMPARE(world.Shape1[i].visible(), i % 2 == 0);
        }
        QCOMPARE(game.loopIndex, 7); // a counter of its own
    }

    void setFlagInputSwitchesButtonThenMenuItemPerFlag() {
        for (bool on : {true, false}) {
            GameWorld world;
            world.game.loopIndex = 3;
            world.game.setFlagInput(on);
            std::vector<std::string> expected;
            for (int i = 1; i <= 5; ++i)
                for (const char* control : {"Command1", "メニュー各旗"})
                    expected.push_back(control + ("(" + std::to_string(i) + ").Enabled=") +
                                       (on ? "True" : "False"));
            QCOMPARE(world.trace.lines(), expected);
            QCOMPARE(world.game.loopIndex, 3);
        }
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
