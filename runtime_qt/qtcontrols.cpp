// The adapters between the game's controls and the Qt widgets.
#include "qtcontrols.h"

#include "framing.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>

namespace jorv {

QColor toQColor(const Colour& colour) {
    if (colour.buttonText)
        return QApplication::palette().color(QPalette::ButtonText);
    return QColor(colour.red, colour.green, colour.blue);
}

void placeInTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

QtWindow::QtWindow(QWidget* window, QWidget* surface, std::function<void()> unload)
    : window_(window)
    , surface_(surface)
    , unload_(std::move(unload)) {}

int QtWindow::top() const {
    return toTwips(framePosition(window_).y());
}
void QtWindow::setTop(int twips) {
    moveFrameTo(window_, QPoint(framePosition(window_).x(), toPixels(twips)));
}
int QtWindow::left() const {
    return toTwips(framePosition(window_).x());
}
void QtWindow::setLeft(int twips) {
    moveFrameTo(window_, QPoint(toPixels(twips), framePosition(window_).y()));
}

void QtWindow::setBackColor(Colour colour) {
    QPalette palette = surface_->palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    surface_->setPalette(palette);
    surface_->setAutoFillBackground(true);
}

void QtWindow::unload() {
    unload_();
}

std::string QtLabel::caption() const {
    return label_->text().toStdString();
}
void QtLabel::setCaption(const std::string& text) {
    if (sizing_)
        sizing_->setTextAndFit(QString::fromStdString(text));
    else
        label_->setText(QString::fromStdString(text));
}

void QtLabel::announce() {
    if (narrator_)
        narrator_->say(label_->text());
}

void QtLabel::setForeColor(Colour colour) {
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, toQColor(colour));
    label_->setPalette(palette);
}

void QtLabel::setBorderStyle(BorderStyle style) {
    label_->setFrameStyle(style == BorderStyle::FixedSingle ? QFrame::Box | QFrame::Plain
                                                            : QFrame::NoFrame);
}

void QtCommandButton::setCaption(const std::string& text) {
    button_->setText(QString::fromStdString(text));
}
void QtCommandButton::setTop(int twips) {
    button_->move(button_->x(), toPixels(twips));
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

void QtStatusBar::setPanelText(int number, const std::string& text) {
    Q_ASSERT(number >= 1 && number <= static_cast<int>(panels_.size()));
    panels_[number - 1]->setText(QString::fromStdString(text));
}

void QtShape::setFillStyle(int style) {
    Qt::BrushStyle brush = Qt::SolidPattern;
    if (style == FillStyle::DownwardDiagonal)
        brush = Qt::FDiagPattern;
    else if (style == FillStyle::DiagonalCross)
        brush = Qt::DiagCrossPattern;
    shape_->setFillStyle(brush);
}

void QtShape::announce() {
    const QAccessibleInterface* flag = QAccessible::queryAccessibleInterface(shape_);
    narrator_->say(flag->text(QAccessible::Name) + ' ' + flag->text(QAccessible::Description));
}

} // namespace jorv
