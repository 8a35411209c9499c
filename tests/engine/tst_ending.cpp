// The ending to the pump call: every write in order with the waits between
// them, the white flag's slide and colours, the black button's rise, and the
// window as the ending leaves it.
#include "testworld.h"

#include <QTest>

using namespace jorv;
using namespace jorv::test;

namespace {

// The writes the ending should make, each with the pump call it falls in.
struct Timeline {
    void write(const QString& line) { lines << QString("%1 %2").arg(call).arg(line); }
    void wait(long steps) { call += steps; }
    QStringList lines;
    long call = 0;
};

QStringList linesOf(const Trace& trace) {
    QStringList lines;
    for (const Write& w : trace.writes)
        lines << QString::fromStdString(std::to_string(w.pumpCall) + " " + w.control + "." +
                                        w.property + "=" + w.value);
    return lines;
}

} // namespace

class TestEnding : public QObject {
    Q_OBJECT
private slots:
    void endingFollowsItsScript_data() {
        QTest::addColumn<int>("speed");
        // 1.5 units, 1.2 units, a tenth, a twelfth and a quarter of a unit.
        QTest::addColumn<QList<int>>("waits");
        QTest::addColumn<int>("charDelay");
        QTest::newRow("3") << 3 << QList<int>{4, 4, 0, 0, 0} << 1;
        QTest::newRow("5") << 5 << QList<int>{8, 6, 0, 0, 1} << 2;
        QTest::newRow("0") << 0 << QList<int>{0, 0, 0, 0, 0} << 0;
        QTest::newRow("100") << 100 << QList<int>{150, 120, 10, 8, 25} << 50;
    }
    void endingFollowsItsScript() {
        QFETCH(int, speed);
        QFETCH(QList<int>, waits);
        QFETCH(int, charDelay);
        const int oneAndAHalf = waits[0], oneAndAFifth = waits[1], tenth = waits[2],
                  twelfth = waits[3], quarter = waits[4];
        GameWorld world;
        world.load(std::to_string(speed));
        Game& game = world.game;
        enter(game, 12);
        game.missesLeft = 7;
        world.パネル.setPanelText(2, "残りミス：7");
        world.trace.writes.clear();
        game.allClearEnding();

        Timeline t;
        for (int i = 1; i <= 5; ++i) {
            t.write(QString("Command1(%1).Enabled=False").arg(i));
            t.write(QString("メニュー各旗(%1).Enabled=False").arg(i));
        }
        t.write("Form.BackColor=RGB(192,192,255)");
        t.write("パネル.Panel1=");
        t.wait(oneAndAHalf);
        t.write("Label2.Caption=ALL Clear!");
        t.write("Label2.ForeColor=RGB(192,255,255)");
        t.write("Label2.Visible=True");
        t.write("Label1.Caption=全面終了しました");
        t.wait(3 * speed);
        t.write("Label1.Caption=お疲れ様でした");
        t.wait(3 * speed);
        t.write("Label1.Caption=");
        t.wait(oneAndAHalf);
        for (int i = 1; i <= 4; ++i) {
            t.write(QString("Shape1(%1).Visible=False").arg(i));
            t.wait(oneAndAFifth);
        }
        t.write("Shape1(5).Top=2625");
        const std::map<int, QString> reddening{
            {4900, "RGB(255,192,192)"}, {4300, "RGB(255,128,128)"}, {3750, "RGB(255,0,0)"}};
        for (int x = 5280; x >= 3600; x -= 10) {
            t.write(QString("Shape1(5).Left=%1").arg(x));
            if (reddening.contains(x))
                t.write("Shape1(5).FillColor=" + reddening.at(x));
            t.wait(tenth);
        }
        t.write("Command1(3).Caption=･_･ (F3)");
        t.write("Command1(3).Enabled=True");
        t.wait(oneAndAHalf);
        for (int y = 3225; y >= 3005; y -= 10) {
            t.write(QString("Command1(3).Top=%1").arg(y));
            t.wait(twelfth);
        }
        t.write("Beep.Beep=1");
        t.write("Command1(3).Caption=+_+ (F3)");
        t.wait(oneAndAFifth);
        t.write("Shape1(5).FillStyle=7");
        t.wait(quarter);
        t.write("Shape1(5).FillStyle=5");
        t.wait(quarter);
        t.write("Shape1(5).Visible=False");
        t.wait(oneAndAHalf);
        for (int i : {1, 2, 4, 5})
            t.write(QString("Command1(%1).Visible=False").arg(i));
        t.wait(speed);
        t.write("Command1(3).Visible=False");
        t.wait(speed);
        const QString theEnd = "ＴＨＥ ＥＮＤ";
        for (int k = 1; k <= theEnd.size(); ++k) {
            t.write("Label1.Caption=" + theEnd.left(k));
            t.wait(charDelay + 2);
        }
        t.write("進行ボタン.Caption=お疲れ様でした");
        t.write("進行ボタン.Visible=True");
        QCOMPARE(linesOf(world.trace), t.lines);

        // Counted apart from the script: the flag's 169 places and the
        // button's 23, each ending under the other.
        const std::vector<std::string> lefts = world.trace.values("Shape1(5)", "Left");
        const std::vector<std::string> tops = world.trace.values("Command1(3)", "Top");
        QCOMPARE(lefts.size(), std::size_t{169});
        QCOMPARE(lefts.back(), "3600");
        QCOMPARE(tops.size(), std::size_t{23});
        QCOMPARE(tops.back(), "3005");

        // The window as the ending leaves it; the stage and the misses are
        // untouched.
        QCOMPARE(world.Label1.caption(), "ＴＨＥ ＥＮＤ");
        QCOMPARE(visible(world.Shape1) + visible(world.Command1), "0000000000");
        QCOMPARE(enabled(world.メニュー各旗), "00000");
        QVERIFY(world.Label2.visible());
        QCOMPARE(world.パネル.panelText(1) + world.パネル.panelText(2), "残りミス：7");
        QCOMPARE(game.buttonAction, "クリア");
        QCOMPARE(game.stage, 12);
        QCOMPARE(game.missesLeft, 7);
        QCOMPARE(world.beeper.beeps, 1);
    }

    // Reached from the level select with white and black out of play, the
    // ending moves and recolours them unseen and never shows them.
    void hiddenFlagAndButtonStayHidden() {
        GameWorld world;
        world.load("3");
        world.Shape1[4].setVisible(false);
        world.Command1[2].setVisible(false);
        world.game.allClearEnding();
        for (const char* control : {"Shape1(5)", "Command1(3)"})
            QCOMPARE(world.trace.values(control, "Visible"),
                     (std::vector<std::string>{"False", "False"}));
        QCOMPARE(world.Shape1[4].left(), 3600);
        QCOMPARE(world.Command1[2].caption(), "+_+ (F3)");
    }
};

QTEST_GUILESS_MAIN(TestEnding)
#include "tst_ending.moc"
