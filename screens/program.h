// The program: it builds and owns the real windows, the title screen it
// starts with, the game window that the title screen shows and the help
// viewer that both can open, and hands each its parts. Each window is
// loaded on its first use, exists at most once and unloads itself; whatever
// is still loaded goes with the program.
#pragma once

#include "services.h"

#include <QPointer>

#include <memory>

class QWidget;

namespace jorv {

class GameWindow;
class HeldKeys;
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
    GameWindow* gameWindow() const;
    HelpViewer* helpViewer() const;

private:
    static void bringUp(QWidget* window);
    void unloadTitle();

    Services services_;
    std::unique_ptr<HeldKeys> heldKeys_;
    QPointer<TitleScreen> title_;
    QPointer<GameWindow> game_;
    QPointer<HelpViewer> help_;
};

} // namespace jorv
