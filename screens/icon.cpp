// The game icon, kept as an XPM image that the installer also ships.
#include "icon.h"

#include "hyperjorv.xpm"

#include <QPixmap>

namespace jorv {

QIcon gameIcon() {
    return QIcon(QPixmap(hyperjorv_xpm));
}

} // namespace jorv
