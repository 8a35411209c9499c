// How a fitting label finds its room and font.
#include "fittinglabel.h"

#include "shrunktofit.h"

#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace jorv {

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

} // namespace jorv
