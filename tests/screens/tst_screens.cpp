// The windows offscreen as the player meets them. CTest plays the games also at
// twice the scale and with a 12-point UI font (JORV_UI_POINTS).
#include "application.h"
#include "captionbutton.h"
#include "fittinglabel.h"
#include "fonts.h"
#include "gamewindow.h"
#include "helpviewer.h"
#include "narrator.h"
#include "numbers.h"
#include "program.h"
#include "qtcontrols.h"
#include "qtservices.h"
#include "shrunktofit.h"
#include "testworld.h"
#include "titlescreen.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>

using namespace jorv;
using namespace jorv::test;

namespace {

// The program in the test world; its pump hands Qt's events over.
struct Started {
    explicit Started(bool showTitle = false) {
        world.unwind = false;
        world.pump.onEveryCall = [](long) { QCoreApplication::processEvents(); };
        if (showTitle)
            program.start();
        title = program.titleScreen();
    }
    World world;
    Program program{world.services};
    TitleScreen* title;
};

// The real game window in the test world, loaded at `speed` and shown.
struct ShownWindow : Started {
    explicit ShownWindow(const std::string& speed) {
        titleLabel3.setCaption(speed);
        window.load(titleLabel3, titleWindow);
        window.show();
    }
    GameWindow window{world.services, [this] { program.showHelp(); }};
    RecordingControl titleLabel3{world, "TitleLabel3"}, titleWindow{world, "TitleForm"};
};

// The title screen's lines: Y lit and focused, y lit, F focused, - neither.
QString linesOf(const TitleScreen& title) {
    QString lines;
    for (int i = 1; i <= 3; ++i) {
        const bool lit = title.choice(i)->palette().color(QPalette::WindowText) == Qt::yellow;
        lines += title.choice(i)->hasFocus() ? (lit ? 'Y' : 'F') : (lit ? 'y' : '-');
    }
    return lines;
}

// The lines after the pointer moved over `widget`.
QString hovering(TitleScreen& title, QWidget* widget, QPoint at = {}) {
    QTest::mouseMove(widget, at.isNull() ? widget->rect().center() : at);
    return linesOf(title);
}

// A preamble, then "#1<word>", "body 1" and so on up to n.
QByteArray numberedSections(int n, const QByteArray& word = "") {
    QByteArray bytes = "Hyper Jorv\r\n";
    for (int k = 1; k <= n; ++k)
        bytes += "#" + QByteArray::number(k) + word + "\r\nbody " + QByteArray::number(k) + "\r\n";
    return bytes;
}

// The titles, the chosen one, its text, the sizes checked, the text's points.
QString state(const HelpViewer& viewer) {
    QStringList titles, checked;
    for (int i = 0; i < viewer.combo1()->count(); ++i)
        titles << viewer.combo1()->itemText(i);
    for (int Index : {9, 12, 16})
        if (viewer.サイズ(Index)->isChecked())
            checked << QString::number(Index);
    return QString("[%1] %2: %3 / %4 at %5")
        .arg(titles.join(","), QString::number(viewer.combo1()->currentIndex() + 1),
             viewer.text1()->toPlainText(), checked.join(","),
             QString::number(viewer.text1()->font().pointSizeF()));
}

// The controls whose text is cut: a caption beyond its button's frame, a label's
// ink beyond its room, its contents (a self-sizing label: its box) or window.
QStringList unfitIn(const QWidget& window) {
    QStringList found;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        QRect room, ink;
        if (control->isHidden()) {
            continue;
        } else if (const auto* button = dynamic_cast<const CaptionButton*>(control)) {
            ink = QFontMetrics(button->captionFont())
                      .boundingRect(button->captionRoom(), CaptionButton::captionFlags,
                                    button->text());
            room = button->captionRoom() & button->rect().adjusted(2, 2, -2, -2);
        } else if (const auto* label = dynamic_cast<const FittingLabel*>(control)) {
            room = label->textRoom();
            if (!label->text().isEmpty())
                ink = inkOf(label->textFont(), label->text(), room, label->alignment());
        } else if (const auto* label = qobject_cast<const QLabel*>(control);
                   label && !label->text().isEmpty()) {
            ink = inkOf(label->font(), label->text(), label->contentsRect(), label->alignment())
                      .translated(label->pos());
            room = dynamic_cast<const SelfSizingLabel*>(label)
                       ? label->geometry()
                       : label->contentsRect().translated(label->pos());
            room &= label->parentWidget()->rect();
        }
        if (!ink.isNull() && !room.contains(ink))
            QDebug(&found.emplace_back()) << control->objectName() << control->property("text")
                                          << "inked at" << ink << "in" << room;
    }
    return found;
}

// The key that flag i's button names, "赤 (F1)", as a player reads it.
Qt::Key keyOf(const GameWindow& window, int i) {
    const QString caption = window.flagButton(i)->text();
    return Qt::Key(Qt::Key_F1 + caption.section("(F", 1).section(')', 0, 0).toInt() - 1);
}

QWidget* focusOr(QWidget* fallback) {
    return QApplication::focusWidget() ? QApplication::focusWidget() : fallback;
}

// The game window at speed 1, checked and played in every pump call.
struct Play : ShownWindow {
    Play()
        : ShownWindow("1") {
        world.pump.onEveryCall = [this](long call) {
            QCoreApplication::processEvents();
            if (captions.isEmpty() || captions.back() != window.label1()->text())
                captions << window.label1()->text();
            for (const QString& fault : unfitIn(window))
                faults << fault;
            if (window.progressButton()->isHidden()) {
                if (QApplication::focusWidget() == window.progressButton())
                    faults << "the focus rests on the hidden progress button";
                if (call % 7 == 0)
                    stray();
            }
            // Once the player stops answering, it never starts again.
            if (window.game().stage >= answerUpTo)
                answerUpTo = 0;
            else
                answer();
        };
    }
    // While the progress button is hidden, Space, Enter (but on an open flag
    // button), a click, a Press on it and closed flags' keys do nothing.
    void stray() {
        QPushButton* button = window.progressButton();
        const bool open = window.flagButton(1)->isEnabled();
        const std::string flags = bits(window.game().flagUp);
        QWidget* focus = focusOr(&window);
        if (!qobject_cast<QPushButton*>(focus) || !open) {
            for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return})
                QTest::keyClick(focus, key);
            QTest::keyClick(focus, Qt::Key_Enter, Qt::KeypadModifier);
        }
        if (!open) {
            for (int i = 1; i <= 5; ++i)
                QTest::keyClick(&window, keyOf(window, i));
            if (bits(window.game().flagUp) != flags)
                faults << "a flag key moved a flag while flag input was closed";
        }
        QTest::mouseClick(button, Qt::LeftButton);
        QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
    }
    // Moves each flag the command needs, by key, click or held key: once.
    void answer() {
        Game& game = window.game();
        for (int i = 1; i <= 5; ++i) {
            if (game.flagUp(i) == game.expectedUp(i) || !game.flagInPlay(i))
                continue;
            const int way = answers++ % 3;
            if (way == 0) {
                QTest::keyClick(&window, keyOf(window, i));
            } else if (way == 1) {
                QTest::mouseClick(window.flagButton(i), Qt::LeftButton);
            } else {
                for (bool repeat : {false, true, true, true})
                    QTest::simulateEvent(window.windowHandle(), true, keyOf(window, i), {}, {},
                                         repeat);
                QTest::simulateEvent(window.windowHandle(), false, keyOf(window, i), {}, {}, false);
            }
            if (game.flagUp(i) != game.expectedUp(i))
                faults << QString("flag %1 did not move once by way %2").arg(i).arg(way);
            auto* flag = QAccessible::queryAccessibleInterface(window.flagShape(i));
            if (flag->state().checked != game.flagUp(i))
                faults << QString("flag %1 reads to a screen reader other than it stands").arg(i);
        }
    }
    int answerUpTo = 13; // the stage from which on the player no longer answers
    int answers = 0;
    QSet<QString> faults;
    QStringList captions;
};

// Compares a window's picture with its golden copy in tests/screens/pictures,
// or takes it anew where JORV_RETAKE_PICTURES is set. A pixel differs where a
// channel is more than 24 away; up to 40 such pixels are the anti-aliasing of
// another machine, more are a change that a player sees. On a failure the
// picture and its differing pixels (red) are written beside the test program.
QString differs(const QImage& picture, const QString& name) {
    const QString golden = QStringLiteral(JORV_PICTURES "/%1.png").arg(name);
    const QImage actual = picture.convertToFormat(QImage::Format_ARGB32);
    if (qEnvironmentVariableIsSet("JORV_RETAKE_PICTURES"))
        return actual.save(golden) ? QString() : "cannot write " + golden;
    const QImage expected = QImage(golden).convertToFormat(QImage::Format_ARGB32);
    QImage difference(actual.size(), QImage::Format_ARGB32);
    difference.fill(Qt::white);
    int count = 0;
    for (int y = 0; y < actual.height() && actual.size() == expected.size(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), e = expected.pixel(x, y);
            if (std::max({std::abs(qRed(a) - qRed(e)), std::abs(qGreen(a) - qGreen(e)),
                          std::abs(qBlue(a) - qBlue(e)), std::abs(qAlpha(a) - qAlpha(e))}) > 24)
                difference.setPixel(x, y, qRgb(255, 0, 0)), ++count;
        }
    if (actual.size() == expected.size() && count <= 40)
        return {};
    const QString stem = QCoreApplication::applicationDirPath() + "/picture-" + name;
    actual.save(stem + ".png");
    difference.save(stem + "-difference.png");
    QString fault;
    QDebug(&fault).noquote() << name + ":" << count << "pixels differ," << actual.size()
                             << "against" << expected.size() << "; see"
                             << stem + ".png and -difference.png";
    return fault;
}

} // namespace

class TestScreens : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;

    void writeRules(const QByteArray& bytes) {
        QFile file(folder_.filePath(helpFileName));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

private slots:
    void initTestCase() {
        registerJapaneseFaces();
        QVERIFY(QDir::setCurrent(folder_.path()));
        if (const int points = qEnvironmentVariableIntValue("JORV_UI_POINTS")) {
            QFont font = QApplication::font();
            font.setPointSize(points);
            QApplication::setFont(font);
        }
    }

    // The pointer lights the line it is over, not through Label1; "☆Game Start"
    // measures, hands over and shows the game window where the title stood.
    void gameStartShowsTheReadyGameWindowWhereTheTitleStood() {
        Started started(true);
        World& world = started.world;
        QPointer<TitleScreen> title = started.title;
        title->move(40, 60);
        QVERIFY(QTest::qWaitForWindowExposed(title));
        world.readings = {100.0f}; // deadline 103: six pump calls to measure
        world.step = 0.5f;
        // Label1 keeps the pointer's moves from the window; the background does not.
        QStringList seen{hovering(*title, title->choice(2))};
        seen << hovering(*title, title->findChild<QLabel*>("Label1"));
        seen << hovering(*title, title, QPoint(toPixels(6500), toPixels(3000)));
        QTest::mouseClick(title->choice(1), Qt::LeftButton);
        QCOMPARE(seen.join(' '), "-y- -y- ---");
        GameWindow* game = started.program.gameWindow();
        QVERIFY(game && game->isVisible() && title->isHidden() && !started.program.titleScreen() &&
                !started.program.helpViewer() && !world.ended);
        QCOMPARE(game->game().speedCount, 9); // six pump calls measured, times 1.5
        QCOMPARE(game->pos(), QPoint(40, 60));
        QCOMPARE(game->windowIcon().pixmap(32, 32).toImage(),
                 title->windowIcon().pixmap(32, 32).toImage());
        QTRY_VERIFY(!title); // deleted once its click handler has returned
    }

    // The keyboard reaches the choices in their order, from none lit at the
    // start, lighting each as the pointer does; Return, Enter and Space
    // choose. Once the measurement has begun, only the end answers, and the
    // line lit at its start stays lit until the pointer crosses the background.
    void theTitleByKeyboard() {
        Started started(true);
        World& world = started.world;
        TitleScreen* title = started.title;
        QVERIFY(QTest::qWaitForWindowActive(title));
        QStringList seen;
        auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            seen << linesOf(*title);
        };
        QCOMPARE(QApplication::focusWidget(), title);
        for (Qt::Key key :
             {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Down, Qt::Key_Up,
              Qt::Key_Up, Qt::Key_End, Qt::Key_Home, Qt::Key_Right, Qt::Key_Left})
            press(key);
        press(Qt::Key_Tab, Qt::ShiftModifier);
        press(Qt::Key_Up);
        QCOMPARE(seen.join(' '), "Y-- -Y- --Y Y-- -Y- Y-- --Y --Y Y-- -Y- Y-- --Y -Y-");
        // A screen reader reads a choice as a button, and presses it.
        QAccessibleInterface* choice = QAccessible::queryAccessibleInterface(title->choice(2));
        QCOMPARE(choice->role(), QAccessible::Button);
        QCOMPARE(choice->text(QAccessible::Name), "☆Show Help");
        choice->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(!started.program.helpViewer()); // once the reader's request has returned
        QTRY_VERIFY(started.program.helpViewer() && !world.ended);
        seen.clear();
        world.readings = {100.0f}; // the measurement counts for six pump calls
        world.step = 0.5f;
        world.pump.at(2, [&] {
            press(Qt::Key_Down), press(Qt::Key_Return), press(Qt::Key_Enter, Qt::KeypadModifier);
        });
        std::string thanked;
        world.pump.at(5, [&] { thanked = title->label3().caption(); });
        world.pump.at(4, [&] {
            press(Qt::Key_Down);
            seen << hovering(*title, title, QPoint(toPixels(6500), toPixels(3000)));
            press(Qt::Key_Space);
        });
        delete started.program.helpViewer();
        title->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(title));
        press(Qt::Key_Home);
        QTest::keyClick(title->choice(1), Qt::Key_Return);
        QCOMPARE(seen.join(' '), "Y-- yF- yF- yF- y-F --F --F");
        // "Thank you." stands for one pump call.
        QVERIFY(!started.program.helpViewer() && world.ended && world.endedAtCall == 5);
        QCOMPARE(thanked, "Thank you.");
    }

    // Panel 1's text keeps clear of the progress bar in front of it; the
    // banner lies behind the flags' buttons.
    void whatLiesInFrontOfWhat() {
        ShownWindow shown("10");
        GameWindow& window = shown.window;
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* client = window.centralWidget();
        auto* panel1 = static_cast<FittingLabel*>(window.panel(1));
        QVERIFY(panel1->textRoom().translated(panel1->mapTo(client, QPoint())).right() <
                window.progressBar()->x());
        window.label2()->show();
        QWidget* red = window.flagButton(1);
        const QPoint overlap(red->geometry().center().x(), red->y() + 1);
        QVERIFY(window.label2()->geometry().contains(overlap));
        QCOMPARE(client->childAt(overlap), red);
    }

    // A flag key pressed at the very moment of its release is X's repeat,
    // a press after a pause is not; also where an accessibility bridge takes
    // the keys away and posts copies without time stamps, as Qt's does once a
    // screen reader listens.
    void aPressAtItsKeysReleaseIsARepeat() {
        ShownWindow shown("10");
        Game& game = shown.window.game();
        game.flagInPlay(1) = true;
        game.setFlagInput(true);
        QVERIFY(QTest::qWaitForWindowActive(&shown.window));
        QWindow* window = shown.window.windowHandle();
        struct Bridge : QObject {
            bool eventFilter(QObject* target, QEvent* event) override {
                if (!event->spontaneous() || !dynamic_cast<QKeyEvent*>(event))
                    return false;
                auto* key = static_cast<QKeyEvent*>(event);
                QCoreApplication::postEvent(target, new QKeyEvent(key->type(), key->key(), {}));
                return true;
            }
        } bridge;
        qApp->installEventFilter(&bridge);
        // As the X platform delivers a key: a press first to the shortcuts.
        auto x = [&](QEvent::Type type, ulong timestamp) {
            if (type == QEvent::KeyPress &&
                qt_sendShortcutOverrideEvent(window, timestamp, Qt::Key_F1, {}))
                return;
            QKeyEvent key(type, Qt::Key_F1, {});
            key.setTimestamp(timestamp);
            QSpontaneKeyEvent::setSpontaneous(&key);
            qApp->notify(window, &key);
            QCoreApplication::processEvents();
        };
        x(QEvent::KeyPress, 4000);
        for (ulong t = 5000; t <= 5100; t += 50) {
            x(QEvent::KeyRelease, t);
            x(QEvent::KeyPress, t);
        }
        x(QEvent::KeyRelease, 5200);
        QVERIFY(game.flagUp(1));
        x(QEvent::KeyPress, 6000);
        QVERIFY(!game.flagUp(1));
    }

    // Each text said appears in a notification of its own, the same text
    // twice too, which keeps it while a screen reader comes to read it; none
    // is ever shown.
    void eachTextIsSaidAnew() {
        QWidget window;
        Narrator narrator(&window);
        window.show();
        for (const char* text : {"赤あげて", "赤あげて", "Ｍｉｓｓ!"})
            narrator.say(QString::fromUtf8(text));
        QStringList said;
        for (QWidget* notification : window.findChildren<QWidget*>()) {
            QVERIFY(!notification->isVisible());
            if (QAccessible::queryAccessibleInterface(notification)->role() ==
                QAccessible::Notification)
                said << notification->accessibleName();
        }
        said.sort();
        QCOMPARE(said.join('|'), "|||||赤あげて|赤あげて|Ｍｉｓｓ!");
    }

    // Exit and close end the program in the pump call they come in, inside a
    // wait too; so does the title screen's close.
    void menuCommandsAndClose() {
        ShownWindow shown("10");
        GameWindow& window = shown.window;
        World& world = shown.world;
        std::vector<long> ends;
        world.pump.at(7, [&] { window.findChild<QAction*>("メニュー終了")->trigger(); });
        world.pump.at(12, [&] { window.close(); });
        world.pump.onEveryCall = [&](long) {
            QCoreApplication::processEvents();
            if (world.ended)
                ends.push_back(world.endedAtCall);
            world.ended = false;
            if (ends.size() == 2)
                throw Stop{};
        };
        QVERIFY_THROWS_EXCEPTION(Stop, window.game().進行ボタンClick());
        QCOMPARE(ends, (std::vector<long>{7, 12}));
        shown.program.start();
        shown.program.titleScreen()->close();
        QVERIFY(world.ended);
    }

    // Tab runs through the flag buttons from white, then red to green, and on
    // to the progress button. The game window and the title screen keep their
    // size and ask the window manager for no minimise or maximise button.
    void tabOrderAndFixedWindows() {
        ShownWindow shown("10");
        GameWindow& window = shown.window;
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.game().setFlagInput(true);
        for (int i = 1; i <= 5; ++i)
            window.flagButton(i)->show();
        window.progressButton()->setFocus();
        QStringList order;
        for (int k = 0; k < 6; ++k) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order.join(' '),
                 "Command1(5) Command1(1) Command1(2) Command1(3) Command1(4) 進行ボタン");
        shown.program.start();
        for (QWidget* fixed :
             {static_cast<QWidget*>(&window), static_cast<QWidget*>(shown.program.titleScreen())}) {
            const Qt::WindowFlags flags = fixed->windowHandle()->flags();
            QVERIFY(flags.testFlag(Qt::CustomizeWindowHint) &&
                    !(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)) &&
                    fixed->minimumSize() == fixed->maximumSize());
        }
    }

    // The viewer opens on section 1 in 12 points; a section chosen by the arrow
    // keys shows in the size last chosen. Shown again from the game window it
    // comes up unchanged, restored and active. Closed by its button, command,
    // Alt+C or close box, it unloads: the next is new and reads the file again.
    void oneViewerUntilItIsClosed() {
        writeRules(numberedSections(3));
        Started shown(true);
        Program& program = shown.program;
        QTest::mouseClick(program.titleScreen()->choice(2), Qt::LeftButton);
        QPointer<HelpViewer> viewer = program.helpViewer();
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QTest::keyClicks(viewer->text1(), "x"); // the rules are read only
        QCOMPARE(state(*viewer), "[ 1, 2, 3] 1:  1\nbody 1 / 12 at 12");
        for (auto [k, size] : {std::pair{2, 16}, {3, 9}}) {
            viewer->サイズ(16)->trigger();
            viewer->サイズ(size)->trigger();
            QTest::keyClick(viewer->combo1(), Qt::Key_Home);
            for (int i = 1; i < k; ++i)
                QTest::keyClick(viewer->combo1(), Qt::Key_Down);
            QCOMPARE(state(*viewer),
                     QString("[ 1, 2, 3] %1:  %1\nbody %1 / %2 at %2").arg(k).arg(size));
        }
        const QString before = state(*viewer);
        writeRules(numberedSections(4, "new"));
        viewer->showMinimized();
        program.showGameWindow();
        QTRY_VERIFY(program.gameWindow()->isActiveWindow());
        for (QAction* item : program.gameWindow()->findChildren<QAction*>())
            if (item->text() == "ルールの説明(&R)")
                item->trigger();
        QCOMPARE(program.helpViewer(), viewer);
        QCOMPARE(state(*viewer), before);
        QVERIFY(!viewer->isMinimized());
        QTRY_VERIFY(viewer->isActiveWindow());
        // The flag keys are the game window's: in the viewer they move nothing.
        Game& game = program.gameWindow()->game();
        game.flagInPlay(1) = true;
        game.setFlagInput(true);
        QTest::keyClick(viewer->windowHandle(), keyOf(*program.gameWindow(), 1));
        QVERIFY(!game.flagUp(1));
        const std::array<std::function<void()>, 4> closes{
            [&] { QTest::mouseClick(viewer->closeButton(), Qt::LeftButton); },
            [&] { viewer->closeCommand()->trigger(); },
            [&] { QTest::keyClick(viewer->windowHandle(), Qt::Key_C, Qt::AltModifier); },
            [&] { viewer->windowHandle()->close(); }};
        QStringList titles;
        for (int way = 0; way < 4; ++way) {
            QVERIFY(QTest::qWaitForWindowExposed(viewer));
            QPointer<HelpViewer> closed = viewer;
            closes[way]();
            QVERIFY(!closed || closed->isHidden());
            writeRules(numberedSections(1 + way, "new"));
            program.showHelp();
            viewer = program.helpViewer();
            titles << QString(" %1new").arg(way + 1);
            QCOMPARE(state(*viewer), "[" + titles.join(",") + "] 1:  1new\nbody 1 / 12 at 12");
            QTRY_VERIFY(!closed);
        }
    }

    // The title screen in each state and the viewer show their texts whole;
    // the choices keep their corner. The viewer has the focus on its list,
    // lays out to its frame and, shrunk, keeps room for its text.
    void titleScreenAndViewerShowTheirTextsWhole() {
        Started shown(true);
        TitleScreen* title = shown.title;
        QVERIFY(QTest::qWaitForWindowExposed(title));
        for (const char* status : {"", "しばらくお待ちください。", "4500", "Thank you."}) {
            if (*status)
                title->label3().setCaption(status);
            QVERIFY2(unfitIn(*title).isEmpty(), qPrintable(unfitIn(*title).join("\n")));
        }
        for (int i = 1; i <= 3; ++i) // at every scale and font
            QCOMPARE(title->choice(i)->contentsRect().translated(title->choice(i)->pos()).topLeft(),
                     QPoint(toPixels(240), toPixels(2400 + 600 * (i - 1))));
        HelpViewer viewer(readHelpFile());
        QCOMPARE(viewer.focusWidget(), viewer.combo1()); // from its load on
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QVERIFY2(unfitIn(viewer).isEmpty(), qPrintable(unfitIn(viewer).join("\n")));
        const QSize frame = viewer.frameGeometry().size() - viewer.size();
        viewer.resize(QSize(400, 140) - frame); // 6000 by 2100 twips outside
        QCOMPARE(viewer.text1()->size(), QSize(toPixels(5500), toPixels(600)));
        viewer.resize(1, 1);
        QVERIFY(viewer.text1()->width() >= toPixels(1000) && viewer.text1()->height() > 0);
    }

    // A player who answers every command meets each stage once, in order, to
    // the ending; then a double-click on any panel opens the level select.
    void aWholeGame() {
        Play play;
        QTest::mouseClick(play.window.progressButton(), Qt::LeftButton);
        QCOMPARE(play.window.game().buttonAction, "クリア");
        QCOMPARE(play.window.progressButton()->text(), "お疲れ様でした");
        const QStringList stages = play.captions.filter(QRegularExpression("^(レベル|それでは)"));
        QCOMPARE(stages.join(' '), "それでは、開始します！ レベル1 レベル2 レベル3 レベル4 レベル5 "
                                   "レベル6 レベル7 レベル8 レベル9 レベル10 レベル11 レベル12");
        for (int panel : {1, 2, 3})
            QTest::mouseDClick(play.window.panel(panel), Qt::LeftButton);
        QCOMPARE(play.world.boxes.size(), std::size_t{3});
        QVERIFY2(play.faults.isEmpty(), qPrintable(play.faults.values().join("\n")));
    }

    // A player who stops answering in stage 2 and goes on with Space on the
    // shown button: the misses, the game over, stage 1 again, the last one.
    void aGameOver() {
        Play play;
        play.answerUpTo = 2;
        QTest::mouseClick(play.window.progressButton(), Qt::LeftButton);
        QCOMPARE(play.window.game().stage, 2);
        for (int presses = 0; !play.world.ended && presses < 40; ++presses)
            QTest::keyClick(focusOr(&play.window), Qt::Key_Space);
        QVERIFY(play.captions.contains("前の面からやり直しです"));
        QVERIFY(play.world.ended);
        QCOMPARE(play.window.label2()->text(), "GAME OVER");
        QVERIFY2(play.faults.isEmpty(), qPrintable(play.faults.values().join("\n")));
    }

    // Golden pictures of the windows as the player sees them: colours, fonts,
    // captions, icons, borders and places. They are taken in Fusion with the
    // UI font pinned to IPAPGothic 9, which every machine with the project's
    // fonts draws alike; the clock panel reads the scripted clock (0:00).
    void picturesShowWhatThePlayerSees() {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(QApplication::style()->standardPalette());
        QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 9));
        QStringList faults;
        // What Qt lays out for the game (a message box, the lines of a text
        // box) changes between Qt's releases: those pictures are kept for
        // each Qt version, and one without its own (an empty one) fails.
        const QString ofThisQt =
            QStringLiteral(".qt%1.%2").arg(QT_VERSION_MAJOR).arg(QT_VERSION_MINOR);
        Started started(true);
        QVERIFY(QTest::qWaitForWindowActive(started.title));
        hovering(*started.title, started.title->choice(1));
        faults << differs(started.title->grab().toImage(), "title");
        started.title->hide();

        // From stage 8 to the ending, every flag answered by its menu item.
        QImage stage8, stage12;
        {
            ShownWindow shown("1");
            GameWindow& window = shown.window;
            QVERIFY(QTest::qWaitForWindowActive(&window));
            faults << differs(window.grab().toImage(), "ready");
            faults << differs(window.windowIcon().pixmap(32, 32).toImage(), "game-icon");
            ShapeWidget* red = window.flagShape(1);
            for (int style : {5, 7, 0}) // striped down to the right, crossed, solid
                QtShape(red, nullptr).setFillStyle(style),
                    faults << differs(red->grab().toImage(), QString("fill%1").arg(style));
            Game& game = window.game();
            game.stage = 7;
            shown.world.pump.onEveryCall = [&](long) {
                QCoreApplication::processEvents();
                for (int i = 1; i <= 5; ++i)
                    if (game.flagUp(i) != game.expectedUp(i))
                        window.flagItem(i)->trigger();
                // A text that ends in "て" is a whole command.
                QImage* turn = game.stage == 8 ? &stage8 : game.stage == 12 ? &stage12 : nullptr;
                if (turn && turn->isNull() && game.loopIndex >= (game.stage == 8 ? 3 : 10) &&
                    window.label1()->text().endsWith("て") && bits(game.flagUp) != "00000")
                    *turn = window.grab().toImage();
            };
            game.進行ボタンClick();
            faults << differs(stage8, "stage8");
            faults << differs(stage12, "stage12");
            faults << differs(window.grab().toImage(), "ending");
        }
        {
            ShownWindow shown("1"); // a miss in stage 10, where three flags are hidden
            shown.window.game().stage = 9;
            shown.window.game().進行ボタンClick();
            faults << differs(shown.window.grab().toImage(), "miss");
        }
        {
            ShownWindow shown("1"); // eleven misses in stage 1
            for (int presses = 0; !shown.world.ended && presses < 20; ++presses)
                shown.window.game().進行ボタンClick();
            faults << differs(shown.window.grab().toImage(), "game-over");
        }
        {
            QtMessageBox box;
            World& w = started.world;
            GameWindow window(Services{w.pump, w, w, w, box, w, w, w}, [] {});
            window.show();
            QTimer::singleShot(0, &window, [&] {
                QWidget* shown = QApplication::activeModalWidget();
                faults << differs(shown->grab().toImage(), "version" + ofThisQt);
                shown->close();
            });
            window.findChild<QAction*>("メニューバージョン")->trigger();
        }
        // Shift-JIS rules: "#旗", "赤あげて、白さげないで。", "#ミス", "十回まで許されます。".
        writeRules("#\212\370\r\n\220\324\202\240\202\260\202\304\201A\224\222\202\263\202\260"
                   "\202\310\202\242\202\305\201B\r\n#\203~\203X\r\n\217\134\211\361\202\334"
                   "\202\305\213\226\202\263\202\352\202\334\202\267\201B\r\n");
        HelpViewer viewer(readHelpFile());
        viewer.show();
        QVERIFY(QTest::qWaitForWindowActive(&viewer));
        faults << differs(viewer.grab().toImage(), "viewer" + ofThisQt);
        faults << differs(viewer.windowIcon().pixmap(32, 32).toImage(), "viewer-icon");
        faults.removeAll({});
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }
};

int main(int argc, char** argv) {
    Application app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestScreens test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_screens.moc"
