// The windows offscreen, as the player meets them. The title screen: the
// highlight under the pointer, the measurement and the hand-over to the game
// window, and the end. The game window: the status bar and the banner keep
// clear of what they cover, the menus reach their services, the F-keys and the
// flag buttons reach the game only while flag input is open, a held key
// toggles once, a hidden button never acts. The help viewer, reading rules
// files written into a temporary current folder: sections and sizes, its
// layout, one viewer for both windows, and closing.
#include "fonts.h"
#include "helpviewer.h"
#include "numbers.h"
#include "qtcontrols.h"
#include "shown.h"
#include "testworld.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

using namespace jorv;
using namespace jorv::test;

namespace {

// The three choice lines' colours: Y yellow, K black.
QString lineColours(const TitleScreen& title) {
    QString colours;
    for (int i = 1; i <= 3; ++i) {
        const QColor colour = title.choice(i)->palette().color(QPalette::WindowText);
        colours += colour == QColor(255, 255, 0) ? 'Y' : colour == QColor(0, 0, 0) ? 'K' : '?';
    }
    return colours;
}

// Moves the pointer over a choice ("1" to "3"), a label ("L1" to "L3") or the
// window's background ("bg"); "dragL1" moves over Label1 with the button held.
void moveOver(TitleScreen& title, const QString& target) {
    if (target.startsWith("drag")) {
        QLabel* label = title.label(target.back().digitValue());
        QTest::mousePress(label, Qt::LeftButton, {}, label->rect().topLeft());
        QTest::mouseMove(label, label->rect().center());
        QTest::mouseRelease(label, Qt::LeftButton, {}, label->rect().center());
        return;
    }
    QWidget* widget = &title;
    QPoint point(toPixels(6500), toPixels(3000)); // right of "☆Show Help"
    if (target.startsWith('L'))
        widget = title.label(target.mid(1).toInt());
    else if (target != "bg")
        widget = title.choice(target.toInt());
    if (widget != &title)
        point = widget->rect().center();
    QTest::mouseMove(widget, point);
}

// A preamble, then "#1<word>", "body 1" and so on up to n.
QByteArray numberedSections(int n, const QByteArray& word = "") {
    QByteArray bytes = "Hyper Jorv\r\n";
    for (int k = 1; k <= n; ++k)
        bytes += "#" + QByteArray::number(k) + word + "\r\nbody " + QByteArray::number(k) + "\r\n";
    return bytes;
}

// The listed titles, the chosen entry, the text shown, the checked sizes and
// the text's points, in one line.
QString state(const HelpViewer& viewer) {
    QStringList titles, checked;
    for (int i = 0; i < viewer.combo1()->count(); ++i)
        titles << viewer.combo1()->itemText(i);
    for (int Index : {9, 12, 16})
        if (viewer.サイズ(Index)->isChecked())
            checked << QString::number(Index);
    return QString("[%1] %2: %3 / %4 at %5")
        .arg(titles.join(","))
        .arg(viewer.combo1()->currentIndex() + 1)
        .arg(viewer.text1()->toPlainText(), checked.join(","))
        .arg(viewer.text1()->font().pointSizeF());
}

// Chooses the k-th title as the player does, with the arrow keys.
void choose(HelpViewer& viewer, int k) {
    QTest::keyClick(viewer.combo1(), Qt::Key_Home);
    for (int i = 1; i < k; ++i)
        QTest::keyClick(viewer.combo1(), Qt::Key_Down);
}

} // namespace

class TestWindows : public QObject {
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
    }

    // Moves of the pointer, in order, and the colours of the three lines
    // after them. (Showing the window under the pointer is a move already.)
    void highlightFollowsThePointer() {
        for (const char* moves : {"1 YKK", "2 3 KKY", "1 bg KKK", "1 L1 YKK", "3 dragL3 KKY"}) {
            QStringList steps = QString(moves).split(' ');
            const QString colours = steps.takeLast();
            TitleShown started;
            QVERIFY(QTest::qWaitForWindowExposed(started.title));
            for (const QString& step : steps)
                moveOver(*started.title, step);
            QVERIFY2(lineColours(*started.title) == colours, moves);
        }
    }

    // "☆Game Start" measures, hands over and shows the game window ready for
    // play where the title screen stood, which goes. Once the measurement has
    // begun the lines keep their colours under the pointer and only the
    // background turns them black; "☆Show Help" and a second "☆Game Start"
    // do nothing.
    void gameStartMeasuresOnceAndShowsTheReadyGameWindow() {
        TitleShown started;
        World& world = started.world;
        world.ender.unwind = false;
        QPointer<TitleScreen> title = started.title;
        title->move(40, 60);
        QVERIFY(QTest::qWaitForWindowExposed(title));
        // The deadline is 103; six readings of 100.5 to 103 count, so the
        // measured count is round(6 x 1.5) = 9.
        world.clock.readings = {100.0f};
        world.clock.step = 0.5f;
        QStringList seen;
        world.pump.at(2, [&] {
            moveOver(*title, "2");
            seen << lineColours(*title);
            moveOver(*title, "bg");
            moveOver(*title, "3");
            seen << lineColours(*title);
            QTest::mouseClick(title->choice(2), Qt::LeftButton);
            QTest::mouseClick(title->choice(1), Qt::LeftButton);
        });
        moveOver(*title, "1");
        QTest::mouseClick(title->choice(1), Qt::LeftButton);

        QCOMPARE(seen, (QStringList{"YKK", "KKK"}));
        QVERIFY(!started.program.helpViewer());
        QCOMPARE(world.pump.calls, 6 + 9);
        QCOMPARE(world.random.draws, 9);
        QCOMPARE(title->label(3)->text(), "9");
        GameWindow* game = started.program.gameWindow();
        QVERIFY(game && game->isVisible());
        QCOMPARE(game->game().speedCount, 9);
        QCOMPARE(game->label1()->text(), "準備はできましたか？");
        QCOMPARE(game->pos(), QPoint(40, 60));
        QCOMPARE(game->windowIcon().pixmap(32, 32).toImage(),
                 title->windowIcon().pixmap(32, 32).toImage());
        QVERIFY(!started.program.titleScreen());
        QVERIFY(title->isHidden());
        QTRY_VERIFY(!title); // deleted once its click handler has returned
        QVERIFY(!world.ender.ended);
    }

    // "Thank you." stands for one pump call, then the program ends; during
    // the measurement too, and then no game window is made. Closing the title
    // screen ends it too.
    void endThisGameThanksForOnePumpCall() {
        for (bool measuring : {false, true}) {
            TitleShown started;
            World& world = started.world;
            TitleScreen* title = started.title;
            world.clock.readings = {100.0f};
            world.clock.step = 0.5f;
            QStringList shown; // what Label3 shows in each pump call, by call number
            world.pump.onEveryCall = [&](long call) {
                shown << QString::number(call) + " " + title->label(3)->text();
            };
            if (measuring)
                world.pump.at(2, [&] { title->choose(3); });
            QVERIFY_THROWS_EXCEPTION(ProgramEnded, title->choose(measuring ? 1 : 3));
            QCOMPARE(shown.join('|'),
                     measuring ? "1 しばらくお待ちください。|3 Thank you." : "1 Thank you.");
            QVERIFY(!started.program.gameWindow());
        }
        TitleShown closed; // through the window system
        closed.world.ender.unwind = false;
        closed.title->close();
        QVERIFY(closed.world.ender.ended);
    }
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

    // It opens on the first section in 12 points, the focus on the list; a
    // section chosen with the arrow keys shows in the size last chosen.
    void theChosenSectionShowsInTheChosenSize() {
        writeRules(numberedSections(3));
        HelpViewer viewer;
        QCOMPARE(state(viewer), "[ 1, 2, 3] 1:  1\nbody 1 / 12 at 12");
        QCOMPARE(viewer.focusWidget(), viewer.combo1());
        for (auto [k, Index] : {std::pair{2, 16}, {3, 9}}) {
            viewer.サイズ(16)->trigger();
            viewer.サイズ(Index)->trigger();
            choose(viewer, 3);
            choose(viewer, k);
            QCOMPARE(state(viewer),
                     QString("[ 1, 2, 3] %1:  %1\nbody %1 / %2 at %2").arg(k).arg(Index));
        }
    }

    // Resized, it lays out to its whole window, frame included; shrunk as far
    // as it goes, it keeps room for its text box.
    void resizingMeasuresTheWholeWindow() {
        HelpViewer viewer;
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        const QSize frame = viewer.frameGeometry().size() - viewer.size();
        viewer.resize(QSize(400, 140) - frame); // 6000 by 2100 twips outside
        QCOMPARE(viewer.text1()->size(), QSize(toPixels(5500), toPixels(600)));
        viewer.resize(1, 1);
        QVERIFY(viewer.text1()->width() >= toPixels(1000) && viewer.text1()->height() > 0);
    }

    void theTitleScreenAndTheGameWindowShowOneViewer() {
        writeRules(numberedSections(3));
        TitleShown shown;
        shown.world.ender.unwind = false;
        Program& program = shown.program;
        program.titleScreen()->choose(2);
        HelpViewer* viewer = program.helpViewer();
        QVERIFY(viewer && viewer->isVisible());
        viewer->サイズ(16)->trigger();
        choose(*viewer, 2);
        const QString before = state(*viewer);

        // Shown again, it neither reads the changed file nor changes, and it
        // comes up: restored from the task bar, raised and active.
        writeRules(numberedSections(4, "new"));
        viewer->showMinimized();
        program.showGameWindow();
        QTRY_VERIFY(program.gameWindow()->isActiveWindow());
        for (QAction* item : program.gameWindow()->findChildren<QAction*>())
            if (item->text() == "ルールの説明(&R)")
                item->trigger();
        QCOMPARE(program.helpViewer(), viewer);
        QCOMPARE(state(*viewer), before);
        QVERIFY(!(viewer->windowState() & Qt::WindowMinimized));
        QTRY_VERIFY(viewer->isActiveWindow());
    }

    // Closed by its button, its command, its close box or Alt+C (the
    // command's and the button's access key, pressed once), it unloads; opened
    // again before the closed one is gone, it is a new viewer that reads the
    // file again.
    void closingUnloadsAndTheNextOpeningReadsTheFileAgain() {
        for (const char* way : {"button", "command", "box", "Alt+C"}) {
            writeRules(numberedSections(3));
            Started started;
            Program& program = started.program;
            program.showHelp();
            QPointer<HelpViewer> first = program.helpViewer();
            QVERIFY(QTest::qWaitForWindowExposed(first));
            first->サイズ(9)->trigger();
            choose(*first, 3);
            if (way == QString("button"))
                QTest::mouseClick(first->closeButton(), Qt::LeftButton);
            else if (way == QString("command"))
                first->closeCommand()->trigger();
            else if (way == QString("Alt+C"))
                QTest::keyClick(first->windowHandle(), Qt::Key_C, Qt::AltModifier);
            else
                first->windowHandle()->close();
            QVERIFY2(!first || first->isHidden(), way);
            writeRules(numberedSections(2, "new"));
            program.showHelp();
            QVERIFY(program.helpViewer() != first);
            QCOMPARE(state(*program.helpViewer()), "[ 1new, 2new] 1:  1new\nbody 1 / 12 at 12");
            QTRY_VERIFY(!first);
        }
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
