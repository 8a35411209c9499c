// The game's own icon, which the title screen and the game window share.
#pragma once

#include <QIcon>

namespace jorv {

// Two flags on their poles, the red one raised and the white one lowered:
// 32 by 32 pixels in 16 colours.
QIcon gameIcon();

} // namespace jorv
