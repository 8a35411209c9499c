// Many seeded games played through the real engine in the test world by a
// player who errs at random (wrong flags, late or no answers, extra presses,
// stray clicks, the level select, the menu's end), with the game's invariants
// checked in every pump call: what each command asks as a player reads it,
// where the flags stand, where play goes on after a miss, and the
// program's end against the only paths that may reach it. JORV_SOAK_GAMES and
// JORV_SOAK_SEED choose how many games and the first seed.
#include "numbers.h"
#include "testworld.h"

#include <QTest>

#include <random>
#include <set>

using namespace jorv;
using namespace jorv::test;

namespace {

// A broken invariant, thrown from the pump hook to leave the game at once.
struct Broken {
    std::string what;
};

// The message is made only when the check fails.
template <class What> void require(bool ok, What what) {
    if (!ok)
        throw Broken{std::string(what())};
}
#define REQUIRE(ok, what) require(ok, [&] { return what; })

class SoakGame {
public:
    explicit SoakGame(unsigned seed)
        : player_(seed)
        , commands_(seed ^ 0x9e3779b9u) {
        world_.random.fallback = [this] {
            return static_cast<float>(commands_() >> 8) / 16777216.0f;
        };
        world_.pump.limit = 5'000'000;
        // Where the window's design places the flags; the banner is hidden.
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

    // Every pump call: the state the engine has left so far.
    void check() {
        const Game& g = world_.game;
        for (int i = 1; i <= 5; ++i) {
            const std::string flag = "flag " + std::to_string(i);
            REQUIRE(g.flagInPlay(i) || !(g.flagUp(i) || g.expectedUp(i)),
                    flag + " is out of play but raised or required");
            const int top = world_.Shape1[i - 1].top();
            REQUIRE(top == flagLoweredTop || top == flagRaisedTop,
                    flag + " stands at " + std::to_string(top));
            // The ending moves the white flag without touching its state.
            REQUIRE((i == 5 && endingBegun()) || (top == flagRaisedTop) == g.flagUp(i),
                    flag + " is drawn where it does not stand");
        }
        REQUIRE(g.missesLeft <= 10, "missesLeft is " + std::to_string(g.missesLeft));
        // Stages run from 1 to 12. Only the level select leaves anything else:
        // 0 until the next set-up (before the first press, too), and for the
        // ending the level entered.
        zeroAllowed_ = zeroAllowed_ && g.stage == 0;
        REQUIRE(g.stage <= 12 ? g.stage != 0 || zeroAllowed_ : g.stage == levelForEnding_,
                "stage is " + std::to_string(g.stage));
        // The button is what keeps a second press out of a running one.
        REQUIRE(!world_.進行ボタン.visible(), "the progress button is shown while the game pumps");
        REQUIRE(world_.バー残量.value() >= 0 && world_.バー残量.value() <= 14,
                "the progress bar is out of range");
        // What Label1 says changes only as it is written.
        if (world_.Label1.caption() != lastCaption_) {
            lastCaption_ = world_.Label1.caption();
            checkCommand();
            checkWhereStagesGoOn();
        }
    }

    // The command shown so far, read as a player reads it, asks what the game
    // will judge; its flags differ and are in play, and its form is one that
    // the stage draws from.
    void checkCommand() {
        const Game& g = world_.game;
        const Reading reading = readCommand(world_.Label1.caption());
        std::set<int> named;
        for (auto [colour, up] : reading.wanted) {
            REQUIRE(g.flagInPlay(colour), "a command names a flag out of play");
            REQUIRE(named.insert(colour).second, "a command names one flag twice");
            REQUIRE(g.expectedUp(colour) == up, "a command asks for other than it says");
        }
        REQUIRE(reading.form <= g.patternCount, "a command of a form the stage does not draw");
    }

    // After "misses left" play goes on in the same stage; after a game over,
    // in the stage before it with ten misses. A stage is introduced in the
    // ordinary colour, without a banner.
    void checkWhereStagesGoOn() {
        const Game& g = world_.game;
        const std::string& caption = lastCaption_;
        if (caption == "前の面からやり直しです") {
            nextStage_ = std::max(g.stage - 1, 1);
            nextMisses_ = 10;
        } else if (caption.starts_with("ミスはあと")) {
            nextStage_ = g.stage;
            nextMisses_ = g.missesLeft;
        } else if (caption.starts_with("レベル")) {
            REQUIRE(nextStage_ == 0 || (caption == "レベル" + std::to_string(nextStage_) &&
                                        g.missesLeft == nextMisses_),
                    "play went on at " + caption + " with " + std::to_string(g.missesLeft) +
                        " misses, not in stage " + std::to_string(nextStage_));
            nextStage_ = 0;
            REQUIRE(world_.Label1.foreColor() == Colour::systemButtonText() &&
                        !world_.Label2.visible(),
                    "a stage is introduced in red or under a banner");
        }
    }

    bool endingBegun() const { return world_.Label2.caption() == "ALL Clear!"; }

    // A press or the level select has returned: play waits for the button.
    void checkWaitingForPress() {
        const std::string& action = world_.game.buttonAction;
        REQUIRE(world_.進行ボタン.visible(), "play returned with the progress button hidden");
        REQUIRE(action == "ミス" || action == "クリア",
                "play returned with the action '" + action + "'");
        // The ending leaves the black flag's button enabled but hidden.
        for (int i = 0; i < 5; ++i)
            REQUIRE(!(world_.Command1[i].visible() && world_.Command1[i].enabled()) &&
                        !world_.メニュー各旗[i].enabled(),
                    "flag input is open while play waits for the button");
        if (action == "ミス")
            REQUIRE(world_.Label1.foreColor() == Colour::rgb(255, 0, 0) && world_.Label2.visible(),
                    "a miss is not shown in red under its banner");
        else
            checkEnding();
    }

    // The ending has taken its time in units of the speed, the flag's 169
    // steps, the button's 23, the flag's two hatches and the seven letters of
    // "THE END"; the white flag has slid to the black flag's button, turning
    // red on the way, the button has risen to meet it with one beep, and
    // everything else has gone.
    void checkEnding() {
        const int s = speed_;
        auto units = [s](double u) { return nearest(s * u); };
        const std::vector<Write> banner = world_.trace.of("Label2", "Caption");
        REQUIRE(!banner.empty() && banner.back().value == "ALL Clear!",
                "an ending without its banner");
        REQUIRE(world_.pump.calls - banner.back().pumpCall ==
                    3 * units(1.5) + 2 * units(3) + 5 * units(1.2) + 2 * units(1) + 169 * (s / 10) +
                        23 * (s / 12) + 2 * (s / 4) + 7 * (s / 2 + 2),
                "the ending took " + std::to_string(world_.pump.calls - banner.back().pumpCall) +
                    " pump calls");
        std::vector<std::string> reddening = world_.trace.values("Shape1(5)", "FillColor");
        reddening.erase(reddening.begin(), reddening.end() - std::min<long>(3, reddening.size()));
        const std::vector<std::string> red{"RGB(255,192,192)", "RGB(255,128,128)", "RGB(255,0,0)"};
        REQUIRE(reddening == red, "the white flag did not redden on its way");
        REQUIRE(world_.Shape1[4].left() == 3600 && world_.Shape1[4].top() == flagLoweredTop &&
                    world_.Command1[2].top() == 3005 &&
                    world_.Command1[2].caption() == "+_+ (F3)" && world_.beeper.beeps == ++endings_,
                "the white flag and the black flag's button did not meet");
        REQUIRE(world_.Label1.caption() == "ＴＨＥ ＥＮＤ" && world_.Label2.visible() &&
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
        if (world_.random.draws != drawsSeen_) {
            // A new command has been drawn: decide how to meet it, if at all.
            drawsSeen_ = world_.random.draws;
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
        if (t == extraAt_) {
            // Pressed twice it is undone at once; once, an error unless the
            // flag is out of play.
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
        world_.ender.endProgram();
    }

    // The level select between presses: stage 1 to 12 is the next one set
    // up, a higher level runs the ending at once; the entries that name no
    // stage are the engine test's.
    void levelSelect() {
        const int level = chance() < 0.2 ? pick(13, 255) : pick(1, 12);
        world_.inputBox.answers = {"MPW%7140", std::to_string(level)};
        world_.inputBox.calls.clear();
        Game& g = world_.game;
        const std::string actionBefore = g.buttonAction;
        zeroAllowed_ = zeroAllowed_ || level == 1;
        levelForEnding_ = level > 12 ? level : levelForEnding_;
        g.パネルDoubleClick(pick(1, 3));
        REQUIRE(g.stage == (level <= 12 ? level - 1 : level), "the level select left stage " +
                                                                  std::to_string(g.stage) +
                                                                  " for " + std::to_string(level));
        if (level > 12)
            checkWaitingForPress();
        else
            REQUIRE(g.buttonAction == actionBefore, "the level select changed the button");
    }

    // The program may end only as the player quits through the menu, by the
    // press after the ending, or by the game over in stage 1, seven units
    // after its banner.
    int howItEnded() {
        const Game& g = world_.game;
        const long at = world_.ender.endedAtCall;
        REQUIRE(world_.ender.ended, "unwound without an end");
        if (quitting_)
            return 2;
        REQUIRE(pressAtCall_ >= 0, "the program ended before any press");
        if (actionAtPress_ == "クリア") {
            REQUIRE(at == pressAtCall_, "the press after the ending ended the program late");
            REQUIRE(endingBegun() && world_.Label1.caption() == "ＴＨＥ ＥＮＤ",
                    "the press after the ending came without the ending");
            return 1;
        }
        REQUIRE(actionAtPress_ == "ミス" && missesAtPress_ == 0 && stageAtPress_ == 1 &&
                    g.stage == 1,
                "the program ended in stage " + std::to_string(g.stage) + " with " +
                    std::to_string(g.missesLeft) + " misses left, pressed in stage " +
                    std::to_string(stageAtPress_) + " after '" + actionAtPress_ + "'");
        const std::vector<Write> banner = world_.trace.of("Label2", "Caption");
        REQUIRE(!banner.empty() && banner.back().value == "GAME OVER" && world_.Label2.visible() &&
                    at - banner.back().pumpCall == nearest(7.0 * speed_),
                "the game over ended the program without its banner and wait");
        return 0;
    }

    std::mt19937 player_, commands_;
    GameWorld world_;
    int speed_ = 0;
    double wrong_ = 0, late_ = 0, none_ = 0, extra_ = 0, noise_ = 0;
    bool debugger_ = false, quitting_ = false, zeroAllowed_ = true;
    bool wrongAnswer_ = false;
    long quitAtCall_ = -1, drawsSeen_ = 0, turnStart_ = 0, answerAt_ = -1, extraAt_ = -1;
    int levelForEnding_ = -1, nextStage_ = 0, nextMisses_ = 0;
    std::string lastCaption_;
    int endings_ = 0;
    long pressAtCall_ = -1;
    std::string actionAtPress_;
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
            } catch (const Broken& broken) {
                QFAIL(qPrintable(QString("seed %1, pump call %2: %3")
                                     .arg(seed)
                                     .arg(game.pumpCalls())
                                     .arg(QString::fromStdString(broken.what))));
            }
            calls += game.pumpCalls();
        }
        qInfo("soak: %d games, %ld pump calls; game over %d, ending %d, menu %d", games, calls,
              ends[0], ends[1], ends[2]);
    }
};

QTEST_GUILESS_MAIN(TestSoak)
#include "soak.moc"
