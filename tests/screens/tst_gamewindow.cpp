// The game window offscreen: every control at its design, the menus and
// their commands, and the routing: the F-keys and the flag buttons reach the
// game inside the pump calls of a running wait, and only while flag input is
// open; the progress button and the status-bar panels reach it too.
#include "fonts.h"
#include "gamewindow.h"
#include "looks.h"
#include "numbers.h"
#include "program.h"
#include "testworld.h"

#include <QAccessible>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
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

// The game window as built, before its load.
struct DesignWindow {
    World world;
    Program program{world.services};
    GameWindow window{world.services, program};

    QWidget* widget(const QString& name) const { return window.findChild<QWidget*>(name); }
};

} // namespace

class TestGameWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerJapaneseFaces(); }

    // A fixed client area under the menu bar in light blue, no maximise or
    // minimise button; the labels in their faces and colours.
    void windowLabelsAndFlagsLookAsDesigned() {
        DesignWindow design;
        GameWindow& window = design.window;
        QCOMPARE(window.windowTitle(), "Hyper Jorv");
        const Qt::WindowFlags flags = window.windowFlags();
        QVERIFY(!(flags & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* client = window.centralWidget();
        QCOMPARE(client->size(), QSize(toPixels(7560), toPixels(4890)));
        QCOMPARE(client->y(), window.menuBar()->height());
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QCOMPARE(client->palette().color(QPalette::Window), QColor(192, 192, 255));
        QVERIFY(client->autoFillBackground());

        QCOMPARE(lookOf(*window.label1()),
                 "ＭＳ Ｐゴシック 36 regular " + buttonText() + " centred transparent");
        QCOMPARE(lookOf(*window.label2()),
                 "ＭＳ Ｐゴシック 72 regular RGB(255,128,0) centred transparent");
        QVERIFY(window.label2()->isHidden());
        QCOMPARE(window.progressButton()->font(), QApplication::font());
    }

    // The banner sizes itself to each text about its design centre, inside
    // the window, and the flag buttons stay in front of it.
    void bannerSizesItselfAndStaysBehindTheButtons() {
        ShownWindow shown("0");
        GameWindow& window = shown.window;
        QLabel* banner = window.label2();
        const int centre = toPixels(1875) + toPixels(3705) / 2;
        QVERIFY(std::abs(banner->geometry().center().x() - centre) <= 1);
        QCOMPARE(banner->y(), toPixels(1725));

        banner->show();
        QWidget* red = window.flagButton(1);
        const QPoint overlap(red->geometry().center().x(), red->y() + 1);
        QVERIFY(banner->geometry().contains(overlap));
        QCOMPARE(window.centralWidget()->childAt(overlap), red);

        // Level 13 plays the ending at once at speed 0.
        shown.world.inputBox.answers = {"MPW%7140", "13"};
        QTest::mouseDClick(window.panel(2), Qt::LeftButton);
        QCOMPARE(banner->text(), "ALL Clear!");
        QVERIFY(banner->width() > toPixels(3705));
        QVERIFY(banner->x() >= 0 && banner->geometry().right() < toPixels(7560));
    }

    // Panels 2 and 3 keep their widths and the first takes the rest; the
    // clock shows hours and minutes; the progress bar lies in front of the
    // right part of panel 1.
    void statusBarHoldsThreePanelsUnderTheProgressBar() {
        ShownWindow shown("10");
        GameWindow& window = shown.window;
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* client = window.centralWidget();
        auto inClient = [&](QWidget* widget) {
            return QRect(widget->mapTo(client, QPoint(0, 0)), widget->size());
        };
        const QRect bar = inClient(window.findChild<QStatusBar*>("パネル"));
        const QRect p1 = inClient(window.panel(1));
        const QRect p2 = inClient(window.panel(2));
        const QRect p3 = inClient(window.panel(3));
        QCOMPARE(p2.width(), toPixels(1440));
        QCOMPARE(p3.width(), toPixels(1000));
        QVERIFY(p1.left() < 8 && p1.right() < p2.left() && p2.right() < p3.left());
        QVERIFY(p3.right() >= bar.right() - 8);
        for (const QRect& panel : {p1, p2, p3})
            QVERIFY(bar.contains(panel));
        QCOMPARE(window.panel(2)->text(), "残りミス：10");
        QVERIFY(QRegularExpression("^([0-9]|1[0-9]|2[0-3]):[0-5][0-9]$")
                    .match(window.panel(3)->text())
                    .hasMatch());

        const QRect progress = window.progressBar()->geometry();
        QVERIFY(progress.left() > p1.left() && progress.right() <= p1.right());
        QCOMPARE(client->childAt(progress.center()), window.progressBar());
        QCOMPARE(window.progressBar()->minimum(), 0);
        QCOMPARE(window.progressBar()->maximum(), 14);

        // It looks like a status bar in the platform's button face, also on
        // the last stage's light red; the first panel's text stays clear of
        // the progress bar.
        QPalette lightRed = client->palette();
        lightRed.setColor(QPalette::Window, QColor(255, 192, 192));
        client->setPalette(lightRed);
        const QImage shot = client->grab().toImage();
        const QPoint face(p2.right() - 3, p2.center().y()); // right of "残りミス：10"
        QCOMPARE(shot.pixelColor(face), QApplication::palette().color(QPalette::Button));
        auto* panel1 = dynamic_cast<FittingLabel*>(window.panel(1));
        QVERIFY(panel1);
        QVERIFY(panel1->textRoom().translated(p1.topLeft()).right() < progress.left());
    }

    void menusHoldTheirItemsAccessKeysAndShortcuts() {
        DesignWindow design;
        QStringList tree;
        for (QAction* menu : design.window.menuBar()->actions()) {
            tree << menu->objectName() + " " + menu->text();
            for (QAction* item : menu->menu()->actions())
                tree << "  " + item->objectName() + " " +
                            (item->isSeparator() ? "-" : item->text()) + " " +
                            item->shortcut().toString() + (item->isEnabled() ? "" : " disabled");
        }
        QCOMPARE(tree, (QStringList{
                           "メニューゲーム ゲーム(&G)",
                           "  メニュー終了 終了(&Q) ",
                           "メニュー旗 旗(&F)",
                           "  メニュー各旗(1) 赤 &Red F1",
                           "  メニュー各旗(2) 黄 &Yellow F2",
                           "  メニュー各旗(3) 黒 &Black F3",
                           "  メニュー各旗(4) 緑 &Green F4",
                           "  メニュー各旗(5) 白 &White F5",
                           "メニューヘルプ ヘルプ(&H)",
                           "  メニュー説明 ルールの説明(&R) ",
                           "  区分線31 - ",
                           "  メニューバージョン バージョン情報(&A) ",
                       }));
    }

    // The version box is the message box's; exit and closing the window end
    // the program in the pump call they come in, also in the middle of a
    // wait.
    void menuCommandsReachTheirServices() {
        ShownWindow shown("10");
        World& world = shown.world;
        GameWindow& window = shown.window;
        auto item = [&](const char* name) { return window.findChild<QAction*>(name); };

        item("メニューバージョン")->trigger();
        QCOMPARE(world.messageBox.calls.size(), std::size_t{1});
        const BoxCall& box = world.messageBox.calls[0];
        QCOMPARE(box.prompt, "Hyper Jorv\r\nバージョン 1.2\r\nProduced By QLM");
        QCOMPARE(box.style, 64);
        QCOMPARE(box.title, "バージョン情報");
        QVERIFY(!world.ender.ended);

        world.pump.at(7, [&] { item("メニュー終了")->trigger(); });
        world.pump.at(8, [] { throw Stop{}; });
        QVERIFY_THROWS_EXCEPTION(Stop, window.game().進行ボタンClick());
        QCOMPARE(world.ender.endedAtCall, 7L);

        world.ender.ended = false;
        world.pump.at(12, [&] { window.close(); });
        world.pump.at(13, [] { throw Stop{}; });
        QVERIFY_THROWS_EXCEPTION(Stop, window.game().進行ボタンClick());
        QCOMPARE(world.ender.endedAtCall, 12L);
    }

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
        QStringList redRead; // as assistive technology reads the square
        auto look = [&] {
            red.push_back(game.flagUp(1));
            redTop.push_back(toTwips(window.flagShape(1)->y()));
            QAccessibleInterface* flag = QAccessible::queryAccessibleInterface(window.flagShape(1));
            redRead.append(flag->text(QAccessible::Name) + " " +
                           flag->text(QAccessible::Description) +
                           (flag->state().checked ? " checked" : ""));
        };
        world.pump.at(20, [&] { QTest::keyClick(&window, Qt::Key_F1); });
        world.pump.at(21, [&] {
            look();
            QTest::mouseClick(window.flagButton(1), Qt::LeftButton);
        });
        world.pump.at(22, look);
        // F1 held down: the key repeats, and the flag goes up once.
        world.pump.at(64, [&] {
            for (bool repeat : {false, true, true, true})
                QTest::simulateEvent(window.windowHandle(), true, Qt::Key_F1, {}, {}, repeat);
            QTest::simulateEvent(window.windowHandle(), false, Qt::Key_F1, {}, {}, false);
        });
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
        QCOMPARE(redRead,
                 (QStringList{"赤の旗 さがっている", "赤の旗 さがっている",
                              "赤の旗 あがっている checked", "赤の旗 あがっている checked"}));
        QCOMPARE(game.flagUp.items_, (std::array<bool, 5>{true, false, false, false, true}));
    }

    // While the progress button is hidden nothing a player presses by
    // accident reaches it, in any wait: Space, Return, keypad Enter, Tab then
    // Space, a click or an accessibility "Press". The focus never rests on it;
    // once it is shown again, it has the focus and Space presses it.
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
            world.random.values = {0.0f, 0.9f, 0.0f, 0.0f, 0.0f}; // 赤あげて, not answered
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(game.buttonAction, "ミス");
            QCOMPARE(QApplication::focusWidget(), button);
            key(Qt::Key_Space); // the replay runs to a miss of its own
            QCOMPARE(captions.count("それでは、開始します！"), 1);
            QCOMPARE(captions.count("ミスはあと9回です。"), 1);
            QVERIFY(!captions.contains("レベル2"));
            QCOMPARE(game.missesLeft, 9);
            QCOMPARE(game.stage, 1);
        }
        QVERIFY(!button->isHidden());
        QVERIFY(strays > 20);
    }

    // X repeats a held key as a release and a press at one moment, which Qt
    // does not always mark as a repeat: such a press is no new press either.
    void aPressAtTheMomentOfItsReleaseIsTheKeysRepeat() {
        DesignWindow design;
        design.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&design.window));
        QWindow* window = design.window.windowHandle();
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
