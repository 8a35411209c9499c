// Splitting a rules file into sections, and reading it from the current folder.
#include "helpfile.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jorv {

namespace {

constexpr std::string_view replacementCharacter = "\xEF\xBF\xBD"; // U+FFFD

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool isTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// How many bytes one undecodable character spans. A lead byte takes the next
// byte with it when that could trail it, except an ASCII byte, which is read
// again on its own: so "\x81" before a line's "A" costs one U+FFFD and keeps
// the "A", and a stray byte cannot shift the rest of the line out of step.
std::size_t undecodableLength(std::string_view rest) {
    if (rest.size() >= 2 && isLeadByte(static_cast<unsigned char>(rest[0]))) {
        const auto trail = static_cast<unsigned char>(rest[1]);
        if (trail >= 0x80 && isTrailByte(trail))
            return 2;
    }
    return 1;
}

// Code page 932 to UTF-8 through glibc's iconv, which maps 0x5C and 0x7E to
// the ASCII backslash and tilde and knows the NEC and IBM extensions.
class Cp932Decoder {
public:
    Cp932Decoder()
        : cd_(iconv_open("UTF-8", "CP932")) {}
    ~Cp932Decoder() {
        if (available())
            iconv_close(cd_);
    }
    Cp932Decoder(const Cp932Decoder&) = delete;
    Cp932Decoder& operator=(const Cp932Decoder&) = delete;

    std::string decode(std::string_view bytes) {
        std::string text;
        while (!bytes.empty()) {
            convertUpToError(bytes, text);
            if (!bytes.empty()) {
                text += replacementCharacter;
                bytes.remove_prefix(undecodableLength(bytes));
            }
        }
        return text;
    }

private:
    bool available() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Appends what decodes of the bytes up to their end or to the first
    // character that does not, which stays at their front.
    void convertUpToError(std::string_view& bytes, std::string& text) {
        if (!available()) {
            // A C library without its code page modules: only ASCII reads.
            while (!bytes.empty() && static_cast<unsigned char>(bytes.front()) < 0x80) {
                text += bytes.front();
                bytes.remove_prefix(1);
            }
            return;
        }
        for (;;) {
            char buffer[1024];
            char* in = const_cast<char*>(bytes.data());
            std::size_t inLeft = bytes.size();
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t result = iconv(cd_, &in, &inLeft, &out, &outLeft);
            const bool bufferFull = result == static_cast<std::size_t>(-1) && errno == E2BIG;
            text.append(buffer, out - buffer);
            bytes.remove_prefix(bytes.size() - inLeft);
            if (!bufferFull)
                return;
        }
    }

    iconv_t cd_;
};

// Reads the file line by line. A line ends at a CR, and a LF right after that
// CR belongs to the same line end; a LF on its own is part of the line. No CR
// can hide inside a Shift-JIS character, whose second byte is 0x40 or above,
// so the line ends are found in the bytes before decoding.
class LineReader {
public:
    explicit LineReader(std::string_view bytes)
        : bytes_(bytes) {}
    bool atEnd() const { return next_ >= bytes_.size(); }
    std::string readLine() {
        const std::size_t end = std::min(bytes_.find('\r', next_), bytes_.size());
        std::string line = decoder_.decode(bytes_.substr(next_, end - next_));
        next_ = end + 1;
        if (next_ < bytes_.size() && bytes_[next_] == '\n')
            ++next_;
        return line;
    }

private:
    std::string_view bytes_;
    std::size_t next_ = 0;
    Cp932Decoder decoder_;
};

// An empty line has no first character, so it is never a heading.
bool isHeading(const std::string& line) {
    return !line.empty() && line.front() == '#';
}

// Why the rules file could not be read.
enum class ReadFailure { Missing, NotAFile, TooLarge, Unreadable };

struct FileBytes {
    std::string bytes;
    std::optional<ReadFailure> failure;
};

// The whole file. It is opened without waiting, so a FIFO or a device of
// that name cannot hold the program up, and only a regular file of a
// sensible size is read.
FileBytes readBytes(const char* name) {
    const int fd = ::open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {{},
                errno == ENOENT || errno == ENOTDIR ? ReadFailure::Missing
                                                    : ReadFailure::Unreadable};
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return {{}, ReadFailure::Unreadable};
    if (!S_ISREG(status.st_mode))
        return {{}, ReadFailure::NotAFile};
    if (static_cast<std::uintmax_t>(status.st_size) > HelpFile::maxBytes)
        return {{}, ReadFailure::TooLarge};
    FileBytes file;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n == 0)
            return file;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {{}, ReadFailure::Unreadable};
        // The file may grow while it is read.
        if (file.bytes.size() + static_cast<std::size_t>(n) > HelpFile::maxBytes)
            return {{}, ReadFailure::TooLarge};
        file.bytes.append(chunk, static_cast<std::size_t>(n));
    }
}

// Whether the help viewer's text box shows the bytes in time: no more lines
// than it may lay out, none longer than it may, with each lone LF breaking a
// line there as much as a CR does.
bool fitsTheTextBox(std::string_view bytes) {
    std::size_t lines = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
        if (end - start > HelpFile::maxLineBytes || ++lines > HelpFile::maxLines)
            return false;
        start = end + 1 + (bytes.substr(end, 2) == "\r\n");
    }
    return true;
}

std::string currentFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string("（分かりません）") : folder.string();
}

} // namespace

void HelpFile::addHeading(const std::string& helpLine) {
    const std::string title = " " + helpLine.substr(1);
    sectionTitle_.push_back(title);
    sectionText_.push_back(title);
}

void HelpFile::addBodyLine(const std::string& helpLine) {
    sectionText_.back() += "\r\n" + helpLine;
}

HelpFile splitHelpFile(std::string_view bytes) {
    LineReader file(bytes);
    HelpFile help;
    std::string helpLine;
    bool heading = false;
    while (!heading && !file.atEnd()) {
        helpLine = file.readLine();
        heading = isHeading(helpLine);
    }
    if (!heading) {
        help.sectionTitle_.assign(1, "");
        help.sectionText_.assign(1, "");
        return help;
    }
    help.addHeading(helpLine);
    while (!file.atEnd()) {
        helpLine = file.readLine();
        if (isHeading(helpLine) && help.sectionTotal() < HelpFile::maxSections)
            help.addHeading(helpLine);
        else
            help.addBodyLine(helpLine);
    }
    return help;
}

HelpFile readHelpFile() {
    FileBytes file = readBytes(helpFileName);
    if (!file.failure && !fitsTheTextBox(file.bytes))
        file.failure = ReadFailure::TooLarge;
    if (!file.failure)
        return splitHelpFile(file.bytes);
    const std::string name = std::string("「") + helpFileName + "」";
    HelpFile help;
    help.addHeading("#ルールの説明を読み込めません");
    help.addBodyLine("");
    help.addBodyLine("ルールの説明のファイル" + name + "を読み込めませんでした。");
    help.addBodyLine("探したフォルダ：" + currentFolder());
    help.addBodyLine("");
    switch (*file.failure) {
    case ReadFailure::Missing:
        help.addBodyLine("このフォルダに" + name + "がありません。");
        help.addBodyLine(
            "ゲームを始めるフォルダにこのファイルを置いてから、この画面を開き直してください。");
        break;
    case ReadFailure::NotAFile:
        help.addBodyLine("このフォルダの" + name +
                         "は、フォルダや特殊なファイルで、ふつうのファイルではありません。");
        help.addBodyLine("ルールの説明のファイルと置き換えてから、この画面を開き直してください。");
        break;
    case ReadFailure::TooLarge:
        static_assert(HelpFile::maxBytes % 1024 == 0, "the size limit is told in KiB");
        help.addBodyLine("このフォルダの" + name + "は大きすぎます。");
        help.addBodyLine("ルールの説明のファイルは" + std::to_string(HelpFile::maxBytes / 1024) +
                         "KiBまで、行（CR LF、CRまたはLFで区切ります）は" +
                         std::to_string(HelpFile::maxLines) + "行まで、1行は" +
                         std::to_string(HelpFile::maxLineBytes) + "バイト（全角で" +
                         std::to_string(HelpFile::maxLineBytes / 2) + "文字）までです。");
        help.addBodyLine("ルールの説明のファイルと置き換えてから、この画面を開き直してください。");
        break;
    case ReadFailure::Unreadable:
        help.addBodyLine(
            "このフォルダに" + name +
            "はありますが、読み取りが許可されていないか、読み込みの途中で失敗しました。");
        help.addBodyLine("読み取れるようにしてから、この画面を開き直してください。");
        break;
    }
    return help;
}

} // namespace jorv
