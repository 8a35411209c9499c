// The title screen: the program's first window. Its three choice lines start
// the game (after measuring the machine's speed), open the rules and end the
// program.
#pragma once

#include "calibration.h"
#include "qtcontrols.h"
#include "services.h"

#include <QLabel>
#include <QWidget>

#include <array>
#include <functional>

namespace jorv {

class Program;

// A text line that reports a click (a press and a release of the left button
// over it) and every move of the pointer over it, which it keeps from the
// window.
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

private:
    bool pressed_ = false;
};

class TitleScreen final : public QWidget {
    Q_OBJECT
public:
    TitleScreen(const Services& services, Program& program, std::function<void()> unload);

    // The choice of Label4(index): 1 starts the game, 2 shows the rules,
    // 3 ends the program.
    void choose(int index);
    // The pointer over the choice Label4(index): that line turns yellow and
    // the others black, unless the measurement has begun.
    void highlight(int index);
    // The pointer over the window's background: all three lines turn black.
    void clearHighlight();

    Label& label3() { return label3Control_; }
    Window& windowControl() { return windowControl_; }
    QLabel* label(int number) const;
    ChoiceLabel* choice(int index) const { return Label4_[index - 1]; }
    const SpeedCalibration& calibration() const { return calibration_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    Services services_;
    Program& program_;
    SelfSizingLabel* Label1_;
    SelfSizingLabel* Label2_;
    QLabel* Label3_;
    std::array<ChoiceLabel*, 3> Label4_;
    std::array<QtLabel, 3> label4Controls_;
    QtLabel label3Control_;
    QtWindow windowControl_;
    SpeedCalibration calibration_;
};

} // namespace jorv
