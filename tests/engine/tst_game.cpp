// The game window's load, the stage table, the flag reset and the flag-input
// switch.
#include "stagetable.h"
#include "testworld.h"

#include <QTest>

using namespace jorv;
using namespace jorv::test;

Q_DECLARE_METATYPE(std::vector<bool>)

namespace {
std::vector<bool> bits(const std::array<bool, 5>& a) { return std::vector<bool>(a.begin(), a.end()); }
std::vector<bool> bits(const OneBased<bool, 5>& a) { return bits(a.items_); }
} // namespace

class TestGame : public QObject {
    Q_OBJECT
private slots:
    void loadTakesOverTheTitleScreenAndWaits() {
        GameWorld world;
        world.titleWindow.setTop(1200);
        world.titleWindow.setLeft(2400);
        world.trace.writes.clear();
        world.load("4512");
        Game& game = world.game;
        QCOMPARE(game.speedCount, 4512);
        QCOMPARE(game.colourWords.items_, (std::array<std::string, 5>{"赤", "黄", "黒", "緑", "白"}));
        QCOMPARE(game.actionWords.items_,
                 (std::array<std::string, 4>{"あげて", "さげて", "さげない", "あげない"}));
        QCOMPARE(game.missesLeft, 10);
        QCOMPARE(game.stage, 0);
        QCOMPARE(bits(game.flagUp), std::vector<bool>(5, false));
        QCOMPARE(bits(game.expectedUp), std::vector<bool>(5, false));
        QCOMPARE(world.pump.calls, 0);
        // Every write of the load, in order: the window moves before the
        // title screen goes, and the messages come last.
        std::vector<std::string> expected{"TitleLabel3.Caption=4512", "Form.Top=1200",
                                          "Form.Left=2400", "TitleForm.Unload=True",
                                          "バー残量.Value=14"};
        for (int i = 1; i <= 5; ++i)
            for (const char* control : {"Command1", "メニュー各旗"})
                expected.push_back(control + ("(" + std::to_string(i) + ").Enabled=False"));
        expected.push_back("Label1.Caption=準備はできましたか？");
        expected.push_back("進行ボタン.Caption=－－－－＞");
        QCOMPARE(world.trace.lines(), expected);
    }

    void loadRoundsAFractionalCountToEven_data() {
        QTest::addColumn<QString>("label3");
        QTest::addColumn<int>("speedCount");
        QTest::newRow("nothing measured") << "0" << 0;
        QTest::newRow("tie down") << "4.5" << 4;
        QTest::newRow("tie up") << "7.5" << 8;
        QTest::newRow("text") << "しばらくお待ちください。" << 0;
    }
    void loadRoundsAFractionalCountToEven() {
        QFETCH(QString, label3);
        QFETCH(int, speedCount);
        GameWorld world;
        world.load(label3.toStdString());
        QCOMPARE(world.game.speedCount, speedCount);
    }

    void stageTableHoldsTheTwelveStages_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("name");
        QTest::addColumn<std::vector<bool>>("inPlay");
        QTest::addColumn<std::vector<bool>>("shown");
        QTest::addColumn<int>("patterns");
        QTest::addColumn<QString>("background");
        const bool o = true, _ = false;
        const std::vector<bool> rw{o, _, _, _, o}, rbw{o, _, o, _, o}, all{o, o, o, o, o},
            none{_, _, _, _, _};
        QTest::newRow("1") << 1 << "まずは小手調べ" << rw << all << 1 << "";
        QTest::newRow("2") << 2 << "ちょっと意地悪" << rw << all << 2 << "";
        QTest::newRow("3") << 3 << "黒旗登場" << rbw << all << 2 << "";
        QTest::newRow("4") << 4 << "さらに意地悪" << rbw << all << 4 << "";
        QTest::newRow("5") << 5 << "見えない黒旗" << rbw << std::vector<bool>{o, o, _, o, o} << 2
                           << "";
        QTest::newRow("6") << 6 << "さらに目かくし" << rbw << none << 2 << "";
        QTest::newRow("7") << 7 << "黄旗登場" << std::vector<bool>{o, o, o, _, o} << all << 4 << "";
        QTest::newRow("8") << 8 << "５色で旗揚げ" << all << all << 4 << "";
        QTest::newRow("9") << 9 << "５色＆目かくし" << all << std::vector<bool>{o, _, o, _, o} << 4
                           << "";
        QTest::newRow("10") << 10 << "さらに目かくし" << all << std::vector<bool>{_, o, _, o, _}
                            << 4 << "";
        QTest::newRow("11") << 11 << "全部目かくし" << all << none << 4 << "RGB(192,192,255)";
        QTest::newRow("12") << 12 << "最終兵器登場" << all << all << 4 << "RGB(255,192,192)";
    }
    void stageTableHoldsTheTwelveStages() {
        QFETCH(int, stage);
        QFETCH(QString, name);
        QFETCH(std::vector<bool>, inPlay);
        QFETCH(std::vector<bool>, shown);
        QFETCH(int, patterns);
        QFETCH(QString, background);
        const StageRow* row = stageRow(stage);
        QVERIFY(row);
        QCOMPARE(QString::fromUtf8(row->stageName.data(), row->stageName.size()), name);
        QCOMPARE(bits(row->flagInPlay), inPlay);
        QCOMPARE(bits(row->flagShown), shown);
        QCOMPARE(row->patternCount, patterns);
        QCOMPARE(QString::fromStdString(row->backColor ? toString(*row->backColor) : ""),
                 background);
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
        QCOMPARE(bits(game.flagUp), std::vector<bool>(5, false));
        QCOMPARE(bits(game.expectedUp), std::vector<bool>(5, false));
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
