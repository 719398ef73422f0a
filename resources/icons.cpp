#include "resources/icons.h"

// The artwork itself, compiled in: the images are built from it without an image decoder, which
// would load every image format plugin at start-up.
#include "resources/about_icon.xpm"
#include "resources/tamlo_icon.xpm"

namespace tamlo {

QPixmap Icons::Program() {
    return QPixmap(tamlo_icon);
}

QPixmap Icons::About() {
    return QPixmap(about_icon);
}

} // namespace tamlo
