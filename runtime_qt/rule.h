// The rule under a menu bar.
#pragma once

class QFrame;
class QWidget;

namespace jorv {

// A rule one pixel high in the platform's line colour (the window text).
QFrame* newRule(QWidget* parent);

} // namespace jorv
