// A push button whose caption is always shown whole.
#pragma once

#include <QPushButton>

namespace jorv {

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

} // namespace jorv
