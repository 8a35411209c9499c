// The title screen's layout and its choices.
#include "titlescreen.h"

#include "fonts.h"
#include "numbers.h"
#include "program.h"

#include <QCloseEvent>
#include <QMouseEvent>

namespace jorv {

void ChoiceLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void ChoiceLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit clicked();
}

namespace {

template <class L>
L* makeLabel(QWidget* parent, const char* caption, QRect twips, const QFont& font) {
    auto* label = new L(QString::fromUtf8(caption), parent);
    placeInTwips(label, twips.x(), twips.y(), twips.width(), twips.height());
    label->setFont(font);
    label->setAutoFillBackground(true);
    return label;
}

} // namespace

TitleScreen::TitleScreen(const Services& services, Program& program, std::function<void()> unload)
    : services_(services)
    , program_(program)
    , Label1_(makeLabel<QLabel>(this, "Hyper Jorv", {330, 120, 6795, 1455},
                                layoutFont(faces::pMincho, 72)))
    , Label2_(makeLabel<QLabel>(this, "Produced By QLM", {1770, 4440, 5685, 720},
                                layoutFont(faces::pMincho, 36, true)))
    , Label3_(makeLabel<QLabel>(this, "Version 1.2", {210, 1680, 7095, 615},
                                layoutFont(faces::pGothic, 24)))
    , Label4_{
          makeLabel<ChoiceLabel>(this, "☆Game Start", {240, 2400, 2925, 495},
                                 layoutFont(faces::pMincho, 24, true, true)),
          makeLabel<ChoiceLabel>(this, "☆Show Help", {240, 3000, 2730, 495},
                                 layoutFont(faces::pMincho, 24, true, true)),
          makeLabel<ChoiceLabel>(this, "☆End This Game", {240, 3600, 3765, 495},
                                 layoutFont(faces::pMincho, 24, true, true)),
      }
    , label3Control_(Label3_)
    , windowControl_(this, this, std::move(unload))
    , calibration_(services) {
    setWindowTitle(QStringLiteral("Hyper Jorv"));
    setFixedSize(toPixels(7515), toPixels(5175));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QtLabel(Label1_).setForeColor(Colour::rgb(0, 0, 0));
    QtLabel(Label2_).setForeColor(Colour::rgb(0, 0, 255));
    Label2_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label3_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label3Control_.setBorderStyle(BorderStyle::FixedSingle);
    // All but the status line size themselves to their text.
    for (QLabel* label :
         std::initializer_list<QLabel*>{Label1_, Label2_, Label4_[0], Label4_[1], Label4_[2]})
        label->adjustSize();
    for (int i = 1; i <= 3; ++i)
        connect(choice(i), &ChoiceLabel::clicked, this, [this, i] { choose(i); });
}

QLabel* TitleScreen::label(int number) const {
    switch (number) {
    case 1:
        return Label1_;
    case 2:
        return Label2_;
    default:
        return Label3_;
    }
}

void TitleScreen::choose(int index) {
    if (index != 3 && calibration_.calibrating)
        return;
    switch (index) {
    case 1:
        calibration_.measure(label3Control_);
        calibration_.handOver(label3Control_);
        // The game window's load unloads this window; nothing may follow.
        program_.showGameWindow();
        break;
    case 2:
        program_.showHelp();
        break;
    case 3:
        label3Control_.setCaption("Thank you.");
        services_.pump.pump();
        services_.ender.endProgram();
        break;
    default:
        break;
    }
}

void TitleScreen::closeEvent(QCloseEvent* event) {
    event->ignore();
    services_.ender.endProgram();
}

} // namespace jorv
