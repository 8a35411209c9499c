// The game window's widgets at their design places, and its menu commands.
#include "gamewindow.h"

#include "application.h"
#include "captionbutton.h"
#include "clockpanel.h"
#include "facts.h"
#include "fonts.h"
#include "heldkeys.h"
#include "icon.h"
#include "numbers.h"
#include "qtcontrols.h"
#include "rule.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace jorv {

namespace {

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

int keyOf(const Flag& flag) {
    return Qt::Key_F1 + flag.functionKey - 1;
}

// Only red and white are out at the start.
bool shownAtDesign(int i) {
    return i == 1 || i == 5;
}

template <class Adapter, class Widget, class... Also>
std::array<Adapter, 5> adapt(std::array<Widget*, 5> w, Also... also) {
    return {Adapter(w[0], also...), Adapter(w[1], also...), Adapter(w[2], also...),
            Adapter(w[3], also...), Adapter(w[4], also...)};
}

} // namespace

// The game's controls over the window's widgets.
struct GameWindow::Controls {
    QtWindow window;
    QtLabel Label1, Label2;
    std::array<QtShape, 5> Shape1;
    std::array<QtCommandButton, 5> Command1;
    std::array<QtMenuItem, 5> メニュー各旗;
    QtCommandButton 進行ボタン;
    QtStatusBar パネル;
    QtProgressBar バー残量;

    GameControls named() {
        return {window,
                Label1,
                Label2,
                ControlArray<Shape, 5>(Shape1),
                ControlArray<CommandButton, 5>(Command1),
                ControlArray<MenuItem, 5>(メニュー各旗),
                進行ボタン,
                パネル,
                バー残量};
    }
};

GameWindow::GameWindow(const Services& services, std::function<void()> showRules)
    : services_(services)
    , surface_(new QWidget(this))
    , Label1_(new FittingLabel(QStringLiteral("Hyper Jorv"), surface_))
    , Label2_(new SelfSizingLabel(QStringLiteral("Ｍｉｓｓ!"), surface_))
    , 進行ボタン_(new CaptionButton(QStringLiteral("－－－－＞"), surface_))
    , narrator_(std::make_unique<Narrator>(surface_)) {
    // A flag's key held down is one press, while this window exists.
    std::vector<int> flagKeys;
    for (const Flag& flag : flags)
        flagKeys.push_back(keyOf(flag));
    Application::watchFirst(new HeldKeys(flagKeys, this));
    setWindowTitle(QStringLiteral("Hyper Jorv"));
    setWindowIcon(gameIcon());
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setCentralWidget(surface_);
    surface_->setFixedSize(toPixels(7560), toPixels(4890));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Label1_->setObjectName(QStringLiteral("Label1"));
    placeInTwips(Label1_, -7, 240, 7575, 735);
    Label1_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1_->setFont(layoutFont(faces::pGothic, 36));
    進行ボタン_->setObjectName(QStringLiteral("進行ボタン"));
    placeInTwips(進行ボタン_, 5880, 1080, 1575, 375);
    // The one button drawn as the default: Enter presses it while it holds
    // the focus, which it takes first while the flag buttons are disabled.
    進行ボタン_->setDefault(true);
    Label2_->setObjectName(QStringLiteral("Label2"));
    placeInTwips(Label2_, 1875, 1725, 3705, 1455);
    Label2_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label2_->setFont(layoutFont(faces::pGothic, 72));
    Label2_->hide();
    // "GAME OVER" and "ALL Clear!" are wider than the design's "Ｍｉｓｓ!"; the
    // banner may take the width of the window, a little in from its edges.
    Label2_->sizeItselfToText(surface_->rect().adjusted(8, 0, -8, 0));

    for (int i = 1; i <= 5; ++i) {
        auto* shape = new ShapeWidget(surface_);
        shape->setObjectName(QStringLiteral("Shape1(%1)").arg(i));
        placeInTwips(shape, flagLeft(i), flagLoweredTop, 375, 375);
        shape->setFillColor(toQColor(flags[i - 1].colour));
        shape->setAccessibleName(text(flags[i - 1].name));
        shape->setVisible(shownAtDesign(i));
        Shape1_[i - 1] = shape;

        auto* button = new CaptionButton(text(flags[i - 1].button), surface_);
        button->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        placeInTwips(button, flagLeft(i) - 127, flagButtonTop, 615, 495);
        button->setEnabled(false);
        button->setVisible(shownAtDesign(i));
        Command1_[i - 1] = button;
    }

    QFrame* line1 = newRule(surface_);
    line1->setObjectName(QStringLiteral("Line1"));
    placeInTwips(line1, 0, 0, 7560, 15);

    buildMenus(showRules);
    buildStatusBar();
    stackAndOrder(line1);

    controls_.reset(new Controls{
        QtWindow(this, surface_, [] {}),
        QtLabel(Label1_, narrator_.get()),
        QtLabel(Label2_, narrator_.get()),
        adapt<QtShape>(Shape1_, narrator_.get()),
        adapt<QtCommandButton>(Command1_),
        adapt<QtMenuItem>(メニュー各旗_),
        QtCommandButton(進行ボタン_),
        QtStatusBar(std::vector<QLabel*>(panels_.begin(), panels_.end())),
        QtProgressBar(バー残量_),
    });
    controls_->window.setBackColor(colours::gameBackground);
    controls_->Label2.setForeColor(colours::missBanner);
    controls_->Label1.setForeColor(Colour::systemButtonText());
    game_ = std::make_unique<Game>(controls_->named(), services_);

    for (int i = 1; i <= 5; ++i) {
        const auto index = static_cast<std::int16_t>(i);
        whenPressed(Command1_[i - 1], [this, index] { game_->toggleFlag(index); });
        connect(メニュー各旗_[i - 1], &QAction::triggered, this,
                [this, index] { game_->toggleFlag(index); });
    }
    whenPressed(進行ボタン_, [this] { game_->進行ボタンClick(); });
    for (QLabel* panel : panels_)
        panel->installEventFilter(this);
}

// The labels, the flags and the rule lie at the bottom, the banner under the
// flags so that the flags of a miss stay in sight; every button is in front of
// them and takes its clicks wherever a label overlaps it, and the progress bar
// lies in front of the status bar.
void GameWindow::stackAndOrder(QWidget* line1) {
    Label2_->lower();
    Label1_->lower();
    for (QWidget* widget : std::initializer_list<QWidget*>{Shape1_[0], Shape1_[1], Shape1_[2],
                                                           Shape1_[3], Shape1_[4], line1})
        widget->stackUnder(進行ボタン_);
    バー残量_->raise();

    // Of the design's tab order only the buttons count: labels, the status bar
    // and the progress bar never take the focus.
    const std::array<QWidget*, 6> tabOrder{Command1_[4], Command1_[0], Command1_[1],
                                           Command1_[2], Command1_[3], 進行ボタン_};
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

GameWindow::~GameWindow() = default;

// A button acts only while it is shown: a key, a click or an accessibility
// action that reaches a hidden one all the same is dropped.
void GameWindow::whenPressed(QPushButton* button, std::function<void()> handler) {
    connect(button, &QPushButton::clicked, this, [button, handler = std::move(handler)] {
        if (!button->isHidden())
            handler();
    });
    button->installEventFilter(this);
}

// Every menu and item carries its design name, which the tests look it up by.
void GameWindow::buildMenus(const std::function<void()>& showRules) {
    auto addMenu = [this](const char* name, const char* caption) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(caption));
        menu->menuAction()->setObjectName(QString::fromUtf8(name));
        return menu;
    };
    auto addItem = [](QMenu* menu, const QString& name, std::string_view caption) {
        QAction* item = menu->addAction(text(caption));
        item->setObjectName(name);
        return item;
    };

    QMenu* gameMenu = addMenu("メニューゲーム", "ゲーム(&G)");
    connect(addItem(gameMenu, QStringLiteral("メニュー終了"), "終了(&Q)"), &QAction::triggered,
            this, [this] { services_.ender.endProgram(); });

    QMenu* flagMenu = addMenu("メニュー旗", "旗(&F)");
    for (int i = 1; i <= 5; ++i) {
        QAction* item =
            addItem(flagMenu, QStringLiteral("メニュー各旗(%1)").arg(i), flags[i - 1].menuItem);
        item->setShortcut(QKeySequence(keyOf(flags[i - 1])));
        item->setShortcutContext(Qt::WindowShortcut);
        // A held flag key is one press.
        item->setAutoRepeat(false);
        メニュー各旗_[i - 1] = item;
    }

    QMenu* helpMenu = addMenu("メニューヘルプ", "ヘルプ(&H)");
    connect(addItem(helpMenu, QStringLiteral("メニュー説明"), "ルールの説明(&R)"),
            &QAction::triggered, this, showRules);
    helpMenu->addSeparator()->setObjectName(QStringLiteral("区分線31"));
    connect(addItem(helpMenu, QStringLiteral("メニューバージョン"), "バージョン情報(&A)"),
            &QAction::triggered, this, &GameWindow::showVersion);
}

// Three sunken panels with their text at the left: the first takes the width
// that the others leave, the second holds the misses left and the third is
// the clock. The progress bar lies in front of the right part of the first.
void GameWindow::buildStatusBar() {
    auto* パネル = new QStatusBar(surface_);
    パネル->setObjectName(QStringLiteral("パネル"));
    パネル->setSizeGripEnabled(false);
    パネル->setAutoFillBackground(true);
    // A status bar in the platform's button face, whatever colour the window
    // takes; a palette copied unchanged would still follow the window's.
    QPalette face = パネル->palette();
    face.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
    パネル->setPalette(face);
    placeInTwips(パネル, 0, 4440, 7560, 450);
    auto* panel1 = new FittingLabel(QStringLiteral("レベル1：まずは小手調べ"));
    panels_ = {panel1, new FittingLabel(QStringLiteral("残りミス：10")),
               new ClockPanel(services_.clock)};
    for (int p = 1; p <= 3; ++p) {
        QLabel* panel = panels_[p - 1];
        panel->setObjectName(QStringLiteral("パネル(%1)").arg(p));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    panels_[0]->setMinimumWidth(toPixels(1440));
    panels_[1]->setFixedWidth(toPixels(1440));
    panels_[2]->setFixedWidth(toPixels(1000));
    パネル->addWidget(panels_[0], 1);
    パネル->addPermanentWidget(panels_[1]);
    パネル->addPermanentWidget(panels_[2]);

    バー残量_ = new QProgressBar(surface_);
    バー残量_->setObjectName(QStringLiteral("バー残量"));
    バー残量_->setRange(0, 14);
    バー残量_->setTextVisible(false);
    placeInTwips(バー残量_, 2400, 4560, 2535, 255);
    バー残量_->setPalette(face);
    // The first panel's text stays clear of the progress bar in front of it.
    panel1->setCoveredBy(バー残量_);
}

void GameWindow::load(const Label& titleLabel3, Window& titleWindow) {
    game_->load(titleLabel3, titleWindow);
}

void GameWindow::showVersion() {
    services_.messageBox.show("Hyper Jorv\r\nバージョン 1.2\r\nProduced By QLM", box::information,
                              "バージョン情報");
}

bool GameWindow::eventFilter(QObject* watched, QEvent* event) {
    // The focus never rests on a hidden button, where Space or Enter would
    // press it: it waits on the client area, which takes no key, and comes
    // back to the progress button when that shows again (while it is shown
    // the flag buttons are disabled).
    if (event->type() == QEvent::Hide && static_cast<QWidget*>(watched)->hasFocus())
        surface_->setFocus();
    if (watched == 進行ボタン_ && event->type() == QEvent::Show) {
        const QWidget* focus = focusWidget();
        if (!focus || focus == surface_ || !focus->isEnabled() || focus->isHidden())
            進行ボタン_->setFocus();
    }
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
