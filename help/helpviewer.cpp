// The help viewer's widgets at their design places, its load, and what its
// list, size menu, close commands and resizing do.
#include "helpviewer.h"

#include "captionbutton.h"
#include "fonts.h"
#include "framing.h"
#include "numbers.h"
#include "qtcontrols.h"
#include "rule.h"

#include <QAction>
#include <QComboBox>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

#include <algorithm>
#include <cstdint>

namespace jorv {

namespace {

// The size menu's items; each one's index is the point size it chooses,
// whatever its caption says.
constexpr std::array<int, 3> sizeIndexes{9, 12, 16};
constexpr std::array<const char*, 3> sizeCaptions{"小さい(9ピクセル)&S", "普通(12ピクセル)&N",
                                                  "大きい(16ピクセル)&L"};

// The text box is 500 twips narrower than the window, so the window keeps a
// minimum size that leaves it room; where a window system shrinks a window
// past its minimum anyway, the text box keeps the width it has at the minimum.
constexpr int minimumWindowTwips = 1500;
constexpr int minimumTextWidth = minimumWindowTwips - 500;

// A page with a question mark.
QIcon helpIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(4, 1, 23, 29);
    QFont font = layoutFont(faces::pGothic, 12, true);
    font.setPixelSize(24);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 255));
    painter.drawText(QRect(4, 1, 24, 30), Qt::AlignCenter, QStringLiteral("？"));
    return QIcon(pixmap);
}

} // namespace

HelpViewer::HelpViewer(HelpFile help)
    : client_(new QWidget(this))
    , Combo1_(new QComboBox(client_))
    , Text1_(new QPlainTextEdit(client_))
    , ボタン閉じる_(new CaptionButton(QStringLiteral("閉じる(&C)"), client_))
    , Line1_(newRule(client_)) {
    // Closing unloads the window: the next opening builds and loads a new one.
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ルールの説明"));
    setWindowIcon(helpIcon());
    setCentralWidget(client_);

    placeInTwips(Combo1_, 120, 120, 3855, 360);
    Combo1_->setFont(layoutFont(faces::pGothic, 12));
    placeInTwips(Text1_, 120, 600, 5055, 3855);
    Text1_->setReadOnly(true);
    Text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1_->setTabChangesFocus(true);
    Text1_->setFont(layoutFont(faces::gothic, 12));
    placeInTwips(ボタン閉じる_, 4080, 120, 1095, 375);
    placeInTwips(Line1_, 0, 0, 5400, 15);
    setTabOrder(Combo1_, Text1_);
    setTabOrder(Text1_, ボタン閉じる_);
    // `activated` is a choice in the list, also of the entry already chosen.
    connect(Combo1_, &QComboBox::activated, this, &HelpViewer::showChosenSection);
    connect(ボタン閉じる_, &QPushButton::clicked, this, &QWidget::close);
    // The button and the menu command share "閉じる(&C)"; Alt+C belongs to
    // the command alone, so one press closes the window instead of first
    // moving the focus between the two.
    ボタン閉じる_->setShortcut(QKeySequence());

    メニュー閉じる_ = menuBar()->addAction(QStringLiteral("閉じる(&C)"));
    connect(メニュー閉じる_, &QAction::triggered, this, &QWidget::close);
    QMenu* メニューサイズ = menuBar()->addMenu(QStringLiteral("表示サイズ(&S)"));
    for (std::size_t i = 0; i < sizeIndexes.size(); ++i) {
        const int Index = sizeIndexes[i];
        サイズ_[i] = メニューサイズ->addAction(QString::fromUtf8(sizeCaptions[i]));
        サイズ_[i]->setCheckable(true);
        サイズ_[i]->setChecked(Index == 12);
        connect(サイズ_[i], &QAction::triggered, this, [this, Index] { chooseSize(Index); });
    }

    setMinimumSize(toPixels(minimumWindowTwips), toPixels(minimumWindowTwips));
    resize(toPixels(5370), toPixels(4650) + menuBar()->sizeHint().height());
    load(std::move(help));
}

QAction* HelpViewer::サイズ(int Index) const {
    const auto* found = std::find(sizeIndexes.begin(), sizeIndexes.end(), Index);
    return サイズ_.at(found - sizeIndexes.begin());
}

void HelpViewer::load(HelpFile help) {
    help_ = std::move(help);
    const std::int16_t shownSection = 1;
    Text1_->setPlainText(QString::fromStdString(help_.sectionText(shownSection)));
    Combo1_->clear();
    for (std::uint8_t listItem = 1; listItem <= help_.sectionTotal(); ++listItem)
        Combo1_->addItem(QString::fromStdString(help_.sectionTitle(listItem)));
    // The first entry is chosen as if from the list, which shows section 1.
    Combo1_->setCurrentIndex(0);
    showChosenSection();
    Combo1_->setFocus();
}

void HelpViewer::showChosenSection() {
    Text1_->setPlainText(QString::fromStdString(help_.sectionText(Combo1_->currentIndex() + 1)));
}

void HelpViewer::chooseSize(int Index) {
    for (QAction* item : サイズ_)
        item->setChecked(false);
    サイズ(Index)->setChecked(true);
    QFont font = Text1_->font();
    font.setPointSizeF(static_cast<float>(Index));
    Text1_->setFont(font);
}

void HelpViewer::layOut(int W, int H) {
    Line1_->resize(toPixels(W), Line1_->height());
    const int width = std::max(W - 500, minimumTextWidth);
    const int height = H >= 2100 ? H - 1500 : 100;
    Text1_->resize(toPixels(width), toPixels(height));
}

void HelpViewer::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layOutToFrame();
}

void HelpViewer::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // A window manager that frames the window moves it: from then on its own
    // frame is known, before the window is first drawn.
    layOutToFrame();
}

void HelpViewer::layOutToFrame() {
    // The rule measures the whole window, frame and menu bar included; at the
    // first showing the frame is taken to be that of the program's other
    // windows, until the window's own is known.
    const QRect outer = rect().marginsAdded(frameMarginsOf(this));
    layOut(toTwips(outer.width()), toTwips(outer.height()));
}

} // namespace jorv
