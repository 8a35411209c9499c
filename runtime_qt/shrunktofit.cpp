// The one rule by which a fitting widget shrinks its text.
#include "shrunktofit.h"

#include <QFontMetrics>
#include <QStyle>

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

} // namespace jorv
