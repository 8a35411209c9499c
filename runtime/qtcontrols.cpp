// Qt widgets behind the game's controls.
#include "qtcontrols.h"

#include "numbers.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>

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

void sizeToText(QLabel* label, const QRect& designBox) {
    const QSize size = label->sizeHint();
    int left = designBox.left();
    if (label->alignment() & Qt::AlignHCenter)
        left += (designBox.width() - size.width()) / 2;
    else if (label->alignment() & Qt::AlignRight)
        left += designBox.width() - size.width();
    if (const QWidget* parent = label->parentWidget()) {
        const int room = parent->width();
        left = size.width() > room ? (room - size.width()) / 2
                                   : std::clamp(left, 0, room - size.width());
    }
    label->setGeometry(left, designBox.top(), size.width(), size.height());
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

ClockPanel::ClockPanel(std::function<QTime()> now)
    : now_(std::move(now)) {
    // A coarse timer may fire seconds early; the clock would lag a minute.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, this, &ClockPanel::refresh);
    refresh();
}

void ClockPanel::refresh() {
    const QTime time = now_();
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

int QtWindow::top() const {
    return toTwips(window_->y());
}
void QtWindow::setTop(int twips) {
    window_->move(window_->x(), toPixels(twips));
}
int QtWindow::left() const {
    return toTwips(window_->x());
}
void QtWindow::setLeft(int twips) {
    window_->move(toPixels(twips), window_->y());
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
void QtLabel::sizeItselfToText() {
    designBox_ = label_->geometry();
    sizeToText(label_, *designBox_);
}
std::string QtLabel::caption() const {
    return label_->text().toStdString();
}
void QtLabel::setCaption(const std::string& text) {
    label_->setText(QString::fromStdString(text));
    if (designBox_)
        sizeToText(label_, *designBox_);
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
