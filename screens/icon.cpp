// The game icon, kept as an XPM image; scripts/icons.py draws the desktop's
// icons at every size from the same picture.
#include "icon.h"

#include "hyperjorv.xpm"

#include <QPixmap>

namespace jorv {

QIcon gameIcon() {
    return QIcon(QPixmap(hyperjorv_xpm));
}

} // namespace jorv
