// The engine in the test world: the game's load, the draws, the twelve stages
// and seeded games checked in every pump call (JORV_SOAK_GAMES, JORV_SOAK_SEED).
#include "facts.h"
#include "numbers.h"
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

long firstCall(const World& world, const std::string& caption) {
    for (const Write& w : world.of("Label1", "Caption"))
        if (w.value == caption)
            return w.pumpCall;
    return -1;
}

// The pace of a stage at speed 100, from the start or the clear before, to its
// clear; gives the calls between the first command's letters, which the stage
// sets, and the backgrounds it set. Through the ending, the black flag's button
// rises to meet the white flag faster than the flag slides.
void checkPace(const World& trace, int stage, std::string& paceAndBackgrounds) {
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
    // The letters' pace from the second turn on, every stage's.
    const QStringList later = QString("92 92 92 61 47 47 47 38 32 32 32 35 35 35").split(' ');
    for (int n = 0; n < 15; ++n) {
        const long step = n == 0 ? turns[0][2] - turns[0][1] : later[n - 1].toInt();
        QCOMPARE(turns[n][1], turns[n][0]);
        for (std::size_t k = 2; k < turns[n].size(); ++k)
            QCOMPARE(turns[n][k] - turns[n][k - 1], step);
        QCOMPARE(n < 14 ? turns[n + 1][0] : clear - speed * 3 / 2, turns[n].back() + step + answer);
    }
    if (stage < 12)
        QCOMPARE(firstCall(trace, "レベル" + std::to_string(stage + 1)), clear + 3 * speed);
    if (stage == 12) {
        const auto rise = trace.of("Command1(3)", "Top"), slide = trace.of("Shape1(5)", "Left");
        QVERIFY(rise[1].pumpCall - rise[0].pumpCall < slide[1].pumpCall - slide[0].pumpCall);
    }
    backgrounds.insert(backgrounds.begin(), std::to_string(turns[0][2] - turns[0][1]));
    paceAndBackgrounds = joined(backgrounds).toStdString();
}

void require(bool ok, const char* broken) {
    if (!ok)
        throw broken;
}

class SoakGame {
public:
    explicit SoakGame(unsigned seed)
        : player_(seed) {
        world_.generator.seed(seed ^ 0x9e3779b9u);
        // As the window's design has them.
        for (RecordingControl& shape : world_.Shape1)
            shape.setTop(flagLoweredTop);
        world_.Label2.setVisible(false);
        world_.パネル.setPanelText(2, "残りミス：10");
        speed_ = chance() < 0.1 ? 10 : pick(0, 4); // a tenth of a unit is 0 below 10
        const double scale = std::array{0.01, 0.05, 0.25}[pick(0, 2)];
        wrong_ = chance() * scale;
        late_ = chance() * scale;
        extra_ = chance() * 0.2;
        noise_ = chance() * 0.01;
        debugger_ = chance() < 0.25;
    }

    // How the game ended: 0 the game over, 1 the ending, 2 the menu.
    int play() {
        world_.load(std::to_string(speed_));
        world_.pump.onEveryCall = [this](long call) {
            check();
            act(call);
        };
        try {
            for (int presses = 0;; ++presses) {
                if (presses > 400 || chance() < 0.015) {
                    quitting_ = true;
                    world_.endProgram();
                }
                if (debugger_ && chance() < 0.3)
                    levelSelect();
                pressAtCall_ = world_.pump.calls;
                actionAtPress_ = world_.game.buttonAction;
                stageAtPress_ = world_.game.stage;
                missesAtPress_ = world_.game.missesLeft;
                world_.pressProgressButton();
                checkWaitingForPress();
            }
        } catch (const ProgramEnded&) {
            checkSpeech();
            return howItEnded();
        }
    }

    long pumpCalls() const { return world_.pump.calls; }

private:
    int pick(int low, int high) { return std::uniform_int_distribution(low, high)(player_); }
    double chance() { return std::uniform_real_distribution(0.0, 1.0)(player_); }

    void check() {
        const Game& g = world_.game;
        for (int i = 1; i <= 5; ++i) {
            require(g.flagInPlay(i) || !(g.flagUp(i) || g.expectedUp(i)),
                    "a flag out of play is raised or required");
            // The ending moves the white flag without touching its state.
            const RecordingControl& flag = world_.Shape1[i - 1];
            const bool drawn = flag.top() == (g.flagUp(i) ? flagRaisedTop : flagLoweredTop);
            require((i == 5 && endingBegun()) || (drawn && flag.raised() == g.flagUp(i)),
                    "a flag is drawn or read other than where it stands");
        }
        // Stages run from 1 to 12, but the level select's 0 (until the next
        // set-up) and the level an ending was started with.
        zeroAllowed_ = zeroAllowed_ && g.stage == 0;
        require(g.stage <= 12 ? g.stage != 0 || zeroAllowed_ : g.stage == levelForEnding_,
                "no such stage");
        // The hidden button keeps a second press out of a running one.
        require(!world_.進行ボタン.visible(), "the progress button is shown while the game pumps");
        // Panel 2 changes by a write only, the misses inside the game's procedures.
        if (world_.writes.size() != writesSeen_ || g.missesLeft != missesSeen_) {
            writesSeen_ = world_.writes.size();
            missesSeen_ = g.missesLeft;
            require(world_.パネル.panelText(2) == "残りミス：" + std::to_string(g.missesLeft),
                    "panel 2 shows other than the misses left");
        }
        // While a miss or a game over stands, no flag moves.
        const bool open = flagInputOpen();
        require(!world_.Label2.visible() || endingBegun() || !open,
                "flag input is open under the banner of a miss");
        // Closed, it opens only once the stage's number and name have stood.
        const std::string& shown = world_.Label1.caption();
        require(!open || inputWasOpen_ || endingBegun() ||
                    !(shown.starts_with("レベル") || shown == g.stageName),
                "flag input opens before the stage's name has stood");
        inputWasOpen_ = open;
        if (world_.Label1.caption() == lastCaption_)
            return;
        // The command so far asks what the game will judge, of two flags in
        // play, in a form the stage draws from.
        lastCaption_ = world_.Label1.caption();
        const Reading reading = readCommand(lastCaption_);
        std::set<int> named;
        for (auto [colour, up] : reading.wanted) {
            require(g.flagInPlay(colour), "a command names a flag out of play");
            require(named.insert(colour).second, "a command names one flag twice");
            require(g.expectedUp(colour) == up, "a command asks for other than it says");
        }
        require(reading.form <= g.patternCount, "a command of a form the stage does not draw");
        checkWhereStagesGoOn();
    }

    // After a miss play goes on in the stage; after a game over, in the one
    // before with ten misses; in the ordinary colour, no banner.
    void checkWhereStagesGoOn() {
        const Game& g = world_.game;
        if (lastCaption_ == "前の面からやり直しです") {
            nextStage_ = std::max(g.stage - 1, 1);
            nextMisses_ = 10;
        } else if (lastCaption_.starts_with("ミスはあと")) {
            nextStage_ = g.stage;
            nextMisses_ = g.missesLeft;
        } else if (lastCaption_.starts_with("レベル")) {
            require(nextStage_ == 0 || (lastCaption_ == "レベル" + std::to_string(nextStage_) &&
                                        g.missesLeft == nextMisses_),
                    "play went on in the wrong stage or with the wrong misses");
            nextStage_ = 0;
            require(world_.Label1.foreColor() == Colour::systemButtonText() &&
                        !world_.Label2.visible(),
                    "a stage is introduced in red or under a banner");
        }
    }

    bool endingBegun() const { return world_.Label2.caption() == "ALL Clear!"; }

    bool flagInputOpen() const {
        for (int i = 0; i < 5; ++i)
            if ((world_.Command1[i].enabled() && world_.Command1[i].visible()) ||
                world_.メニュー各旗[i].enabled())
                return true;
        return false;
    }

    void checkWaitingForPress() {
        const std::string& action = world_.game.buttonAction;
        require(world_.進行ボタン.visible() && (action == "ミス" || action == "クリア"),
                "play returned without the progress button to go on by");
        require(!flagInputOpen(), "flag input is open while play waits for the progress button");
        if (action == "ミス")
            require(world_.Label1.foreColor() == Colour::rgb(255, 0, 0) && world_.Label2.visible(),
                    "a miss is not shown in red under its banner");
        else
            checkEnding();
    }

    // The white flag slid, reddening, to the black flag's place and took its
    // hatches; the black flag's button rose to meet it with one beep.
    void checkEnding() {
        std::string red, hatches;
        for (const Write& w : world_.of("Shape1(5)", "FillColor"))
            red += " " + w.value;
        for (const Write& w : world_.of("Shape1(5)", "FillStyle"))
            hatches += " " + w.value;
        require(red.ends_with("RGB(255,192,192) RGB(255,128,128) RGB(255,0,0)") &&
                    hatches.ends_with(" 7 5"),
                "the white flag did not redden, then take its cross hatch and its stripes");
        require(world_.Shape1[4].left() == flagLeft(3) &&
                    world_.Shape1[4].top() == flagLoweredTop && world_.Command1[2].top() == 3005 &&
                    world_.Command1[2].caption() == "+_+ (F3)" && world_.beeps == ++endings_,
                "the white flag and the black flag's button did not meet");
        // The farewells in order, then the last words a letter every half unit and two calls.
        std::vector<Write> said;
        std::vector<std::string> faces;
        for (auto w = world_.writes.rbegin(); w->control != "Label2" || w->property != "Caption";
             ++w)
            if (w->control == "Label1" && w->property == "Caption")
                said.insert(said.begin(), *w);
            else if (w->control == "Command1(3)" && w->property == "Caption")
                faces.insert(faces.begin(), w->value);
        bool paced = said.size() > 4 && said[0].value == "全面終了しました" &&
                     said[1].value == "お疲れ様でした" && said.back().value == "ＴＨＥ ＥＮＤ" &&
                     faces == std::vector<std::string>{"･_･ (F3)", "+_+ (F3)"};
        for (std::size_t k = 4; paced && k < said.size(); ++k)
            paced = said[k].pumpCall - said[k - 1].pumpCall == speed_ / 2 + 2;
        require(paced, "the ending's words come otherwise, or at another pace");
    }

    // The player's move in one pump call: each command answered soon, wrongly or late.
    void act(long call) {
        if (world_.draws != drawsSeen_) {
            drawsSeen_ = world_.draws;
            turnStart_ = call;
            const double r = chance();
            wrongAnswer_ = r < wrong_;
            answerAt_ = r >= wrong_ && r < wrong_ + late_ ? pick(8, 40 + 30 * speed_) : pick(0, 6);
            extraAt_ = chance() < extra_ ? pick(0, 30) : -1;
        }
        const long t = call - turnStart_;
        if (t == answerAt_) {
            for (int i = 1; i <= 5; ++i)
                if (world_.game.flagUp(i) != world_.game.expectedUp(i))
                    pressFlag(i);
            if (wrongAnswer_)
                pressFlag(pick(1, 5));
        }
        if (t == extraAt_) { // twice undoes it; once errs unless the flag is out of play
            const int i = pick(1, 5);
            pressFlag(i);
            if (chance() < 0.7)
                pressFlag(i);
        }
        if (chance() < noise_) // clicks that the game must ignore while it pumps
            chance() < 0.5 ? world_.pressProgressButton()
                           : world_.game.パネルDoubleClick(pick(1, 3));
    }

    // A flag moved by a key or a click is read out at once as it now stands,
    // unless blindfolded.
    void pressFlag(int i) {
        const bool up = world_.game.flagUp(i);
        const auto from = static_cast<std::ptrdiff_t>(world_.writes.size());
        chance() < 0.5 ? world_.pressFlagKey(i) : world_.clickFlagButton(i);
        const std::string flag = "Shape1(" + std::to_string(i) + ")";
        const std::string state = world_.game.flagUp(i) ? "1" : "0";
        const auto read =
            std::count_if(world_.writes.begin() + from, world_.writes.end(), [&](auto& w) {
                return w.control == flag && w.property == "Announce" && w.value == state;
            });
        require(read == (up != world_.game.flagUp(i) && world_.game.flagShown(i) ? 1 : 0),
                "a flag's move is read out otherwise than once and as it now stands, or a "
                "blindfolded one is");
    }

    // A screen reader hears each text of Label1 once it stands whole (a
    // command when its last character is in, not before), at the call it is
    // shown, and each banner as it appears; nothing else.
    void checkSpeech() const {
        const Write* shown = nullptr;
        int heard = 0;
        bool bannerDue = false;
        auto settle = [&](const Write* next) {
            const bool whole = next ? !(next->value.size() > shown->value.size() &&
                                        next->value.starts_with(shown->value))
                                    : heard > 0;
            require(heard == (whole && !shown->value.empty() ? 1 : 0),
                    "a text of Label1 is read out before it stands whole, twice or not at all");
        };
        for (const Write& w : world_.writes) {
            if (w.control == "Label1" && w.property == "Caption") {
                if (shown)
                    settle(&w);
                shown = &w, heard = 0;
            } else if (w.control == "Label1" && w.property == "Announce") {
                require(shown && w.value == shown->value && w.pumpCall == shown->pumpCall,
                        "Label1 is read out later than it is shown");
                ++heard;
            } else if (w.control == "Label2") {
                require(w.property != "Announce" || bannerDue, "a banner is read out unshown");
                require(!bannerDue || w.property == "Announce", "a banner appears unread");
                bannerDue = w.property == "Visible" && w.value == "1";
            }
        }
        if (shown)
            settle(nullptr);
        require(!bannerDue, "a banner appears unread");
    }

    // A level typed as a number or a spelling ("text=level", 0 for none), or a
    // wrong code: 1 to 12 sets up that stage next, a higher level ends at once.
    void levelSelect() {
        static const QStringList spellings =
            QString("1=1| 7.6 =8|6.5=6|+3=3|\u3000１２．４=12|９=9|=0|abc=0|12abc=0|1 2=0|.=0|-=0|"
                    "1e1=0|0=0|0.5=0|-1=0|255=255|256=0|255.5=0|1000000000000000000000000000000=0")
                .split('|');
        Game& g = world_.game;
        const int stageBefore = g.stage;
        int level = chance() < 0.2 ? pick(13, 255) : pick(1, 12);
        std::string text = std::to_string(level);
        if (chance() < 0.3) {
            const QString spelling = spellings[pick(0, spellings.size() - 1)];
            text = spelling.section('=', 0, 0).toStdString();
            level = spelling.section('=', 1).toInt();
        }
        const bool rightCode = chance() < 0.9;
        level = rightCode ? level : 0;
        world_.answers = {rightCode ? "MPW%7140" : "mpw%7140", text};
        world_.boxes.clear();
        world_.asked = 0;
        const std::string actionBefore = g.buttonAction;
        zeroAllowed_ = zeroAllowed_ || level == 1;
        levelForEnding_ = level > 12 ? level : levelForEnding_;
        g.パネルDoubleClick(pick(1, 3));
        const std::vector<std::string> boxes{"パスワードを入力して下さい。 Debug",
                                             "レベルを入力して下さい。 Debug"};
        require(world_.boxes == std::vector(boxes.begin(), boxes.begin() + (rightCode ? 2 : 1)),
                "the level select asked otherwise");
        require(g.stage == (level == 0    ? stageBefore
                            : level <= 12 ? level - 1
                                          : level),
                "the level select left another stage");
        if (level > 12)
            checkWaitingForPress();
        else
            require(g.buttonAction == actionBefore, "the level select changed the button");
    }

    // The program ends by the menu, the press after the ending, or seven units
    // after the banner of a game over in stage 1.
    int howItEnded() {
        const long at = world_.endedAtCall;
        if (quitting_)
            return 2;
        if (actionAtPress_ == "クリア") {
            require(at == pressAtCall_, "the ending ended otherwise than by the press after it");
            return 1;
        }
        require(actionAtPress_ == "ミス" && missesAtPress_ == 0 && stageAtPress_ == 1 &&
                    world_.game.stage == 1,
                "the program ended elsewhere than at the game over in stage 1");
        const std::vector<Write> banner = world_.of("Label2", "Caption");
        require(!banner.empty() && banner.back().value == "GAME OVER" && world_.Label2.visible() &&
                    at - banner.back().pumpCall == nearest(7.0 * speed_),
                "the game over ended the program without its banner and wait");
        return 0;
    }

    std::mt19937 player_;
    GameWorld world_;
    int speed_ = 0, levelForEnding_ = -1, nextStage_ = 0, nextMisses_ = 0, endings_ = 0,
        stageAtPress_ = -1, missesAtPress_ = -1;
    double wrong_ = 0, late_ = 0, extra_ = 0, noise_ = 0;
    bool debugger_ = false, quitting_ = false, zeroAllowed_ = true, wrongAnswer_ = false,
         inputWasOpen_ = false;
    std::size_t writesSeen_ = 0;
    int missesSeen_ = -1;
    long drawsSeen_ = 0, turnStart_ = 0, answerAt_ = -1, extraAt_ = -1, pressAtCall_ = -1;
    std::string lastCaption_, actionAtPress_;
};

} // namespace

class TestGame : public QObject {
    Q_OBJECT
private slots:
    // The load takes the title screen's count (ties to even) and its place
    // before it goes. The flag reset lowers all, shows those in play.
    void loadTakesOverTheTitleScreen() {
        GameWorld world;
        world.titleWindow.setTop(1200);
        world.titleWindow.setLeft(2400);
        world.load("4512.5");
        QCOMPARE(QPoint(world.window.left(), world.window.top()), QPoint(2400, 1200));
        QVERIFY(world.titleWindow.unloaded && world.game.speedCount == 4512);
        world.game.flagInPlay = {{true, false, true, false, true}};
        world.game.flagUp = {{true, true, false, true, true}};
        world.game.resetFlags();
        QCOMPARE(q(bits(world.game.flagUp) + visible(world.Shape1)), "0000010101");
    }

    // A draw r picks floor(r x max) + 1, in range whatever r; they name the two
    // colours (redrawn out of play or alike), two actions and the pattern.
    void drawsNameTheCommand() {
        const std::vector<std::tuple<float, int, int>> ranges{
            {0.0f, 5, 1},        {0.5f, 4, 3}, {0.99999994f, 5, 5}, {0.99999994f, 255, 255},
            {0.99999994f, 1, 1}, {1.0f, 4, 4}, {-0.25f, 4, 1},      {std::nanf(""), 4, 1}};
        for (auto [r, max, expected] : ranges) {
            GameWorld world;
            world.randomValues = {r};
            const int drawn = world.game.randomUpTo(static_cast<std::uint8_t>(max));
            QVERIFY2(drawn == expected,
                     qPrintable(QString("%1 of %2 drew %3").arg(r).arg(max).arg(drawn)));
        }
        for (const auto& [allFive, draws, command] :
             {std::tuple{true, std::vector{0.0f, 0.9f, 0.0f, 0.3f, 0.5f}, "赤あげないで白さげて"},
              {true, {0.9f, 0.0f, 0.5f, 0.0f, 0.8f}, "白赤さげない"},
              {false, {0.3f, 0.0f, 0.0f, 0.5f, 0.9f, 0.0f, 0.0f, 0.0f}, "赤あげて"}}) {
            GameWorld world;
            world.load();
            world.game.flagInPlay = {{true, allFive, allFive, allFive, true}};
            world.game.patternCount = allFive ? 4 : 1;
            world.randomValues = draws;
            const std::string drawn = world.game.drawCommand();
            QCOMPARE(q(drawn + " in " + std::to_string(world.draws) + " draws"),
                     q(std::string(command) + " in " + std::to_string(draws.size()) + " draws"));
        }
    }

    // Each stage, run four times (at speed 100, its pace checked; the last
    // missed at turn 8), is as its row says: name; flags in play, named and
    // shown after the miss; flags shown in turns; forms; the calls between the
    // first command's letters; backgrounds.
    void everyStagePlaysAsItsRowSays() {
        const std::array<QString, 12> rows{
            "まずは小手調べ 10001 10001 1 82",
            "ちょっと意地悪 10001 10001 1 2 82",
            "黒旗登場 10101 10101 1 2 82",
            "さらに意地悪 10101 10101 1 2 3 4 82",
            "見えない黒旗 10101 10001 1 2 82",
            "さらに目かくし 10101 00000 1 2 82",
            "黄旗登場 11101 11101 1 2 3 4 82",
            "５色で旗揚げ 11111 11111 1 2 3 4 82",
            "５色＆目かくし 11111 10101 1 2 3 4 82",
            "さらに目かくし 11111 01010 1 2 3 4 82",
            "全部目かくし 11111 00000 1 2 3 4 82 RGB(192,192,255)",
            "最終兵器登場 11111 11111 1 2 3 4 72 RGB(255,192,192) RGB(255,0,0) RGB(0,192,0) "
            "RGB(255,255,0) RGB(255,255,255) RGB(255,255,0) RGB(0,0,255) RGB(255,0,0) "
            "RGB(255,255,255) RGB(255,0,0) RGB(0,192,0) RGB(128,128,128)"};
        for (int stage = 1; stage <= 12; ++stage) {
            GameWorld world;
            world.load("100");
            Game& game = world.game;
            const std::string name(stageRow(stage)->stageName);
            std::set<std::string> shown, forms;
            std::string named = "00000", backgrounds, backgroundAtIntro;
            for (int run = 1; run <= 4; ++run) {
                game.speedCount = run == 1 ? 100 : 1;
                game.stage = static_cast<std::uint8_t>(stage - 1);
                game.resetFlags();
                world.writes.clear();
                world.pump.onEveryCall = [&](long) {
                    const std::string caption = world.Label1.caption();
                    if (run == 1 ? game.stage == stage + 1 : caption == "Stage Clear")
                        throw Stop{};
                    if (caption == name)
                        backgroundAtIntro = toString(world.window.backColor());
                    const Reading reading = readCommand(caption);
                    for (auto [colour, up] : reading.wanted)
                        named[colour - 1] = '1';
                    if (!reading.wanted.empty()) {
                        forms.insert(std::to_string(reading.form));
                        shown.insert(visible(world.Shape1));
                    }
                    // At speed 1 no wait reaches 8: loopIndex 8 is the eighth turn.
                    if (run < 4 || game.loopIndex != 8)
                        world.answerPerfectly();
                    else if (game.flagUp(1) == game.expectedUp(1))
                        world.pressFlagKey(1);
                };
                try {
                    run == 1 && stage == 1 ? world.pressProgressButton() : game.setUpStage();
                } catch (const Stop&) {
                }
                if (run == 1)
                    checkPace(world, stage, backgrounds);
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

    void seededGamesKeepTheInvariants() {
        const int asked = qEnvironmentVariableIntValue("JORV_SOAK_GAMES");
        const int games = asked > 0 ? asked : 2000;
        const unsigned first = qEnvironmentVariableIntValue("JORV_SOAK_SEED");
        long calls = 0;
        std::array<int, 3> ends{};
        for (unsigned seed = first; seed < first + static_cast<unsigned>(games); ++seed) {
            SoakGame game(seed);
            try {
                ++ends[game.play()];
            } catch (const char* broken) {
                QFAIL(qPrintable(QString::asprintf("seed %u, pump call %ld: %s", seed,
                                                   game.pumpCalls(), broken)));
            }
            calls += game.pumpCalls();
        }
        qInfo("soak: %d games, %ld pump calls; game over %d, ending %d, menu %d", games, calls,
              ends[0], ends[1], ends[2]);
    }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_game.moc"
