// Games played through the real game window as a player meets them, with
// checks in every pump call: every text shown whole (a label's ink inside the
// label and its window, a button's caption inside its frame, a panel's text
// clear of the progress bar), the focus never on the hidden progress button,
// and the keys and clicks a player makes by accident doing nothing; the title
// screen and the viewer too. CTest runs this at the default UI font, at twice
// the scale and with a 12-point UI font (JORV_UI_POINTS).
#include "fonts.h"
#include "helpviewer.h"
#include "numbers.h"
#include "shown.h"
#include "testworld.h"

#include <QAccessible>
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

// The real game window in the test world at speed 1, loaded and shown. In
// every pump call the checks run and the player acts; what they find wrong
// lands in `faults`, once each.
struct Play : ShownWindow {
    Play()
        : ShownWindow("1") {
        world.pump.onEveryCall = [this](long call) {
            QCoreApplication::processEvents();
            if (captions.isEmpty() || captions.back() != window.label1()->text())
                captions << window.label1()->text();
            for (const QString& fault : unfitIn(window))
                report(fault);
            if (window.progressButton()->isHidden()) {
                if (QApplication::focusWidget() == window.progressButton())
                    report("the focus rests on the hidden progress button");
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
    void report(const QString& fault) {
        if (!faults.contains(fault))
            faults << fault;
    }
    // While the progress button is hidden: the keys that press a focused
    // button (unless the focus is on a flag button, which they would press),
    // a click on it and an accessibility "Press"; while flag input is closed,
    // the flag keys, and Tab then Space. None of it may start anything, nor
    // may a flag key move a flag.
    void stray() {
        QPushButton* button = window.progressButton();
        const bool open = window.flagButton(1)->isEnabled();
        const std::string flags = bits(window.game().flagUp);
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
        if (!qobject_cast<QPushButton*>(focus) || !open) {
            for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return})
                QTest::keyClick(focus, key);
            QTest::keyClick(focus, Qt::Key_Enter, Qt::KeypadModifier);
        }
        if (!open) {
            for (Qt::Key key : keys)
                QTest::keyClick(&window, key);
            if (bits(window.game().flagUp) != flags)
                report("a flag key moved a flag while flag input was closed");
            QTest::keyClick(focus, Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window,
                            Qt::Key_Space);
        }
        QTest::mouseClick(button, Qt::LeftButton);
        QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
    }
    // Raises and lowers the flags the commands so far require, in turn with
    // its key, a click on its button, and its key held down (which repeats);
    // each moves its flag once.
    void answer() {
        Game& game = window.game();
        for (int i = 1; i <= 5; ++i) {
            if (game.flagUp(i) == game.expectedUp(i) || !game.flagInPlay(i))
                continue;
            const int way = answers++ % 3;
            if (way == 0) {
                QTest::keyClick(&window, keys[i - 1]);
            } else if (way == 1) {
                QTest::mouseClick(window.flagButton(i), Qt::LeftButton);
            } else {
                for (bool repeat : {false, true, true, true})
                    QTest::simulateEvent(window.windowHandle(), true, keys[i - 1], {}, {}, repeat);
                QTest::simulateEvent(window.windowHandle(), false, keys[i - 1], {}, {}, false);
            }
            if (game.flagUp(i) != game.expectedUp(i))
                report(QString("flag %1 did not move once by its %2")
                           .arg(i)
                           .arg(QStringList{"key", "button", "held key"}[way]));
        }
    }
    static constexpr std::array keys{Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5};
    int answerUpTo = 13; // the stage from which on the player no longer answers
    int answers = 0;
    QStringList faults, captions;
};

} // namespace

class TestPlay : public QObject {
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
        TitleShown shown;
        TitleScreen* title = shown.title;
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
        // (The stand-in face is wider than its box; in a narrower one the
        // credit keeps to the box's right.)
        QVERIFY(title->label(2)->alignment() & Qt::AlignRight);
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(text(title->choice(i)).topLeft(),
                     QPoint(toPixels(240), toPixels(2400 + 600 * (i - 1))));

        HelpViewer viewer;
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QVERIFY2(unfitIn(viewer).isEmpty(), qPrintable(unfitIn(viewer).join("\n")));
    }

    // A player who answers every command of the twelve stages, with keys,
    // clicks and held keys: each stage is introduced once, in order, and the
    // ending is reached. Then a double-click on any panel opens the level
    // select.
    void aWholeGame() {
        Play play;
        QTest::mouseClick(play.window.progressButton(), Qt::LeftButton);
        QCOMPARE(play.window.game().buttonAction, "クリア");
        QCOMPARE(play.window.progressButton()->text(), "お疲れ様でした");
        QStringList stages;
        for (const QString& caption : play.captions)
            if (caption.startsWith("レベル") || caption.startsWith("それでは"))
                stages << caption;
        QCOMPARE(stages.join(' '), "それでは、開始します！ レベル1 レベル2 レベル3 レベル4 レベル5 "
                                   "レベル6 レベル7 レベル8 レベル9 レベル10 レベル11 レベル12");
        for (int panel : {1, 2, 3})
            QTest::mouseDClick(play.window.panel(panel), Qt::LeftButton);
        QCOMPARE(play.world.inputBox.calls.size(), std::size_t{3});
        QVERIFY2(play.faults.isEmpty(), qPrintable(play.faults.join("\n")));
    }

    // A player who answers up to stage 2, then never, and goes on after each
    // miss with Space, where the focus has gone back to the progress button:
    // the misses, the game over, the fall-back to stage 1 and the final game
    // over.
    void aGameOver() {
        Play play;
        play.answerUpTo = 2;
        QTest::mouseClick(play.window.progressButton(), Qt::LeftButton);
        QCOMPARE(play.window.game().stage, 2);
        for (int presses = 0; !play.world.ender.ended && presses < 40; ++presses)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget()
                                                        : &play.window,
                            Qt::Key_Space);
        QVERIFY(play.captions.contains("前の面からやり直しです"));
        QVERIFY(play.world.ender.ended);
        QCOMPARE(play.window.label2()->text(), "GAME OVER");
        QVERIFY2(play.faults.isEmpty(), qPrintable(play.faults.join("\n")));
    }
};

QTEST_MAIN(TestPlay)
#include "tst_play.moc"
