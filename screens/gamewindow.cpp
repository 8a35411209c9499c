// The game window's widgets at their design places, and its menu commands.
#include "gamewindow.h"

#include "fonts.h"
#include "numbers.h"
#include "program.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace jorv {

namespace {

struct Flag {
    const char* button;
    const char* item;
    Colour colour;
    Qt::Key key;
};

const std::array<Flag, 5> flags{{
    {"赤 (F1)", "赤 &Red", Colour::rgb(255, 0, 0), Qt::Key_F1},
    {"黄色 (F2)", "黄 &Yellow", Colour::rgb(255, 255, 0), Qt::Key_F2},
    {"黒 (F3)", "黒 &Black", Colour::rgb(0, 0, 0), Qt::Key_F3},
    {"緑 (F4)", "緑 &Green", Colour::rgb(0, 192, 0), Qt::Key_F4},
    {"白 (F5)", "白 &White", Colour::rgb(255, 255, 255), Qt::Key_F5},
}};

// Only red and white are out at the start.
bool shownAtDesign(int i) {
    return i == 1 || i == 5;
}

} // namespace

template <class T, class... Args> T& GameWindow::keep(Args&&... args) {
    auto control = std::make_shared<T>(std::forward<Args>(args)...);
    controls_.push_back(control);
    return *control;
}

GameWindow::GameWindow(const Services& services, Program& program)
    : services_(services)
    , program_(program)
    , surface_(new QWidget(this))
    , Label1_(new QLabel(QStringLiteral("Hyper Jorv"), surface_))
    , Label2_(new QLabel(QStringLiteral("Ｍｉｓｓ!"), surface_))
    , 進行ボタン_(new QPushButton(QStringLiteral("－－－－＞"), surface_)) {
    setWindowTitle(QStringLiteral("Hyper Jorv"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCentralWidget(surface_);
    surface_->setFixedSize(toPixels(7560), toPixels(4890));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    placeInTwips(Label1_, -7, 240, 7575, 735);
    Label1_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1_->setFont(layoutFont(faces::pGothic, 36));
    placeInTwips(進行ボタン_, 5880, 1080, 1575, 375);
    placeInTwips(Label2_, 1875, 1725, 3705, 1455);
    Label2_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2_->setFont(layoutFont(faces::pGothic, 72));
    Label2_->hide();

    std::array<Shape*, 5> shapes{};
    std::array<CommandButton*, 5> buttons{};
    for (int i = 1; i <= 5; ++i) {
        const int column = 840 * (i - 1);
        auto* shape = new ShapeWidget(surface_);
        placeInTwips(shape, 1920 + column, flagLoweredTop, 375, 375);
        shape->fillColor = flags[i - 1].colour;
        shape->setVisible(shownAtDesign(i));
        Shape1_[i - 1] = shape;
        shapes[i - 1] = &keep<QtShape>(shape);

        auto* button = new QPushButton(QString::fromUtf8(flags[i - 1].button), surface_);
        placeInTwips(button, 1793 + column, 3225, 615, 495);
        button->setEnabled(false);
        button->setVisible(shownAtDesign(i));
        Command1_[i - 1] = button;
        buttons[i - 1] = &keep<QtCommandButton>(button);
    }

    auto* line1 = new QWidget(surface_);
    placeInTwips(line1, 0, 0, 7560, 15);
    line1->setAutoFillBackground(true);
    line1->setPalette(QPalette(Qt::black));

    buildMenus();
    buildStatusBar();
    std::array<MenuItem*, 5> items{};
    for (int i = 1; i <= 5; ++i)
        items[i - 1] = &keep<QtMenuItem>(メニュー各旗_[i - 1]);

    auto& window = keep<QtWindow>(this, surface_, [] {});
    window.setBackColor(Colour::rgb(192, 192, 255));
    auto& label2 = keep<QtLabel>(Label2_);
    label2.setForeColor(Colour::rgb(255, 128, 0));
    GameControls controls{
        window,
        keep<QtLabel>(Label1_),
        label2,
        ControlArray<Shape, 5>(shapes),
        ControlArray<CommandButton, 5>(buttons),
        ControlArray<MenuItem, 5>(items),
        keep<QtCommandButton>(進行ボタン_),
        keep<QtStatusBar>(std::vector<QLabel*>(panels_.begin(), panels_.end())),
        keep<QtProgressBar>(バー残量_),
    };
    game_ = std::make_unique<Game>(controls, services_);

    for (int i = 1; i <= 5; ++i) {
        const auto index = static_cast<std::int16_t>(i);
        connect(Command1_[i - 1], &QPushButton::clicked, this,
                [this, index] { game_->toggleFlag(index); });
        connect(メニュー各旗_[i - 1], &QAction::triggered, this,
                [this, index] { game_->toggleFlag(index); });
    }
    connect(進行ボタン_, &QPushButton::clicked, this, [this] { game_->進行ボタンClick(); });
    for (QLabel* panel : panels_)
        panel->installEventFilter(this);
}

GameWindow::~GameWindow() = default;

void GameWindow::buildMenus() {
    QMenu* gameMenu = menuBar()->addMenu(QStringLiteral("ゲーム(&G)"));
    connect(gameMenu->addAction(QStringLiteral("終了(&Q)")), &QAction::triggered, this,
            [this] { services_.ender.endProgram(); });

    QMenu* flagMenu = menuBar()->addMenu(QStringLiteral("旗(&F)"));
    for (int i = 1; i <= 5; ++i) {
        QAction* item = flagMenu->addAction(QString::fromUtf8(flags[i - 1].item));
        item->setShortcut(QKeySequence(flags[i - 1].key));
        item->setShortcutContext(Qt::WindowShortcut);
        メニュー各旗_[i - 1] = item;
    }

    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    connect(helpMenu->addAction(QStringLiteral("ルールの説明(&R)")), &QAction::triggered, this,
            [this] { program_.showHelp(); });
    helpMenu->addSeparator();
    connect(helpMenu->addAction(QStringLiteral("バージョン情報(&A)")), &QAction::triggered, this,
            &GameWindow::showVersion);
}

void GameWindow::buildStatusBar() {
    パネル_ = new QStatusBar(surface_);
    パネル_->setSizeGripEnabled(false);
    パネル_->setAutoFillBackground(true);
    パネル_->setPalette(QApplication::palette());
    placeInTwips(パネル_, 0, 4440, 7560, 450);
    const std::array<const char*, 3> texts{"レベル1：まずは小手調べ", "残りミス：10", ""};
    const std::array<int, 3> widths{1440, 1440, 1000};
    for (int p = 0; p < 3; ++p) {
        panels_[p] = new QLabel(QString::fromUtf8(texts[p]));
        panels_[p]->setMinimumWidth(toPixels(widths[p]));
        panels_[p]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (p == 0)
            パネル_->addWidget(panels_[p], 1);
        else
            パネル_->addPermanentWidget(panels_[p]);
    }
    バー残量_ = new QProgressBar(surface_);
    バー残量_->setRange(0, 14);
    バー残量_->setTextVisible(false);
    placeInTwips(バー残量_, 2400, 4560, 2535, 255);
    バー残量_->raise();
}

void GameWindow::load(const Label& titleLabel3, Window& titleWindow) {
    game_->load(titleLabel3, titleWindow);
}

void GameWindow::showVersion() {
    services_.messageBox.show("Hyper Jorv\r\nバージョン 1.2\r\nProduced By QLM", box::information,
                              "バージョン情報");
}

bool GameWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int p = 1; p <= 3; ++p)
            if (watched == panels_[p - 1]) {
                game_->パネルDoubleClick(p);
                return true;
            }
    }
    return QMainWindow::eventFilter(watched, event);
}

void GameWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    services_.ender.endProgram();
}

} // namespace jorv
