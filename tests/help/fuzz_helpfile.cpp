// libFuzzer target for the help file reader: whatever bytes the rules file
// holds, the reader must make one to ten well-formed sections of valid UTF-8
// that keep every line after the preamble, without a crash or a hang.
// Built and run by scripts/fuzz-help.sh, not by the test run.
#include "helpfile.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cuchar>
#include <string_view>

namespace {

bool isUtf8(std::string_view s) {
    std::mbstate_t state{};
    for (std::size_t n = 0; !s.empty(); s.remove_prefix(std::max<std::size_t>(n, 1)))
        if ((n = std::mbrtoc32(nullptr, s.data(), s.size(), &state)) > s.size())
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool utf8 = std::setlocale(LC_ALL, "C.UTF-8") != nullptr;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The file's raw lines, ended by CR or CR LF: those before the first
    // heading (a line that begins with "#") are the preamble.
    long preamble = 0, lines = 0, headings = 0;
    for (std::size_t start = 0; start < bytes.size(); ++lines) {
        const std::size_t end = std::min(bytes.find('\r', start), bytes.size());
        if (end > start && bytes[start] == '#')
            ++headings;
        else if (headings == 0)
            ++preamble;
        start = end + 1 + (end + 1 < bytes.size() && bytes[end + 1] == '\n');
    }
    const jorv::HelpFile help = jorv::splitHelpFile(bytes);
    bool ok = utf8 && help.sectionTotal() == (headings == 0 ? 1 : std::min<long>(headings, 10));
    long linesKept = 0; // each title's line, and one for each line break
    for (int k = 1; ok && k <= help.sectionTotal(); ++k) {
        const std::string_view title = help.sectionTitle(k), text = help.sectionText(k);
        ok = isUtf8(text) && isUtf8(title) && title.find('\r') == title.npos &&
             text.starts_with(title) &&
             (text.size() == title.size() || text.substr(title.size(), 2) == "\r\n") &&
             (headings == 0 ? text.empty() : title.front() == ' ');
        for (std::size_t at = 0; at != text.npos; at = text.find("\r\n", at + 2 * (at > 0)))
            ++linesKept;
    }
    if (!ok || (headings > 0 && linesKept != lines - preamble))
        std::abort();
    return 0;
}
