// A stage run to the pump call: the pacing of the commands, the command
// patterns and what they require, the judgement, the miss, the blindfolds,
// the last stage's backgrounds and the hand-over from stage to stage.
#include "stagetable.h"
#include "testworld.h"

#include <QTest>

#include <set>

using namespace jorv;
using namespace jorv::test;

namespace {

// Thrown from a pump call to leave the game's call chain.
struct Stop {};

QString bits(const std::array<RecordingControl, 5>& controls,
             bool (RecordingControl::*get)() const) {
    QString row;
    for (const RecordingControl& c : controls)
        row += (c.*get)() ? '1' : '0';
    return row;
}

QString bits(const OneBased<bool, 5>& a) {
    QString row;
    for (bool on : a.items_)
        row += on ? '1' : '0';
    return row;
}

// Enters `stage` as the stage table gives it, without running it.
void enter(Game& game, int stage) {
    const StageRow& row = *stageRow(stage);
    game.stage = static_cast<std::uint8_t>(stage);
    game.stageName = row.stageName;
    game.flagInPlay.items_ = row.flagInPlay;
    game.flagShown.items_ = row.flagShown;
    game.patternCount = row.patternCount;
}

// Scripted draws written as "c1 redraws and c1|c2 ...|a1|a2|p".
std::vector<float> draws(const QString& script, int patternCount) {
    const std::array<int, 5> maxima{5, 5, 4, 4, patternCount};
    std::vector<float> values;
    const QStringList groups = script.split('|');
    for (qsizetype g = 0; g < groups.size(); ++g)
        for (const QString& v : groups[g].split(' ', Qt::SkipEmptyParts))
            values.push_back(drawOf(v.toInt(), maxima[g]));
    return values;
}

// A player who always knows what the commands require and keys it in.
void answerPerfectly(GameWorld& world) {
    for (int i = 1; i <= 5; ++i)
        if (world.game.flagUp(i) != world.game.expectedUp(i))
            world.pressFlagKey(i);
}

// Plays from setUpStage, with `player` acting in every pump call, until
// `until` holds in a pump call or the call chain returns.
void play(GameWorld& world, std::function<void()> player, std::function<bool()> until = {}) {
    world.pump.onEveryCall = [&](long) {
        if (until && until())
            throw Stop{};
        if (player)
            player();
    };
    try {
        world.game.setUpStage();
    } catch (const Stop&) {
    }
    world.pump.onEveryCall = nullptr;
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

// The turns of the first stage in the trace, up to its clear, from the
// progress bar and Label1.
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
    void randomUpToStaysInRange_data() {
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("expected");
        QTest::newRow("zero") << 0.0f << 5 << 1;
        QTest::newRow("middle") << 0.5f << 4 << 3;
        QTest::newRow("just below one, 5") << 0.99999994f << 5 << 5;
        QTest::newRow("just below one, 255") << 0.99999994f << 255 << 255;
        QTest::newRow("just below one, 1") << 0.99999994f << 1 << 1;
        QTest::newRow("a source that returns one") << 1.0f << 4 << 4;
        QTest::newRow("a source below zero") << -0.25f << 4 << 1;
    }
    void randomUpToStaysInRange() {
        QFETCH(float, r);
        QFETCH(int, max);
        QFETCH(int, expected);
        GameWorld world;
        world.random.values = {r};
        QCOMPARE(world.game.randomUpTo(static_cast<std::uint8_t>(max)), expected);
    }

    // Each row: the stage, the draws (colour redraws included), the command
    // and what is required of red to white afterwards, starting from 01010.
    void commandFollowsItsPattern_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("draws");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("required");
        QTest::newRow("1: odd a1 raises") << 8 << "1|5|1|3|1"
                                          << "赤あげて"
                                          << "11010";
        QTest::newRow("1: a1 2 raises too") << 8 << "1|5|2|3|1"
                                            << "赤あげて"
                                            << "11010";
        QTest::newRow("1: a1 3 lowers") << 8 << "2|5|3|1|1"
                                        << "黄さげて"
                                        << "00010";
        QTest::newRow("1: a1 4 lowers") << 8 << "4|5|4|1|1"
                                        << "緑さげて"
                                        << "01000";
        QTest::newRow("2: don't lower raises") << 8 << "3|5|3|1|2"
                                               << "黒さげない"
                                               << "01110";
        QTest::newRow("2: don't raise lowers") << 8 << "4|5|4|1|2"
                                               << "緑あげない"
                                               << "01000";
        QTest::newRow("2: raise") << 8 << "5|1|1|2|2"
                                  << "白あげて"
                                  << "01011";
        QTest::newRow("3: odd a1 negates raising") << 8 << "1|5|1|2|3"
                                                   << "赤あげないで白さげて"
                                                   << "01010";
        QTest::newRow("3: even a1 negates lowering") << 8 << "1|5|2|1|3"
                                                     << "赤さげないで白あげて"
                                                     << "11011";
        QTest::newRow("3: second negation") << 8 << "3|4|4|3|3"
                                            << "黒さげないで緑さげない"
                                            << "01110";
        QTest::newRow("4: two colours raised") << 8 << "5|1|3|2|4"
                                               << "白赤さげない"
                                               << "11011";
        QTest::newRow("4: two colours lowered") << 8 << "2|4|2|1|4"
                                                << "黄緑さげて"
                                                << "00000";
        QTest::newRow("redraws out of play and the same colour") << 1 << "2 1|1 3 5|1|1|1"
                                                                 << "赤あげて"
                                                                 << "11010";
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
        QCOMPARE(bits(world.game.expectedUp), required);
        // All five draws are made whatever the pattern, and no more.
        QCOMPARE(world.random.draws, static_cast<long>(world.random.values.size()));
    }

    void stagesCallOnlyTheirCommands_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("sample");
        QTest::newRow("1") << 1 << 4 << "赤あげて 赤さげて 白あげて 白さげて";
        QTest::newRow("2") << 2 << 8 << "白さげない 赤あげない";
        QTest::newRow("4") << 4 << 84 << "黒あげないで白さげて 赤白あげて";
        QTest::newRow("7") << 7 << 160 << "黄さげないで黒あげない 白黄あげない";
    }
    void stagesCallOnlyTheirCommands() {
        QFETCH(int, stage);
        QFETCH(int, count);
        QFETCH(QString, sample);
        GameWorld world;
        world.load();
        enter(world.game, stage);
        const Game& game = world.game;
        std::set<std::string> commands;
        for (int c1 = 1; c1 <= 5; ++c1)
            for (int c2 = 1; c2 <= 5; ++c2)
                for (int a1 = 1; a1 <= 4; ++a1)
                    for (int a2 = 1; a2 <= 4; ++a2)
                        for (int p = 1; p <= game.patternCount; ++p) {
                            if (!game.flagInPlay(c1) || !game.flagInPlay(c2) || c1 == c2)
                                continue;
                            world.random.values = {drawOf(c1, 5), drawOf(c2, 5), drawOf(a1, 4),
                                                   drawOf(a2, 4), drawOf(p, game.patternCount)};
                            world.random.draws = 0;
                            commands.insert(world.game.drawCommand());
                        }
        QCOMPARE(static_cast<int>(commands.size()), count);
        for (const QString& command : sample.split(' '))
            QVERIFY2(commands.count(command.toStdString()), qPrintable(command));
        for (const std::string& command : commands)
            for (int c = 1; c <= 5; ++c)
                if (command.find(game.colourWords(c)) != std::string::npos)
                    QVERIFY2(game.flagInPlay(c), command.c_str());
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
            world, [&] { answerPerfectly(world); }, [&] { return world.game.stage == stage + 1; });
        const Trace& trace = world.trace;

        const long begin = firstCall(trace, "レベル" + std::to_string(stage));
        QCOMPARE(firstCall(trace, std::string(stageRow(stage)->stageName)), begin + 3 * speed);
        QCOMPARE(firstCall(trace, ""), begin + 6 * speed);
        const std::vector<Turn> turns = turnsIn(trace);
        QCOMPARE(turns.size(), std::size_t{15});
        QCOMPARE(turns[0].start, begin + 7 * speed);
        const QStringList delays = charDelays.split(' ');
        for (int n = 0; n < 15; ++n) {
            const Turn& turn = turns[n];
            const long step = delays[n].toInt() + 2;
            QCOMPARE(turn.letters.front(), turn.start);
            for (std::size_t k = 1; k < turn.letters.size(); ++k)
                QCOMPARE(turn.letters[k] - turn.letters[k - 1], step);
            const long end = turn.letters.back() + step + answer;
            QCOMPARE(n < 14 ? turns[n + 1].start : firstCall(trace, "Stage Clear") - speed * 3 / 2,
                     end);
        }
        const std::string nextStage = "レベル" + std::to_string(stage + 1);
        if (stage < 12)
            QCOMPARE(firstCall(trace, nextStage), firstCall(trace, "Stage Clear") + 3 * speed);
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
            const long call = press.section(':', 0, 0).toLong();
            const QString way = press.section(':', 1);
            const int flag = way.mid(1).toInt();
            world.pump.at(call, [&world, way, flag] {
                way.startsWith('k') ? world.pressFlagKey(flag) : world.clickFlagButton(flag);
            });
        }
        world.game.setUpStage(); // returns at the miss
        QCOMPARE(static_cast<int>(turnsIn(world.trace).size()), missedTurn);
        QCOMPARE(world.game.buttonAction, "ミス");
    }

    // A miss in a blindfolded stage: which flags show in the introduction,
    // in the turns and after the miss, and what the miss leaves behind. The
    // player raises black in the first turn, whose command raises red.
    void blindfoldsHideFlagsOnlyDuringTheTurns_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("introduction");
        QTest::addColumn<QString>("turns");
        QTest::newRow("5") << 5 << "10101"
                           << "10001";
        QTest::newRow("6") << 6 << "10101"
                           << "00000";
        QTest::newRow("10") << 10 << "11111"
                            << "01010";
    }
    void blindfoldsHideFlagsOnlyDuringTheTurns() {
        QFETCH(int, stage);
        QFETCH(QString, introduction);
        QFETCH(QString, turns);
        GameWorld world;
        world.load("10");
        enter(world.game, stage - 1);
        world.random.values = draws("1|3|1|1|1", stageRow(stage)->patternCount);
        QString seenInIntroduction, seenInTurn;
        world.pump.at(40,
                      [&] { seenInIntroduction = bits(world.Shape1, &RecordingControl::visible); });
        world.pump.at(80, [&] {
            seenInTurn = bits(world.Shape1, &RecordingControl::visible);
            world.pressFlagKey(3);
        });
        world.game.setUpStage();
        QCOMPARE(seenInIntroduction, introduction);
        QCOMPARE(bits(world.Command1, &RecordingControl::visible), introduction);
        QCOMPARE(seenInTurn, turns);
        // The miss reveals every flag in play where the player left it.
        QCOMPARE(bits(world.Shape1, &RecordingControl::visible), introduction);
        QCOMPARE(world.Shape1[2].top(), flagRaisedTop);
        QCOMPARE(world.Label1.caption(), "赤あげて");
        QCOMPARE(toString(world.Label1.foreColor()), "RGB(255,0,0)");
        QVERIFY(world.Label2.visible());
        QVERIFY(world.進行ボタン.visible());
        QCOMPARE(bits(world.Command1, &RecordingControl::enabled) +
                     bits(world.メニュー各旗, &RecordingControl::enabled),
                 "0000000000");
        world.clickFlagButton(1);
        world.pressFlagKey(1);
        QCOMPARE(bits(world.game.flagUp), "00100");
    }

    void lastStageFlashesItsBackground_data() {
        QTest::addColumn<int>("missAt");
        QTest::addColumn<QString>("backgrounds");
        const QString red = "RGB(255,0,0)", green = "RGB(0,192,0)", yellow = "RGB(255,255,0)",
                      white = "RGB(255,255,255)", lightRed = "RGB(255,192,192)";
        QTest::newRow("cleared")
            << 0
            << QStringList{lightRed,       red, green, yellow, white, yellow,
                           "RGB(0,0,255)", red, white, red,    green, "RGB(128,128,128)"}
                   .join(' ');
        QTest::newRow("missed at turn 9")
            << 9 << QStringList{lightRed, red, green, yellow, white, yellow, lightRed}.join(' ');
    }
    void lastStageFlashesItsBackground() {
        QFETCH(int, missAt);
        QFETCH(QString, backgrounds);
        GameWorld world;
        world.load("3");
        world.game.stage = 11;
        play(world, [&] {
            answerPerfectly(world);
            if (world.game.loopIndex == missAt && world.game.flagUp(1) == world.game.expectedUp(1))
                world.pressFlagKey(1);
        });
        QStringList seen;
        for (const std::string& colour : world.trace.values("Form", "BackColor"))
            seen << QString::fromStdString(colour);
        QCOMPARE(seen.join(' '), backgrounds);
        QCOMPARE(world.game.buttonAction, missAt ? "ミス" : "");
    }

    // Each row enters a stage from the one before; `from` 12 goes beyond the
    // table, which keeps the last stage's values and still runs 15 turns.
    void setUpStageAppliesTheNextRow_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("background");
        QTest::addColumn<QString>("shown");
        QTest::newRow("first") << 0 << "レベル1：まずは小手調べ"
                               << ""
                               << "10001";
        QTest::newRow("yellow joins") << 6 << "レベル7：黄旗登場"
                                      << ""
                                      << "11101";
        QTest::newRow("green joins") << 7 << "レベル8：５色で旗揚げ"
                                     << ""
                                     << "11111";
        QTest::newRow("light blue again") << 10 << "レベル11：全部目かくし"
                                          << "RGB(192,192,255)"
                                          << "11111";
        QTest::newRow("same name as 6") << 9 << "レベル10：さらに目かくし"
                                        << ""
                                        << "11111";
        QTest::newRow("beyond the table") << 12 << "レベル13：最終兵器登場"
                                          << ""
                                          << "11111";
    }
    void setUpStageAppliesTheNextRow() {
        QFETCH(int, from);
        QFETCH(QString, panel);
        QFETCH(QString, background);
        QFETCH(QString, shown);
        GameWorld world;
        world.load("1");
        if (from > 0)
            enter(world.game, from);
        world.trace.writes.clear();
        QString shapes;
        world.pump.at(1, [&] { shapes = bits(world.Shape1, &RecordingControl::visible); });
        play(
            world, [&] { answerPerfectly(world); },
            [&] { return world.Label1.caption() == "Stage Clear"; });
        QCOMPARE(QString::fromStdString(world.パネル.panelText(1)), panel);
        QCOMPARE(QString::fromStdString(world.パネル.panelText(2)), "残りミス：10");
        QStringList backgrounds;
        for (const std::string& colour : world.trace.values("Form", "BackColor"))
            backgrounds << QString::fromStdString(colour);
        QCOMPARE(backgrounds.join(' '), background);
        QCOMPARE(bits(world.Command1, &RecordingControl::visible), shown);
        QCOMPARE(shapes, shown);
        QCOMPARE(turnsIn(world.trace).size(), std::size_t{15});
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
        QCOMPARE(world.trace.values("Label1", "Caption").back(), "ちょっと意地悪");
        QCOMPARE(bits(world.メニュー各旗, &RecordingControl::enabled), "11111");
    }
};

QTEST_GUILESS_MAIN(TestStageRun)
#include "tst_stagerun.moc"
