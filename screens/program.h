// The program's windows: the title screen it starts with, the game window
// that the title screen shows, and the help viewer that both can open. Each
// window is created on its first use and exists at most once.
#pragma once

#include "services.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace jorv {

class GameWindow;
class HelpViewer;
class TitleScreen;

class Program {
public:
    explicit Program(const Services& services);
    ~Program();

    // Loads and shows the title screen.
    void start();
    // Loads the game window on its first use, which unloads the title
    // screen, and shows it.
    void showGameWindow();
    // Shows the one help viewer: loads it when it is not loaded, which
    // reads the rules file afresh, and otherwise only brings it up again.
    void showHelp();

    TitleScreen* titleScreen() const;
    GameWindow* gameWindow() const { return game_.get(); }
    HelpViewer* helpViewer() const;

private:
    static void bringUp(QWidget* window);
    void unloadTitle();

    Services services_;
    QPointer<TitleScreen> title_;
    std::unique_ptr<GameWindow> game_;
    QPointer<HelpViewer> help_;
};

} // namespace jorv
