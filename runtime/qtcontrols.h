// The game's controls over Qt widgets. Each keeps the twips the game last
// wrote, so the game reads back exactly what it set whatever the pixel
// rounding, and places its widget by the one twips-to-pixels scale.
#pragma once

#include "controls.h"
#include "services.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QAbstractButton;
class QAction;
class QProgressBar;

namespace jorv {

QColor toQColor(const Colour& colour);
Colour fromQColor(const QColor& colour);

// The frame that a window manager puts around a top-level window: its own
// once it is known, before that the frame of another shown window of the
// program (the window manager frames them alike), and none without a
// window manager.
QMargins frameMarginsOf(const QWidget* window);

// Puts a widget at a place of its parent's client area given in twips.
void placeInTwips(QWidget* widget, int left, int top, int width, int height);

// The largest size of `font`, at most its own and in steps of half a point,
// at which `text` drawn with `flags` (alignment, wrapping, mnemonics) fits
// `room`; the smallest size tried where none fits.
QFont fittedFont(const QFont& font, const QString& text, const QSize& room, int flags);

// Where the letters of one line of `text` are inked when it is drawn in
// `room` with `alignment`.
QRect inkOf(const QFont& font, const QString& text, const QRect& room, Qt::Alignment alignment);

// A label that sizes itself to its text (see sizeToText). Its text is drawn
// whole: ink that leans past the text's advance, as an italic's first and
// last letters do, lies in its margins and is not clipped there.
class SelfSizingLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Sizes a label to its text as a label that sizes itself does. The edge or the
// centre that its text is aligned to stays where `designBox` (pixels in the
// parent) puts it, and the text keeps `designFont` where the label then fits
// `room` (pixels in the parent; the whole parent where empty); where a
// stand-in face is wider than the design's, a smaller size is used. The
// label then moves no further than it must to lie inside the room. Ink that
// leans past the text's advance (an italic's first and last letters) is
// taken into the label's margins, so no letter is cut.
void sizeToText(SelfSizingLabel* label, const QRect& designBox, const QFont& designFont,
                const QRect& room = {});

// A push button whose caption is always shown whole: a caption too wide for
// one line wraps at a word, and one that does not fit on two either is drawn
// in a smaller size. Its text and font stay as set.
class CaptionButton final : public QPushButton {
public:
    using QPushButton::QPushButton;
    static constexpr int captionFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    // Where the caption is drawn, in the button's pixels, and in which font.
    QRect captionRoom() const;
    QFont captionFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A rule one pixel high in the platform's line colour (the window text).
class LineWidget final : public QWidget {
public:
    explicit LineWidget(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A label of one line whose text is always shown whole: where the letters of
// a text would be cut at its edges (a wide text, a descender below a short
// line), that text is drawn in a smaller size. A widget that lies in front of
// the label's right part (`coveredBy`, as the progress bar lies over the
// first status-bar panel) shortens the room for it.
class FittingLabel : public QLabel {
public:
    explicit FittingLabel(const QString& text = {}, QWidget* parent = nullptr)
        : QLabel(text, parent) {}
    void setCoveredBy(QWidget* widget) { coveredBy_ = widget; }
    // The room the text is drawn in, in the label's pixels, and its font.
    QRect textRoom() const;
    QFont textFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* coveredBy_ = nullptr;
};

// A status-bar panel that shows the time of day in hours and minutes, "9:05"
// or "21:40", and keeps it current: it wakes once at each change of minute.
// The time comes from the clock service, so a scripted clock fixes it.
class ClockPanel final : public FittingLabel {
public:
    explicit ClockPanel(Clock& clock);
    // Reads the time afresh and waits for the next change of minute.
    void refresh();
    int msecsToNextMinute() const { return timer_.remainingTime(); }

private:
    Clock& clock_;
    QTimer timer_;
};

// A filled square, solid or hatched, with a transparent outline.
class ShapeWidget final : public QWidget {
public:
    explicit ShapeWidget(QWidget* parent = nullptr);
    Colour fillColor = Colour::rgb(0, 0, 0);
    int fillStyle = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
};

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
    std::string caption() const override;
    void setCaption(const std::string& text) override;
    Colour backColor() const override { return backColor_; }
    void setBackColor(Colour colour) override;
    void unload() override;

private:
    // Where the window's frame stands, or will stand once it is shown.
    QPoint framePosition() const;
    void moveFrameTo(const QPoint& outer);

    QWidget* window_;
    QWidget* surface_;
    std::function<void()> unload_;
    Colour backColor_;
};

class QtLabel final : public Label {
public:
    explicit QtLabel(QLabel* label);
    // From now on the label sizes itself to every caption, around the place
    // and in the font it has now, inside `room` (see sizeToText).
    void sizeItselfToText(const QRect& room = {});
    std::string caption() const override;
    void setCaption(const std::string& text) override;
    Colour foreColor() const override { return foreColor_; }
    void setForeColor(Colour colour) override;
    BorderStyle borderStyle() const override { return borderStyle_; }
    void setBorderStyle(BorderStyle style) override;
    bool visible() const override;
    void setVisible(bool on) override;

private:
    QLabel* label_;
    Colour foreColor_ = Colour::systemButtonText();
    BorderStyle borderStyle_ = BorderStyle::None;
    std::optional<QRect> designBox_;
    QFont designFont_;
    QRect room_;
};

class QtCommandButton final : public CommandButton {
public:
    explicit QtCommandButton(QAbstractButton* button);
    std::string caption() const override;
    void setCaption(const std::string& text) override;
    int top() const override { return top_; }
    void setTop(int twips) override;
    bool enabled() const override;
    void setEnabled(bool on) override;
    bool visible() const override;
    void setVisible(bool on) override;

private:
    QAbstractButton* button_;
    int top_;
};

class QtShape final : public Shape {
public:
    explicit QtShape(ShapeWidget* shape);
    int left() const override { return left_; }
    void setLeft(int twips) override;
    int top() const override { return top_; }
    void setTop(int twips) override;
    bool visible() const override;
    void setVisible(bool on) override;
    Colour fillColor() const override { return shape_->fillColor; }
    void setFillColor(Colour colour) override;
    int fillStyle() const override { return shape_->fillStyle; }
    void setFillStyle(int style) override;

private:
    ShapeWidget* shape_;
    int left_;
    int top_;
};

class QtMenuItem final : public MenuItem {
public:
    explicit QtMenuItem(QAction* action)
        : action_(action) {}
    bool enabled() const override;
    void setEnabled(bool on) override;
    bool checked() const override;
    void setChecked(bool on) override;

private:
    QAction* action_;
};

class QtStatusBar final : public StatusBar {
public:
    explicit QtStatusBar(std::vector<QLabel*> panels)
        : panels_(std::move(panels)) {}
    std::string panelText(int panel) const override;
    void setPanelText(int panel, const std::string& text) override;

private:
    QLabel* panel(int number) const;
    std::vector<QLabel*> panels_;
};

class QtProgressBar final : public ProgressBar {
public:
    explicit QtProgressBar(QProgressBar* bar)
        : bar_(bar) {}
    float value() const override { return value_; }
    void setValue(float value) override;

private:
    QProgressBar* bar_;
    float value_ = 0.0f;
};

} // namespace jorv
