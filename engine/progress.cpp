// The progress button and what stands behind it: the start of play, the
// forgiven misses, the game over with its fall-back and the final game over.
// One press runs as a single chain of nested calls that returns only when a
// miss stops play or the ending has finished.
#include "game.h"

namespace jorv {

void Game::進行ボタンClick() {
    // Hidden at once and through every wait, so no second press can arrive
    // while this one is being handled.
    進行ボタン.setVisible(false);
    if (buttonAction == "ミス") {
        continueAfterMiss();
    } else if (buttonAction == "クリア") {
        services_.ender.endProgram();
    } else {
        Label1.setCaption("それでは、開始します！");
        Label1.announce();
        waitUnits(5);
        setUpStage();
    }
}

void Game::continueAfterMiss() {
    if (missesLeft == 0) {
        gameOver();
        return;
    }
    --missesLeft;
    パネル.setPanelText(2, "残りミス：" + std::to_string(missesLeft));
    Label1.setCaption("ミスはあと" + std::to_string(missesLeft) + "回です。");
    Label1.announce();
    waitUnits(3);
    Label2.setVisible(false);
    Label1.setForeColor(Colour::systemButtonText());
    resetFlags();
    runStage();
}

void Game::gameOver() {
    Label1.setCaption("ゲームオーバーです。");
    Label1.announce();
    waitUnits(3);
    if (stage == 1) {
        finalGameOver();
        return;
    }
    Label1.setCaption("前の面からやり直しです");
    Label1.announce();
    waitUnits(3);
    Label2.setVisible(false);
    Label1.setForeColor(Colour::systemButtonText());
    // The set-up adds one again, so this lands on the stage before. Only
    // the level select can leave the stage at 0 here; that falls back to a
    // replay of stage 1 rather than wrapping round.
    stage = stage >= 2 ? static_cast<std::uint8_t>(stage - 2) : 0;
    missesLeft = 10;
    resetFlags();
    setUpStage();
}

void Game::finalGameOver() {
    Label1.setCaption("また出直してきて下さい。");
    Label1.announce();
    waitUnits(3);
    Label2.setCaption("GAME OVER");
    Label2.setVisible(true);
    Label2.announce();
    waitUnits(7);
    services_.ender.endProgram();
}

} // namespace jorv
