// The ending after the last stage: the banner and the farewells, the flags
// leaving one by one, the white flag sliding over to the black flag's button
// and turning red on the way, the button rising to meet it, and "THE END".
#include "game.h"

#include "facts.h"

#include <initializer_list>

namespace jorv {

void Game::allClearEnding() {
    // Every wait is worked out from speedCount as it begins.
    setFlagInput(false);
    window.setBackColor(colours::gameBackground);
    パネル.setPanelText(1, "");
    waitUnits(1.5);
    Label2.setCaption("ALL Clear!");
    Label2.setForeColor(colours::allClearBanner);
    Label2.setVisible(true);
    Label2.announce();
    Label1.setCaption("全面終了しました");
    Label1.announce();
    waitUnits(3);
    Label1.setCaption("お疲れ様でした");
    Label1.announce();
    waitUnits(3);
    Label1.setCaption("");
    waitUnits(1.5);
    for (int i = 1; i <= 4; ++i) {
        Shape1(i).setVisible(false);
        waitUnits(1.2);
    }

    // The white flag only ever moves and changes here; if it was hidden
    // when the ending began, none of it is seen.
    Shape& white = Shape1(5);
    white.setTop(flagLoweredTop);
    white.setRaised(false);
    for (int x = flagLeft(5); x >= flagLeft(3); x -= 10) {
        white.setLeft(x);
        if (x == 4900)
            white.setFillColor(colours::whiteFlagBlushes[0]);
        else if (x == 4300)
            white.setFillColor(colours::whiteFlagBlushes[1]);
        else if (x == 3750)
            white.setFillColor(colours::whiteFlagBlushes[2]);
        wait(speedCount / 10);
    }
    CommandButton& black = Command1(3);
    black.setCaption("･_･ (F3)");
    black.setEnabled(true);
    waitUnits(1.5);
    for (int y = flagButtonTop; y >= flagButtonTop - 220; y -= 10) {
        black.setTop(y);
        wait(speedCount / 12);
    }
    services_.beeper.beep();
    black.setCaption("+_+ (F3)");
    waitUnits(1.2);
    white.setFillStyle(FillStyle::DiagonalCross);
    wait(speedCount / 4);
    white.setFillStyle(FillStyle::DownwardDiagonal);
    wait(speedCount / 4);
    white.setVisible(false);
    waitUnits(1.5);

    for (int i : {1, 2, 4, 5})
        Command1(i).setVisible(false);
    waitUnits(1);
    black.setVisible(false);
    waitUnits(1);
    charDelay = speedCount / 2;
    spellOut("ＴＨＥ ＥＮＤ");
    buttonAction = "クリア";
    進行ボタン.setCaption("お疲れ様でした");
    進行ボタン.setVisible(true);
}

} // namespace jorv
