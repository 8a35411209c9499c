// The fitting widgets, and the one rule by which they shrink a text.
#include "fittingwidgets.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTime>

#include <algorithm>

namespace jorv {

QFont shrunkToFit(const QFont& font, const std::function<bool(const QFont&)>& fits) {
    constexpr double smallest = 5.0;
    QFont fitted = font;
    while (fitted.pointSizeF() > smallest && !fits(fitted))
        fitted.setPointSizeF(std::max(smallest, fitted.pointSizeF() - 0.5));
    return fitted;
}

QRect inkOf(const QFont& font, const QString& text, const QRect& room, Qt::Alignment alignment) {
    const QFontMetrics metrics(font);
    const QRect line = QStyle::alignedRect(
        Qt::LeftToRight, alignment, QSize(metrics.horizontalAdvance(text), metrics.height()), room);
    return metrics.tightBoundingRect(text).translated(line.left(), line.top() + metrics.ascent());
}

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

void SelfSizingLabel::setText(const QString& text) {
    QLabel::setText(text);
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

QRect CaptionButton::captionRoom() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    // A pixel or two clear of the frame on every side.
    return style()
        ->subElementRect(QStyle::SE_PushButtonContents, &option, this)
        .adjusted(2, 1, -2, -1);
}

QFont CaptionButton::captionFont() const {
    const QRect room = captionRoom();
    return shrunkToFit(font(), [&](const QFont& candidate) {
        const QRect need = QFontMetrics(candidate).boundingRect(room, captionFlags, text());
        return need.width() <= room.width() && need.height() <= room.height();
    });
}

void CaptionButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    int flags = captionFlags;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
        flags = (flags & ~Qt::TextShowMnemonic) | Qt::TextHideMnemonic;
    painter.setFont(captionFont());
    style()->drawItemText(&painter, captionRoom(), flags, option.palette, isEnabled(), text(),
                          QPalette::ButtonText);
}

QRect FittingLabel::textRoom() const {
    QRect room = contentsRect();
    // A little in from a panel's bevel, as a label with a frame indents.
    if (frameWidth() > 0)
        room.adjust(2, 0, -2, 0);
    // Nothing outside the window's client area is seen.
    if (const QWidget* parent = parentWidget())
        room &= parent->rect().translated(-pos());
    if (coveredBy_ && coveredBy_->isVisible()) {
        const int coverLeft =
            coveredBy_->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x();
        room.setRight(std::min(room.right(), coverLeft - 3));
    }
    return room;
}

QFont FittingLabel::textFont() const {
    const QRect room = textRoom();
    return shrunkToFit(font(), [&](const QFont& candidate) {
        return room.contains(inkOf(candidate, text(), room, alignment()));
    });
}

void FittingLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    painter.setFont(textFont());
    style()->drawItemText(&painter, textRoom(),
                          static_cast<int>(alignment()) | Qt::TextSingleLine | Qt::TextDontClip,
                          palette(), isEnabled(), text(), foregroundRole());
}

ClockPanel::ClockPanel(Clock& clock)
    : clock_(clock) {
    // A coarse timer may fire seconds early; the clock would lag a minute.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, this, &ClockPanel::refresh);
    refresh();
}

void ClockPanel::refresh() {
    // A reading rounded up to midnight itself still shows the day's last minute.
    const double msecs = static_cast<double>(clock_.secondsSinceMidnight()) * 1000.0;
    const QTime time =
        QTime::fromMSecsSinceStartOfDay(static_cast<int>(std::clamp(msecs, 0.0, 86'399'999.0)));
    setText(time.toString(QStringLiteral("H:mm")));
    // Wake a little after the minute has turned; a wake that still reads the
    // old minute only waits again for the rest of it.
    const int intoMinute = time.second() * 1000 + time.msec();
    timer_.start(60000 - intoMinute + 50);
}

} // namespace jorv
