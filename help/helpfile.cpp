// Splitting a rules file into sections, and reading it from the current folder.
#include "helpfile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include <iconv.h>

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

// The whole file, or nothing when it cannot be opened or read to its end (a
// folder of that name opens but cannot be read).
std::optional<std::string> readBytes(const char* name) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name, "rb"), &std::fclose);
    if (!file)
        return std::nullopt;
    std::string bytes;
    char chunk[4096];
    while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, file.get()))
        bytes.append(chunk, n);
    if (std::ferror(file.get()))
        return std::nullopt;
    return bytes;
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
    if (const std::optional<std::string> bytes = readBytes(helpFileName))
        return splitHelpFile(*bytes);
    HelpFile help;
    help.addHeading("#ルールの説明を読み込めません");
    help.addBodyLine("");
    help.addBodyLine(std::string("ルールの説明のファイル「") + helpFileName +
                     "」を読み込めませんでした。");
    help.addBodyLine("探したフォルダ：" + currentFolder());
    help.addBodyLine("");
    help.addBodyLine(
        "ゲームを始めるフォルダにこのファイルを置いてから、この画面を開き直してください。");
    return help;
}

} // namespace jorv
