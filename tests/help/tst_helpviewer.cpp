// The help viewer offscreen, reading rules files written into a temporary
// current folder, and opened through the program as the title screen and the
// game window open it.
#include "gamewindow.h"
#include "helpviewer.h"
#include "numbers.h"
#include "program.h"
#include "testworld.h"
#include "titlescreen.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

using namespace jorv;
using namespace jorv::test;

namespace {

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

class TestHelpViewer : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;

    void writeRules(const QByteArray& bytes) {
        QFile file(folder_.filePath(helpFileName));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(folder_.path())); }

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
        World world;
        world.ender.unwind = false;
        Program program(world.services);
        program.start();
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

    void closingUnloadsAndTheNextOpeningReadsTheFileAgain_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("close button") << "button";
        QTest::newRow("close command") << "menu";
        QTest::newRow("close box") << "box";
        QTest::newRow("Alt+C") << "alt";
    }
    void closingUnloadsAndTheNextOpeningReadsTheFileAgain() {
        QFETCH(QString, way);
        writeRules(numberedSections(3));
        World world;
        Program program(world.services);
        program.showHelp();
        QPointer<HelpViewer> first = program.helpViewer();
        QVERIFY(QTest::qWaitForWindowExposed(first));
        first->サイズ(9)->trigger();
        choose(*first, 3);
        if (way == "button")
            QTest::mouseClick(first->closeButton(), Qt::LeftButton);
        else if (way == "menu")
            first->closeCommand()->trigger();
        else if (way == "alt") // the command's and the button's access key, pressed once
            QTest::keyClick(first->windowHandle(), Qt::Key_C, Qt::AltModifier);
        else
            first->windowHandle()->close();
        QVERIFY(!first || first->isHidden());

        // Opened again before the closed one is gone, it is a new viewer.
        writeRules(numberedSections(2, "new"));
        program.showHelp();
        QVERIFY(program.helpViewer() != first);
        QCOMPARE(state(*program.helpViewer()), "[ 1new, 2new] 1:  1new\nbody 1 / 12 at 12");
        QTRY_VERIFY(!first);
    }
};

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
