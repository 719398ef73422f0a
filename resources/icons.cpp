#include "resources/icons.h"

namespace tamlo {

QPixmap Icons::Program() {
    return QPixmap(QStringLiteral(":/icons/tamlo.png"));
}

QPixmap Icons::About() {
    return QPixmap(QStringLiteral(":/icons/about.png"));
}

} // namespace tamlo
