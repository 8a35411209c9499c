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

// What is wrong with how a control shows its text, or nothing.
QString unfit(const QWidget* control) {
    if (control->isHidden())
        return {};
    const QString name = control->objectName();
    if (const auto* button = dynamic_cast<const CaptionButton*>(control)) {
        const QRect room = button->captionRoom();
        const QRect need = QFontMetrics(button->captionFont())
                               .boundingRect(room, CaptionButton::captionFlags, button->text());
        if (!room.contains(need) || !button->rect().adjusted(2, 2, -2, -2).contains(room))
            return name + " \"" + button->text() + "\" needs " + QString::number(need.width()) +
                   "x" + QString::number(need.height()) + " in " + QString::number(room.width()) +
                   "x" + QString::number(room.height());
        return {};
    }
    if (const auto* label = dynamic_cast<const FittingLabel*>(control)) {
        const QRect room = label->textRoom();
        const QRect ink = inkOf(label->textFont(), label->text(), room, label->alignment());
        if (!label->text().isEmpty() && !room.contains(ink))
            return name + " \"" + label->text() + "\" needs " + QString::number(ink.width()) + "x" +
                   QString::number(ink.height()) + " in " + QString::number(room.width()) + "x" +
                   QString::number(room.height());
        return {};
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->text().isEmpty())
            return {};
        const QRect ink =
            inkOf(label->font(), label->text(), label->contentsRect(), label->alignment())
                .translated(label->pos());
        // A plain label clips its text to its contents; one that sizes itself
        // draws into its margins too. Either stays inside its window.
        const bool clips = !dynamic_cast<const SelfSizingLabel*>(label);
        const QRect inside =
            clips ? label->contentsRect().translated(label->pos()) : label->geometry();
        if (!inside.contains(ink) || !label->parentWidget()->rect().contains(ink))
            return name + " \"" + label->text() + "\" inked at " +
                   QString("%1,%2 %3x%4")
                       .arg(ink.x())
                       .arg(ink.y())
                       .arg(ink.width())
                       .arg(ink.height());
    }
    return {};
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
        // The lines keep their design places; the choices' text lines, that is,
        // whatever margins their slanted letters take.
        QCOMPARE(title->label(3)->geometry().topLeft(), QPoint(toPixels(210), toPixels(1680)));
        for (int i = 1; i <= 3; ++i) {
            const QRect text = title->choice(i)->contentsRect().translated(title->choice(i)->pos());
            QCOMPARE(text.topLeft(), QPoint(toPixels(240), toPixels(2400 + 600 * (i - 1))));
        }

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
        while (!play.world.ender.ended)
            QTest::mouseClick(play.window.progressButton(), Qt::LeftButton);
        QVERIFY(fellBack);
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
