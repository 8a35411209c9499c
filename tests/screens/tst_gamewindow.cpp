// The game window offscreen, as the player meets it: the F-keys and the flag
// buttons reach the game inside the pump calls of a running wait and only
// while flag input is open, a held key toggles once, a hidden button never
// acts, the menus and the panels reach their services, and the status bar
// and the banner keep out of the way of what they cover.
#include "fonts.h"
#include "gamewindow.h"
#include "numbers.h"
#include "program.h"
#include "qtcontrols.h"
#include "testworld.h"

#include <QAccessible>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QWindow>

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
    void initTestCase() { registerJapaneseFaces(); }

    // The status bar looks like one in the platform's button face, also on
    // the last stage's light red; the progress bar lies in front of panel 1,
    // whose text stays clear of it. The banner stays behind the flag buttons.
    void statusBarAndBannerKeepClearOfWhatTheyCover() {
        ShownWindow shown("0");
        GameWindow& window = shown.window;
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* client = window.centralWidget();
        QPalette lightRed = client->palette();
        lightRed.setColor(QPalette::Window, QColor(255, 192, 192));
        client->setPalette(lightRed);
        const QImage shot = client->grab().toImage();
        QLabel* panel2 = window.panel(2);
        const QPoint face =
            panel2->mapTo(client, QPoint(panel2->width() - 3, panel2->height() / 2));
        QCOMPARE(shot.pixelColor(face), QApplication::palette().color(QPalette::Button));
        const QRect progress = window.progressBar()->geometry();
        QCOMPARE(client->childAt(progress.center()), window.progressBar());
        auto* panel1 = dynamic_cast<FittingLabel*>(window.panel(1));
        QVERIFY(panel1);
        QVERIFY(panel1->textRoom().translated(panel1->mapTo(client, QPoint(0, 0))).right() <
                progress.left());

        window.label2()->show();
        QWidget* red = window.flagButton(1);
        const QPoint overlap(red->geometry().center().x(), red->y() + 1);
        QVERIFY(window.label2()->geometry().contains(overlap));
        QCOMPARE(client->childAt(overlap), red);
    }

    // The version box is the message box's, with its information icon; exit
    // and closing the window end the program in the pump call they come in,
    // also in the middle of a wait.
    void menuCommandsReachTheirServices() {
        ShownWindow shown("10");
        World& world = shown.world;
        GameWindow& window = shown.window;
        auto item = [&](const char* name) { return window.findChild<QAction*>(name); };
        item("メニューバージョン")->trigger();
        QVERIFY(world.messageBox.calls ==
                std::vector<std::string>{
                    "Hyper Jorv\r\nバージョン 1.2\r\nProduced By QLM 64 バージョン情報"});

        std::vector<long> ends;
        world.pump.at(7, [&] { item("メニュー終了")->trigger(); });
        world.pump.at(12, [&] { window.close(); });
        world.pump.onEveryCall = [&](long) {
            QCoreApplication::processEvents();
            if (world.ender.ended)
                ends.push_back(world.ender.endedAtCall);
            world.ender.ended = false;
            if (ends.size() == 2)
                throw Stop{};
        };
        QVERIFY_THROWS_EXCEPTION(Stop, window.game().進行ボタンClick());
        QCOMPARE(ends, (std::vector<long>{7, 12}));
    }

    // At speed 10 the stage's name shows from call 30 and flag input opens
    // at call 60, before the wait that ends at call 70. F1 held down repeats,
    // and the flag goes up once; assistive technology reads it.
    void flagKeysAndButtonsWorkOnlyWhileInputIsOpen() {
        ShownWindow shown("10");
        World& world = shown.world;
        GameWindow& window = shown.window;
        QVERIFY(QTest::qWaitForWindowActive(&window));
        Game& game = window.game();
        QStringList red; // as the game has it, as drawn and as read aloud
        auto look = [&] {
            QAccessibleInterface* flag = QAccessible::queryAccessibleInterface(window.flagShape(1));
            red << QString("%1 %2 %3 %4%5")
                       .arg(game.flagUp(1))
                       .arg(toTwips(window.flagShape(1)->y()))
                       .arg(flag->text(QAccessible::Name), flag->text(QAccessible::Description),
                            flag->state().checked ? " checked" : "");
        };
        world.pump.at(20, [&] {
            QTest::keyClick(&window, Qt::Key_F1);
            QTest::mouseClick(window.flagButton(1), Qt::LeftButton);
            look();
        });
        world.pump.at(64, [&] {
            for (bool repeat : {false, true, true, true})
                QTest::simulateEvent(window.windowHandle(), true, Qt::Key_F1, {}, {}, repeat);
            QTest::simulateEvent(window.windowHandle(), false, Qt::Key_F1, {}, {}, false);
        });
        world.pump.at(65, [&] {
            look();
            QTest::keyClick(&window, Qt::Key_F3); // black is not in play
            QTest::keyClick(&window, Qt::Key_F5);
            QTest::mouseClick(window.flagButton(5), Qt::LeftButton);
            QTest::mouseClick(window.flagButton(5), Qt::LeftButton);
            throw Stop{};
        });
        QVERIFY_THROWS_EXCEPTION(Stop, game.setUpStage());
        QCOMPARE(red,
                 (QStringList{"0 2625 赤の旗 さがっている", "1 2040 赤の旗 あがっている checked"}));
        QCOMPARE(bits(game.flagUp), "10001");
    }

    // X repeats a held key as a release and a press at one moment, which Qt
    // does not always mark as a repeat: such a press is no new press either.
    void aPressAtTheMomentOfItsReleaseIsTheKeysRepeat() {
        ShownWindow shown("0");
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        QWindow* window = shown.window.windowHandle();
        auto overridden = [&](ulong timestamp, bool repeat) {
            QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_F1, Qt::NoModifier, {}, repeat);
            press.setTimestamp(timestamp);
            press.ignore();
            QCoreApplication::sendEvent(window, &press);
            return press.isAccepted();
        };
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_F1, Qt::NoModifier);
        release.setTimestamp(5000);
        QCoreApplication::sendEvent(window, &release);
        QVERIFY(overridden(5000, false));
        QVERIFY(!overridden(5100, false));
        QVERIFY(overridden(5100, true));
    }

    // While the progress button is hidden nothing a player presses by
    // accident reaches it, in any wait: Space, Return, keypad Enter, Tab then
    // Space, a click or an accessibility "Press". The focus never rests on it;
    // once it is shown again, it has the focus and Space presses it. A
    // double-click on any panel then opens the level select.
    void strayKeysNeverPressTheHiddenProgressButton_data() {
        QTest::addColumn<bool>("ending");
        QTest::newRow("start, stage, miss and replay") << false;
        QTest::newRow("ending from the level select") << true;
    }
    void strayKeysNeverPressTheHiddenProgressButton() {
        QFETCH(bool, ending);
        ShownWindow shown("3");
        World& world = shown.world;
        GameWindow& window = shown.window;
        QPushButton* button = window.progressButton();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QStringList captions;
        int strays = 0;
        auto key = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : &window, key, modifiers);
        };
        world.pump.onEveryCall = [&](long) {
            QCoreApplication::processEvents();
            if (captions.isEmpty() || captions.back() != window.label1()->text())
                captions << window.label1()->text();
            if (!button->isHidden())
                return;
            ++strays;
            QVERIFY(QApplication::focusWidget() != button);
            key(Qt::Key_Space);
            key(Qt::Key_Return);
            key(Qt::Key_Enter, Qt::KeypadModifier);
            if (!window.flagButton(1)->isEnabled()) {
                key(Qt::Key_Tab);
                key(Qt::Key_Space);
            }
            QTest::mouseClick(button, Qt::LeftButton);
            QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        };
        Game& game = window.game();

        if (ending) {
            world.inputBox.answers = {"MPW%7140", "13"};
            QTest::mouseDClick(window.panel(1), Qt::LeftButton);
            QCOMPARE(game.buttonAction, "クリア");
            QCOMPARE(button->text(), "お疲れ様でした");
            QVERIFY(!world.ender.ended);
            QVERIFY(!captions.contains("それでは、開始します！"));
        } else {
            // 赤あげて, answered with white's button, which takes the focus.
            world.random.values = {0.0f, 0.9f, 0.0f, 0.0f, 0.0f};
            world.pump.at(40, [&] { QTest::mouseClick(window.flagButton(5), Qt::LeftButton); });
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(game.buttonAction, "ミス");
            QCOMPARE(QApplication::focusWidget(), button);
            key(Qt::Key_Space); // the replay runs to a miss of its own
            QCOMPARE(captions.count("それでは、開始します！"), 1);
            QCOMPARE(captions.count("ミスはあと9回です。"), 1);
            QVERIFY(!captions.contains("レベル2"));
            QCOMPARE(game.missesLeft, 9);
            for (int panel : {1, 2, 3})
                QTest::mouseDClick(window.panel(panel), Qt::LeftButton);
            QCOMPARE(world.inputBox.calls.size(), std::size_t{3});
        }
        QVERIFY(!button->isHidden());
        QVERIFY(strays > 20);
    }
};

QTEST_MAIN(TestGameWindow)
#include "tst_gamewindow.moc"
