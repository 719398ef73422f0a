#pragma once

#include "ui/common/core/window_design.h"

namespace tamlo {

// The game window as it is designed: title, client area, the two timers, the display, the status
// labels, the key legend, the "About" label and the hidden menu, in creation order.
extern const WindowDesign kFrmTamloDesign;

} // namespace tamlo
