// The rules file reader: splits "Jorv-Hlp.TXT", Shift-JIS text with CR LF
// line ends, into titled sections. It builds on the standard library and the
// C library's iconv and file calls only; the help viewer shows what it makes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace jorv {

// The rules file, opened by its bare name in the current working directory.
inline constexpr const char* helpFileName = "Jorv-Hlp.TXT";

// The sections of a rules file, in file order. Every title but that of a
// file without headings begins with a space (the heading's "#" turned into
// one), and every text begins with its title line; the lines of a text are
// joined by CR LF. There is always at least one section.
class HelpFile {
public:
    static constexpr int maxSections = 10;
    // The largest rules file the help viewer shows. Its text box lays this
    // much out and paints it in about a fifth of the half second it may take
    // (bench/viewertiming), and slows down fast past it: with the number of
    // lines, and with the square of a line's length. Lines are counted as
    // the text box breaks them, at CR LF, CR or a lone LF, and measured in
    // bytes, two for a kanji. The shipped rules, 7 KB in 121 lines, fit some
    // seventy times over.
    static constexpr std::size_t maxBytes = 512 * 1024;
    static constexpr std::size_t maxLines = 10'000;
    static constexpr std::size_t maxLineBytes = 8 * 1024;

    int sectionTotal() const { return static_cast<int>(sectionTitle_.size()); }
    // k counts from 1 to sectionTotal().
    const std::string& sectionTitle(int k) const { return sectionTitle_.at(k - 1); }
    const std::string& sectionText(int k) const { return sectionText_.at(k - 1); }

private:
    friend HelpFile splitHelpFile(std::string_view bytes);
    friend HelpFile readHelpFile();
    // Starts the next section with a heading line.
    void addHeading(const std::string& helpLine);
    void addBodyLine(const std::string& helpLine);

    std::vector<std::string> sectionTitle_;
    std::vector<std::string> sectionText_;
};

// The sections that the bytes of a rules file hold. Lines end at CR or CR LF,
// never at a lone LF, and are decoded from Shift-JIS (code page 932), bytes
// that are not Shift-JIS becoming U+FFFD. Lines before the first heading, a
// line whose first character is "#", are skipped; a file without headings
// gives one empty section. A heading after the tenth starts no section: it
// stays a body line of the tenth, so nothing in the file is lost.
HelpFile splitHelpFile(std::string_view bytes);

// Reads "Jorv-Hlp.TXT" from the current working directory. A file that is
// missing, cannot be read, is no regular file (a folder, a FIFO, a device)
// or is larger than the viewer shows (past HelpFile's maxBytes, maxLines or
// maxLineBytes) gives at once one section that says which, names the folder
// where it was looked for and what to do.
HelpFile readHelpFile();

} // namespace jorv
