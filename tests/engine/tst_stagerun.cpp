// A stage run to the pump call: the pacing of the commands, the command
// patterns and what they require, the judgement and the miss, the
// blindfolds, the last stage's backgrounds and the hand-over between stages.
#include "stagetable.h"
#include "testworld.h"

#include <QTest>

#include <cmath>

using namespace jorv;
using namespace jorv::test;

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

QString joined(const std::vector<std::string>& values) {
    QStringList list;
    for (const std::string& v : values)
        list << QString::fromStdString(v);
    return list.join(' ');
}

// Scripted draws written as "c1 and its redraws|c2 ...|a1|a2|p".
std::vector<float> draws(const QString& script, int patternCount) {
    const std::array<int, 5> maxima{5, 5, 4, 4, patternCount};
    std::vector<float> values;
    const QStringList groups = script.split('|');
    for (qsizetype g = 0; g < groups.size(); ++g)
        for (const QString& v : groups[g].split(' ', Qt::SkipEmptyParts))
            values.push_back(drawOf(v.toInt(), maxima[g]));
    return values;
}

// Plays from setUpStage, with `player` acting in every pump call, until
// `until` holds in a pump call or the call chain returns.
void play(GameWorld& world, const std::function<void()>& player,
          const std::function<bool()>& until) {
    world.run([&] { world.game.setUpStage(); }, player, until);
}

// The flags that the command shown so far asks for, as a player reads it:
// each complete clause of colour words and an action word sets its colours.
std::map<int, bool> readCommand(const Game& game, const std::string& text) {
    std::map<int, bool> wanted;
    std::vector<int> colours;
    std::size_t at = 0;
    auto takes = [&](const std::string& word) {
        if (text.compare(at, word.size(), word) != 0)
            return false;
        at += word.size();
        return true;
    };
    for (bool progress = true; progress && at < text.size();) {
        progress = false;
        for (int c = 1; c <= 5 && !progress; ++c)
            if ((progress = takes(game.colourWords(c))))
                colours.push_back(c);
        for (int a = 1; a <= 4 && !progress; ++a)
            if ((progress = takes(game.actionWords(a)))) {
                for (int c : colours)
                    wanted[c] = a % 2 == 1;
                colours.clear();
            }
        if (!progress)
            progress = takes("で");
    }
    return wanted;
}

struct Turn {
    long start;                // the pump call at which the progress bar moved
    std::vector<long> letters; // the pump calls at which each letter appeared
};

// The turns of the first stage in the trace, up to its clear.
std::vector<Turn> turnsIn(const Trace& trace) {
    std::vector<Turn> turns;
    for (const Write& w : trace.writes) {
        const bool caption = w.control == "Label1" && w.property == "Caption";
        if (caption && w.value == "Stage Clear")
            break;
        if (w.control == "バー残量")
            turns.push_back({w.pumpCall, {}});
        else if (caption && !turns.empty())
            turns.back().letters.push_back(w.pumpCall);
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

class TestStageRun : public QObject {
    Q_OBJECT
private slots:
    void randomUpToStaysInRange() {
        // r, max, expected; the last three come from a source out of its range.
        const std::vector<std::tuple<float, int, int>> cases{
            {0.0f, 5, 1},        {0.5f, 4, 3}, {0.99999994f, 5, 5}, {0.99999994f, 255, 255},
            {0.99999994f, 1, 1}, {1.0f, 4, 4}, {-0.25f, 4, 1},      {std::nanf(""), 4, 1}};
        for (auto [r, max, expected] : cases) {
            GameWorld world;
            world.random.values = {r};
            QCOMPARE(world.game.randomUpTo(static_cast<std::uint8_t>(max)), expected);
        }
    }

    // Each row: the stage, the draws (colour redraws included), the command
    // and what is then required of red to white, starting from 01010.
    void commandFollowsItsPattern_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("draws");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("required");
        const struct {
            const char *name, *draws, *command, *required;
            int stage;
        } rows[] = {
            {"1: a1 1 raises", "1|5|1|3|1", "赤あげて", "11010", 8},
            {"1: a1 2 raises too", "1|5|2|3|1", "赤あげて", "11010", 8},
            {"1: a1 3 lowers", "2|5|3|1|1", "黄さげて", "00010", 8},
            {"1: a1 4 lowers", "4|5|4|1|1", "緑さげて", "01000", 8},
            {"2: don't lower raises", "3|5|3|1|2", "黒さげない", "01110", 8},
            {"2: don't raise lowers", "4|5|4|1|2", "緑あげない", "01000", 8},
            {"2: raise", "5|1|1|2|2", "白あげて", "01011", 8},
            {"3: odd a1 negates raising", "1|5|1|2|3", "赤あげないで白さげて", "01010", 8},
            {"3: even a1 negates lowering", "1|5|2|1|3", "赤さげないで白あげて", "11011", 8},
            {"3: second negation", "3|4|4|3|3", "黒さげないで緑さげない", "01110", 8},
            {"4: two raised", "5|1|3|2|4", "白赤さげない", "11011", 8},
            {"4: two lowered", "2|4|2|1|4", "黄緑さげて", "00000", 8},
            {"redraws", "2 1|1 3 5|1|1|1", "赤あげて", "11010", 1},
        };
        for (const auto& r : rows)
            QTest::newRow(r.name) << r.stage << r.draws << r.command << r.required;
    }
    void commandFollowsItsPattern() {
        QFETCH(int, stage);
        QFETCH(QString, draws);
        QFETCH(QString, command);
        QFETCH(QString, required);
        GameWorld world;
        world.load();
        enter(world.game, stage);
        world.random.values = ::draws(draws, world.game.patternCount);
        world.game.expectedUp = {{false, true, false, true, false}};
        QCOMPARE(QString::fromStdString(world.game.drawCommand()), command);
        QCOMPARE(q(bits(world.game.expectedUp)), required);
        // All five draws are made whatever the pattern, and no more.
        QCOMPARE(world.random.draws, static_cast<long>(world.random.values.size()));
    }

    // The pump calls of a whole stage: the introduction, each letter at
    // charDelay + 2 calls, the answer time, the clear and the next stage.
    void pacingFollowsTheTurns_data() {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("charDelays");
        QTest::addColumn<int>("answer");
        QTest::newRow("100, stage 1")
            << 100 << 1 << "80 90 90 90 59 45 45 45 36 30 30 30 33 33 33" << 110;
        QTest::newRow("100, stage 12")
            << 100 << 12 << "70 90 90 90 59 45 45 45 36 30 30 30 33 33 33" << 110;
        QTest::newRow("0, stage 1") << 0 << 1 << "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0" << 0;
    }
    void pacingFollowsTheTurns() {
        QFETCH(int, speed);
        QFETCH(int, stage);
        QFETCH(QString, charDelays);
        QFETCH(int, answer);
        GameWorld world;
        world.load(std::to_string(speed));
        world.trace.writes.clear();
        world.game.stage = static_cast<std::uint8_t>(stage - 1);
        play(
            world, [&] { world.answerPerfectly(); }, [&] { return world.game.stage == stage + 1; });
        const Trace& trace = world.trace;

        const long begin = firstCall(trace, "レベル" + std::to_string(stage));
        QCOMPARE(firstCall(trace, std::string(stageRow(stage)->stageName)), begin + 3 * speed);
        QCOMPARE(firstCall(trace, ""), begin + 6 * speed);
        const std::vector<Turn> turns = turnsIn(trace);
        QCOMPARE(turns.size(), std::size_t{15});
        QCOMPARE(turns[0].start, begin + 7 * speed);
        const QStringList delays = charDelays.split(' ');
        const long clear = firstCall(trace, "Stage Clear");
        for (int n = 0; n < 15; ++n) {
            const Turn& turn = turns[n];
            const long step = delays[n].toInt() + 2;
            QCOMPARE(turn.letters.front(), turn.start);
            for (std::size_t k = 1; k < turn.letters.size(); ++k)
                QCOMPARE(turn.letters[k] - turn.letters[k - 1], step);
            const long end = turn.letters.back() + step + answer;
            QCOMPARE(n < 14 ? turns[n + 1].start : clear - speed * 3 / 2, end);
        }
        const std::string nextStage = "レベル" + std::to_string(stage + 1);
        if (stage < 12)
            QCOMPARE(firstCall(trace, nextStage), clear + 3 * speed);
        // The progress bar counts down and stays at 0 through the clear.
        QStringList values;
        for (const Write& w : trace.writes) {
            if (w.control == "Label1" && w.value == nextStage)
                break;
            if (w.control == "バー残量")
                values << QString::fromStdString(w.value);
        }
        QCOMPARE(values.join(' '), "14 13 12 11 10 9 8 7 6 5 4 3 2 1 0");
    }

    // Red is required raised in the first turn and white in the second; the
    // player presses keys (k) and buttons (b) at the given pump calls. At
    // speed 10 flag input opens at call 60, the first command is spelled
    // from call 70 to 110 and answered until call 121.
    void judgementComparesAllFiveFlags_data() {
        QTest::addColumn<QString>("presses");
        QTest::addColumn<int>("missedTurn");
        QTest::newRow("no answer") << "" << 1;
        QTest::newRow("raised in the answer time") << "115:k1" << 2;
        QTest::newRow("raised while spelled") << "80:k1" << 2;
        QTest::newRow("raised by the button") << "80:b1" << 2;
        QTest::newRow("raised once input is open") << "65:k1" << 2;
        QTest::newRow("key before input opens") << "20:k1" << 1;
        QTest::newRow("button before input opens") << "20:b1" << 1;
        QTest::newRow("toggled twice") << "80:k1 115:b1" << 1;
        QTest::newRow("toggled three times") << "80:k1 90:k1 115:k1" << 2;
        QTest::newRow("an unnamed flag moved") << "80:k1 115:k5" << 1;
        QTest::newRow("a colour out of play") << "80:k1 115:k3" << 2;
    }
    void judgementComparesAllFiveFlags() {
        QFETCH(QString, presses);
        QFETCH(int, missedTurn);
        GameWorld world;
        world.load("10");
        world.trace.writes.clear();
        world.random.values = draws("1|5|1|1|1", 1);
        for (float v : draws("5|1|1|1|1", 1))
            world.random.values.push_back(v);
        for (const QString& press : presses.split(' ', Qt::SkipEmptyParts)) {
            const QString way = press.section(':', 1);
            world.pump.at(press.section(':', 0, 0).toLong(), [&world, way] {
                const int flag = way.mid(1).toInt();
                way.startsWith('k') ? world.pressFlagKey(flag) : world.clickFlagButton(flag);
            });
        }
        world.game.setUpStage(); // returns at the miss
        QCOMPARE(static_cast<int>(turnsIn(world.trace).size()), missedTurn);

        // The miss: the command stays in red, "Miss!" and the progress button
        // show, and no flag moves until play goes on.
        QCOMPARE(world.game.buttonAction, "ミス");
        QCOMPARE(toString(world.Label1.foreColor()), "RGB(255,0,0)");
        QCOMPARE(world.trace.values("Label2", "Visible"), std::vector<std::string>{"True"});
        QVERIFY(world.進行ボタン.visible());
        QCOMPARE(enabled(world.Command1) + enabled(world.メニュー各旗), "0000000000");
        const std::string flags = bits(world.game.flagUp);
        world.clickFlagButton(1);
        world.pressFlagKey(1);
        QCOMPARE(bits(world.game.flagUp), flags);
    }

    // A stage's flags, buttons and background through its introduction,
    // its turns and its end: cleared, or missed at turn `missAt`, where the
    // player moves black (hidden in most of these stages) the wrong way.
    void stageShowsItsFlagsAndBackground_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("missAt");
        QTest::addColumn<QString>("shown"); // introduction, turns, end
        QTest::addColumn<QString>("backgrounds");
        const QString red = "RGB(255,0,0)", green = "RGB(0,192,0)", yellow = "RGB(255,255,0)",
                      white = "RGB(255,255,255)", lightRed = "RGB(255,192,192)";
        QTest::newRow("1") << 1 << 0 << "10001 10001 10001"
                           << "";
        QTest::newRow("5, black hidden") << 5 << 1 << "10101 10001 10101"
                                         << "";
        QTest::newRow("6, all hidden") << 6 << 1 << "10101 00000 10101"
                                       << "";
        QTest::newRow("7, yellow joins") << 7 << 0 << "11101 11101 11101"
                                         << "";
        QTest::newRow("10") << 10 << 1 << "11111 01010 11111"
                            << "";
        QTest::newRow("11, light blue again") << 11 << 0 << "11111 00000 00000"
                                              << "RGB(192,192,255)";
        QTest::newRow("12") << 12 << 0 << "11111 11111 11111"
                            << QStringList{lightRed, red,    green,          yellow,
                                           white,    yellow, "RGB(0,0,255)", red,
                                           white,    red,    green,          "RGB(128,128,128)"}
                                   .join(' ');
        QTest::newRow("12, missed at turn 9")
            << 12 << 9 << "11111 11111 11111"
            << QStringList{lightRed, red, green, yellow, white, yellow, lightRed}.join(' ');
        QTest::newRow("13 keeps the last stage's values") << 13 << 0 << "11111 11111 11111"
                                                          << "";
    }
    void stageShowsItsFlagsAndBackground() {
        QFETCH(int, stage);
        QFETCH(int, missAt);
        QFETCH(QString, shown);
        QFETCH(QString, backgrounds);
        GameWorld world;
        world.load("3");
        world.trace.writes.clear();
        if (stage > 1)
            enter(world.game, std::min(stage - 1, 12));
        // At speed 3 the introduction waits from call 1 and the first turn
        // is spelled from call 22.
        QStringList seen;
        world.pump.at(1, [&] {
            seen << q(visible(world.Shape1));
            QCOMPARE(q(visible(world.Command1)), seen.back());
        });
        world.pump.at(22, [&] { seen << q(visible(world.Shape1)); });
        play(
            world,
            [&] {
                world.answerPerfectly();
                if (world.game.loopIndex == missAt &&
                    world.game.flagUp(3) == world.game.expectedUp(3))
                    world.pressFlagKey(3);
            },
            [&] { return world.Label1.caption() == "Stage Clear"; });
        seen << q(visible(world.Shape1));
        QCOMPARE(seen.join(' '), shown);
        QCOMPARE(joined(world.trace.values("Form", "BackColor")), backgrounds);
        const std::string name(stageRow(std::min(stage, 12))->stageName);
        QCOMPARE(world.パネル.panelText(1), "レベル" + std::to_string(stage) + "：" + name);
        QCOMPARE(world.パネル.panelText(2), "残りミス：10");
        QCOMPARE(turnsIn(world.trace).size(), std::size_t(missAt ? missAt : 15));
        // A flag moved while hidden shows where the player left it.
        if (world.game.flagInPlay(3))
            QCOMPARE(world.Shape1[2].top(), world.game.flagUp(3) ? flagRaisedTop : flagLoweredTop);
    }

    // A player who reads each command in Label1 and answers it with keys and
    // buttons clears stage 1 and is in stage 2's introduction, all inside the
    // one call that started the first stage.
    void readingPlayerClearsTheFirstStage() {
        GameWorld world;
        world.load("10");
        play(
            world,
            [&] {
                for (auto [colour, up] : readCommand(world.game, world.Label1.caption()))
                    if ((world.Shape1[colour - 1].top() == flagRaisedTop) != up)
                        world.game.loopIndex % 2 ? world.pressFlagKey(colour)
                                                 : world.clickFlagButton(colour);
            },
            [&] { return world.Label1.caption() == "ちょっと意地悪"; });
        QCOMPARE(world.game.stage, 2);
        QCOMPARE(world.game.buttonAction, "");
        QVERIFY(world.trace.of("Label2", "Visible").empty());
        QCOMPARE(enabled(world.メニュー各旗), "11111");
    }
};

QTEST_GUILESS_MAIN(TestStageRun)
#include "tst_stagerun.moc"
