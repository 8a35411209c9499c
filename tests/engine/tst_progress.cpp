// The progress button to the pump call: the first press, a forgiven miss,
// the game overs with their fall-backs and the final one, and whole games
// from the first press to the end of the program.
#include "testworld.h"

#include <QTest>

using namespace jorv;
using namespace jorv::test;

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// Every command is "赤あげて", so a player who does nothing misses the
// first turn of every stage.
void onlyRedRaised(GameWorld& world) {
    world.random.fallback = [n = 0]() mutable {
        const std::array<float, 5> draws{0.0f, 0.9f, 0.0f, 0.0f, 0.0f}; // red, white, 1, 1, 1
        return draws[n++ % 5];
    };
}

// The writes of the given controls from pump call `from` on, as
// "call control.property=value" with calls counted from `from`.
QStringList writesSince(const GameWorld& world, long from, const QStringList& controls) {
    QStringList lines;
    for (const Write& w : world.trace.writes)
        if (w.pumpCall >= from && controls.contains(q(w.control)))
            lines << QString("%1 %2.%3=%4")
                         .arg(w.pumpCall - from)
                         .arg(q(w.control), q(w.property), q(w.value));
    if (world.ender.ended)
        lines << QString("%1 end").arg(world.ender.endedAtCall - from);
    return lines;
}

bool startsStage(const GameWorld& world) {
    return world.Label1.caption().starts_with("レベル");
}

} // namespace

class TestProgress : public QObject {
    Q_OBJECT
private slots:
    void firstPressAnnouncesThenSetsUpStageOne() {
        for (int speed : {10, 0}) {
            GameWorld world;
            world.load(std::to_string(speed));
            world.trace.writes.clear();
            world.run([&] { world.pressProgressButton(); }, [] {},
                      [&] { return world.game.stage == 1; });
            QCOMPARE(writesSince(world, 0, {"Label1", "進行ボタン"}).mid(0, 3),
                     (QStringList{"0 進行ボタン.Visible=False",
                                  "0 Label1.Caption=それでは、開始します！",
                                  QString("%1 Label1.Caption=レベル1").arg(5 * speed)}));
            QCOMPARE(world.game.stage, 1);
        }
    }

    // A miss in `stage` with `left` misses to go, then the press: what the
    // player reads until play resumes or the program ends, at speed 10.
    void pressAfterAMiss_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("left");
        QTest::addColumn<QString>("seen");
        QTest::addColumn<int>("stageAfter");
        QTest::addColumn<int>("leftAfter");
        const QString fallBack = "0 Label1.Caption=ゲームオーバーです。|"
                                 "30 Label1.Caption=前の面からやり直しです|"
                                 "60 Label2.Visible=False|60 Label1.ForeColor=ButtonText|"
                                 "60 パネル.Panel1=レベル%1|60 パネル.Panel2=残りミス：10|"
                                 "60 Label1.Caption=レベル%2";
        const QString continued =
            "0 パネル.Panel2=残りミス：%1|0 Label1.Caption=ミスはあと%1回です。|"
            "30 Label2.Visible=False|30 Label1.ForeColor=ButtonText|"
            "30 パネル.Panel1=レベル3：黒旗登場|30 パネル.Panel2=残りミス：%1|"
            "30 Label1.Caption=レベル3";
        QTest::newRow("continued, 10 left") << 3 << 10 << continued.arg(9) << 3 << 9;
        QTest::newRow("continued, 1 left") << 3 << 1 << continued.arg(0) << 3 << 0;
        QTest::newRow("game over in stage 7")
            << 7 << 0 << fallBack.arg("6：さらに目かくし", "6") << 6 << 10;
        QTest::newRow("game over in stage 2")
            << 2 << 0 << fallBack.arg("1：まずは小手調べ", "1") << 1 << 10;
        QTest::newRow("game over in stage 0 replays stage 1")
            << 0 << 0 << fallBack.arg("1：まずは小手調べ", "1") << 1 << 10;
        QTest::newRow("game over in stage 1 ends the game")
            << 1 << 0
            << "0 Label1.Caption=ゲームオーバーです。|30 Label1.Caption=また出直してきて下さい。|"
               "60 Label2.Caption=GAME OVER|60 Label2.Visible=True|130 end"
            << 1 << 0;
    }
    void pressAfterAMiss() {
        QFETCH(int, stage);
        QFETCH(int, left);
        QFETCH(QString, seen);
        QFETCH(int, stageAfter);
        QFETCH(int, leftAfter);
        GameWorld world;
        world.load("10");
        onlyRedRaised(world);
        Game& game = world.game;
        game.stage = static_cast<std::uint8_t>(std::max(stage, 1) - 1);
        game.missesLeft = static_cast<std::uint8_t>(left);
        world.pressProgressButton(); // returns at the miss of the first turn
        QCOMPARE(game.buttonAction, "ミス");
        game.stage = static_cast<std::uint8_t>(stage); // as the level select may leave it

        const long press = world.pump.calls;
        world.trace.writes.clear();
        world.run([&] { world.pressProgressButton(); }, [] {}, [&] { return startsStage(world); });
        QCOMPARE(writesSince(world, press, {"Label1", "Label2", "パネル"}).join('|'), seen);
        QCOMPARE(game.stage, stageAfter);
        QCOMPARE(game.missesLeft, leftAfter);
        if (!world.ender.ended)
            QCOMPARE(bits(game.flagUp) + bits(game.expectedUp), "0000000000");
    }

    // A player who answers every command, but lets one slip in the last
    // turn of stage 4 and again in stage 12, plays to the ending; the press
    // after it ends the program at once.
    void playerClearsAllTwelveStages() {
        GameWorld world;
        world.load("3");
        Game& game = world.game;
        // At speed 3, loopIndex reaches 15 only as the turn counter.
        auto slips = [&] {
            return game.loopIndex == 15 && ((game.stage == 4 && game.missesLeft == 10) ||
                                            (game.stage == 12 && game.missesLeft == 9));
        };
        world.pump.onEveryCall = [&](long) {
            if (!slips())
                world.answerPerfectly();
            else if (game.flagUp(1) == game.expectedUp(1))
                world.pressFlagKey(1);
        };
        int presses = 0;
        while (game.buttonAction != "クリア" && presses < 5) {
            world.pressProgressButton();
            ++presses;
        }
        QCOMPARE(presses, 3);

        QStringList stages;
        for (const std::string& caption : world.trace.values("Label1", "Caption"))
            if (caption.starts_with("レベル"))
                stages << q(caption.substr(std::string("レベル").size()));
        QCOMPARE(stages.join(' '), "1 2 3 4 4 5 6 7 8 9 10 11 12 12");
        QCOMPARE(game.stage, 12);
        QCOMPARE(game.missesLeft, 8);
        QCOMPARE(world.Label1.caption(), "ＴＨＥ ＥＮＤ");
        QCOMPARE(world.進行ボタン.caption(), "お疲れ様でした");

        const long end = world.pump.calls;
        world.run([&] { world.pressProgressButton(); }, [] {}, [] { return false; });
        QCOMPARE(world.ender.endedAtCall, end);
        QCOMPARE(world.Label1.caption(), "ＴＨＥ ＥＮＤ");
    }

    // Eleven misses in stage 1: ten are forgiven, the eleventh ends the
    // program seven units after "GAME OVER".
    void elevenMissesInStageOneEndTheGame() {
        GameWorld world;
        world.load("3");
        onlyRedRaised(world);
        int presses = 0;
        while (!world.ender.ended && presses < 20) {
            world.run([&] { world.pressProgressButton(); }, [] {}, [] { return false; });
            ++presses;
        }
        QCOMPARE(presses, 12);
        QStringList messages;
        for (const std::string& caption : world.trace.values("Label1", "Caption"))
            if (caption.ends_with("。"))
                messages << q(caption);
        QCOMPARE(messages.join(' '), "ミスはあと9回です。 ミスはあと8回です。 ミスはあと7回です。 "
                                     "ミスはあと6回です。 ミスはあと5回です。 ミスはあと4回です。 "
                                     "ミスはあと3回です。 ミスはあと2回です。 ミスはあと1回です。 "
                                     "ミスはあと0回です。 ゲームオーバーです。 "
                                     "また出直してきて下さい。");
        const std::vector<Write> banner = world.trace.of("Label2", "Caption");
        QCOMPARE(banner.size(), std::size_t{1});
        QCOMPARE(world.ender.endedAtCall, banner[0].pumpCall + 21);
        QCOMPARE(world.game.stage, 1);
    }
};

QTEST_GUILESS_MAIN(TestProgress)
#include "tst_progress.moc"
