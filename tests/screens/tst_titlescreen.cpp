// The title screen offscreen: its labels at their design, the highlight of the
// line under the pointer, and the choices while idle and while measuring.
#include "fonts.h"
#include "gamewindow.h"
#include "icon.h"
#include "looks.h"
#include "numbers.h"
#include "program.h"
#include "testworld.h"
#include "titlescreen.h"

#include <QTest>

#include <set>

using namespace jorv;
using namespace jorv::test;

namespace {

// The program started in the test world: the title screen is shown, and the
// pump hands Qt's events over in every call.
struct Started {
    Started() {
        world.pump.onEveryCall = [](long) { QCoreApplication::processEvents(); };
        program.start();
        title = program.titleScreen();
    }
    World world;
    Program program{world.services};
    TitleScreen* title;
};

// The three choice lines' colours: Y yellow, K black, T the theme's text.
// (Showing the window under the pointer is a move already.)
QString lineColours(const TitleScreen& title) {
    QString colours;
    for (int i = 1; i <= 3; ++i) {
        const QColor colour = title.choice(i)->palette().color(QPalette::WindowText);
        colours += colour == QColor(255, 255, 0)                                   ? 'Y'
                   : colour == QColor(0, 0, 0)                                     ? 'K'
                   : colour == QApplication::palette().color(QPalette::ButtonText) ? 'T'
                                                                                   : '?';
    }
    return colours;
}

// Moves the pointer over a choice ("1" to "3"), a label ("L1" to "L3") or the
// window's background ("bg"); "drag L1" moves over Label1 with the button held.
void moveOver(TitleScreen& title, const QString& target) {
    if (target.startsWith("drag ")) {
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

} // namespace

class TestTitleScreen : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerJapaneseFaces(); }

    // Label3 stands at its design box; the others size themselves to their
    // text from their design place and stay inside the window.
    void labelsStandAtTheirDesign_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("look");
        QTest::addColumn<QString>("anchor"); // none: stands at its design box
        QTest::newRow("Label1") << "Label1" << QRect(330, 120, 6795, 1455) << "Hyper Jorv"
                                << "ＭＳ Ｐ明朝 72 regular RGB(0,0,0) left opaque"
                                << "inside";
        QTest::newRow("Label2") << "Label2" << QRect(1770, 4440, 5685, 720) << "Produced By QLM"
                                << "ＭＳ Ｐ明朝 36 bold RGB(0,0,255) right opaque"
                                << "right";
        QTest::newRow("Label3") << "Label3" << QRect(210, 1680, 7095, 615) << "Version 1.2"
                                << "ＭＳ Ｐゴシック 24 regular " + buttonText() +
                                       " centred border opaque"
                                << "none";
        const QStringList choices{"☆Game Start", "☆Show Help", "☆End This Game"};
        const std::array<int, 3> widths{2925, 2730, 3765};
        for (int i = 1; i <= 3; ++i)
            QTest::newRow(qPrintable(QStringLiteral("Label4(%1)").arg(i)))
                << QStringLiteral("Label4(%1)").arg(i)
                << QRect(240, 2400 + 600 * (i - 1), widths[i - 1], 495) << choices[i - 1]
                << "ＭＳ Ｐ明朝 24 bold italic " + buttonText() + " left opaque"
                << "left";
    }
    void labelsStandAtTheirDesign() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(QString, caption);
        QFETCH(QString, look);
        QFETCH(QString, anchor);
        Started started;
        const auto* label = started.title->findChild<QLabel*>(name);
        QVERIFY(label);
        QCOMPARE(label->text(), caption);
        // A line sized to its text may take a smaller size than its design's
        // where the stand-in face is wider.
        QString looks = lookOf(*label);
        if (anchor != "none" && label->font().pointSize() < look.section(' ', 2, 2).toInt())
            looks = looks.section(' ', 0, 1) + " " + look.section(' ', 2, 2) + " " +
                    looks.section(' ', 3);
        QCOMPARE(looks, look);

        const QRect design(toPixels(twips.x()), toPixels(twips.y()), toPixels(twips.width()),
                           toPixels(twips.height()));
        const QRect placed = label->geometry();
        if (anchor == "none") {
            QCOMPARE(placed, design);
            return;
        }
        // The text's place, whatever margins slanted letters take.
        const QRect text = placed.marginsRemoved(label->contentsMargins());
        QCOMPARE(text.top(), design.top());
        QVERIFY(placed.left() >= 0 || placed.width() > started.title->width());
        QVERIFY(placed.right() < started.title->width() || placed.left() <= 0);
        if (anchor == "left")
            QCOMPARE(text.left(), design.left());
        else if (anchor == "right")
            QCOMPARE(text.right(), design.right());
    }

    // A fixed client area and the game's own icon, the same as the game
    // window's: 32 by 32 in at most 16 colours. Closing it ends the program.
    void windowLooksAsDesignedWithTheGamesIcon() {
        Started started;
        TitleScreen& title = *started.title;
        QCOMPARE(title.windowTitle(), "Hyper Jorv");
        QCOMPARE(title.size(), QSize(toPixels(7515), toPixels(5175)));
        QCOMPARE(title.minimumSize(), title.maximumSize());
        QVERIFY(
            !(title.windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint)));

        const QImage icon = title.windowIcon().pixmap(32, 32).toImage();
        QCOMPARE(icon.size(), QSize(32, 32));
        std::set<QRgb> colours;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                colours.insert(icon.pixel(x, y));
        QVERIFY(colours.size() > 4 && colours.size() <= 16);
        GameWindow game(started.world.services, started.program);
        QCOMPARE(game.windowIcon().pixmap(32, 32).toImage(), icon);
        QCOMPARE(gameIcon().pixmap(32, 32).toImage(), icon);

        // Closing it through the window system ends the program.
        started.world.ender.unwind = false;
        title.close();
        QVERIFY(started.world.ender.ended);
    }

    // Moves of the pointer, in order, and the colours of the three lines
    // after them.
    void highlightFollowsThePointer_data() {
        QTest::addColumn<QStringList>("moves");
        QTest::addColumn<QString>("colours");
        QTest::newRow("over Game Start") << QStringList{"1"} << "YKK";
        QTest::newRow("on to Show Help") << QStringList{"1", "2"} << "KYK";
        QTest::newRow("on to End This Game") << QStringList{"2", "3"} << "KKY";
        QTest::newRow("background first") << QStringList{"bg"} << "KKK";
        QTest::newRow("then the background") << QStringList{"1", "bg"} << "KKK";
        QTest::newRow("onto the title") << QStringList{"1", "L1"} << "YKK";
        QTest::newRow("onto the credit") << QStringList{"3", "L2"} << "KKY";
        QTest::newRow("onto the status line") << QStringList{"2", "L3"} << "KYK";
        QTest::newRow("dragging over the title") << QStringList{"1", "drag L1"} << "YKK";
        QTest::newRow("dragging over the status line") << QStringList{"3", "drag L3"} << "KKY";
        QTest::newRow("the title, then the background") << QStringList{"2", "L1", "bg"} << "KKK";
    }
    void highlightFollowsThePointer() {
        QFETCH(QStringList, moves);
        QFETCH(QString, colours);
        Started started;
        QVERIFY(QTest::qWaitForWindowExposed(started.title));
        for (const QString& move : moves)
            moveOver(*started.title, move);
        QCOMPARE(lineColours(*started.title), colours);
    }

    // "☆Game Start" measures, hands over and shows the game window ready for
    // play where the title screen stood, which goes. Once the measurement has
    // begun the lines keep their colours under the pointer and only the
    // background turns them black; "☆Show Help" and a second "☆Game Start"
    // do nothing.
    void gameStartMeasuresOnceAndShowsTheReadyGameWindow() {
        Started started;
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
        QVERIFY(!started.program.titleScreen());
        QVERIFY(title->isHidden());
        QTRY_VERIFY(!title); // deleted once its click handler has returned
        QVERIFY(!world.ender.ended);
    }

    // "Thank you." stands for one pump call, then the program ends; during
    // the measurement too, and then no game window is made.
    void endThisGameThanksForOnePumpCall_data() {
        QTest::addColumn<bool>("measuring");
        QTest::newRow("idle") << false;
        QTest::newRow("measuring") << true;
    }
    void endThisGameThanksForOnePumpCall() {
        QFETCH(bool, measuring);
        Started started;
        World& world = started.world;
        TitleScreen* title = started.title;
        world.clock.readings = {100.0f};
        world.clock.step = 0.5f;
        // What Label3 shows in each pump call, by call number.
        QStringList shown;
        world.pump.onEveryCall = [&](long call) {
            shown << QString::number(call) + " " + title->label(3)->text();
        };
        if (measuring) {
            world.pump.at(2, [&] { title->choose(3); });
            QVERIFY_THROWS_EXCEPTION(ProgramEnded, title->choose(1));
            QCOMPARE(shown, (QStringList{"1 しばらくお待ちください。", "3 Thank you."}));
            QCOMPARE(world.ender.endedAtCall, 3L);
        } else {
            QVERIFY_THROWS_EXCEPTION(ProgramEnded, title->choose(3));
            QCOMPARE(shown, QStringList{"1 Thank you."});
            QCOMPARE(world.ender.endedAtCall, 1L);
        }
        QVERIFY(!started.program.gameWindow());
    }
};

QTEST_MAIN(TestTitleScreen)
#include "tst_titlescreen.moc"
