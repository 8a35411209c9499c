// The game window's load, the stage table, the flag reset and the flag-input
// switch.
#include "stagetable.h"
#include "testworld.h"

#include <QTest>

using namespace jorv;
using namespace jorv::test;

namespace {
// Flags red to white as a row of 0 and 1.
QString bits(const std::array<bool, 5>& a) {
    QString row;
    for (bool on : a)
        row += on ? '1' : '0';
    return row;
}
QString bits(const OneBased<bool, 5>& a) {
    return bits(a.items_);
}
} // namespace

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

    void stageTableHoldsTheTwelveStages_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("row"); // name, in play, shown, patterns, background
        QTest::newRow("1") << 1 << "まずは小手調べ 10001 11111 1 -";
        QTest::newRow("2") << 2 << "ちょっと意地悪 10001 11111 2 -";
        QTest::newRow("3") << 3 << "黒旗登場 10101 11111 2 -";
        QTest::newRow("4") << 4 << "さらに意地悪 10101 11111 4 -";
        QTest::newRow("5") << 5 << "見えない黒旗 10101 11011 2 -";
        QTest::newRow("6") << 6 << "さらに目かくし 10101 00000 2 -";
        QTest::newRow("7") << 7 << "黄旗登場 11101 11111 4 -";
        QTest::newRow("8") << 8 << "５色で旗揚げ 11111 11111 4 -";
        QTest::newRow("9") << 9 << "５色＆目かくし 11111 10101 4 -";
        QTest::newRow("10") << 10 << "さらに目かくし 11111 01010 4 -";
        QTest::newRow("11") << 11 << "全部目かくし 11111 00000 4 RGB(192,192,255)";
        QTest::newRow("12") << 12 << "最終兵器登場 11111 11111 4 RGB(255,192,192)";
    }
    void stageTableHoldsTheTwelveStages() {
        QFETCH(int, stage);
        QFETCH(QString, row);
        const StageRow* r = stageRow(stage);
        QVERIFY(r);
        const QString background =
            QString::fromStdString(r->backColor ? toString(*r->backColor) : "-");
        QCOMPARE(QString::fromUtf8(r->stageName.data(), r->stageName.size()) + " " +
                     bits(r->flagInPlay) + " " + bits(r->flagShown) + " " +
                     QString::number(r->patternCount) + " " + background,
                 row);
    }

    void stageTableHasNoOtherStages() {
        for (int stage : {0, 13, 255, -1})
            QVERIFY(!stageRow(stage));
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
