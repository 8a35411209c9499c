// Help viewer timing: for each of a list of generated rules files (those
// that froze the viewer when its only limit was 16 MiB, then the worst files
// that the reader's limits let through, then the shipped rules), writes it
// as "Jorv-Hlp.TXT" into a scratch folder and opens the real help viewer on
// it in a process of its own, so that no file's memory or stopped viewer
// touches the next. That process times the load (building the window, which
// reads the file), the first paint (from the show until the window is
// exposed and its text box has painted), and a player's actions, each to
// the text box's next paint: choosing the last section, the 16-point and
// the 9-point sizes, and dragging the scroll bar to the end. Runs on the X
// display of DISPLAY or on any other Qt platform (QT_QPA_PLATFORM=offscreen).
// Prints one line per file as it is done, "file=<name> bytes=<n>
// shown=<sections|too-large> load_ms=.. paint_ms=.. actions_ms=<the four
// together> hwm_mb=<peak resident memory over the resident memory before the
// load>"; a viewer not done within the time limit (30 s unless given) is
// stopped, its line ending with "timeout_s=<limit>" after the figures it
// reached.
//
//     viewertiming [SECONDS [KIND:BYTES[:LINE]]...]
//
// With files named, those are measured instead of the list: a KIND of
// "cr" (a heading, then CR bytes), "line" (a heading, then one ASCII line),
// "crlf" or "lf" (a heading, then empty lines ended by CR LF or by LF
// alone), "realistic" (a heading, then the shipped file's lines over and
// over), or "ascii", "kanji", "fffd", "katakana" (lines of LINE bytes of
// letters, of kanji, of bytes that decode to U+FFFD, of half-width
// katakana), BYTES long.
#include "fonts.h"
#include "helpfile.h"
#include "helpviewer.h"
#include "qtservices.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A figure of /proc/PID/status in kB ("VmRSS", "VmHWM"), or -1.
long statusKb(const std::string& pid, const std::string& key) {
    std::ifstream status("/proc/" + pid + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(key + ":"))
            return std::stol(line.substr(key.size() + 1));
    return -1;
}

// Counts the paints of a widget.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// Pumps until the window is exposed and the widget has painted once more:
// the paint has ended when the pump call that held it returns.
void pumpUntilPainted(jorv::QtPump& pump, QWidget* window, const PaintCounter& counter) {
    const int before = counter.paints;
    while (
        !(window->windowHandle() && window->windowHandle()->isExposed() && counter.paints > before))
        pump.pump();
}

void say(const std::string& figures) {
    std::printf("%s\n", figures.c_str());
    std::fflush(stdout);
}

std::string ms(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// The viewer's own process, started in the folder of the file: says each
// figure as soon as it has it, so a stopped run still tells how far it came.
int measureViewer(int argc, char** argv) {
    QApplication app(argc, argv);
    jorv::registerJapaneseFaces();
    jorv::QtPump pump;
    // The program has shown its title screen before the viewer opens: the
    // X connection, the font machinery and the Japanese faces are warm.
    {
        QLabel title(QStringLiteral("ルールの説明を読む前に"));
        title.setFont(jorv::layoutFont(jorv::faces::pGothic, 12));
        const PaintCounter painted(&title);
        title.show();
        pumpUntilPainted(pump, &title, painted);
    }
    const std::string self = std::to_string(QCoreApplication::applicationPid());
    say("base_kb=" + std::to_string(statusKb(self, "VmRSS")));

    auto start = Clock::now();
    auto* viewer = new jorv::HelpViewer(jorv::readHelpFile());
    say("load_ms=" + ms(msSince(start)));

    QPlainTextEdit* text = viewer->text1();
    const PaintCounter painted(text->viewport());
    start = Clock::now();
    viewer->show();
    pumpUntilPainted(pump, viewer, painted);
    say("paint_ms=" + ms(msSince(start)));

    start = Clock::now();
    QComboBox* list = viewer->combo1();
    // What the list does when a player picks its last entry.
    list->setCurrentIndex(list->count() - 1);
    Q_EMIT list->activated(list->count() - 1);
    pumpUntilPainted(pump, viewer, painted);
    for (int size : {16, 9}) {
        viewer->サイズ(size)->trigger();
        pumpUntilPainted(pump, viewer, painted);
    }
    QScrollBar* bar = text->verticalScrollBar();
    if (bar->value() < bar->maximum()) {
        bar->setValue(bar->maximum());
        pumpUntilPainted(pump, viewer, painted);
    }
    say("actions_ms=" + ms(msSince(start)));

    const bool tooLarge = list->count() == 1 && text->document()->blockCount() < 20 &&
                          text->toPlainText().contains(QStringLiteral("大きすぎます"));
    say(std::string("shown=") + (tooLarge ? "too-large" : "sections"));
    say("hwm_kb=" + std::to_string(statusKb(self, "VmHWM")));
    viewer->close();
    return 0;
}

enum class Kind { cr, line, crlf, lf, realistic, ascii, kanji, fffd, katakana, shipped };

const std::map<std::string, Kind> kindNames{
    {"cr", Kind::cr},          {"line", Kind::line},           {"crlf", Kind::crlf},
    {"lf", Kind::lf},          {"realistic", Kind::realistic}, {"ascii", Kind::ascii},
    {"kanji", Kind::kanji},    {"fffd", Kind::fffd},           {"katakana", Kind::katakana},
    {"shipped", Kind::shipped}};

struct RulesFile {
    std::string name;
    Kind kind;
    std::size_t bytes;
    std::size_t line = 0;
};

std::string shippedFile() {
    std::ifstream file(JORV_SOURCE_DIR "/Jorv-Hlp.TXT", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// n bytes of one kind of character, none of them a line end.
std::string filled(Kind kind, std::size_t n) {
    std::string bytes;
    bytes.reserve(n);
    for (std::size_t i = 0; bytes.size() < n; ++i) {
        if (kind == Kind::kanji && bytes.size() + 2 <= n) {
            // Level-1 kanji: lead bytes 0x89 to 0x97, trail bytes 0x40 to 0x7E.
            bytes += static_cast<char>(0x89 + i % 15);
            bytes += static_cast<char>(0x40 + i / 15 % 63);
        } else if (kind == Kind::fffd) {
            bytes += '\x80';
        } else if (kind == Kind::katakana) {
            bytes += static_cast<char>(0xA6 + i % 56);
        } else {
            bytes += static_cast<char>('a' + i % 26);
        }
    }
    return bytes;
}

std::string contents(const RulesFile& file) {
    if (file.kind == Kind::shipped)
        return shippedFile();
    std::string bytes = "#A\r\n";
    switch (file.kind) {
    case Kind::cr:
    case Kind::crlf:
    case Kind::lf:
        while (bytes.size() < file.bytes)
            bytes += file.kind == Kind::lf ? "\n" : file.kind == Kind::cr ? "\r" : "\r\n";
        break;
    case Kind::line:
        bytes += filled(Kind::ascii, file.bytes - bytes.size());
        break;
    case Kind::realistic: {
        // The shipped rules' body lines, over and over, under one heading.
        const std::string shipped = shippedFile();
        std::vector<std::string> lines;
        std::istringstream in(shipped);
        bool body = false;
        for (std::string line; std::getline(in, line, '\n');) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (body && !line.starts_with('#'))
                lines.push_back(line + "\r\n");
            body = body || line.starts_with('#');
        }
        bytes = "#\x83\x8B\x81\x5B\x83\x8B\r\n"; // "#ルール"
        for (std::size_t k = 0; bytes.size() < file.bytes; ++k)
            bytes += lines[k % lines.size()];
        break;
    }
    default: { // lines of file.line bytes (one line when none given), the heading one of them
        const std::size_t line = std::max<std::size_t>(file.line ? file.line : file.bytes, 1);
        bytes = "#" + filled(file.kind, line - 1) + "\r\n";
        while (bytes.size() < file.bytes)
            bytes += filled(file.kind, line) + "\r\n";
    }
    }
    bytes.resize(std::min(file.bytes, bytes.size()));
    return bytes;
}

std::vector<RulesFile> defaultFiles() {
    constexpr std::size_t KiB = 1024, MiB = 1024 * KiB;
    constexpr std::size_t size = jorv::HelpFile::maxBytes, line = jorv::HelpFile::maxLineBytes,
                          lines = jorv::HelpFile::maxLines, heading = 4; // "#A" CR LF
    return {
        // Files that froze the viewer when the size was its only limit.
        {"cr-16MiB", Kind::cr, 16 * MiB},
        {"line-256KiB", Kind::line, 256 * KiB},
        {"line-1MiB", Kind::line, MiB},
        {"line-16MiB", Kind::line, 16 * MiB},
        {"realistic-16MiB", Kind::realistic, 16 * MiB},
        // The worst files the limits let through: the largest file of
        // rules, lines of the longest length up to the largest size, as many
        // lines as allowed, short and full (12 kanji each), empty and LF
        // alone; and the shipped rules.
        {"realistic-at-size", Kind::realistic, size},
        {"ascii-longest-lines", Kind::ascii, size, line},
        {"kanji-longest-lines", Kind::kanji, size, line},
        {"fffd-longest-lines", Kind::fffd, size, line},
        {"katakana-longest-lines", Kind::katakana, size, line},
        {"kanji-most-lines", Kind::kanji, lines * (size / lines), size / lines - 2},
        {"crlf-most-lines", Kind::crlf, heading + 2 * (lines - 1)},
        {"lf-most-lines", Kind::lf, heading + lines - 1},
        {"shipped", Kind::shipped, shippedFile().size()},
    };
}

// Opens the viewer on each file in a process of its own and prints its line.
int measureFiles(const std::vector<RulesFile>& files, int seconds) {
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::fprintf(stderr, "viewertiming: no scratch folder\n");
        return 1;
    }
    for (const RulesFile& file : files) {
        const std::string bytes = contents(file);
        {
            std::ofstream out(QDir(scratch.path()).filePath("Jorv-Hlp.TXT").toStdString(),
                              std::ios::binary | std::ios::trunc);
            out << bytes;
        }
        QProcess viewer;
        viewer.setProgram(QCoreApplication::applicationFilePath());
        viewer.setArguments({QStringLiteral("--viewer")});
        viewer.setWorkingDirectory(scratch.path());
        viewer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        viewer.start();
        const bool finished = viewer.waitForFinished(seconds * 1000);
        long hwm = -1;
        if (!finished) {
            hwm = statusKb(std::to_string(viewer.processId()), "VmHWM");
            viewer.kill();
            viewer.waitForFinished();
        }
        std::map<std::string, std::string> figures;
        std::istringstream said(viewer.readAllStandardOutput().toStdString());
        for (std::string word; said >> word;)
            if (const auto eq = word.find('='); eq != word.npos)
                figures[word.substr(0, eq)] = word.substr(eq + 1);
        if (figures.contains("hwm_kb"))
            hwm = std::stol(figures["hwm_kb"]);
        std::string line = "file=" + file.name + " bytes=" + std::to_string(bytes.size());
        for (const char* key : {"shown", "load_ms", "paint_ms", "actions_ms"})
            if (figures.contains(key))
                line += std::string(" ") + key + "=" + figures[key];
        if (hwm >= 0 && figures.contains("base_kb"))
            line +=
                " hwm_mb=" + ms(static_cast<double>(hwm - std::stol(figures["base_kb"])) / 1024);
        if (!finished)
            line += " timeout_s=" + std::to_string(seconds);
        else if (viewer.exitStatus() != QProcess::NormalExit || viewer.exitCode() != 0)
            line += " failed";
        say(line);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--viewer")
        return measureViewer(argc, argv);
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::stoi(argv[1]) : 30;
    std::vector<RulesFile> files;
    for (int k = 2; k < argc; ++k) {
        // KIND:BYTES[:LINE]
        std::istringstream request(argv[k]);
        std::string kind, bytes, line;
        std::getline(request, kind, ':');
        std::getline(request, bytes, ':');
        std::getline(request, line, ':');
        if (!kindNames.contains(kind) || bytes.empty()) {
            std::fprintf(stderr, "viewertiming: no file kind %s\n", argv[k]);
            return 2;
        }
        files.push_back(
            {argv[k], kindNames.at(kind), std::stoul(bytes), line.empty() ? 0 : std::stoul(line)});
    }
    return measureFiles(files.empty() ? defaultFiles() : files, seconds);
}
