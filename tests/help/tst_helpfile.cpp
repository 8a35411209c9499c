// The rules file reader: sections from the bytes of a file, the file read
// from the current folder, and the rules file that ships with the game.
#include "helpfile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace jorv;

namespace {

QStringList titlesOf(const HelpFile& help) {
    QStringList list;
    for (int k = 1; k <= help.sectionTotal(); ++k)
        list << QString::fromStdString(help.sectionTitle(k));
    return list;
}

QStringList textsOf(const HelpFile& help) {
    QStringList list;
    for (int k = 1; k <= help.sectionTotal(); ++k)
        list << QString::fromStdString(help.sectionText(k));
    return list;
}

// "#1\r\nbody 1\r\n#2\r\nbody 2..." up to n.
QByteArray numberedSections(int n) {
    QByteArray bytes;
    for (int k = 1; k <= n; ++k)
        bytes += "#" + QByteArray::number(k) + "\r\nbody " + QByteArray::number(k) + "\r\n";
    return bytes;
}

} // namespace

class TestHelpFile : public QObject {
    Q_OBJECT
private slots:
    void splitsTheBytesIntoSections_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("preamble skipped") << QByteArray("Hyper Jorv\r\n\r\n#Rules\r\nbody")
                                          << QStringList{" Rules"} << QStringList{" Rules\r\nbody"};
        QTest::newRow("heading of # alone")
            << QByteArray("#\r\nbody") << QStringList{" "} << QStringList{" \r\nbody"};
        QTest::newRow("blank or full-width before # is body")
            << QByteArray("#A\r\n #B\r\n\x81\x94"
                          "C")
            << QStringList{" A"} << QStringList{" A\r\n #B\r\n＃C"};
        QTest::newRow("empty body lines kept")
            << QByteArray("#T\r\nA\r\n\r\nB") << QStringList{" T"}
            << QStringList{" T\r\nA\r\n\r\nB"};
        QTest::newRow("heading after heading")
            << QByteArray("#A\r\n#B\r\nb") << QStringList{" A", " B"}
            << QStringList{" A", " B\r\nb"};
        QTest::newRow("CR LF at the end")
            << QByteArray("#A\r\nb\r\n") << QStringList{" A"} << QStringList{" A\r\nb"};
        QTest::newRow("CR LF CR LF at the end")
            << QByteArray("#A\r\nb\r\n\r\n") << QStringList{" A"} << QStringList{" A\r\nb\r\n"};
        QTest::newRow("LF alone ends no line")
            << QByteArray("#A\nb\nc\n") << QStringList{" A\nb\nc\n"} << QStringList{" A\nb\nc\n"};
        QTest::newRow("bare CR ends a line")
            << QByteArray("#A\rb\r\rc") << QStringList{" A"} << QStringList{" A\r\nb\r\n\r\nc"};
        QTest::newRow("no headings")
            << QByteArray("text\r\n #not\r\n") << QStringList{""} << QStringList{""};
        QTest::newRow("empty file") << QByteArray() << QStringList{""} << QStringList{""};

        QStringList tenTitles, tenTexts;
        for (int k = 1; k <= 10; ++k) {
            tenTitles << " " + QString::number(k);
            tenTexts << QString(" %1\r\nbody %1").arg(k);
        }
        QTest::newRow("ten headings") << numberedSections(10) << tenTitles << tenTexts;
        // The eleventh and later headings stay in the tenth section as they
        // stand in the file.
        QStringList lastTexts = tenTexts;
        lastTexts.last() = " 10\r\nbody 10\r\n#11\r\nbody 11\r\n#12\r\nbody 12";
        QTest::newRow("twelve headings") << numberedSections(12) << tenTitles << lastTexts;

        QTest::newRow("Shift-JIS, 0x5C, 0x7E and extensions")
            << QByteArray("#\x95\x5C\x8E\xA6\r\nC:\x5Cjorv~ \x87\x40\x81\x60\xFB\xFC\xB1")
            << QStringList{" 表示"} << QStringList{" 表示\r\nC:\\jorv~ ①～髙ｱ"};
        // A lead byte takes a non-ASCII byte after it along, never an ASCII one.
        QTest::newRow("bytes that are not Shift-JIS")
            << QByteArray("#A\r\n\x80\xA0x\x81 y\x85\x9Fz\x85@\xFF\r\n\x82") << QStringList{" A"}
            << QStringList{" A\r\n\uFFFD\uFFFDx\uFFFD y\uFFFDz\uFFFD@\uFFFD\r\n\uFFFD"};
    }
    void splitsTheBytesIntoSections() {
        QFETCH(QByteArray, bytes);
        const HelpFile help = splitHelpFile(bytes.toStdString());
        QFETCH(QStringList, titles);
        QFETCH(QStringList, texts);
        QCOMPARE(titlesOf(help), titles);
        QCOMPARE(textsOf(help), texts);
    }

    void readsTheFileInTheCurrentFolder() {
        QTemporaryDir folder;
        QFile file(folder.filePath(helpFileName));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#A\r\na\r\n#B\r\nb");
        file.close();
        QVERIFY(QDir::setCurrent(folder.path()));
        QCOMPARE(titlesOf(readHelpFile()), (QStringList{" A", " B"}));
    }

    void aFileThatCannotBeReadSaysWhereItWasLookedFor_data() {
        QTest::addColumn<QString>("what");
        QTest::newRow("missing") << "";
        QTest::newRow("a folder of that name") << "folder";
        QTest::newRow("current folder removed") << "removed";
    }
    void aFileThatCannotBeReadSaysWhereItWasLookedFor() {
        QFETCH(QString, what);
        QTemporaryDir folder;
        QVERIFY(QDir::setCurrent(folder.path()));
        if (what == "folder")
            QVERIFY(QDir(folder.path()).mkdir(helpFileName));
        if (what == "removed")
            QVERIFY(folder.remove());
        const HelpFile help = readHelpFile();
        QCOMPARE(help.sectionTotal(), 1);
        const QString text = QString::fromStdString(help.sectionText(1));
        QVERIFY(text.startsWith(QString::fromStdString(help.sectionTitle(1)) + "\r\n"));
        QVERIFY(text.contains("「Jorv-Hlp.TXT」を読み込めませんでした。"));
        QVERIFY(text.contains("探したフォルダ：" +
                              (what == "removed" ? "（分かりません）" : QDir::currentPath())));
    }

    // The rules file beside the program: every byte Shift-JIS, every line
    // ended by CR LF, and no heading beyond the tenth.
    void theShippedRulesFileReadsCleanly() {
        QFile file(QStringLiteral(JORV_SOURCE_DIR "/") + helpFileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const HelpFile help = splitHelpFile(file.readAll().toStdString());
        QVERIFY(help.sectionTotal() >= 5);
        for (int k = 1; k <= help.sectionTotal(); ++k) {
            const QString text = QString::fromStdString(help.sectionText(k));
            QVERIFY2(!text.contains(QChar::ReplacementCharacter), qPrintable(text));
            QVERIFY2(!text.contains(QRegularExpression("[^\r]\n|\r\n#")), qPrintable(text));
        }
    }
};

QTEST_GUILESS_MAIN(TestHelpFile)
#include "tst_helpfile.moc"
