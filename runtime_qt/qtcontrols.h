// The game's controls over Qt widgets: each adapter writes what the game sets
// to its widget, placed by the one twips-to-pixels scale, and keeps nothing
// of its own.
#pragma once

#include "controls.h"
#include "narrator.h"
#include "numbers.h"
#include "selfsizinglabel.h"
#include "shapewidget.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>

#include <functional>
#include <vector>

class QAbstractButton;

namespace jorv {

// The colour a control's colour stands for on this platform.
QColor toQColor(const Colour& colour);

// Puts a widget at a place of its parent's client area given in twips.
void placeInTwips(QWidget* widget, int left, int top, int width, int height);

// A top-level window, placed by its frame: Top and Left are the frame's. The
// background is painted by `surface` (the client area), so menus and frames
// keep the platform's colours.
class QtWindow final : public Window {
public:
    QtWindow(QWidget* window, QWidget* surface, std::function<void()> unload);
    int top() const override;
    void setTop(int twips) override;
    int left() const override;
    void setLeft(int twips) override;
    void setBackColor(Colour colour) override;
    void unload() override;

private:
    QWidget* window_;
    QWidget* surface_;
    std::function<void()> unload_;
};

// A label; one that sizes itself to its text does so at every caption. Its
// announcements go to `narrator`; without one nothing is said.
class QtLabel final : public Label {
public:
    explicit QtLabel(QLabel* label, Narrator* narrator = nullptr)
        : label_(label)
        , narrator_(narrator) {}
    explicit QtLabel(SelfSizingLabel* label, Narrator* narrator = nullptr)
        : label_(label)
        , sizing_(label)
        , narrator_(narrator) {}
    std::string caption() const override;
    void setCaption(const std::string& text) override;
    void setForeColor(Colour colour) override;
    void setBorderStyle(BorderStyle style) override;
    void setVisible(bool on) override { label_->setVisible(on); }
    void announce() override;

private:
    QLabel* label_;
    SelfSizingLabel* sizing_ = nullptr;
    Narrator* narrator_;
};

class QtCommandButton final : public CommandButton {
public:
    explicit QtCommandButton(QAbstractButton* button)
        : button_(button) {}
    void setCaption(const std::string& text) override;
    void setTop(int twips) override;
    void setEnabled(bool on) override;
    bool visible() const override;
    void setVisible(bool on) override;

private:
    QAbstractButton* button_;
};

class QtShape final : public Shape {
public:
    QtShape(ShapeWidget* shape, Narrator* narrator)
        : shape_(shape)
        , narrator_(narrator) {}
    void setLeft(int twips) override { shape_->move(toPixels(twips), shape_->y()); }
    void setTop(int twips) override { shape_->move(shape_->x(), toPixels(twips)); }
    void setRaised(bool raised) override { shape_->setRaised(raised); }
    void setVisible(bool on) override { shape_->setVisible(on); }
    void setFillColor(Colour colour) override { shape_->setFillColor(toQColor(colour)); }
    void setFillStyle(int style) override;
    // The flag as assistive technology reads it: "赤の旗 あがっている".
    void announce() override;

private:
    ShapeWidget* shape_;
    Narrator* narrator_;
};

class QtMenuItem final : public MenuItem {
public:
    explicit QtMenuItem(QAction* action)
        : action_(action) {}
    void setEnabled(bool on) override { action_->setEnabled(on); }

private:
    QAction* action_;
};

class QtStatusBar final : public StatusBar {
public:
    explicit QtStatusBar(std::vector<QLabel*> panels)
        : panels_(std::move(panels)) {}
    void setPanelText(int panel, const std::string& text) override;

private:
    std::vector<QLabel*> panels_;
};

class QtProgressBar final : public ProgressBar {
public:
    explicit QtProgressBar(QProgressBar* bar)
        : bar_(bar) {}
    void setValue(float value) override { bar_->setValue(nearest(value)); }

private:
    QProgressBar* bar_;
};

} // namespace jorv
