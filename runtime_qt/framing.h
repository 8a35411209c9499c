// Where a top-level window stands by its frame, the border and title bar that
// a window manager puts around it. A window not shown yet has no frame, so
// the frame it will get is foretold from the program's other windows.
#pragma once

#include <QMargins>
#include <QPoint>

class QWidget;

namespace jorv {

// The frame around a top-level window: its own once it is known, before that
// the frame of another shown window of the program (a window manager frames
// them alike), and none without a window manager.
QMargins frameMarginsOf(const QWidget* window);

// Where the window's frame stands, or will stand once it is shown.
QPoint framePosition(const QWidget* window);

// Moves the window so that its frame stands at `outer`.
void moveFrameTo(QWidget* window, const QPoint& outer);

} // namespace jorv
