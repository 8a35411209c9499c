// The hidden level select: the access code, the level read as a number,
// entries that name no stage, the stage that play then starts from, and the
// ending reached at once.
#include "testworld.h"

#include <QTest>

using namespace jorv;
using namespace jorv::test;

class TestLevelSelect : public QObject {
    Q_OBJECT
private slots:
    // From stage 5 with the progress button shown: the boxes asked and the
    // stage left for the next set-up. Nothing else is written.
    void entryChoosesTheStage_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("level");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("stage");
        const QString code = "MPW%7140";
        QTest::newRow("1") << code << "1" << 2 << 0;
        QTest::newRow("12") << code << "12" << 2 << 11;
        QTest::newRow("spaces, a fraction") << code << " 7.6 " << 2 << 7;
        QTest::newRow("a tie to even") << code << "6.5" << 2 << 5;
        QTest::newRow("a sign") << code << "+3" << 2 << 2;
        QTest::newRow("full width") << code << "\u3000１２．４" << 2 << 11;
        QTest::newRow("code in lower case") << "mpw%7140"
                                            << "1" << 1 << 5;
        QTest::newRow("code with a space") << "MPW%7140 "
                                           << "1" << 1 << 5;
        QTest::newRow("first box cancelled") << ""
                                             << "1" << 1 << 5;
        QTest::newRow("level box cancelled") << code << "" << 2 << 5;
        for (const char* entry : {"abc", "12abc", "1 2", ".", "-", "1e1", "0", "0.5", "-1", "256",
                                  "255.5", "1000000000000000000000000000000"})
            QTest::newRow(entry) << code << entry << 2 << 5;
    }
    void entryChoosesTheStage() {
        QFETCH(QString, code);
        QFETCH(QString, level);
        QFETCH(int, boxes);
        QFETCH(int, stage);
        GameWorld world;
        world.load("3");
        world.game.stage = 5;
        world.trace.writes.clear();
        world.inputBox.answers = {code.toStdString(), level.toStdString()};
        world.game.パネルDoubleClick(2);
        QCOMPARE(world.game.stage, stage);
        QCOMPARE(world.inputBox.calls.size(), std::size_t(boxes));
        const std::vector<BoxCall>& calls = world.inputBox.calls;
        QCOMPARE(calls[0].prompt + calls[0].title, "パスワードを入力して下さい。Debug");
        if (boxes == 2)
            QCOMPARE(calls[1].prompt + calls[1].title, "レベルを入力して下さい。Debug");
        QVERIFY(world.trace.writes.empty());
    }

    void chosenStageIsTheFirstPlayed() {
        for (int level : {1, 12}) {
            GameWorld world;
            world.load("3");
            world.inputBox.answers = {"MPW%7140", std::to_string(level)};
            world.game.パネルDoubleClick(level == 1 ? 1 : 3);
            world.run([&] { world.pressProgressButton(); }, [] {},
                      [&] { return world.Label1.caption().starts_with("レベル"); });
            QCOMPARE(world.Label1.caption(), "レベル" + std::to_string(level));
            QCOMPARE(world.game.stage, level);
        }
    }

    // Above 12 the ending runs at once. The progress button stays hidden
    // until the ending's last step, so neither a press nor a double-click
    // reaches the game while it runs.
    void levelAboveTwelveRunsTheEnding() {
        for (int level : {13, 255}) {
            GameWorld world;
            world.load("3");
            world.trace.writes.clear();
            world.inputBox.answers = {"MPW%7140", std::to_string(level)};
            world.pump.at(1, [&] {
                world.pressProgressButton();
                world.game.パネルDoubleClick(1);
            });
            world.game.パネルDoubleClick(2);
            QCOMPARE(world.game.stage, level);
            QCOMPARE(world.game.buttonAction, "クリア");
            QCOMPARE(world.inputBox.calls.size(), std::size_t{2});
            QCOMPARE(world.trace.values("進行ボタン", "Visible"),
                     (std::vector<std::string>{"False", "True"}));
            QCOMPARE(world.trace.of("進行ボタン", "Visible").front().pumpCall, 0);
            QCOMPARE(world.trace.values("Label1", "Caption").front(), "全面終了しました");
        }
    }

    // While a stage runs the progress button is hidden: no box opens.
    void noBoxWhilePlayRuns() {
        GameWorld world;
        world.load("3");
        world.pump.at(20, [&] { world.game.パネルDoubleClick(1); });
        world.run([&] { world.pressProgressButton(); }, [] {},
                  [&] { return world.pump.calls > 40; });
        QVERIFY(world.inputBox.calls.empty());
    }
};

QTEST_GUILESS_MAIN(TestLevelSelect)
#include "tst_levelselect.moc"
