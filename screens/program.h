// The program: it builds and owns the real windows, the title screen it
// starts with, the game window that the title screen shows and the help
// viewer that both can open, and hands each its parts. Each window is
// loaded on its first use, exists at most once and unloads itself; whatever
// is still loaded goes with the program.
#pragma once

#include "gamewindow.h"
#include "helpviewer.h"
#include "titlescreen.h"

#include <QPointer>

namespace jorv {

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

    TitleScreen* titleScreen() const { return title_; }
    GameWindow* gameWindow() const { return game_; }
    HelpViewer* helpViewer() const { return help_; }

private:
    static void bringUp(QWidget* window);
    void unloadTitle();

    Services services_;
    QPointer<TitleScreen> title_;
    QPointer<GameWindow> game_;
    QPointer<HelpViewer> help_;
};

} // namespace jorv
