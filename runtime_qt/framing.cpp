// The frame of a window, known or foretold.
#include "framing.h"

#include <QApplication>
#include <QWidget>

namespace jorv {

QMargins frameMarginsOf(const QWidget* window) {
    auto known = [](const QWidget* w) {
        const QRect frame = w->frameGeometry(), client = w->geometry();
        return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                        frame.right() - client.right(), frame.bottom() - client.bottom());
    };
    if (window->isVisible() && !known(window).isNull())
        return known(window);
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != window && other->isVisible() && !known(other).isNull())
            return known(other);
    return {};
}

QPoint framePosition(const QWidget* window) {
    if (window->isVisible())
        return window->pos();
    const QMargins frame = frameMarginsOf(window);
    return window->geometry().topLeft() - QPoint(frame.left(), frame.top());
}

void moveFrameTo(QWidget* window, const QPoint& outer) {
    if (window->isVisible()) {
        window->move(outer);
        return;
    }
    // A window manager may take a position given for a frame that does not
    // exist yet as one for the client area; the client area is placed
    // instead, inside the frame it will get.
    const QMargins frame = frameMarginsOf(window);
    window->setGeometry(QRect(outer + QPoint(frame.left(), frame.top()), window->size()));
}

} // namespace jorv
