// The game window's routing, offscreen: the F-keys and the flag buttons reach
// the game inside the pump calls of a running wait, and only while flag input
// is open; the progress button and the status-bar panels reach it too.
#include "gamewindow.h"
#include "numbers.h"
#include "program.h"
#include "testworld.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace jorv;
using namespace jorv::test;

namespace {

// The real game window in the test world, loaded at `speed` and shown; the
// pump hands Qt's events over in every call.
struct ShownWindow {
    explicit ShownWindow(const std::string& speed) {
        world.ender.unwind = false;
        world.pump.onEveryCall = [](long) { QCoreApplication::processEvents(); };
        titleLabel3.setCaption(speed);
        window.load(titleLabel3, titleWindow);
        window.show();
    }
    World world;
    Program program{world.services};
    GameWindow window{world.services, program};
    RecordingControl titleLabel3{world.trace, "TitleLabel3"};
    RecordingControl titleWindow{world.trace, "TitleForm"};
};

} // namespace

class TestGameWindow : public QObject {
    Q_OBJECT
private slots:
    void flagKeysAndButtonsWorkOnlyWhileInputIsOpen() {
        ShownWindow shown("10");
        World& world = shown.world;
        GameWindow& window = shown.window;
        QVERIFY(QTest::qWaitForWindowActive(&window));
        Game& game = window.game();

        // At speed 10 the stage's name shows from call 30 and flag input
        // opens at call 60, before the wait that ends at call 70.
        std::vector<bool> red;
        std::vector<int> redTop;
        auto look = [&] {
            red.push_back(game.flagUp(1));
            redTop.push_back(toTwips(window.flagShape(1)->y()));
        };
        world.pump.at(20, [&] { QTest::keyClick(&window, Qt::Key_F1); });
        world.pump.at(21, [&] {
            look();
            QTest::mouseClick(window.flagButton(1), Qt::LeftButton);
        });
        world.pump.at(22, look);
        world.pump.at(64, [&] { QTest::keyClick(&window, Qt::Key_F1); });
        world.pump.at(65, [&] {
            look();
            QTest::keyClick(&window, Qt::Key_F3); // black is not in play
            QTest::mouseClick(window.flagButton(5), Qt::LeftButton);
        });
        world.pump.at(66, [&] {
            look();
            throw Stop{};
        });
        try {
            game.setUpStage();
        } catch (const Stop&) {
        }
        QCOMPARE(red, (std::vector<bool>{false, false, true, true}));
        QCOMPARE(redTop, (std::vector<int>{2625, 2625, 2040, 2040}));
        QCOMPARE(game.flagUp.items_, (std::array<bool, 5>{true, false, false, false, true}));
    }

    // The press runs play inside the click, which returns at the miss of the
    // first command; a double-click on a panel then opens the level select.
    void progressButtonAndPanelsReachTheGame() {
        ShownWindow shown("0");
        World& world = shown.world;
        GameWindow& window = shown.window;
        world.random.values = {0.0f, 0.9f, 0.0f, 0.0f, 0.0f}; // 赤あげて
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QTest::mouseDClick(window.panel(3), Qt::LeftButton);
        QCOMPARE(world.inputBox.calls.size(), std::size_t{1});
        QTest::mouseClick(window.progressButton(), Qt::LeftButton);
        QCOMPARE(window.game().buttonAction, "ミス");
        QCOMPARE(window.label1()->text(), "赤あげて");
        QVERIFY(window.label2()->isVisible());
        QVERIFY(window.progressButton()->isVisible());
        QTest::mouseDClick(window.panel(1), Qt::LeftButton);
        QCOMPARE(world.inputBox.calls.size(), std::size_t{2});
    }
};

QTEST_MAIN(TestGameWindow)
#include "tst_gamewindow.moc"
