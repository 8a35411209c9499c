// The flag's square, which the game draws itself, and the rule under a menu bar.
#pragma once

#include "controls.h"

#include <QWidget>

class QFrame;

namespace jorv {

QColor toQColor(const Colour& colour);

// A filled square, solid or hatched, with a transparent outline: a flag.
// Assistive technology reads its accessible name, and whether the flag is
// raised, as the game last said; it hears of a change only when the game
// raises or lowers the flag, never when the square merely moves.
class ShapeWidget final : public QWidget {
public:
    explicit ShapeWidget(QWidget* parent = nullptr);
    Colour fillColor = Colour::rgb(0, 0, 0);
    int fillStyle = 0;
    bool raised() const { return raised_; }
    void setRaised(bool raised);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool raised_ = false;
};

// A rule one pixel high in the platform's line colour (the window text).
QFrame* newRule(QWidget* parent);

} // namespace jorv
