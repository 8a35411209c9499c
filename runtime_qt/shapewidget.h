// The flag's square, which the game draws itself.
#pragma once

#include <QWidget>

namespace jorv {

// A filled square, solid or hatched, with a transparent outline: a flag.
// Assistive technology reads its accessible name, and whether the flag is
// raised, as the game last said; it hears of a change only when the game
// raises or lowers the flag, never when the square merely moves.
class ShapeWidget final : public QWidget {
public:
    explicit ShapeWidget(QWidget* parent = nullptr);
    // Each repaints the square.
    void setFillColor(const QColor& colour);
    void setFillStyle(Qt::BrushStyle style);
    bool raised() const { return raised_; }
    void setRaised(bool raised);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fillColor_ = Qt::black;
    Qt::BrushStyle fillStyle_ = Qt::SolidPattern;
    bool raised_ = false;
};

} // namespace jorv
