// How a self-sizing label finds its box and font, and draws its text whole.
#include "selfsizinglabel.h"

#include "shrunktofit.h"

#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace jorv {

void SelfSizingLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, contentsRect(),
                          static_cast<int>(alignment()) | Qt::TextSingleLine | Qt::TextDontClip,
                          palette(), isEnabled(), text(), foregroundRole());
}

namespace {

// A self-sizing label's box in `font`, and the margins its leaning ink takes.
struct TextBox {
    QRect geometry;
    QMargins lean;
};

TextBox textBoxOf(const QLabel* label, const QRect& designBox, const QFont& font) {
    const QFontMetrics metrics(font);
    const int advance = metrics.horizontalAdvance(label->text());
    const QRect ink = metrics.boundingRect(label->text());
    const QMargins lean(std::max(0, -ink.left()), std::max(0, -metrics.ascent() - ink.top()),
                        std::max(0, ink.right() + 1 - advance),
                        std::max(0, ink.bottom() + 1 - metrics.descent()));
    int left = designBox.left();
    if (label->alignment() & Qt::AlignHCenter)
        left += (designBox.width() - advance) / 2;
    else if (label->alignment() & Qt::AlignRight)
        left += designBox.width() - advance;
    return {QRect(left - lean.left(), designBox.top() - lean.top(),
                  advance + lean.left() + lean.right(),
                  metrics.height() + lean.top() + lean.bottom()),
            lean};
}

} // namespace

void SelfSizingLabel::sizeItselfToText(const QRect& room) {
    sizing_ = true;
    designBox_ = geometry();
    designFont_ = font();
    room_ = room;
    fit();
}

void SelfSizingLabel::setTextAndFit(const QString& text) {
    setText(text);
    if (sizing_)
        fit();
}

void SelfSizingLabel::fit() {
    const QRect allowed = room_.isEmpty() && parentWidget() ? parentWidget()->rect() : room_;
    const QFont font =
        allowed.isEmpty() ? designFont_ : shrunkToFit(designFont_, [&](const QFont& candidate) {
            const QRect box = textBoxOf(this, designBox_, candidate).geometry;
            return box.width() <= allowed.width() && box.top() >= allowed.top() &&
                   box.bottom() <= allowed.bottom();
        });
    auto [geometry, lean] = textBoxOf(this, designBox_, font);
    // It moves no further than it must to stay in its room.
    if (!allowed.isEmpty())
        geometry.moveLeft(geometry.width() > allowed.width()
                              ? allowed.left() + (allowed.width() - geometry.width()) / 2
                              : std::clamp(geometry.left(), allowed.left(),
                                           allowed.right() + 1 - geometry.width()));
    setFont(font);
    setContentsMargins(lean);
    setGeometry(geometry);
}

} // namespace jorv
