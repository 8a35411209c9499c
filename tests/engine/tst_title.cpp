// The title screen's rules in the test world.
#include "testworld.h"
#include "title.h"

#include <QTest>

using namespace jorv;
using namespace jorv::test;

namespace {

struct TitleWorld : World {
    TitleWorld() {
        readings = {100.0f}; // deadline 103: six readings of 100.5 to 103 count, 9 in all
        step = 0.5f;
    }
    // The choices' colours: Y yellow, K black, - as the theme has them.
    std::string lit() const {
        std::string colours;
        for (const RecordingControl& line : Label4)
            colours += line.foreColor() == Colour::rgb(255, 255, 0) ? 'Y'
                       : line.foreColor() == Colour::rgb(0, 0, 0)   ? 'K'
                                                                    : '-';
        return colours;
    }

    RecordingControl Label3{*this, "Label3"};
    std::array<RecordingControl, 3> Label4{
        {{*this, "Label4(1)"}, {*this, "Label4(2)"}, {*this, "Label4(3)"}}};
    std::vector<long> gameShownAt;
    int rulesShown = 0;
    Title title{
        TitleControls{Label3, ControlArray<Label, 3>({&Label4[0], &Label4[1], &Label4[2]})},
        services,
        TitleExits{[this] { gameShownAt.push_back(pump.calls); }, [this] { ++rulesShown; }}};
};

} // namespace

class TestTitle : public QObject {
    Q_OBJECT
private slots:
    // The line under the pointer lights and the others go black. Once the
    // measurement has begun, only the background still turns them black and
    // only "☆End This Game" acts: the game window is shown once, at its end.
    void choicesWhileMeasuring() {
        TitleWorld world;
        std::string seen;
        auto look = [&](auto move) { move(), seen += world.lit() + ' '; };
        look([&] { world.title.highlight(2); });
        look([&] { world.title.highlight(1); });
        world.pump.at(2, [&] {
            look([&] { world.title.highlight(3); });
            look([&] { world.title.clearHighlight(); });
            look([&] { world.title.highlight(2); });
            world.title.choose(2);
            world.title.choose(1);
        });
        world.title.choose(1);
        QCOMPARE(seen, "KYK YKK YKK KKK KKK ");
        QCOMPARE(world.gameShownAt, std::vector<long>{6 + 9});
        QCOMPARE(world.rulesShown, 0);
        QCOMPARE(world.Label3.caption(), "9");
        world.title.choose(2);
        QCOMPARE(world.rulesShown, 0);
    }

    // "☆End This Game", also while measuring, shows "Thank you." for one pump
    // call and ends the program; the rules open while idle.
    void endThisGameThanksForOnePumpCall() {
        TitleWorld world;
        world.title.choose(2);
        QCOMPARE(world.rulesShown, 1);
        world.pump.at(2, [&] { world.title.choose(3); });
        QVERIFY_THROWS_EXCEPTION(ProgramEnded, world.title.choose(1));
        std::vector<std::string> shown;
        for (const Write& w : world.of("Label3", "Caption"))
            shown.push_back(std::to_string(w.pumpCall) + " " + w.value);
        QCOMPARE(shown, (std::vector<std::string>{"0 しばらくお待ちください。", "2 Thank you."}));
        QCOMPARE(world.endedAtCall, 3L);
        QVERIFY(world.gameShownAt.empty());
    }
};

QTEST_GUILESS_MAIN(TestTitle)
#include "tst_title.moc"
