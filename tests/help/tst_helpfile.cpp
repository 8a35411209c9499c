// The rules file reader: sections from the bytes of a file, a file that
// cannot be read, and the rules file that ships with the game.
#include "helpfile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace jorv;

namespace {

// The texts of the sections, after checking that each begins with its title
// line, as every section's text must.
QStringList textsOf(const HelpFile& help) {
    QStringList texts;
    for (int k = 1; k <= help.sectionTotal(); ++k) {
        const QString title = QString::fromStdString(help.sectionTitle(k));
        const QString text = QString::fromStdString(help.sectionText(k));
        if (text != title && !text.startsWith(title + "\r\n"))
            return {"section " + QString::number(k) + " does not begin with " + title};
        texts << text;
    }
    return texts;
}

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
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("preamble, empty lines, CR LF CR LF at the end")
            << QByteArray("Jorv\r\n\r\n#Rules\r\nA\r\n\r\nB\r\n\r\n")
            << QStringList{" Rules\r\nA\r\n\r\nB\r\n"};
        QTest::newRow("# alone") << QByteArray("#\r\nA") << QStringList{" \r\nA"};
        QTest::newRow("heading after heading, CR LF at the end")
            << QByteArray("#A\r\n#B\r\nb\r\n") << QStringList{" A", " B\r\nb"};
        QTest::newRow("LF alone ends no line") << QByteArray("#A\nb\n") << QStringList{" A\nb\n"};
        QTest::newRow("bare CR ends a line")
            << QByteArray("#A\rb\r\rc") << QStringList{" A\r\nb\r\n\r\nc"};
        // Headings after the tenth stay in it as they stand in the file.
        QStringList ten;
        for (int k = 1; k <= 10; ++k)
            ten << QString(" %1\r\nbody %1").arg(k);
        ten.last() += "\r\n#11\r\nbody 11\r\n#12\r\nbody 12";
        QTest::newRow("twelve headings") << numberedSections(12) << ten;
        QTest::newRow("Shift-JIS, 0x5C, 0x7E and extensions")
            << QByteArray("#\x95\x5C\x8E\xA6\r\nC:\x5Cjorv~ \x87\x40\x81\x60\xFB\xFC\xB1")
            << QStringList{" 表示\r\nC:\\jorv~ ①～髙ｱ"};
        // A lead byte takes a non-ASCII byte after it along, never an ASCII one.
        QTest::newRow("bytes that are not Shift-JIS")
            << QByteArray("#A\r\n\x80\xA0x\x81 y\x85\x9Fz\x85@\xFF\r\n\x82")
            << QStringList{" A\r\n\uFFFD\uFFFDx\uFFFD y\uFFFDz\uFFFD@\uFFFD\r\n\uFFFD"};
    }
    void splitsTheBytesIntoSections() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, texts);
        QCOMPARE(textsOf(splitHelpFile(bytes.toStdString())), texts);
    }

    // Whatever stands in the way, the viewer gets at once a section that
    // names the file, the folder and what is wrong with it.
    void aFileThatCannotBeReadSaysWhereItWasLookedForAndWhy_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("why");
        QTest::newRow("missing") << ""
                                 << "がありません。";
        QTest::newRow("current folder removed") << "removed"
                                                << "がありません。";
        QTest::newRow("a folder of that name") << "folder"
                                               << "ふつうのファイルではありません";
        QTest::newRow("a FIFO, no writer") << "fifo"
                                           << "ふつうのファイルではありません";
        QTest::newRow("17 MiB") << "large"
                                << "大きすぎます";
        if (::geteuid() != 0) // root reads whatever the permissions say
            QTest::newRow("not readable") << "unreadable"
                                          << "許可されていない";
    }
    void aFileThatCannotBeReadSaysWhereItWasLookedForAndWhy() {
        QFETCH(QString, what);
        QFETCH(QString, why);
        QTemporaryDir folder;
        QVERIFY(QDir::setCurrent(folder.path()));
        const QByteArray name(helpFileName);
        if (what == "folder")
            QVERIFY(QDir(folder.path()).mkdir(helpFileName));
        if (what == "fifo")
            QCOMPARE(::mkfifo(name, 0644), 0);
        if (what == "large" || what == "unreadable") {
            QFile file(helpFileName);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#rules\r\n");
            if (what == "large")
                QVERIFY(file.resize(17 * 1024 * 1024));
            file.close();
            if (what == "unreadable")
                QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
        }
        if (what == "removed")
            QVERIFY(folder.remove());
        const QStringList texts = textsOf(readHelpFile());
        QCOMPARE(texts.size(), 1);
        QVERIFY(texts[0].contains("「Jorv-Hlp.TXT」を読み込めませんでした。"));
        const QString place = what == "removed" ? "（分かりません）" : QDir::currentPath();
        QVERIFY(texts[0].contains("探したフォルダ：" + place));
        QVERIFY2(texts[0].contains(why), qPrintable(texts[0]));
    }

    // The rules file beside the program: every byte Shift-JIS, every line
    // ended by CR LF, and no heading beyond the tenth.
    void theShippedRulesFileReadsCleanly() {
        QFile file(QStringLiteral(JORV_SOURCE_DIR "/") + helpFileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList texts = textsOf(splitHelpFile(file.readAll().toStdString()));
        QVERIFY(texts.size() >= 5);
        for (const QString& text : texts) {
            QVERIFY2(!text.contains(QChar::ReplacementCharacter), qPrintable(text));
            QVERIFY2(!text.contains(QRegularExpression("[^\r]\n|\r\n#")), qPrintable(text));
        }
    }
};

QTEST_GUILESS_MAIN(TestHelpFile)
#include "tst_helpfile.moc"
