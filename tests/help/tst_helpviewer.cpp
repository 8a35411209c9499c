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

// "#1\r\nbody 1\r\n#2\r\nbody 2..." up to n, each heading followed by `word`.
QByteArray numberedSections(int n, const QByteArray& word = "") {
    QByteArray bytes = "Hyper Jorv\r\n";
    for (int k = 1; k <= n; ++k)
        bytes += "#" + QByteArray::number(k) + word + "\r\nbody " + QByteArray::number(k) + "\r\n";
    return bytes;
}

QStringList listed(const HelpViewer& viewer) {
    QStringList titles;
    for (int i = 0; i < viewer.combo1()->count(); ++i)
        titles << viewer.combo1()->itemText(i);
    return titles;
}

QString shown(const HelpViewer& viewer) {
    return viewer.text1()->toPlainText();
}

// The checked size items' indexes, and the text box's size in points.
QString sizeState(const HelpViewer& viewer) {
    QStringList checked;
    for (int Index : {9, 12, 16})
        if (viewer.サイズ(Index)->isChecked())
            checked << QString::number(Index);
    return checked.join(",") + " at " + QString::number(viewer.text1()->font().pointSizeF());
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

    void loadListsTheTitlesAndShowsTheFirstSection_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("sections");
        QTest::addColumn<QString>("first");
        QTest::newRow("one section") << numberedSections(1) << 1 << " 1\nbody 1";
        QTest::newRow("ten sections") << numberedSections(10) << 10 << " 1\nbody 1";
        QTest::newRow("no headings") << QByteArray("text\r\n") << 1 << "";
    }
    void loadListsTheTitlesAndShowsTheFirstSection() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, sections);
        QFETCH(QString, first);
        writeRules(bytes);
        HelpViewer viewer;
        const HelpFile help = splitHelpFile(bytes.toStdString());
        QStringList titles;
        for (int k = 1; k <= help.sectionTotal(); ++k)
            titles << QString::fromStdString(help.sectionTitle(k));
        QCOMPARE(titles.size(), sections);
        QCOMPARE(listed(viewer), titles);
        QCOMPARE(viewer.combo1()->currentIndex(), 0);
        QCOMPARE(shown(viewer), first);
        QCOMPARE(sizeState(viewer), "12 at 12");
        QCOMPARE(viewer.focusWidget(), viewer.combo1());
    }

    void choosingTheKthTitleShowsSectionK_data() {
        QTest::addColumn<int>("k");
        for (int k : {2, 5, 3, 1})
            QTest::addRow("%d", k) << k;
    }
    void choosingTheKthTitleShowsSectionK() {
        QFETCH(int, k);
        writeRules(numberedSections(5));
        HelpViewer viewer;
        choose(viewer, 5);
        choose(viewer, k);
        QCOMPARE(shown(viewer), QString(" %1\nbody %1").arg(k));
    }

    void aSizeKeepsItsCheckMarkAndPointsAcrossSections_data() {
        QTest::addColumn<int>("Index");
        QTest::addColumn<QString>("state");
        QTest::newRow("small") << 9 << "9 at 9";
        QTest::newRow("normal") << 12 << "12 at 12";
        QTest::newRow("large") << 16 << "16 at 16";
    }
    void aSizeKeepsItsCheckMarkAndPointsAcrossSections() {
        QFETCH(int, Index);
        QFETCH(QString, state);
        writeRules(numberedSections(3));
        HelpViewer viewer;
        viewer.サイズ(16)->trigger();
        viewer.サイズ(Index)->trigger();
        QCOMPARE(sizeState(viewer), state);
        choose(viewer, 3);
        QCOMPARE(shown(viewer), " 3\nbody 3");
        QCOMPARE(sizeState(viewer), state);
    }

    void textBoxFollowsTheOuterSize_data() {
        QTest::addColumn<int>("W");
        QTest::addColumn<int>("H");
        QTest::addColumn<QSize>("text1");
        QTest::newRow("2100 high") << 5400 << 2100 << QSize(4900, 600);
        QTest::newRow("2099 high") << 5400 << 2099 << QSize(4900, 100);
        QTest::newRow("large") << 9000 << 6000 << QSize(8500, 4500);
        QTest::newRow("narrower than a text box") << 300 << 3000 << QSize(1000, 1500);
    }
    void textBoxFollowsTheOuterSize() {
        QFETCH(int, W);
        QFETCH(int, H);
        QFETCH(QSize, text1);
        HelpViewer viewer;
        viewer.layOut(W, H);
        QCOMPARE(
            viewer.text1()->geometry(),
            QRect(toPixels(120), toPixels(600), toPixels(text1.width()), toPixels(text1.height())));
        QCOMPARE(viewer.line1()->width(), toPixels(W));
        QCOMPARE(viewer.combo1()->pos(), QPoint(toPixels(120), toPixels(120)));
        QCOMPARE(viewer.closeButton()->pos(), QPoint(toPixels(4080), toPixels(120)));
    }

    void resizingTheWindowLaysItOutByItsOuterSize_data() {
        QTest::addColumn<int>("outerHeight"); // pixels
        QTest::addColumn<int>("text1Height"); // twips
        QTest::newRow("2100 twips") << 140 << 600;
        QTest::newRow("2085 twips") << 139 << 100;
    }
    void resizingTheWindowLaysItOutByItsOuterSize() {
        QFETCH(int, outerHeight);
        QFETCH(int, text1Height);
        HelpViewer viewer;
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        const QSize frame = viewer.frameGeometry().size() - viewer.size();
        viewer.resize(QSize(400, outerHeight) - frame);
        QCOMPARE(viewer.frameGeometry().height(), outerHeight);
        QCOMPARE(viewer.text1()->size(),
                 QSize(toPixels(toTwips(400) - 500), toPixels(text1Height)));

        // Shrunk as far as it goes, it keeps room for its text box.
        viewer.resize(1, 1);
        QVERIFY(viewer.text1()->width() >= toPixels(1000));
        QVERIFY(viewer.text1()->height() > 0);
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

        // Shown again, it neither reads the changed file nor changes.
        writeRules(numberedSections(4, "new"));
        program.showGameWindow();
        const QList<QAction*> items = program.gameWindow()->findChildren<QAction*>();
        const auto rules = std::find_if(items.begin(), items.end(), [](QAction* item) {
            return item->text() == "ルールの説明(&R)";
        });
        QVERIFY(rules != items.end());
        (*rules)->trigger();
        QCOMPARE(program.helpViewer(), viewer);
        QCOMPARE(listed(*viewer), (QStringList{" 1", " 2", " 3"}));
        QCOMPARE(shown(*viewer), " 2\nbody 2");
        QCOMPARE(sizeState(*viewer), "16 at 16");
        QVERIFY(viewer->isVisible());
    }

    void closingUnloadsAndTheNextOpeningReadsTheFileAgain_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("close button") << "button";
        QTest::newRow("close command") << "menu";
        QTest::newRow("close box") << "box";
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
        else
            first->windowHandle()->close();
        QVERIFY(first->isHidden());

        // Opened again before the closed one is gone, it is a new viewer.
        writeRules(numberedSections(2, "new"));
        program.showHelp();
        HelpViewer* second = program.helpViewer();
        QVERIFY(second != first);
        QCOMPARE(listed(*second), (QStringList{" 1new", " 2new"}));
        QCOMPARE(shown(*second), " 1new\nbody 1");
        QCOMPARE(sizeState(*second), "12 at 12");
        QTRY_VERIFY(!first);
    }
};

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
