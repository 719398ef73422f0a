#pragma once

#include <QIcon>
#include <QPixmap>

namespace tamlo {

// The icons compiled into the program.
class Icons {
public:
    // The program icon: 43 x 42 pixels, 256 colours.
    static QPixmap Program();
    // The About window's own icon: 32 x 32 pixels, 16 colours.
    static QPixmap About();
};

} // namespace tamlo
