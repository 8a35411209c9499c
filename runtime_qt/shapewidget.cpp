// How a flag square is drawn, and how a flag reads to assistive technology.
#include "shapewidget.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace jorv {

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

void ShapeWidget::setFillColor(const QColor& colour) {
    fillColor_ = colour;
    update();
}

void ShapeWidget::setFillStyle(Qt::BrushStyle style) {
    fillStyle_ = style;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QBrush(fillColor_, fillStyle_));
}

} // namespace jorv
