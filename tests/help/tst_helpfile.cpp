// The rules file reader: bytes into sections, files it cannot read, the shipped one.
#include "helpfile.h"

#include <QtTest>

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
                                 {"large", "大きすぎます"},
                                 {"unreadable", "許可されていない"}}) {
            const QString thing(what);
            if (thing == "unreadable" && ::geteuid() == 0) // root reads whatever the mode says
                continue;
            QTemporaryDir folder;
            QVERIFY(QDir::setCurrent(folder.path()));
            QFile file(helpFileName);
            if (thing == "folder")
                QVERIFY(QDir(folder.path()).mkdir(helpFileName));
            if (thing == "fifo")
                QCOMPARE(::mkfifo(helpFileName, 0644), 0);
            if (thing == "large" || thing == "unreadable") {
                QVERIFY(file.open(QIODevice::WriteOnly) &&
                        file.resize(thing == "large" ? 17 * 1024 * 1024 : 8));
                file.close();
                QVERIFY(thing != "unreadable" || file.setPermissions(QFileDevice::WriteOwner));
            }
            if (thing == "removed")
                QVERIFY(folder.remove());
            const QString text = textsOf(readHelpFile()).join('|');
            const QString place = thing == "removed" ? "（分かりません）" : QDir::currentPath();
            QVERIFY2(!text.contains('|') &&
                         text.contains("「Jorv-Hlp.TXT」を読み込めませんでした。") &&
                         text.contains("探したフォルダ：" + place) && text.contains(why),
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
