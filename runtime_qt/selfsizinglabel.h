// A label that sizes itself to its text.
#pragma once

#include <QLabel>

namespace jorv {

// A label that sizes itself to its text. Its text is drawn whole: ink that
// leans past the text's advance, as an italic's first and last letters do,
// lies in its margins and is not clipped there.
class SelfSizingLabel : public QLabel {
public:
    using QLabel::QLabel;
    // Sizes the label to its text, now and at every setTextAndFit. The edge
    // or the centre that its text is aligned to stays where the label's
    // present box puts it, and the text keeps the present font where the
    // label then fits `room` (pixels in the parent; the whole parent where
    // empty); where it does not, a smaller size is used. The label then moves
    // no further than it must to lie inside the room.
    void sizeItselfToText(const QRect& room = {});
    // Sets the text and, once the label sizes itself, fits it again. (Qt's
    // setText only sets the text.)
    void setTextAndFit(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fit();

    bool sizing_ = false;
    QRect designBox_;
    QFont designFont_;
    QRect room_;
};

} // namespace jorv
