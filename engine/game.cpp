// The game window's load, the flag reset, the flag-input switch and the
// flag toggle.
#include "game.h"

#include "facts.h"
#include "numbers.h"

namespace jorv {

Game::Game(const GameControls& controls, const Services& services)
    : GameControls(controls)
    , services_(services) {}

void Game::load(const Label& titleLabel3, Window& titleWindow) {
    speedCount = nearest(leadingNumber(titleLabel3.caption()));
    window.setTop(titleWindow.top());
    window.setLeft(titleWindow.left());
    titleWindow.unload();
    バー残量.setValue(14);
    for (int i = 1; i <= 5; ++i)
        colourWords(i) = flags[i - 1].word;
    actionWords = {{"あげて", "さげて", "さげない", "あげない"}};
    missesLeft = 10;
    setFlagInput(false);
    Label1.setCaption("準備はできましたか？");
    Label1.announce();
    進行ボタン.setCaption("－－－－＞");
    stage = 0;
}

void Game::resetFlags() {
    for (int i = 1; i <= 5; ++i) {
        flagUp(i) = false;
        expectedUp(i) = false;
        Shape1(i).setTop(flagLoweredTop);
        Shape1(i).setRaised(false);
        Shape1(i).setVisible(flagInPlay(i));
    }
}

void Game::setFlagInput(bool on) {
    for (int i = 1; i <= 5; ++i) {
        Command1(i).setEnabled(on);
        メニュー各旗(i).setEnabled(on);
    }
}

void Game::toggleFlag(std::int16_t index) {
    // The shape moves even while it is hidden, so a blindfolded flag shows
    // where it really stands once a miss reveals it.
    if (!flagInPlay(index))
        return;
    flagUp(index) = !flagUp(index);
    Shape1(index).setTop(flagUp(index) ? flagRaisedTop : flagLoweredTop);
    Shape1(index).setRaised(flagUp(index));
    // A blindfolded flag is not read out either.
    if (flagShown(index))
        Shape1(index).announce();
}

} // namespace jorv
