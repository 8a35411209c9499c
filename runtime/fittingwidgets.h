// Widgets whose text is always shown whole: where a text does not fit its room
// in the font it was given (a stand-in face is wider than the design's, the UI
// font is larger), it is drawn in a smaller size. One rule says how much
// smaller for all of them: shrunkToFit.
#pragma once

#include "services.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace jorv {

// The largest size of `font`, at most its own and in steps of half a point, at
// which `fits` holds; 5 points where none does, since smaller is unreadable.
QFont shrunkToFit(const QFont& font, const std::function<bool(const QFont&)>& fits);

// Where the letters of one line of `text` are inked when it is drawn in
// `room` with `alignment`.
QRect inkOf(const QFont& font, const QString& text, const QRect& room, Qt::Alignment alignment);

// A label that sizes itself to its text. Its text is drawn whole: ink that
// leans past the text's advance, as an italic's first and last letters do,
// lies in its margins and is not clipped there.
class SelfSizingLabel : public QLabel {
public:
    using QLabel::QLabel;
    // Sizes the label to its text, now and at every text set here. The edge
    // or the centre that its text is aligned to stays where the label's
    // present box puts it, and the text keeps the present font where the
    // label then fits `room` (pixels in the parent; the whole parent where
    // empty); where it does not, a smaller size is used. The label then moves
    // no further than it must to lie inside the room.
    void sizeItselfToText(const QRect& room = {});
    void setText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fit();

    bool sizing_ = false;
    QRect designBox_;
    QFont designFont_;
    QRect room_;
};

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

private:
    // Reads the time afresh and waits for the next change of minute.
    void refresh();

    Clock& clock_;
    QTimer timer_;
};

} // namespace jorv
