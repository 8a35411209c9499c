// Seeded games played through the engine in the test world by a player who
// errs at random, with the game's invariants checked in every pump call.
// JORV_SOAK_GAMES and JORV_SOAK_SEED choose how many games and the first seed.
#include "numbers.h"
#include "testworld.h"

#include <QTest>

#include <set>

using namespace jorv;
using namespace jorv::test;

namespace {

// A broken invariant, thrown from the pump hook to leave the game at once.
struct Broken {
    const char* what;
};
void require(bool ok, const char* what) {
    if (!ok)
        throw Broken{what};
}

class SoakGame {
public:
    explicit SoakGame(unsigned seed)
        : player_(seed) {
        world_.generator.seed(seed ^ 0x9e3779b9u);
        world_.pump.limit = 5'000'000;
        // As the window's design has them.
        for (RecordingControl& shape : world_.Shape1)
            shape.setTop(flagLoweredTop);
        world_.Label2.setVisible(false);
        speed_ = chance() < 0.1 ? 10 : pick(0, 4); // a tenth of a unit is 0 below 10
        const double scale = std::array{0.01, 0.05, 0.25}[pick(0, 2)];
        wrong_ = chance() * scale;
        late_ = chance() * scale;
        none_ = chance() * scale / 2;
        extra_ = chance() * 0.2;
        noise_ = chance() * 0.01;
        debugger_ = chance() < 0.25;
        quitAtCall_ = chance() < 0.05 ? pick(1, 30'000) : -1;
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
                if (presses > 400 || chance() < 0.01)
                    quit();
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
            const int top = world_.Shape1[i - 1].top();
            require(top == flagLoweredTop || top == flagRaisedTop, "a flag stands out of place");
            // The ending moves the white flag without touching its state.
            require((i == 5 && endingBegun()) || (top == flagRaisedTop) == g.flagUp(i),
                    "a flag is drawn where it does not stand");
        }
        require(g.missesLeft <= 10, "more than ten misses left");
        // Stages run from 1 to 12, but for the level select's: 0 until the
        // next set-up (as before the first press), and for the ending its level.
        zeroAllowed_ = zeroAllowed_ && g.stage == 0;
        require(g.stage <= 12 ? g.stage != 0 || zeroAllowed_ : g.stage == levelForEnding_,
                "no such stage");
        // The hidden button keeps a second press out of a running one.
        require(!world_.進行ボタン.visible(), "the progress button is shown while the game pumps");
        require(world_.バー残量.value() >= 0 && world_.バー残量.value() <= 14,
                "the progress bar is out of range");
        if (world_.Label1.caption() != lastCaption_) {
            lastCaption_ = world_.Label1.caption();
            checkCommand();
            checkWhereStagesGoOn();
        }
    }

    // The command so far, as a player reads it, asks what the game will judge,
    // of two flags in play, in a form the stage draws from.
    void checkCommand() {
        const Game& g = world_.game;
        const Reading reading = readCommand(lastCaption_);
        std::set<int> named;
        for (auto [colour, up] : reading.wanted) {
            require(g.flagInPlay(colour), "a command names a flag out of play");
            require(named.insert(colour).second, "a command names one flag twice");
            require(g.expectedUp(colour) == up, "a command asks for other than it says");
        }
        require(reading.form <= g.patternCount, "a command of a form the stage does not draw");
    }

    // After "misses left" play goes on in the same stage; after a game over,
    // in the one before with ten misses; in the ordinary colour, no banner.
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

    // A press or the level select has returned: play waits for the button.
    void checkWaitingForPress() {
        const std::string& action = world_.game.buttonAction;
        require(world_.進行ボタン.visible(), "play returned with the progress button hidden");
        require(action == "ミス" || action == "クリア", "play returned with another action");
        // The ending leaves the black flag's button enabled but hidden.
        for (int i = 0; i < 5; ++i)
            require(!(world_.Command1[i].visible() && world_.Command1[i].enabled()) &&
                        !world_.メニュー各旗[i].enabled(),
                    "flag input is open while play waits for the button");
        if (action == "ミス")
            require(world_.Label1.foreColor() == Colour::rgb(255, 0, 0) && world_.Label2.visible(),
                    "a miss is not shown in red under its banner");
        else
            checkEnding();
    }

    // The ending took its units, the flag's 169 steps, the button's 23, two
    // hatches and seven letters; the white flag slid to the black flag's
    // button, reddening, which rose to meet it with one beep; all else went.
    void checkEnding() {
        const int s = speed_;
        auto units = [s](double u) { return nearest(s * u); };
        const std::vector<Write> banner = world_.trace.of("Label2", "Caption");
        require(!banner.empty() && banner.back().value == "ALL Clear!", "an ending without banner");
        require(world_.pump.calls - banner.back().pumpCall ==
                    3 * units(1.5) + 2 * units(3) + 5 * units(1.2) + 2 * units(1) + 169 * (s / 10) +
                        23 * (s / 12) + 2 * (s / 4) + 7 * (s / 2 + 2),
                "the ending took another time");
        std::vector<std::string> red = world_.trace.values("Shape1(5)", "FillColor");
        red.erase(red.begin(), red.end() - std::min<long>(3, red.size()));
        require(red == (std::vector<std::string>{"RGB(255,192,192)", "RGB(255,128,128)",
                                                 "RGB(255,0,0)"}),
                "the white flag did not redden on its way");
        require(world_.Shape1[4].left() == 3600 && world_.Shape1[4].top() == flagLoweredTop &&
                    world_.Command1[2].top() == 3005 &&
                    world_.Command1[2].caption() == "+_+ (F3)" && world_.beeps == ++endings_,
                "the white flag and the black flag's button did not meet");
        require(world_.Label1.caption() == "ＴＨＥ ＥＮＤ" && world_.Label2.visible() &&
                    visible(world_.Shape1) + visible(world_.Command1) == "0000000000" &&
                    world_.window.backColor() == Colour::rgb(192, 192, 255) &&
                    world_.パネル.panelText(1).empty() &&
                    world_.進行ボタン.caption() == "お疲れ様でした",
                "the ending left more than the end");
    }

    // The player's move inside one pump call.
    void act(long call) {
        if (call == quitAtCall_)
            quit();
        if (world_.draws != drawsSeen_) {
            drawsSeen_ = world_.draws;
            turnStart_ = call;
            const double r = chance();
            wrongAnswer_ = r < wrong_;
            const bool late = !wrongAnswer_ && r < wrong_ + late_;
            answerAt_ = r >= wrong_ + late_ && r < wrong_ + late_ + none_ ? -1
                        : late ? pick(8, 40 + 30 * speed_)
                               : pick(0, 6);
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

    void pressFlag(int i) { chance() < 0.5 ? world_.pressFlagKey(i) : world_.clickFlagButton(i); }

    void quit() {
        quitting_ = true;
        world_.endProgram();
    }

    // Between presses: stage 1 to 12 is set up next, a higher level ends at once.
    void levelSelect() {
        const int level = chance() < 0.2 ? pick(13, 255) : pick(1, 12);
        world_.answers = {"MPW%7140", std::to_string(level)};
        world_.boxes.clear();
        world_.asked = 0;
        Game& g = world_.game;
        const std::string actionBefore = g.buttonAction;
        zeroAllowed_ = zeroAllowed_ || level == 1;
        levelForEnding_ = level > 12 ? level : levelForEnding_;
        g.パネルDoubleClick(pick(1, 3));
        require(g.stage == (level <= 12 ? level - 1 : level),
                "the level select left another stage");
        if (level > 12)
            checkWaitingForPress();
        else
            require(g.buttonAction == actionBefore, "the level select changed the button");
    }

    // The program ends only by the menu, the press after the ending, or the
    // game over in stage 1, seven units after its banner.
    int howItEnded() {
        const long at = world_.endedAtCall;
        require(world_.ended, "unwound without an end");
        if (quitting_)
            return 2;
        require(pressAtCall_ >= 0, "the program ended before any press");
        if (actionAtPress_ == "クリア") {
            require(at == pressAtCall_ && endingBegun() &&
                        world_.Label1.caption() == "ＴＨＥ ＥＮＤ",
                    "the program ended otherwise than by the press after the ending");
            return 1;
        }
        require(actionAtPress_ == "ミス" && missesAtPress_ == 0 && stageAtPress_ == 1 &&
                    world_.game.stage == 1,
                "the program ended elsewhere than at the game over in stage 1");
        const std::vector<Write> banner = world_.trace.of("Label2", "Caption");
        require(!banner.empty() && banner.back().value == "GAME OVER" && world_.Label2.visible() &&
                    at - banner.back().pumpCall == nearest(7.0 * speed_),
                "the game over ended the program without its banner and wait");
        return 0;
    }

    std::mt19937 player_;
    GameWorld world_;
    int speed_ = 0, levelForEnding_ = -1, nextStage_ = 0, nextMisses_ = 0, endings_ = 0;
    double wrong_ = 0, late_ = 0, none_ = 0, extra_ = 0, noise_ = 0;
    bool debugger_ = false, quitting_ = false, zeroAllowed_ = true, wrongAnswer_ = false;
    long quitAtCall_ = -1, drawsSeen_ = 0, turnStart_ = 0, answerAt_ = -1, extraAt_ = -1;
    std::string lastCaption_, actionAtPress_;
    long pressAtCall_ = -1;
    int stageAtPress_ = -1, missesAtPress_ = -1;
};

} // namespace

class TestSoak : public QObject {
    Q_OBJECT
private slots:
    void seededGamesKeepTheInvariants() {
        const int games = qEnvironmentVariableIsSet("JORV_SOAK_GAMES")
                              ? qEnvironmentVariableIntValue("JORV_SOAK_GAMES")
                              : 2000;
        const unsigned first = qEnvironmentVariableIntValue("JORV_SOAK_SEED");
        long calls = 0;
        std::array<int, 3> ends{};
        for (unsigned seed = first; seed < first + static_cast<unsigned>(games); ++seed) {
            SoakGame game(seed);
            try {
                ++ends[game.play()];
            } catch (const char* broken) {
                QFAIL(qPrintable(QString("seed %1, pump call %2: %3")
                                     .arg(seed)
                                     .arg(game.pumpCalls())
                                     .arg(broken)));
            }
            calls += game.pumpCalls();
        }
        qInfo("soak: %d games, %ld pump calls; game over %d, ending %d, menu %d", games, calls,
              ends[0], ends[1], ends[2]);
    }
};

QTEST_GUILESS_MAIN(TestSoak)
#include "soak.moc"
