// Creation, showing and unloading of the program's windows.
#include "program.h"

#include <QApplication>

namespace jorv {

Program::Program(const Services& services)
    : services_(services) {}

Program::~Program() {
    delete title_;
    delete game_;
    delete help_;
}

void Program::start() {
    if (!title_)
        title_ = new TitleScreen(services_, {[this] { showGameWindow(); }, [this] { showHelp(); }},
                                 [this] { unloadTitle(); });
    title_->show();
}

void Program::showGameWindow() {
    if (!game_) {
        game_ = new GameWindow(services_, [this] { showHelp(); });
        if (title_)
            game_->load(title_->label3(), title_->windowControl());
    }
    bringUp(game_);
}

void Program::showHelp() {
    // A closed viewer stays hidden until it is deleted, once its close
    // handler has returned; it is no longer loaded.
    if (!help_ || help_->isHidden())
        help_ = new HelpViewer(readHelpFile());
    bringUp(help_);
}

// A window shown again comes up as a player expects: restored if it was
// minimised, raised and active.
void Program::bringUp(QWidget* window) {
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
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
