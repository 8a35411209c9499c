// The title screen: the program's first window. It lays out its labels and
// routes the pointer's moves and clicks to the title screen's rules.
#pragma once

#include "qtcontrols.h"
#include "selfsizinglabel.h"
#include "title.h"

#include <QWidget>

#include <array>
#include <functional>

namespace jorv {

// A text line that reports a click (a press and a release of the left button
// over it) and every move of the pointer over it, which it keeps from the
// window. The keyboard reaches it by Tab, which counts as a move onto it, and
// Return, Enter or Space choose it; a screen reader reads it as a button
// that it can press.
class ChoiceLabel final : public SelfSizingLabel {
    Q_OBJECT
public:
    ChoiceLabel(const QString& text, QWidget* parent);

signals:
    void clicked();
    void moved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool pressed_ = false;
};

class TitleScreen final : public QWidget {
    Q_OBJECT
public:
    // `unload` closes and discards the window: the game window's load calls it.
    TitleScreen(const Services& services, TitleExits exits, std::function<void()> unload);

    Label& label3() { return label3Control_; }
    Window& windowControl() { return windowControl_; }
    ChoiceLabel* choice(int index) const { return Label4_[index - 1]; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // The arrow keys, Home and End move the focus among the choices.
    void keyPressEvent(QKeyEvent* event) override;

private:
    Services services_;
    SelfSizingLabel* Label1_;
    SelfSizingLabel* Label2_;
    QLabel* Label3_;
    std::array<ChoiceLabel*, 3> Label4_;
    std::array<QtLabel, 3> label4Controls_;
    QtLabel label3Control_;
    QtWindow windowControl_;
    Title title_;
};

} // namespace jorv
