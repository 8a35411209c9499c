// Every text of every window is shown whole, in every state the game puts it
// in: the labels' ink lies inside the label and its window, a button's
// caption inside its frame, a panel's text clear of the progress bar. CTest
// runs this at the default UI font, at twice the scale and with a 12-point UI
// font (JORV_UI_POINTS); the controls keep their design places throughout.
#include "fonts.h"
#include "gamewindow.h"
#include "helpviewer.h"
#include "numbers.h"
#include "program.h"
#include "testworld.h"
#include "titlescreen.h"

#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTest>

using namespace jorv;
using namespace jorv::test;

namespace {

// How a control shows its text when some of it is cut, or nothing: a
// button's caption must lie inside its frame, a fitting label's ink inside
// its room, a plain label's ink inside its contents (one that sizes itself
// may draw into its margins), and every label's ink inside its window.
QString unfit(const QWidget* control) {
    QRect room, ink;
    if (control->isHidden()) {
        return {};
    } else if (const auto* button = dynamic_cast<const CaptionButton*>(control)) {
        ink = QFontMetrics(button->captionFont())
                  .boundingRect(button->captionRoom(), CaptionButton::captionFlags, button->text());
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
    if (ink.isNull() || room.contains(ink))
        return {};
    return QString("%1 \"%2\" inked at %3,%4 %5x%6 in %7,%8 %9x%10")
        .arg(control->objectName(), control->property("text").toString())
        .arg(ink.x())
        .arg(ink.y())
        .arg(ink.width())
        .arg(ink.height())
        .arg(room.x())
        .arg(room.y())
        .arg(room.width())
        .arg(room.height());
}

// Every text control of a window that does not show its text whole.
QStringList unfitIn(const QWidget& window) {
    QStringList found;
    for (const QWidget* control : window.findChildren<QWidget*>())
        if (const QString fault = unfit(control); !fault.isEmpty())
            found << fault;
    return found;
}

// The real game window in the test world at speed 1, loaded and shown; in
// every pump call the texts are checked and the player acts.
struct Play {
    Play() {
        world.ender.unwind = false;
        titleLabel3.setCaption("1");
        window.load(titleLabel3, titleWindow);
        window.show();
        world.pump.onEveryCall = [this](long) {
            QCoreApplication::processEvents();
            for (const QString& fault : unfitIn(window))
                if (!faults.contains(fault))
                    faults << fault;
            if (player)
                player();
        };
    }
    // Raises and lowers flags with F1 to F5 as the commands so far require.
    void answer() {
        Game& game = window.game();
        const std::array keys{Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5};
        for (int i = 1; i <= 5; ++i)
            if (game.flagUp(i) != game.expectedUp(i) && game.flagInPlay(i))
                QTest::keyClick(&window, keys[i - 1]);
    }
    World world;
    Program program{world.services};
    GameWindow window{world.services, program};
    RecordingControl titleLabel3{world.trace, "TitleLabel3"};
    RecordingControl titleWindow{world.trace, "TitleForm"};
    std::function<void()> player;
    QStringList faults;
};

} // namespace

class TestTextsFit : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        registerJapaneseFaces();
        if (const int points = qEnvironmentVariableIntValue("JORV_UI_POINTS")) {
            QFont font = QApplication::font();
            font.setPointSize(points);
            QApplication::setFont(font);
        }
    }

    // The title screen in each of its states, and the help viewer.
    void titleScreenAndViewerShowTheirTextsWhole() {
        World world;
        Program program(world.services);
        program.start();
        TitleScreen* title = program.titleScreen();
        QVERIFY(QTest::qWaitForWindowExposed(title));
        QVERIFY2(unfitIn(*title).isEmpty(), qPrintable(unfitIn(*title).join("\n")));
        for (const char* status : {"しばらくお待ちください。", "4500", "Thank you."}) {
            title->label3().setCaption(status);
            QVERIFY2(unfitIn(*title).isEmpty(), qPrintable(unfitIn(*title).join("\n")));
        }
        // The lines keep their design places: Label3 its box, the title and
        // the choices the top left of their text (whatever margins slanted
        // letters take), the credit the top right of its text.
        auto text = [](const QLabel* label) {
            return label->contentsRect().translated(label->pos());
        };
        QCOMPARE(title->label(3)->geometry(),
                 QRect(toPixels(210), toPixels(1680), toPixels(7095), toPixels(615)));
        QCOMPARE(text(title->label(1)).topLeft(), QPoint(toPixels(330), toPixels(120)));
        QCOMPARE(text(title->label(2)).topRight(),
                 QPoint(toPixels(1770) + toPixels(5685) - 1, toPixels(4440)));
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(text(title->choice(i)).topLeft(),
                     QPoint(toPixels(240), toPixels(2400 + 600 * (i - 1))));

        HelpViewer viewer;
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QVERIFY2(unfitIn(viewer).isEmpty(), qPrintable(unfitIn(viewer).join("\n")));
    }

    // A player who answers right up to stage 2, then never: the misses, the
    // game over, the fall-back and the final game over.
    void gameOverShowsItsTextsWhole() {
        Play play;
        Game& game = play.window.game();
        bool reachedStage2 = false, fellBack = false;
        play.player = [&] {
            reachedStage2 = reachedStage2 || game.stage == 2;
            fellBack = fellBack || play.window.label1()->text() == "前の面からやり直しです";
            if (!reachedStage2)
                play.answer();
        };
        for (int presses = 0; !play.world.ender.ended && presses < 40; ++presses)
            QTest::mouseClick(play.window.progressButton(), Qt::LeftButton);
        QVERIFY(fellBack && play.world.ender.ended);
        QCOMPARE(play.window.label2()->text(), "GAME OVER");
        QVERIFY2(play.faults.isEmpty(), qPrintable(play.faults.join("\n")));
    }

    // A player who answers every command of the twelve stages, then the
    // ending.
    void aWholeGameShowsItsTextsWhole() {
        Play play;
        play.player = [&] { play.answer(); };
        QTest::mouseClick(play.window.progressButton(), Qt::LeftButton);
        QCOMPARE(play.window.game().buttonAction, "クリア");
        QCOMPARE(play.window.progressButton()->text(), "お疲れ様でした");
        QVERIFY2(play.faults.isEmpty(), qPrintable(play.faults.join("\n")));
    }
};

QTEST_MAIN(TestTextsFit)
#include "tst_textsfit.moc"
