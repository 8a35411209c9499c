// libFuzzer target for the help file reader: whatever bytes the rules file
// holds, the reader must make one to ten well-formed sections of valid UTF-8
// that keep every line after the preamble, without a crash or a hang.
// Built and run by scripts/fuzz-help.sh, not by the test run.
#include "helpfile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

bool isUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t n = b < 0x80         ? 1
                              : (b >> 5) == 6  ? 2
                              : (b >> 4) == 14 ? 3
                              : (b >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t j = 1; j < n; ++j)
            if ((static_cast<unsigned char>(s[i + j]) >> 6) != 2)
                return false;
        i += n;
    }
    return true;
}

// The file's raw lines as the reader must see them: ended by CR or CR LF.
struct LineCount {
    long preamble = 0; // lines before the first line that begins with "#"
    long lines = 0;
    long headings = 0;
};

LineCount countLines(std::string_view bytes) {
    LineCount count;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\r', start);
        end = end == std::string_view::npos ? bytes.size() : end;
        if (end > start && bytes[start] == '#')
            ++count.headings;
        else if (count.headings == 0)
            ++count.preamble;
        ++count.lines;
        start = end + 1;
        if (start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    return count;
}

long countLineBreaks(std::string_view text) {
    long breaks = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos;
         at = text.find("\r\n", at + 2))
        ++breaks;
    return breaks;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const jorv::HelpFile help = jorv::splitHelpFile(bytes);
    const LineCount count = countLines(bytes);
    const int total = help.sectionTotal();
    check(total == (count.headings == 0 ? 1 : std::min<long>(count.headings, 10)));

    long linesKept = 0;
    for (int k = 1; k <= total; ++k) {
        const std::string& title = help.sectionTitle(k);
        const std::string& text = help.sectionText(k);
        check(isUtf8(text) && isUtf8(title));
        check(title.find('\r') == std::string::npos);
        check(text.compare(0, title.size(), title) == 0);
        check(text.size() == title.size() || text.compare(title.size(), 2, "\r\n") == 0);
        if (count.headings == 0)
            check(title.empty() && text.empty());
        else
            check(title.front() == ' ');
        linesKept += 1 + countLineBreaks(text);
    }
    if (count.headings > 0)
        check(linesKept == count.lines - count.preamble);
    return 0;
}
