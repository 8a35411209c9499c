// The game window: it builds the widgets, hands the game its controls and
// routes the player's presses and the menu commands to it. Every game rule
// lives in the game itself.
#pragma once

#include "fittinglabel.h"
#include "game.h"
#include "narrator.h"
#include "selfsizinglabel.h"
#include "services.h"
#include "shapewidget.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;

namespace jorv {

class GameWindow final : public QMainWindow {
    Q_OBJECT
public:
    // `showRules` opens the help viewer, for the rules menu item.
    GameWindow(const Services& services, std::function<void()> showRules);
    ~GameWindow() override;

    // The window load; runs once, before the window is first shown.
    void load(const Label& titleLabel3, Window& titleWindow);

    Game& game() { return *game_; }
    QLabel* label1() const { return Label1_; }
    QLabel* label2() const { return Label2_; }
    QPushButton* progressButton() const { return 進行ボタン_; }
    QPushButton* flagButton(int i) const { return Command1_[i - 1]; }
    ShapeWidget* flagShape(int i) const { return Shape1_[i - 1]; }
    QAction* flagItem(int i) const { return メニュー各旗_[i - 1]; }
    QProgressBar* progressBar() const { return バー残量_; }
    QLabel* panel(int number) const { return panels_[number - 1]; }

protected:
    // Keeps the focus off a hidden button and routes a double-click on a
    // status-bar panel to the game.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Controls;

    void whenPressed(QPushButton* button, std::function<void()> handler);
    void buildMenus(const std::function<void()>& showRules);
    void buildStatusBar();
    void stackAndOrder(QWidget* line1);
    void showVersion();

    Services services_;
    QWidget* surface_;
    FittingLabel* Label1_;
    SelfSizingLabel* Label2_;
    QPushButton* 進行ボタン_;
    // Reads out the game's messages, its commands and the flags' moves.
    std::unique_ptr<Narrator> narrator_;
    std::array<ShapeWidget*, 5> Shape1_{};
    std::array<QPushButton*, 5> Command1_{};
    std::array<QAction*, 5> メニュー各旗_{};
    std::array<QLabel*, 3> panels_{};
    QProgressBar* バー残量_ = nullptr;
    std::unique_ptr<Controls> controls_;
    std::unique_ptr<Game> game_;
};

} // namespace jorv
