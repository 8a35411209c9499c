// How a caption button fits its caption.
#include "captionbutton.h"

#include "shrunktofit.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace jorv {

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

} // namespace jorv
