// Qt widgets behind the game's controls.
#include "qtcontrols.h"

#include "numbers.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTime>

#include <algorithm>

namespace jorv {

QColor toQColor(const Colour& colour) {
    if (colour.buttonText)
        return QApplication::palette().color(QPalette::ButtonText);
    return QColor(colour.red, colour.green, colour.blue);
}

Colour fromQColor(const QColor& colour) {
    return Colour::rgb(colour.red(), colour.green(), colour.blue());
}

void placeInTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

QFont fittedFont(const QFont& font, const QString& text, const QSize& room, int flags) {
    constexpr double smallest = 5.0;
    QFont fitted = font;
    while (fitted.pointSizeF() > smallest) {
        const QRect need =
            QFontMetrics(fitted).boundingRect(QRect(QPoint(0, 0), room), flags, text);
        if (need.width() <= room.width() && need.height() <= room.height())
            break;
        fitted.setPointSizeF(std::max(smallest, fitted.pointSizeF() - 0.5));
    }
    return fitted;
}

void SelfSizingLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, contentsRect(),
                          static_cast<int>(alignment()) | Qt::TextSingleLine | Qt::TextDontClip,
                          palette(), isEnabled(), text(), foregroundRole());
}

void sizeToText(SelfSizingLabel* label, const QRect& designBox, const QFont& designFont,
                const QRect& room) {
    const QWidget* parent = label->parentWidget();
    const QRect allowed = room.isEmpty() && parent ? parent->rect() : room;
    QFont font = designFont;
    QRect geometry;
    QMargins lean;
    for (;;) {
        const QFontMetrics metrics(font);
        const int advance = metrics.horizontalAdvance(label->text());
        const QRect ink = metrics.boundingRect(label->text());
        lean = QMargins(std::max(0, -ink.left()), std::max(0, -metrics.ascent() - ink.top()),
                        std::max(0, ink.right() + 1 - advance),
                        std::max(0, ink.bottom() + 1 - metrics.descent()));
        int left = designBox.left();
        if (label->alignment() & Qt::AlignHCenter)
            left += (designBox.width() - advance) / 2;
        else if (label->alignment() & Qt::AlignRight)
            left += designBox.width() - advance;
        geometry = QRect(left - lean.left(), designBox.top() - lean.top(),
                         advance + lean.left() + lean.right(),
                         metrics.height() + lean.top() + lean.bottom());
        const bool fits = geometry.width() <= allowed.width() && geometry.top() >= allowed.top() &&
                          geometry.bottom() <= allowed.bottom();
        if (allowed.isEmpty() || fits || font.pointSizeF() <= 5.0)
            break;
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    // It moves no further than it must to stay in its room.
    if (!allowed.isEmpty())
        geometry.moveLeft(geometry.width() > allowed.width()
                              ? allowed.left() + (allowed.width() - geometry.width()) / 2
                              : std::clamp(geometry.left(), allowed.left(),
                                           allowed.right() + 1 - geometry.width()));
    label->setFont(font);
    label->setContentsMargins(lean);
    label->setGeometry(geometry);
}

QRect CaptionButton::captionRoom() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    // A pixel or two clear of the frame on every side.
    return style()
        ->subElementRect(QStyle::SE_PushButtonContents, &option, this)
        .adjusted(2, 1, -2, -1);
}

QFont CaptionButton::captionFont() const {
    return fittedFont(font(), text(), captionRoom().size(), captionFlags);
}

void CaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    int flags = captionFlags;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
        flags = (flags & ~Qt::TextShowMnemonic) | Qt::TextHideMnemonic;
    painter.setFont(captionFont());
    style()->drawItemText(&painter, captionRoom(), flags, option.palette, isEnabled(), text(),
                          QPalette::ButtonText);
}

QRect inkOf(const QFont& font, const QString& text, const QRect& room, Qt::Alignment alignment) {
    const QFontMetrics metrics(font);
    const QRect line = QStyle::alignedRect(
        Qt::LeftToRight, alignment, QSize(metrics.horizontalAdvance(text), metrics.height()), room);
    return metrics.tightBoundingRect(text).translated(line.left(), line.top() + metrics.ascent());
}

QRect FittingLabel::textRoom() const {
    QRect room = contentsRect();
    // A little in from a panel's bevel, as a label with a frame indents.
    if (frameWidth() > 0)
        room.adjust(2, 0, -2, 0);
    // Nothing outside the window's client area is seen.
    if (const QWidget* parent = parentWidget())
        room &= parent->rect().translated(-pos());
    if (coveredBy_ && coveredBy_->isVisible()) {
        const int coverLeft =
            coveredBy_->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x();
        room.setRight(std::min(room.right(), coverLeft - 3));
    }
    return room;
}

QFont FittingLabel::textFont() const {
    const QRect room = textRoom();
    QFont font = this->font();
    while (font.pointSizeF() > 5.0 && !room.contains(inkOf(font, text(), room, alignment())))
        font.setPointSizeF(std::max(5.0, font.pointSizeF() - 0.5));
    return font;
}

void FittingLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    painter.setFont(textFont());
    style()->drawItemText(&painter, textRoom(),
                          static_cast<int>(alignment()) | Qt::TextSingleLine | Qt::TextDontClip,
                          palette(), isEnabled(), text(), foregroundRole());
}

LineWidget::LineWidget(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawLine(0, 0, width() - 1, 0);
}

ClockPanel::ClockPanel(Clock& clock)
    : clock_(clock) {
    // A coarse timer may fire seconds early; the clock would lag a minute.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, this, &ClockPanel::refresh);
    refresh();
}

void ClockPanel::refresh() {
    // A reading rounded up to midnight itself still shows the day's last minute.
    const double msecs = static_cast<double>(clock_.secondsSinceMidnight()) * 1000.0;
    const QTime time =
        QTime::fromMSecsSinceStartOfDay(static_cast<int>(std::clamp(msecs, 0.0, 86'399'999.0)));
    setText(time.toString(QStringLiteral("H:mm")));
    // Wake a little after the minute has turned; a wake that still reads the
    // old minute only waits again for the rest of it.
    const int intoMinute = time.second() * 1000 + time.msec();
    timer_.start(60000 - intoMinute + 50);
}

ShapeWidget::ShapeWidget(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Qt::BrushStyle style = Qt::SolidPattern;
    if (fillStyle == FillStyle::DownwardDiagonal)
        style = Qt::FDiagPattern;
    else if (fillStyle == FillStyle::DiagonalCross)
        style = Qt::DiagCrossPattern;
    painter.fillRect(rect(), QBrush(toQColor(fillColor), style));
}

QtWindow::QtWindow(QWidget* window, QWidget* surface, std::function<void()> unload)
    : window_(window)
    , surface_(surface)
    , unload_(std::move(unload))
    , backColor_(fromQColor(surface->palette().color(QPalette::Window))) {}

QMargins frameMarginsOf(const QWidget* window) {
    auto known = [](const QWidget* w) {
        const QRect frame = w->frameGeometry(), client = w->geometry();
        return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                        frame.right() - client.right(), frame.bottom() - client.bottom());
    };
    if (window->isVisible() && !known(window).isNull())
        return known(window);
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != window && other->isVisible() && !known(other).isNull())
            return known(other);
    return {};
}

QPoint QtWindow::framePosition() const {
    if (window_->isVisible())
        return window_->pos();
    const QMargins frame = frameMarginsOf(window_);
    return window_->geometry().topLeft() - QPoint(frame.left(), frame.top());
}

void QtWindow::moveFrameTo(const QPoint& outer) {
    if (window_->isVisible()) {
        window_->move(outer);
        return;
    }
    // A window not shown yet has no frame, and a window manager may take a
    // position given for its frame as one for its client area; the client
    // area is placed instead, inside the frame it will get.
    const QMargins frame = frameMarginsOf(window_);
    window_->setGeometry(QRect(outer + QPoint(frame.left(), frame.top()), window_->size()));
}

int QtWindow::top() const {
    return toTwips(framePosition().y());
}
void QtWindow::setTop(int twips) {
    moveFrameTo(QPoint(framePosition().x(), toPixels(twips)));
}
int QtWindow::left() const {
    return toTwips(framePosition().x());
}
void QtWindow::setLeft(int twips) {
    moveFrameTo(QPoint(toPixels(twips), framePosition().y()));
}
std::string QtWindow::caption() const {
    return window_->windowTitle().toStdString();
}
void QtWindow::setCaption(const std::string& text) {
    window_->setWindowTitle(QString::fromStdString(text));
}

void QtWindow::setBackColor(Colour colour) {
    backColor_ = colour;
    QPalette palette = surface_->palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    surface_->setPalette(palette);
    surface_->setAutoFillBackground(true);
}

void QtWindow::unload() {
    unload_();
}

QtLabel::QtLabel(QLabel* label)
    : label_(label) {}
void QtLabel::sizeItselfToText(const QRect& room) {
    Q_ASSERT(dynamic_cast<SelfSizingLabel*>(label_));
    designBox_ = label_->geometry();
    designFont_ = label_->font();
    room_ = room;
    sizeToText(static_cast<SelfSizingLabel*>(label_), *designBox_, designFont_, room_);
}
std::string QtLabel::caption() const {
    return label_->text().toStdString();
}
void QtLabel::setCaption(const std::string& text) {
    label_->setText(QString::fromStdString(text));
    if (designBox_)
        sizeToText(static_cast<SelfSizingLabel*>(label_), *designBox_, designFont_, room_);
}

void QtLabel::setForeColor(Colour colour) {
    foreColor_ = colour;
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, toQColor(colour));
    label_->setPalette(palette);
}

void QtLabel::setBorderStyle(BorderStyle style) {
    borderStyle_ = style;
    label_->setFrameStyle(style == BorderStyle::FixedSingle ? QFrame::Box | QFrame::Plain
                                                            : QFrame::NoFrame);
}

bool QtLabel::visible() const {
    return !label_->isHidden();
}
void QtLabel::setVisible(bool on) {
    label_->setVisible(on);
}

QtCommandButton::QtCommandButton(QAbstractButton* button)
    : button_(button)
    , top_(toTwips(button->y())) {}
std::string QtCommandButton::caption() const {
    return button_->text().toStdString();
}
void QtCommandButton::setCaption(const std::string& text) {
    button_->setText(QString::fromStdString(text));
}
void QtCommandButton::setTop(int twips) {
    top_ = twips;
    button_->move(button_->x(), toPixels(twips));
}
bool QtCommandButton::enabled() const {
    return button_->isEnabled();
}
void QtCommandButton::setEnabled(bool on) {
    button_->setEnabled(on);
}
bool QtCommandButton::visible() const {
    return !button_->isHidden();
}
void QtCommandButton::setVisible(bool on) {
    button_->setVisible(on);
}

QtShape::QtShape(ShapeWidget* shape)
    : shape_(shape)
    , left_(toTwips(shape->x()))
    , top_(toTwips(shape->y())) {}
void QtShape::setLeft(int twips) {
    left_ = twips;
    shape_->move(toPixels(twips), shape_->y());
}
void QtShape::setTop(int twips) {
    top_ = twips;
    shape_->move(shape_->x(), toPixels(twips));
}
bool QtShape::visible() const {
    return !shape_->isHidden();
}
void QtShape::setVisible(bool on) {
    shape_->setVisible(on);
}
void QtShape::setFillColor(Colour colour) {
    shape_->fillColor = colour;
    shape_->update();
}
void QtShape::setFillStyle(int style) {
    shape_->fillStyle = style;
    shape_->update();
}

bool QtMenuItem::enabled() const {
    return action_->isEnabled();
}
void QtMenuItem::setEnabled(bool on) {
    action_->setEnabled(on);
}
bool QtMenuItem::checked() const {
    return action_->isChecked();
}
void QtMenuItem::setChecked(bool on) {
    action_->setCheckable(true);
    action_->setChecked(on);
}

QLabel* QtStatusBar::panel(int number) const {
    Q_ASSERT(number >= 1 && number <= static_cast<int>(panels_.size()));
    return panels_[number - 1];
}
std::string QtStatusBar::panelText(int number) const {
    return panel(number)->text().toStdString();
}
void QtStatusBar::setPanelText(int number, const std::string& text) {
    panel(number)->setText(QString::fromStdString(text));
}

void QtProgressBar::setValue(float value) {
    value_ = value;
    bar_->setValue(nearest(value));
}

} // namespace jorv
