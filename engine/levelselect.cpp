// The hidden level select: behind an access code, a stage to start from, or
// the ending at once. Entries that name no stage change nothing.
#include "game.h"

#include "facts.h"
#include "numbers.h"

#include <optional>

namespace jorv {

namespace {

const std::string accessCode = "MPW%7140";

// Digits, signs, the decimal point and spaces as a Japanese input method
// types them in full width, read as their ASCII forms.
std::string halfWidth(const std::string& text) {
    std::string ascii;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
        // U+FF0B to U+FF19 ("＋" to "９") lie at the same distance from
        // their ASCII forms.
        if (i + 2 < text.size() && byte(i) == 0xEF && byte(i + 1) == 0xBC && byte(i + 2) >= 0x8B &&
            byte(i + 2) <= 0x99) {
            ascii += static_cast<char>('+' + (byte(i + 2) - 0x8B));
            i += 3;
        } else if (text.compare(i, 3, "\u3000") == 0) {
            ascii += ' ';
            i += 3;
        } else {
            ascii += text[i++];
        }
    }
    return ascii;
}

// The level an entry names: a number taken to the nearest whole, ties to
// even, that is a stage (1 to lastStage) or a way to the ending (past it, to
// 255).
std::optional<std::uint8_t> levelIn(const std::string& entry) {
    const std::optional<double> number = wholeNumber(halfWidth(entry));
    if (!number)
        return std::nullopt;
    const std::int32_t level = nearest(*number);
    if (level < 1 || level > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(level);
}

} // namespace

void Game::パネルDoubleClick(int /*panel*/) {
    // Only while play waits for the progress button, never inside a stage.
    if (!進行ボタン.visible())
        return;
    if (services_.inputBox.ask("パスワードを入力して下さい。", "Debug") != accessCode)
        return;
    const std::optional<std::uint8_t> level =
        levelIn(services_.inputBox.ask("レベルを入力して下さい。", "Debug"));
    if (!level)
        return;
    stage = *level;
    if (stage <= lastStage) {
        // The next set-up adds one: the entered stage is the one it prepares.
        --stage;
        return;
    }
    // A press in the middle of the ending would start play inside it; the
    // ending shows the button again when it is over.
    進行ボタン.setVisible(false);
    allClearEnding();
}

} // namespace jorv
