// The game window: it builds the widgets, hands the game its controls and
// routes the menu commands. Every game rule lives in the game itself.
#pragma once

#include "game.h"
#include "qtcontrols.h"
#include "services.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace jorv {

class Program;

class GameWindow final : public QMainWindow {
    Q_OBJECT
public:
    GameWindow(const Services& services, Program& program);
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
    // Routes a double-click on a status-bar panel to the game, and tells
    // assistive technology when a flag is raised or lowered.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void whenPressed(QPushButton* button, std::function<void()> handler);
    void buildMenus();
    void buildStatusBar();
    void stackAndOrder(QWidget* line1);
    void showVersion();
    template <class T, class... Args> T& keep(Args&&... args);

    Services services_;
    Program& program_;
    QWidget* surface_;
    QLabel* Label1_;
    QLabel* Label2_;
    QPushButton* 進行ボタン_;
    std::array<ShapeWidget*, 5> Shape1_;
    std::array<QPushButton*, 5> Command1_;
    std::array<QAction*, 5> メニュー各旗_;
    QStatusBar* パネル_ = nullptr;
    std::array<QLabel*, 3> panels_{};
    QProgressBar* バー残量_ = nullptr;
    std::vector<std::shared_ptr<void>> controls_;
    std::unique_ptr<Game> game_;
};

} // namespace jorv
