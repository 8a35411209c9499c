// Creation, showing and unloading of the program's windows.
#include "program.h"

#include "gamewindow.h"
#include "titlescreen.h"

namespace jorv {

Program::Program(const Services& services)
    : services_(services) {}

Program::~Program() {
    delete title_;
}

void Program::start() {
    if (!title_)
        title_ = new TitleScreen(services_, *this, [this] { unloadTitle(); });
    title_->show();
}

void Program::showGameWindow() {
    if (!game_) {
        game_ = std::make_unique<GameWindow>(services_, *this);
        if (title_)
            game_->load(title_->label3(), title_->windowControl());
    }
    game_->show();
    game_->raise();
    game_->activateWindow();
}

void Program::showHelp() {}

TitleScreen* Program::titleScreen() const {
    return title_;
}

void Program::unloadTitle() {
    if (!title_)
        return;
    // The title screen's own click handler is still running when the game
    // window unloads it, so it is hidden now and deleted once that returns.
    title_->hide();
    title_->deleteLater();
    title_ = nullptr;
}

} // namespace jorv
