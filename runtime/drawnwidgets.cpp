// How the flag squares and the rule are drawn, and how a flag reads to
// assistive technology.
#include "drawnwidgets.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QFrame>
#include <QPainter>

namespace jorv {

QColor toQColor(const Colour& colour) {
    if (colour.buttonText)
        return QApplication::palette().color(QPalette::ButtonText);
    return QColor(colour.red, colour.green, colour.blue);
}

namespace {

// A flag as assistive technology reads it: its colour is its name, and
// whether it is raised is both its checked state and its description.
class FlagAccessible final : public QAccessibleWidget {
public:
    explicit FlagAccessible(ShapeWidget* shape)
        : QAccessibleWidget(shape, QAccessible::Graphic)
        , shape_(shape) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = shape_->raised();
        return state;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description)
            return shape_->raised() ? QStringLiteral("あがっている")
                                    : QStringLiteral("さがっている");
        return QAccessibleWidget::text(t);
    }

private:
    ShapeWidget* shape_;
};

QAccessibleInterface* flagAccessible(const QString&, QObject* object) {
    if (auto* shape = dynamic_cast<ShapeWidget*>(object))
        return new FlagAccessible(shape);
    return nullptr;
}

} // namespace

ShapeWidget::ShapeWidget(QWidget* parent)
    : QWidget(parent) {
    static const bool readable = (QAccessible::installFactory(flagAccessible), true);
    Q_UNUSED(readable);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::setRaised(bool raised) {
    if (raised == raised_)
        return;
    raised_ = raised;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent stateChange(this, changed);
    QAccessible::updateAccessibility(&stateChange);
    QAccessibleEvent description(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&description);
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

QFrame* newRule(QWidget* parent) {
    auto* rule = new QFrame(parent);
    rule->setFrameStyle(QFrame::HLine | QFrame::Plain);
    rule->setAttribute(Qt::WA_TransparentForMouseEvents);
    return rule;
}

} // namespace jorv
