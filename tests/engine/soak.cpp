// The soak driver: many seeded games played through the real engine in the
// test world by a player who errs at random (wrong flags, late or no answers,
// extra presses, the level select, the menu's end), with the game's invariants
// checked in every pump call and the program's end checked against the only
// paths that may reach it. JORV_SOAK_GAMES and JORV_SOAK_SEED choose how many
// games and the first seed.
#include "numbers.h"
#include "testworld.h"

#include <QTest>

#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace jorv;
using namespace jorv::test;

// This test links with --wrap for jorv::pumpWait, so every counted wait of the
// engine passes through here on its way to the real one, and the pump hook
// can see how many steps the wait that is pumping has left.
namespace {
struct ActiveWait {
    const std::int32_t* loopIndex;
    std::int32_t steps;
};
std::vector<ActiveWait> activeWaits;
long waitsStarted = 0;
} // namespace

void realPumpWait(Pump& pump, std::int32_t& loopIndex,
                  std::int32_t n) asm("__real__ZN4jorv8pumpWaitERNS_4PumpERii");
void wrappedPumpWait(Pump& pump, std::int32_t& loopIndex,
                     std::int32_t n) asm("__wrap__ZN4jorv8pumpWaitERNS_4PumpERii");
void wrappedPumpWait(Pump& pump, std::int32_t& loopIndex, std::int32_t n) {
    activeWaits.push_back({&loopIndex, n});
    ++waitsStarted;
    // The end of the program unwinds through the wait.
    struct Pop {
        ~Pop() { activeWaits.pop_back(); }
    } pop;
    realPumpWait(pump, loopIndex, n);
}

namespace {

// A broken invariant, thrown from the pump hook to leave the game at once.
struct Broken {
    std::string what;
};

[[noreturn]] void broken(const std::string& what) {
    throw Broken{what};
}

void require(bool ok, const char* what) {
    if (!ok)
        broken(what);
}

enum class End { GameOver, PlayedEnding, LevelSelectEnding, Menu };

// A bool read as its byte, so a corrupted flag shows instead of being UB.
int byteOf(const bool& b) {
    unsigned char c;
    std::memcpy(&c, &b, 1);
    return c;
}

// What the player does about one command.
enum class Answer { Right, Wrong, Late, None };

class SoakGame {
public:
    explicit SoakGame(unsigned seed)
        : player_(seed)
        , commands_(seed ^ 0x9e3779b9u) {
        world_.random.fallback = [this] {
            return static_cast<float>(commands_() >> 8) / 16777216.0f;
        };
        world_.pump.limit = 5'000'000;
        // Where the window's design places the flags.
        for (RecordingControl& shape : world_.Shape1)
            shape.setTop(flagLoweredTop);
        speed_ = pick(0, 4);
        const double skill = chance();
        const double scale = skill < 0.35 ? 0.01 : skill < 0.7 ? 0.05 : 0.25;
        wrong_ = chance() * scale;
        late_ = chance() * scale;
        none_ = chance() * scale / 2;
        extra_ = chance() * 0.2;
        noise_ = chance() * 0.01;
        debugger_ = chance() < 0.25;
        if (chance() < 0.05)
            quitAtCall_ = pick(1, 30'000);
    }

    End play() {
        world_.load(std::to_string(speed_));
        world_.pump.onEveryCall = [this](long call) {
            check();
            act(call);
        };
        try {
            for (;;) {
                betweenPresses();
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
            for (const OneBased<bool, 5>* flags :
                 {&g.flagUp, &g.expectedUp, &g.flagShown, &g.flagInPlay})
                require(byteOf((*flags)(i)) <= 1, "a flag holds neither true nor false");
            const auto flag = [i] { return "flag " + std::to_string(i); };
            if (!g.flagInPlay(i) && (g.flagUp(i) || g.expectedUp(i)))
                broken(flag() + " is out of play but raised or required");
            const int top = world_.Shape1[i - 1].top();
            if (top != flagLoweredTop && top != flagRaisedTop)
                broken(flag() + " stands at " + std::to_string(top));
            // The ending moves the white flag without touching its state.
            if ((i != 5 || !endingBegun()) && (top == flagRaisedTop) != g.flagUp(i))
                broken(flag() + " is drawn where it does not stand");
        }
        if (g.missesLeft > 10)
            broken("missesLeft is " + std::to_string(g.missesLeft));
        // Stages run from 1 to 12. Only the level select leaves anything else:
        // 0 until the next set-up (before the first press, too), and for the
        // ending the level entered.
        if (g.stage != 0)
            zeroAllowed_ = false;
        if (g.stage <= 12 ? g.stage == 0 && !zeroAllowed_ : g.stage != levelForEnding_)
            broken("stage is " + std::to_string(g.stage));
        // The button is what keeps a second press out of a running one.
        require(!world_.進行ボタン.visible(), "the progress button is shown while the game pumps");
        const float bar = world_.バー残量.value();
        require(bar >= 0 && bar <= 14, "the progress bar is out of its range");
        for (const ActiveWait& w : activeWaits)
            if (w.steps < 0)
                broken("a wait of " + std::to_string(w.steps) + " steps");
        // Only the innermost wait pumps; its steps left must not go below 0.
        if (!activeWaits.empty()) {
            const ActiveWait& w = activeWaits.back();
            if (*w.loopIndex < 1 || w.steps - *w.loopIndex < 0)
                broken("a wait of " + std::to_string(w.steps) + " steps pumps at step " +
                       std::to_string(*w.loopIndex));
        }
    }

    bool endingBegun() const { return world_.Label2.caption() == "ALL Clear!"; }

    // A press or the level select has returned: play waits for the button.
    void checkWaitingForPress() {
        const Game& g = world_.game;
        require(world_.進行ボタン.visible(), "play returned with the progress button hidden");
        if (g.buttonAction != "ミス" && g.buttonAction != "クリア")
            broken("play returned with the button's action '" + g.buttonAction + "'");
        // The ending leaves the black flag's button enabled but hidden.
        for (int i = 0; i < 5; ++i)
            require(!(world_.Command1[i].visible() && world_.Command1[i].enabled()) &&
                        !world_.メニュー各旗[i].enabled(),
                    "flag input is open while play waits for the button");
        require(activeWaits.empty(), "play returned from inside a wait");
    }

    // The player's move inside one pump call.
    void act(long call) {
        if (call == quitAtCall_)
            quitThroughMenu();
        if (world_.random.draws != drawsSeen_) {
            // A new command has been drawn: decide how to meet it.
            drawsSeen_ = world_.random.draws;
            turnStart_ = call;
            const double r = chance();
            answer_ = r < wrong_                   ? Answer::Wrong
                      : r < wrong_ + late_         ? Answer::Late
                      : r < wrong_ + late_ + none_ ? Answer::None
                                                   : Answer::Right;
            answerAt_ = answer_ == Answer::Late ? pick(8, 40 + 30 * speed_) : pick(0, 6);
            extraAt_ = chance() < extra_ ? pick(0, 30) : -1;
        }
        const long t = call - turnStart_;
        if (t == answerAt_ && answer_ != Answer::None) {
            for (int i = 1; i <= 5; ++i)
                if (world_.game.flagUp(i) != world_.game.expectedUp(i))
                    pressFlag(i);
            if (answer_ == Answer::Wrong)
                pressFlag(pick(1, 5));
        }
        if (t == extraAt_) {
            // Pressed twice it is undone at once; pressed once it is an error
            // unless the flag is out of play.
            const int i = pick(1, 5);
            pressFlag(i);
            if (chance() < 0.7)
                pressFlag(i);
        }
        if (chance() < noise_) {
            // Clicks that the game must ignore while it pumps.
            if (chance() < 0.5)
                world_.pressProgressButton();
            else
                world_.game.パネルDoubleClick(pick(1, 3));
        }
    }

    void pressFlag(int i) {
        if (chance() < 0.5)
            world_.pressFlagKey(i);
        else
            world_.clickFlagButton(i);
    }

    void quitThroughMenu() {
        quitting_ = true;
        world_.ender.endProgram();
    }

    void betweenPresses() {
        if (++presses_ > 400 || chance() < 0.01)
            quitThroughMenu();
        if (debugger_ && chance() < 0.3)
            levelSelect();
    }

    void levelSelect() {
        struct Entry {
            std::string text;
            int level = 0; // 0: names no stage
        };
        static const std::vector<Entry> odd{{"", 0},      {"0", 0},       {"-1", 0},
                                            {"256", 0},   {"abc", 0},     {"12.5", 12},
                                            {"13.4", 13}, {"\u3000３", 3}};
        Entry entry;
        if (chance() < 0.3) {
            entry = odd[pick(0, static_cast<int>(odd.size()) - 1)];
        } else {
            entry.level = chance() < 0.2 ? pick(13, 255) : pick(1, 12);
            entry.text = std::to_string(entry.level);
        }
        const bool rightCode = chance() < 0.8;
        if (!rightCode)
            entry.level = 0;
        std::vector<std::string>& answers = world_.inputBox.answers;
        answers.resize(world_.inputBox.calls.size());
        answers.push_back(rightCode ? "MPW%7140" : "MPW7140");
        answers.push_back(entry.text);

        Game& g = world_.game;
        const std::uint8_t before = g.stage;
        if (entry.level == 1)
            zeroAllowed_ = true;
        if (entry.level > 12)
            levelForEnding_ = entry.level;
        const std::string actionBefore = g.buttonAction;
        g.パネルDoubleClick(pick(1, 3));
        answers.resize(world_.inputBox.calls.size());

        const int expected = entry.level == 0    ? before
                             : entry.level <= 12 ? entry.level - 1
                                                 : entry.level;
        if (g.stage != expected)
            broken("the level select left stage " + std::to_string(g.stage) + " for the entry '" +
                   entry.text + "'");
        if (entry.level > 12) {
            levelSelectEnding_ = true;
            checkWaitingForPress();
        } else {
            require(g.buttonAction == actionBefore, "the level select changed the button");
        }
    }

    // The program may end only as the player quits through the menu, by the
    // press after the ending, or by the game over in stage 1.
    End howItEnded() {
        const Game& g = world_.game;
        const long at = world_.ender.endedAtCall;
        require(world_.ender.ended, "unwound without an end");
        if (quitting_)
            return End::Menu;
        require(pressAtCall_ >= 0, "the program ended before any press");
        if (actionAtPress_ == "クリア") {
            require(at == pressAtCall_, "the press after the ending ended the program late");
            require(endingBegun() && world_.Label1.caption() == "ＴＨＥ ＥＮＤ",
                    "the press after the ending came without the ending");
            return levelSelectEnding_ ? End::LevelSelectEnding : End::PlayedEnding;
        }
        if (actionAtPress_ != "ミス" || missesAtPress_ != 0 || stageAtPress_ != 1 || g.stage != 1)
            broken("the program ended in stage " + std::to_string(g.stage) + " with " +
                   std::to_string(g.missesLeft) + " misses left, pressed in stage " +
                   std::to_string(stageAtPress_) + " after '" + actionAtPress_ + "'");
        const std::vector<Write> banner = world_.trace.of("Label2", "Caption");
        require(!banner.empty() && banner.back().value == "GAME OVER" && world_.Label2.visible() &&
                    at - banner.back().pumpCall == nearest(7.0 * speed_),
                "the game over ended the program without its banner and wait");
        return End::GameOver;
    }

    std::mt19937 player_;
    std::mt19937 commands_;
    GameWorld world_;
    int speed_ = 0;
    double wrong_ = 0, late_ = 0, none_ = 0, extra_ = 0, noise_ = 0;
    bool debugger_ = false;
    long quitAtCall_ = -1;

    long drawsSeen_ = 0, turnStart_ = 0, answerAt_ = -1, extraAt_ = -1;
    Answer answer_ = Answer::None;
    int presses_ = 0;
    bool quitting_ = false;
    bool zeroAllowed_ = true;
    int levelForEnding_ = -1;
    bool levelSelectEnding_ = false;

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
        std::array<int, 4> ends{};
        for (int n = 0; n < games; ++n) {
            const unsigned seed = first + static_cast<unsigned>(n);
            SoakGame game(seed);
            try {
                ++ends[static_cast<int>(game.play())];
            } catch (const Broken& broken) {
                QFAIL(qPrintable(QString("seed %1, pump call %2: %3")
                                     .arg(seed)
                                     .arg(game.pumpCalls())
                                     .arg(QString::fromStdString(broken.what))));
            }
            calls += game.pumpCalls();
        }
        QVERIFY(activeWaits.empty());
        QVERIFY2(waitsStarted > 0, "no counted wait was seen: is pumpWait still wrapped?");
        qInfo().noquote() << QString("soak: %1 games, %2 pump calls, %3 counted waits; endings: "
                                     "game over %4, ending played %5, ending from level select "
                                     "%6, menu %7")
                                 .arg(games)
                                 .arg(calls)
                                 .arg(waitsStarted)
                                 .arg(ends[0])
                                 .arg(ends[1])
                                 .arg(ends[2])
                                 .arg(ends[3]);
    }
};

QTEST_GUILESS_MAIN(TestSoak)
#include "soak.moc"
