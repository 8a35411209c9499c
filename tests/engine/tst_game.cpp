// The game in the test world: its load, the draws that name a command, a
// stage's pace to the pump call, what each of the twelve stages shows and asks
// as a player meets it, and the hidden level select.
#include "stagetable.h"
#include "testworld.h"

#include <QTest>

#include <cmath>
#include <set>

using namespace jorv;
using namespace jorv::test;

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

template <class Strings> std::string joined(const Strings& values) {
    std::string line;
    for (const std::string& v : values)
        if (!v.empty())
            line += (line.empty() ? "" : " ") + v;
    return line;
}

// The turns of the first stage in the trace, up to its clear: the pump call at
// which the progress bar moved, then those at which each letter appeared.
std::vector<std::vector<long>> turnsIn(const Trace& trace) {
    std::vector<std::vector<long>> turns;
    for (const Write& w : trace.writes) {
        const bool caption = w.control == "Label1" && w.property == "Caption";
        if (caption && w.value == "Stage Clear")
            break;
        if (w.control == "バー残量")
            turns.push_back({w.pumpCall});
        else if (caption && !turns.empty())
            turns.back().push_back(w.pumpCall);
    }
    return turns;
}

long firstCall(const Trace& trace, const std::string& caption) {
    for (const Write& w : trace.of("Label1", "Caption"))
        if (w.value == caption)
            return w.pumpCall;
    return -1;
}

} // namespace

class TestGame : public QObject {
    Q_OBJECT
private slots:
    // The load takes the title screen's count (rounded, ties to even) and
    // place before the title screen goes, and waits for the first press. The
    // flag reset lowers every flag and shows those in play.
    void loadTakesOverTheTitleScreen() {
        GameWorld world;
        world.titleWindow.setTop(1200);
        world.titleWindow.setLeft(2400);
        world.load("4512.5");
        QCOMPARE(world.game.speedCount, 4512);
        QCOMPARE(QPoint(world.window.left(), world.window.top()), QPoint(2400, 1200));
        QVERIFY(world.titleWindow.unloaded);
        QCOMPARE(q(world.Label1.caption() + world.進行ボタン.caption()),
                 "準備はできましたか？－－－－＞");
        QCOMPARE(q(enabled(world.Command1) + enabled(world.メニュー各旗)), "0000000000");
        QCOMPARE(world.バー残量.value(), 14.0f);
        QCOMPARE(world.pump.calls, 0);

        world.game.flagInPlay = {{true, false, true, false, true}};
        world.game.flagUp = {{true, true, false, true, true}};
        world.game.resetFlags();
        QCOMPARE(q(bits(world.game.flagUp) + visible(world.Shape1)), "0000010101");
        QCOMPARE(world.Shape1[0].top(), flagLoweredTop);
    }

    // A draw r picks floor(r x max) + 1, kept in range whatever the source.
    void randomUpToStaysInRange() {
        const std::vector<std::tuple<float, int, int>> cases{
            {0.0f, 5, 1},        {0.5f, 4, 3}, {0.99999994f, 5, 5}, {0.99999994f, 255, 255},
            {0.99999994f, 1, 1}, {1.0f, 4, 4}, {-0.25f, 4, 1},      {std::nanf(""), 4, 1}};
        for (auto [r, max, expected] : cases) {
            GameWorld world;
            world.random.values = {r};
            QCOMPARE(world.game.randomUpTo(static_cast<std::uint8_t>(max)), expected);
        }
    }

    // The draws name the command: a colour (redrawn while out of play and,
    // for the second, while it is the first), two actions and the pattern.
    void drawsNameTheCommand() {
        const std::vector<std::tuple<int, std::vector<float>, std::string>> cases{
            {8, {0.0f, 0.9f, 0.0f, 0.3f, 0.5f}, "赤あげないで白さげて"},
            {8, {0.0f, 0.9f, 0.3f, 0.0f, 0.5f}, "赤さげないで白あげて"},
            {8, {0.9f, 0.0f, 0.5f, 0.0f, 0.8f}, "白赤さげない"},
            {1, {0.3f, 0.0f, 0.0f, 0.5f, 0.9f, 0.0f, 0.0f, 0.0f}, "赤あげて"}};
        for (const auto& [stage, draws, command] : cases) {
            GameWorld world;
            world.load();
            enter(world.game, stage);
            world.random.values = draws;
            QCOMPARE(q(world.game.drawCommand()), q(command));
            QCOMPARE(world.random.draws, static_cast<long>(draws.size()));
        }
    }

    // At speed 100, from the first press (which announces the start for 5
    // units) or from stage 11's clear: the introduction, each letter at
    // charDelay + 2 calls, the answer time, the progress bar counting down,
    // the clear and the next stage.
    void pacingFollowsTheTurns() {
        const int speed = 100, answer = 110;
        for (auto [stage, charDelays] :
             {std::pair{1, "80 90 90 90 59 45 45 45 36 30 30 30 33 33 33"},
              std::pair{12, "70 90 90 90 59 45 45 45 36 30 30 30 33 33 33"}}) {
            GameWorld world;
            world.load(std::to_string(speed));
            world.trace.writes.clear();
            world.game.stage = static_cast<std::uint8_t>(stage - 1);
            world.run([&] { stage == 1 ? world.pressProgressButton() : world.game.setUpStage(); },
                      [&] { world.answerPerfectly(); },
                      [&] { return world.game.stage == stage + 1; });
            const Trace& trace = world.trace;
            const long begin = firstCall(trace, "レベル" + std::to_string(stage));
            if (stage == 1)
                QCOMPARE(firstCall(trace, "それでは、開始します！") + 5 * speed, begin);
            QCOMPARE(firstCall(trace, std::string(stageRow(stage)->stageName)), begin + 3 * speed);
            QCOMPARE(firstCall(trace, ""), begin + 6 * speed);
            const auto turns = turnsIn(trace);
            QCOMPARE(turns.size(), std::size_t{15});
            QCOMPARE(turns[0][0], begin + 7 * speed);
            const QStringList delays = QString(charDelays).split(' ');
            const long clear = firstCall(trace, "Stage Clear");
            for (int n = 0; n < 15; ++n) {
                const long step = delays[n].toInt() + 2;
                QCOMPARE(turns[n][1], turns[n][0]);
                for (std::size_t k = 2; k < turns[n].size(); ++k)
                    QCOMPARE(turns[n][k] - turns[n][k - 1], step);
                QCOMPARE(n < 14 ? turns[n + 1][0] : clear - speed * 3 / 2,
                         turns[n].back() + step + answer);
            }
            if (stage < 12)
                QCOMPARE(firstCall(trace, "レベル" + std::to_string(stage + 1)), clear + 3 * speed);
            const std::vector<std::string> bar = trace.values("バー残量", "Value");
            QCOMPARE(q(joined(std::vector(bar.begin(), bar.begin() + 15))),
                     "14 13 12 11 10 9 8 7 6 5 4 3 2 1 0");
        }
    }

    // Four runs of each stage at speed 1 by a player who answers every
    // command, the last one missed at turn 8: the name it is introduced by;
    // the flags in play, shown through the introduction, named in its
    // commands and shown again after the miss; the flags shown while commands
    // are called; the forms of command it uses; and the backgrounds it sets.
    // The miss leaves the background the stage began with.
    void everyStagePlaysAsItsRowSays() {
        const std::array<std::string, 12> rows{
            "まずは小手調べ 10001 10001 1",
            "ちょっと意地悪 10001 10001 1 2",
            "黒旗登場 10101 10101 1 2",
            "さらに意地悪 10101 10101 1 2 3 4",
            "見えない黒旗 10101 10001 1 2",
            "さらに目かくし 10101 00000 1 2",
            "黄旗登場 11101 11101 1 2 3 4",
            "５色で旗揚げ 11111 11111 1 2 3 4",
            "５色＆目かくし 11111 10101 1 2 3 4",
            "さらに目かくし 11111 01010 1 2 3 4",
            "全部目かくし 11111 00000 1 2 3 4 RGB(192,192,255)",
            "最終兵器登場 11111 11111 1 2 3 4 RGB(255,192,192) RGB(255,0,0) RGB(0,192,0) "
            "RGB(255,255,0) RGB(255,255,255) RGB(255,255,0) RGB(0,0,255) RGB(255,0,0) "
            "RGB(255,255,255) RGB(255,0,0) RGB(0,192,0) RGB(128,128,128)"};
        for (int stage = 1; stage <= 12; ++stage) {
            GameWorld world;
            world.load("1");
            Game& game = world.game;
            std::set<std::string> introduced, shown, forms;
            bool named[6] = {};
            std::string backgrounds, backgroundAtIntro;
            auto look = [&] {
                const std::string caption = world.Label1.caption();
                if (caption == std::string(stageRow(stage)->stageName)) {
                    introduced.insert(caption + " " + visible(world.Shape1) +
                                      visible(world.Command1));
                    backgroundAtIntro = toString(world.window.backColor());
                }
                const Reading reading = readCommand(caption);
                for (auto [colour, up] : reading.wanted)
                    named[colour] = true;
                if (!reading.wanted.empty()) {
                    forms.insert(std::to_string(reading.form));
                    shown.insert(visible(world.Shape1));
                }
            };
            for (int run = 1; run <= 4; ++run) {
                game.stage = static_cast<std::uint8_t>(stage - 1);
                game.resetFlags();
                world.trace.writes.clear();
                // At speed 1 no wait reaches 8: loopIndex 8 is the eighth turn.
                world.run([&] { game.setUpStage(); },
                          [&] {
                              look();
                              if (run < 4 || game.loopIndex != 8)
                                  world.answerPerfectly();
                              else if (game.flagUp(1) == game.expectedUp(1))
                                  world.pressFlagKey(1);
                          },
                          [&] { return world.Label1.caption() == "Stage Clear"; });
                if (run == 1)
                    backgrounds = joined(world.trace.values("Form", "BackColor"));
            }
            const std::string inPlay = visible(world.Shape1); // after the miss in turn 8
            QCOMPARE(game.buttonAction, "ミス");
            QCOMPARE(world.バー残量.value(), 7.0f);
            QCOMPARE(toString(world.window.backColor()), backgroundAtIntro);
            QCOMPARE(q(joined(introduced)),
                     q(std::string(stageRow(stage)->stageName) + " " + inPlay + inPlay));
            for (int colour = 1; colour <= 5; ++colour)
                QCOMPARE(named[colour], inPlay[colour - 1] == '1');
            QCOMPARE(
                q(joined(std::vector{introduced.begin()->substr(0, introduced.begin()->find(' ')),
                                     inPlay, joined(shown), joined(forms), backgrounds})),
                q(rows[stage - 1]));
        }
    }

    // From stage 5 with the progress button shown, entries "text=stage left
    // for the next set-up" (one less than the level, or 5 where the entry
    // names no stage); a wrong code asks no level. Nothing else is written.
    void levelSelectChoosesTheStage() {
        const QStringList entries =
            QString("1=0| 7.6 =7|6.5=5|+3=2|\u3000１２．４=11|９=8|=5|abc=5|"
                    "12abc=5|1 2=5|.=5|-=5|1e1=5|0=5|0.5=5|-1=5|256=5|255.5=5|"
                    "1000000000000000000000000000000=5|mpw%7140|")
                .split('|');
        for (const QString& entry : entries) {
            const bool rightCode = entry.contains('=');
            GameWorld world;
            world.load("3");
            world.game.stage = 5;
            world.trace.writes.clear();
            world.inputBox.answers = {rightCode ? "MPW%7140" : entry.toStdString(),
                                      entry.section('=', 0, 0).toStdString()};
            world.game.パネルDoubleClick(2);
            QVERIFY2(world.game.stage == (rightCode ? entry.section('=', 1).toInt() : 5),
                     qPrintable(entry));
            std::vector<std::string> asked{"パスワードを入力して下さい。 Debug",
                                           "レベルを入力して下さい。 Debug"};
            asked.resize(rightCode ? 2 : 1);
            QVERIFY(world.inputBox.calls == asked);
            QVERIFY(world.trace.writes.empty());
        }
    }

    // The chosen stage is the next one played; above 12 the ending runs at
    // once, with the progress button hidden until its last step, so neither a
    // press nor a double-click reaches the game while it runs; nor while a
    // stage runs.
    void levelSelectStartsPlayOrTheEnding() {
        for (int level : {1, 12, 13, 255}) {
            GameWorld world;
            world.load("3");
            world.inputBox.answers = {"MPW%7140", std::to_string(level)};
            world.pump.at(1, [&] {
                world.pressProgressButton();
                world.game.パネルDoubleClick(1);
            });
            world.game.パネルDoubleClick(1);
            if (level > 12) {
                QCOMPARE(world.game.stage, level);
                QCOMPARE(world.game.buttonAction, "クリア");
                QCOMPARE(world.inputBox.calls.size(), std::size_t{2});
                continue;
            }
            world.pump.at(20, [&] { world.game.パネルDoubleClick(1); });
            world.run([&] { world.pressProgressButton(); }, [] {},
                      [&] { return world.pump.calls > 40; });
            QCOMPARE(q(world.trace.values("Label1", "Caption")[2]),
                     "レベル" + QString::number(level));
            QCOMPARE(world.inputBox.calls.size(), std::size_t{2});
        }
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
