// The game in the test world: its load, the draws that name a command, a
// stage's pace to the pump call, the twelve stages as a player meets them, and
// the hidden level select.
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

template <class Strings> QString joined(const Strings& values) {
    QStringList line;
    for (const std::string& v : values)
        if (!v.empty())
            line << q(v);
    return line.join(' ');
}

long firstCall(const Trace& trace, const std::string& caption) {
    for (const Write& w : trace.of("Label1", "Caption"))
        if (w.value == caption)
            return w.pumpCall;
    return -1;
}

// Checks the pace of a stage played at speed 100 from the first press (which
// announces the start for 5 units) or the clear before: the introduction,
// each letter at charDelay + 2 calls, the answer time, the bar counting down,
// the clear and the next stage. Gives the backgrounds set up to the clear.
void checkPace(const Trace& trace, int stage, std::string& backgroundsSet) {
    const int speed = 100, answer = 110;
    const long begin = firstCall(trace, "レベル" + std::to_string(stage));
    const long clear = firstCall(trace, "Stage Clear");
    if (stage == 1)
        QCOMPARE(firstCall(trace, "それでは、開始します！") + 5 * speed, begin);
    QCOMPARE(firstCall(trace, std::string(stageRow(stage)->stageName)), begin + 3 * speed);
    QCOMPARE(firstCall(trace, ""), begin + 6 * speed);
    // Each turn: the call the bar moved in, then each letter's.
    std::vector<std::vector<long>> turns;
    std::vector<std::string> bar, backgrounds;
    for (const Write& w : trace.writes)
        if (w.pumpCall >= clear)
            break;
        else if (w.control == "バー残量")
            turns.push_back({w.pumpCall}), bar.push_back(w.value);
        else if (w.control == "Label1" && w.property == "Caption" && !turns.empty())
            turns.back().push_back(w.pumpCall);
        else if (w.control == "Form" && w.property == "BackColor")
            backgrounds.push_back(w.value);
    QCOMPARE(joined(bar), "14 13 12 11 10 9 8 7 6 5 4 3 2 1 0");
    QCOMPARE(turns[0][0], begin + 7 * speed);
    const QStringList delays = QString(stage == 12 ? "70" : "80")
                                   .append(" 90 90 90 59 45 45 45 36 30 30 30 33 33 33")
                                   .split(' ');
    for (int n = 0; n < 15; ++n) {
        const long step = delays[n].toInt() + 2;
        QCOMPARE(turns[n][1], turns[n][0]);
        for (std::size_t k = 2; k < turns[n].size(); ++k)
            QCOMPARE(turns[n][k] - turns[n][k - 1], step);
        QCOMPARE(n < 14 ? turns[n + 1][0] : clear - speed * 3 / 2, turns[n].back() + step + answer);
    }
    if (stage < 12)
        QCOMPARE(firstCall(trace, "レベル" + std::to_string(stage + 1)), clear + 3 * speed);
    backgroundsSet = joined(backgrounds).toStdString();
}

} // namespace

class TestGame : public QObject {
    Q_OBJECT
private slots:
    // The load takes the title screen's count (ties to even) and place before
    // it goes, and waits. The flag reset lowers all, shows those in play.
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
        QCOMPARE(world.pump.calls, 0);
        world.game.flagInPlay = {{true, false, true, false, true}};
        world.game.flagUp = {{true, true, false, true, true}};
        world.game.resetFlags();
        QCOMPARE(q(bits(world.game.flagUp) + visible(world.Shape1)), "0000010101");
        QCOMPARE(world.Shape1[0].top(), flagLoweredTop);
    }

    // A draw r picks floor(r x max) + 1, in range whatever the source; they
    // name a colour (redrawn while out of play and, for the second, while it
    // is the first), two actions and the pattern.
    void drawsNameTheCommand() {
        for (auto [r, max, expected] : {std::tuple{0.0f, 5, 1},
                                        {0.5f, 4, 3},
                                        {0.99999994f, 5, 5},
                                        {0.99999994f, 255, 255},
                                        {0.99999994f, 1, 1},
                                        {1.0f, 4, 4},
                                        {-0.25f, 4, 1},
                                        {std::nanf(""), 4, 1}}) {
            GameWorld world;
            world.randomValues = {r};
            QCOMPARE(world.game.randomUpTo(static_cast<std::uint8_t>(max)), expected);
        }
        const std::vector<std::tuple<bool, std::vector<float>, std::string>> cases{
            {true, {0.0f, 0.9f, 0.0f, 0.3f, 0.5f}, "赤あげないで白さげて"},
            {true, {0.0f, 0.9f, 0.3f, 0.0f, 0.5f}, "赤さげないで白あげて"},
            {true, {0.9f, 0.0f, 0.5f, 0.0f, 0.8f}, "白赤さげない"},
            {false, {0.3f, 0.0f, 0.0f, 0.5f, 0.9f, 0.0f, 0.0f, 0.0f}, "赤あげて"}};
        for (const auto& [allFive, draws, command] : cases) {
            GameWorld world;
            world.load();
            world.game.flagInPlay = {{true, allFive, allFive, allFive, true}};
            world.game.patternCount = allFive ? 4 : 1;
            world.randomValues = draws;
            QCOMPARE(q(world.game.drawCommand()), q(command));
            QCOMPARE(world.draws, static_cast<long>(draws.size()));
        }
    }

    // Each stage four times by a player who answers every command, the last
    // run missed at turn 8. The first run, at speed 100, keeps its pace. The
    // stage is as its row says: the name it is introduced by; the flags in
    // play, named in its commands and shown after the miss; the flags shown
    // while commands are called; the forms of command; the backgrounds it
    // sets. The miss leaves the stage's own background.
    void everyStagePlaysAsItsRowSays() {
        const std::array<QString, 12> rows{
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
            world.load("100");
            Game& game = world.game;
            const std::string name(stageRow(stage)->stageName);
            std::set<std::string> shown, forms;
            std::string named = "00000", backgrounds, backgroundAtIntro;
            auto look = [&] {
                const std::string caption = world.Label1.caption();
                if (caption == name)
                    backgroundAtIntro = toString(world.window.backColor());
                const Reading reading = readCommand(caption);
                for (auto [colour, up] : reading.wanted)
                    named[colour - 1] = '1';
                if (!reading.wanted.empty()) {
                    forms.insert(std::to_string(reading.form));
                    shown.insert(visible(world.Shape1));
                }
            };
            for (int run = 1; run <= 4; ++run) {
                game.speedCount = run == 1 ? 100 : 1;
                game.stage = static_cast<std::uint8_t>(stage - 1);
                game.resetFlags();
                world.trace.writes.clear();
                // At speed 1 no wait reaches 8: loopIndex 8 is the eighth turn.
                world.run(
                    [&] {
                        run == 1 && stage == 1 ? world.pressProgressButton() : game.setUpStage();
                    },
                    [&] {
                        look();
                        if (run < 4 || game.loopIndex != 8)
                            world.answerPerfectly();
                        else if (game.flagUp(1) == game.expectedUp(1))
                            world.pressFlagKey(1);
                    },
                    [&] {
                        return run == 1 ? game.stage == stage + 1
                                        : world.Label1.caption() == "Stage Clear";
                    });
                if (run == 1)
                    checkPace(world.trace, stage, backgrounds);
            }
            const std::string inPlay = visible(world.Shape1); // after the miss in turn 8
            QCOMPARE(game.buttonAction, "ミス");
            QCOMPARE(toString(world.window.backColor()), backgroundAtIntro);
            QCOMPARE(named, inPlay);
            QCOMPARE(joined(std::vector{name, inPlay, joined(shown).toStdString(),
                                        joined(forms).toStdString(), backgrounds}),
                     rows[stage - 1]);
        }
    }

    // From stage 5, entries "text=stage left for the next set-up" (the level
    // less one, or 5); a wrong code asks no level. Nothing else is written.
    void levelSelectChoosesTheStage() {
        const QStringList entries =
            QString(
                "1=0| 7.6 =7|6.5=5|+3=2|\u3000１２．４=11|９=8|=5|abc=5|12abc=5|1 2=5|.=5|-=5|"
                "1e1=5|0=5|0.5=5|-1=5|256=5|255.5=5|1000000000000000000000000000000=5|mpw%7140|")
                .split('|');
        for (const QString& entry : entries) {
            const bool rightCode = entry.contains('=');
            GameWorld world;
            world.load("3");
            world.game.stage = 5;
            world.trace.writes.clear();
            world.answers = {rightCode ? "MPW%7140" : entry.toStdString(),
                             entry.section('=', 0, 0).toStdString()};
            world.game.パネルDoubleClick(2);
            QVERIFY2(world.game.stage == (rightCode ? entry.section('=', 1).toInt() : 5),
                     qPrintable(entry));
            QCOMPARE(joined(world.boxes), QString("パスワードを入力して下さい。 Debug") +
                                              (rightCode ? " レベルを入力して下さい。 Debug" : ""));
            QVERIFY(world.trace.writes.empty());
        }
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
