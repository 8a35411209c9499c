// The rules file reader: bytes into sections, files it cannot read, the shipped one.
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

// The texts of the sections, each checked to begin with its title line.
QStringList textsOf(const HelpFile& help) {
    QStringList texts;
    for (int k = 1; k <= help.sectionTotal(); ++k) {
        const QString title = QString::fromStdString(help.sectionTitle(k));
        texts << QString::fromStdString(help.sectionText(k));
        if (texts.back() != title && !texts.back().startsWith(title + "\r\n"))
            return {"section " + QString::number(k) + " does not begin with " + title};
    }
    return texts;
}

// A rules file at the viewer's limit of its size, of a line's length or of
// its lines (ended by lone LFs, where the text box breaks them too), or one
// byte past it.
QByteArray atLimit(const QString& limit, int past) {
    QByteArray bytes = "#A\r\n";
    while (limit == "size" && bytes.size() <= qsizetype(HelpFile::maxBytes))
        bytes += QByteArray(HelpFile::maxLineBytes, 'x') + "\r\n";
    if (limit == "size")
        bytes.truncate(HelpFile::maxBytes + past);
    if (limit == "line")
        bytes += QByteArray(HelpFile::maxLineBytes + past, 'x');
    if (limit == "lines")
        bytes += QByteArray(HelpFile::maxLines - 1 + past, '\n');
    return bytes;
}

} // namespace

class TestHelpFile : public QObject {
    Q_OBJECT
private slots:
    // Bytes, and the sections' texts they make, joined by "|".
    void splitsTheBytesIntoSections() {
        QByteArray twelve;
        QStringList ten;
        for (int k = 1; k <= 12; ++k) {
            twelve += "#" + QByteArray::number(k) + "\r\nbody " + QByteArray::number(k) + "\r\n";
            ten << QString(" %1\r\nbody %1").arg(k);
        }
        // Headings after the tenth stay in it as they stand in the file.
        const QString tenth = ten.mid(0, 10).join('|') + "\r\n#11\r\nbody 11\r\n#12\r\nbody 12";
        for (const auto& [bytes, texts] : std::initializer_list<std::pair<QByteArray, QString>>{
                 {"Jorv\r\n\r\n#Rules\r\nA\r\n\r\nB\r\n\r\n", " Rules\r\nA\r\n\r\nB\r\n"},
                 {"#\r\nA", " \r\nA"},
                 {"#A\r\n#B\r\nb\r\n", " A| B\r\nb"},
                 {"Jorv\r\nno heading\r\n", ""},
                 {"#A\nb\n", " A\nb\n"}, // LF alone ends no line
                 {"#A\rb\r\rc", " A\r\nb\r\n\r\nc"},
                 {twelve, tenth},
                 {"#\x95\x5C\x8E\xA6\r\nC:\x5Cjorv~ \x87\x40\x81\x60\xFB\xFC\xB1",
                  " 表示\r\nC:\\jorv~ ①～髙ｱ"},
                 // A lead byte takes a non-ASCII byte after it along, never an ASCII one.
                 {"#A\r\n\x80\xA0x\x81 y\x85\x9Fz\x85@\xFF\r\n\x82",
                  " A\r\n\uFFFD\uFFFDx\uFFFD y\uFFFDz\uFFFD@\uFFFD\r\n\uFFFD"}})
            QCOMPARE(textsOf(splitHelpFile(bytes.toStdString())).join('|'), texts);
    }

    // Whatever stands in the way, one section names the file, folder and why.
    void aFileThatCannotBeReadSaysWhereItWasLookedForAndWhy() {
        for (auto [what, why] : {std::pair{"missing", "がありません。"},
                                 {"removed", "がありません。"},
                                 {"folder", "ふつうのファイルではありません"},
                                 {"fifo", "ふつうのファイルではありません"}, // with no writer
                                 {"size", "大きすぎます"},
                                 {"line", "大きすぎます"},
                                 {"lines", "大きすぎます"},
                                 {"unreadable", "許可されていない"}}) {
            const QString thing(what);
            QString told = why;
            if (thing == "unreadable" && ::geteuid() == 0) // root reads whatever the mode says
                continue;
            QTemporaryDir folder;
            QVERIFY(QDir::setCurrent(folder.path()));
            QFile file(helpFileName);
            if (thing == "folder")
                QVERIFY(QDir(folder.path()).mkdir(helpFileName));
            if (thing == "fifo")
                QCOMPARE(::mkfifo(helpFileName, 0644), 0);
            const auto write = [&file](const QByteArray& bytes) {
                const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) > 0;
                file.close();
                return written;
            };
            if (thing == "size" || thing.startsWith("line")) {
                // Just inside the limit, the file reads; just past it, not.
                QVERIFY(write(atLimit(thing, 0)));
                QCOMPARE(QString::fromStdString(readHelpFile().sectionTitle(1)), " A");
                QVERIFY(write(atLimit(thing, 1)));
                // It tells the line's limit just found, a full-width character two bytes.
                told = QString("%1バイト（全角で%2文字）")
                           .arg(HelpFile::maxLineBytes)
                           .arg(HelpFile::maxLineBytes / 2);
            }
            if (thing == "unreadable")
                QVERIFY(write("12345678") && file.setPermissions(QFileDevice::WriteOwner));
            if (thing == "removed")
                QVERIFY(folder.remove());
            const QString text = textsOf(readHelpFile()).join('|');
            const QString place = thing == "removed" ? "（分かりません）" : QDir::currentPath();
            QVERIFY2(!text.contains('|') &&
                         text.contains("「Jorv-Hlp.TXT」を読み込めませんでした。") &&
                         text.contains("探したフォルダ：" + place) && text.contains(told),
                     qPrintable(thing + ": " + text));
        }
    }

    // The shipped rules file: Shift-JIS, lines ended by CR LF, 5 to 10 headings.
    void theShippedRulesFileReadsCleanly() {
        QFile file(QStringLiteral(JORV_SOURCE_DIR "/") + helpFileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString texts = textsOf(splitHelpFile(file.readAll().toStdString())).join('|');
        QVERIFY2(texts.count('|') >= 4 &&
                     !texts.contains(QRegularExpression("\uFFFD|[^\r]\n|\r\n#")),
                 qPrintable(texts));
    }
};

QTEST_GUILESS_MAIN(TestHelpFile)
#include "tst_helpfile.moc"
