// The title screen's rules in the test world.
#include "testworld.h"
#include "title.h"

#include <QTest>

using namespace jorv;
using namespace jorv::test;

class TestTitle : public QObject {
    Q_OBJECT
private slots:
    // The line under the pointer lights and the others go black. Once the
    // measurement has begun only the background still turns them black, and
    // only "☆End This Game" acts: it shows "Thank you." for one pump call and
    // ends the program. Unhindered, the game window shows once, at the end of
    // the hand-over; "☆Show Help" shows the rules while idle.
    void choicesWhileMeasuring() {
        for (bool ending : {false, true}) {
            World world;
            world.readings = {100.0f}; // deadline 103: six readings of 100.5 to 103 count
            world.step = 0.5f;
            RecordingControl Label3{world, "Label3"};
            std::array<RecordingControl, 3> Label4{
                {{world, "Label4(1)"}, {world, "Label4(2)"}, {world, "Label4(3)"}}};
            std::vector<long> shownAt;
            Title title{
                TitleControls{Label3, ControlArray<Label, 3>({&Label4[0], &Label4[1], &Label4[2]})},
                world.services,
                TitleExits{[&] { shownAt.push_back(world.pump.calls); },
                           [&] { shownAt.push_back(-1); }}};
            std::string seen;
            auto look = [&](auto move) {
                move();
                for (const RecordingControl& line : Label4)
                    seen += line.foreColor() == Colour::rgb(255, 255, 0) ? 'Y' : 'K';
                seen += ' ';
            };
            look([&] { title.highlight(2); });
            look([&] { title.highlight(1); });
            title.choose(ending ? 2 : 4);
            world.pump.at(2, [&] {
                look([&] { title.highlight(3); });
                look([&] { title.clearHighlight(); });
                look([&] { title.highlight(2); });
                title.choose(2);
                title.choose(1);
                if (ending)
                    title.choose(3);
            });
            if (!ending) {
                title.choose(1);
                QCOMPARE(seen, "KYK YKK YKK KKK KKK ");
                QCOMPARE(shownAt, std::vector<long>{6 + 9});
                QCOMPARE(Label3.caption(), "9");
                continue;
            }
            QVERIFY_THROWS_EXCEPTION(ProgramEnded, title.choose(1));
            std::vector<std::string> captions;
            for (const Write& w : world.of("Label3", "Caption"))
                captions.push_back(std::to_string(w.pumpCall) + " " + w.value);
            QCOMPARE(captions,
                     (std::vector<std::string>{"0 しばらくお待ちください。", "2 Thank you."}));
            QCOMPARE(world.endedAtCall, 3L);
            QCOMPARE(shownAt, std::vector<long>{-1});
        }
    }
};

QTEST_GUILESS_MAIN(TestTitle)
#include "tst_title.moc"
