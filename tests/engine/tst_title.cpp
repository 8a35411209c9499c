// The title screen's rules in the test world.
#include "testworld.h"
#include "title.h"

#include <QTest>

using namespace jorv;
using namespace jorv::test;

namespace {

// The title screen whose measurement counts six readings, 100.5 to 103 (9 in
// all); it records when the game window and the rules were asked for.
struct TitleWorld : World {
    TitleWorld() { readings = {100.0f}, step = 0.5f; }
    // The lines' colours after `move`: Y yellow, K black.
    void look(const std::function<void()>& move) {
        move();
        for (const RecordingControl& line : Label4)
            seen += line.foreColor() == Colour::rgb(255, 255, 0) ? 'Y' : 'K';
        seen += ' ';
    }
    RecordingControl Label3{*this, "Label3"};
    std::array<RecordingControl, 3> Label4{{{*this, "1"}, {*this, "2"}, {*this, "3"}}};
    std::vector<long> asked; // the pump call of each game window, -1 for the rules
    std::string seen;
    Title title{
        TitleControls{Label3, ControlArray<Label, 3>({&Label4[0], &Label4[1], &Label4[2]})},
        services,
        TitleExits{[this] { asked.push_back(pump.calls); }, [this] { asked.push_back(-1); }}};
};

} // namespace

class TestTitle : public QObject {
    Q_OBJECT
private slots:
    // The line under the pointer lights and the others go black. Once the
    // measurement has begun only the background still turns them black, and
    // only "☆End This Game" acts: "Thank you." stands for one pump call, then
    // the program ends. Unhindered, the game window comes once, after the
    // hand-over; "☆Show Help" shows the rules while idle.
    void choicesWhileMeasuring() {
        for (bool ending : {false, true}) {
            TitleWorld w;
            w.look([&] { w.title.highlight(2); });
            w.title.choose(2);
            w.pump.at(2, [&] {
                w.look([&] { w.title.highlight(3); });
                w.look([&] { w.title.clearHighlight(); });
                w.look([&] { w.title.highlight(1); });
                w.title.choose(2);
                w.title.choose(ending ? 3 : 1);
            });
            if (!ending) {
                w.title.choose(1);
                QCOMPARE(w.seen + w.Label3.caption(), "KYK KYK KKK KKK 9");
                QCOMPARE(w.asked, (std::vector<long>{-1, 6 + 9}));
                continue;
            }
            QVERIFY_THROWS_EXCEPTION(ProgramEnded, w.title.choose(1));
            std::string captions;
            for (const Write& write : w.of("Label3", "Caption"))
                captions += std::to_string(write.pumpCall) + " " + write.value + " ";
            QCOMPARE(captions + std::to_string(w.endedAtCall),
                     "0 しばらくお待ちください。 2 Thank you. 3");
            QCOMPARE(w.asked, std::vector<long>{-1});
        }
    }
};

QTEST_GUILESS_MAIN(TestTitle)
#include "tst_title.moc"
